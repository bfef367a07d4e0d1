// Entry points that bind result columns and deliver rows.

#include <algorithm>

#include "api_util.h"
#include "column_type.h"
#include "convert.h"
#include "handles.h"
#include "statement_ops.h"
#include "stmt_call.h"

using namespace tsqlite;

namespace {

SQLRETURN NoCursor(Stmt& s) {
  if (s.state == StmtState::kExecuted) return Error(s.diag, "24000", "Invalid cursor state");
  return Error(s.diag, "HY010", "Function sequence error");
}

// The C type a value of column `index` is delivered as; only the defaults
// need the column described.
SQLSMALLINT EffectiveCType(SQLSMALLINT c_type, ResultSet& rs, size_t index) {
  if (c_type == SQL_C_DEFAULT || c_type == SQL_ARD_TYPE) {
    return DefaultCType(Described(rs)[index].sql_type);
  }
  return c_type;
}

template <typename T>
T* Offset(T* p, SQLLEN offset) {
  if (p == nullptr || offset == 0) return p;
  return reinterpret_cast<T*>(reinterpret_cast<char*>(p) + offset);
}

SQLRETURN FetchNext(Stmt& s) {
  if (s.state != StmtState::kCursor || !s.result) return NoCursor(s);
  s.getdata_column = 0;
  s.getdata_offset = 0;
  s.getdata_done = false;
  ResultSet& rs = *s.result;
  if (s.next_row >= rs.rows.size()) {
    s.next_row = rs.rows.size() + 1;  // past the end: no current row for SQLGetData
    if (s.rows_fetched_ptr != nullptr) *s.rows_fetched_ptr = 0;
    return SQL_NO_DATA;
  }
  const RowStore::Row row = rs.rows[s.next_row++];
  SQLRETURN rc = SQL_SUCCESS;
  if (s.retrieve_data == SQL_RD_ON) {
    const SQLLEN offset = s.bind_offset_ptr != nullptr ? *s.bind_offset_ptr : 0;
    const size_t columns = rs.column_count();
    for (size_t i = 0; i < s.bindings.size() && i < columns; ++i) {
      const Binding& b = s.bindings[i];
      if (b.target == nullptr && b.indicator == nullptr) continue;
      Conversion c = ConvertValue(row[i], EffectiveCType(b.c_type, rs, i), Offset(b.target, offset),
                                  b.buffer_length, Offset(b.indicator, offset));
      if (c.rc == SQL_SUCCESS) continue;
      s.diag.Add(c.sqlstate, 0, c.message, 1, static_cast<SQLINTEGER>(i + 1));
      rc = Combine(rc, c.rc);
    }
  }
  if (s.rows_fetched_ptr != nullptr) *s.rows_fetched_ptr = 1;
  if (s.row_status_ptr != nullptr) {
    *s.row_status_ptr = rc == SQL_ERROR               ? SQL_ROW_ERROR
                        : rc == SQL_SUCCESS_WITH_INFO ? SQL_ROW_SUCCESS_WITH_INFO
                                                      : SQL_ROW_SUCCESS;
  }
  return rc;
}

}  // namespace

extern "C" {

SQLRETURN SQL_API SQLBindCol(SQLHSTMT handle, SQLUSMALLINT column, SQLSMALLINT c_type,
                             SQLPOINTER target, SQLLEN buffer_length, SQLLEN* indicator) {
  return WithStmt(handle, [&](Stmt& s) {
    if (column == 0) return Error(s.diag, "07009", "Invalid descriptor index");
    if (target == nullptr && indicator == nullptr) {
      if (column <= s.bindings.size()) s.bindings[column - 1] = Binding{};
      return static_cast<SQLRETURN>(SQL_SUCCESS);
    }
    if (c_type != SQL_C_DEFAULT && !IsSupportedCType(c_type)) {
      return Error(s.diag, "HY003", "Program type out of range");
    }
    if (buffer_length < 0) return Error(s.diag, "HY090", "Invalid string or buffer length");
    const Binding binding{c_type, target, buffer_length, indicator};
    if (s.bindings.size() < column) {
      // Columns are mostly bound one after another: room for a whole row at
      // once (a statement handle keeps it when the connection reuses it).
      if (s.bindings.capacity() < column) s.bindings.reserve(std::max<size_t>(column, 64));
      if (s.bindings.size() + 1 == column) {
        s.bindings.push_back(binding);
        return static_cast<SQLRETURN>(SQL_SUCCESS);
      }
      s.bindings.resize(column);
    }
    s.bindings[column - 1] = binding;
    return static_cast<SQLRETURN>(SQL_SUCCESS);
  });
}

SQLRETURN SQL_API SQLFetch(SQLHSTMT handle) {
  return WithStmt(handle, FetchNext);
}

SQLRETURN SQL_API SQLFetchScroll(SQLHSTMT handle, SQLSMALLINT orientation, SQLLEN /*offset*/) {
  return WithStmt(handle, [&](Stmt& s) {
    if (orientation != SQL_FETCH_NEXT) {
      return Error(s.diag, "HY106", "Fetch type out of range");
    }
    return FetchNext(s);
  });
}

SQLRETURN SQL_API SQLGetData(SQLHSTMT handle, SQLUSMALLINT column, SQLSMALLINT c_type,
                             SQLPOINTER target, SQLLEN buffer_length, SQLLEN* indicator) {
  return WithStmt(handle, [&](Stmt& s) {
    if (s.state != StmtState::kCursor || !s.result) return NoCursor(s);
    ResultSet& rs = *s.result;
    if (s.next_row == 0 || s.next_row > rs.rows.size()) {
      return Error(s.diag, "24000", "Invalid cursor state");
    }
    if (column == 0 || column > rs.column_count()) {
      return Error(s.diag, "07009", "Invalid descriptor index");
    }
    if (buffer_length < 0) return Error(s.diag, "HY090", "Invalid string or buffer length");
    const SQLSMALLINT type = EffectiveCType(c_type, rs, column - 1u);
    if (!IsSupportedCType(type)) return Error(s.diag, "HY003", "Program type out of range");
    if (column != s.getdata_column) {
      s.getdata_column = column;
      s.getdata_offset = 0;
      s.getdata_done = false;
    }
    if (s.getdata_done) return static_cast<SQLRETURN>(SQL_NO_DATA);
    const Value value = rs.rows[s.next_row - 1][column - 1];
    Conversion c = ConvertValue(value, type, target, buffer_length, indicator, s.getdata_offset);
    if (c.rc == SQL_ERROR) {
      s.diag.Add(c.sqlstate, 0, c.message, 1, column);
      return static_cast<SQLRETURN>(SQL_ERROR);
    }
    const bool pieces =
        value.type != ValueType::kNull && (type == SQL_C_CHAR || type == SQL_C_BINARY);
    if (pieces) {
      s.getdata_offset += c.consumed;
      if (c.rc == SQL_SUCCESS) s.getdata_done = true;
    } else {
      s.getdata_done = true;
    }
    if (c.rc == SQL_SUCCESS_WITH_INFO) s.diag.Add(c.sqlstate, 0, c.message, 1, column);
    return c.rc;
  });
}

}  // extern "C"
