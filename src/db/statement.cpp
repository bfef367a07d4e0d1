#include "db/statement.h"

#include "db/connection.h"

namespace db {
namespace {

// The one length/indicator variable of every binding. Its content is never
// read: a NULL column leaves the bound field unchanged.
SQLLEN g_indicator = 0;

OptionalColumns g_plg_optional;
OptionalColumns g_bsm_optional;

}  // namespace

Statement& Statement::operator=(Statement&& o) noexcept {
  if (this != &o) {
    Release();
    h_ = std::exchange(o.h_, SQLHSTMT{SQL_NULL_HSTMT});
  }
  return *this;
}

bool Statement::Allocate(bool as_cursor) {
  Release();
  if (Connection() == SQL_NULL_HDBC) return false;
  if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, Connection(), &h_))) {
    h_ = SQL_NULL_HSTMT;
    return false;
  }
  if (as_cursor) {
    SQLSetStmtAttr(h_, SQL_ATTR_CURSOR_SCROLLABLE, reinterpret_cast<SQLPOINTER>(SQL_NONSCROLLABLE),
                   SQL_IS_INTEGER);
    SQLSetStmtAttr(h_, SQL_ATTR_CONCURRENCY, reinterpret_cast<SQLPOINTER>(SQL_CONCUR_LOCK),
                   SQL_IS_INTEGER);
  }
  return true;
}

SQLRETURN Statement::Execute(const std::string& sql) {
  return SQLExecDirect(h_, const_cast<SQLCHAR*>(reinterpret_cast<const SQLCHAR*>(sql.c_str())),
                       SQL_NTS);
}

SQLRETURN Statement::Fetch() {
  return SQLFetch(h_);
}

int32_t Statement::Failure(SQLRETURN rc, ZeroNative rule) {
  Diag_Lesen(SQL_HANDLE_STMT, h_, LastDiag());
  if (LastDiag().native != 0) return LastDiag().native;
  return rule == ZeroNative::kMinusOne ? -1 : static_cast<int32_t>(rc);
}

void Statement::Release() {
  if (h_ != SQL_NULL_HSTMT) {
    SQLFreeHandle(SQL_HANDLE_STMT, h_);
    h_ = SQL_NULL_HSTMT;
  }
}

void Columns::Bind(SQLSMALLINT c_type, SQLPOINTER target, SQLLEN capacity) {
  const SQLUSMALLINT column = ++n_;
  if (bound_ != nullptr && column <= BoundColumns::kSlots) {
    BoundColumns::Slot& slot = bound_->slots[column - 1];
    if (column <= bound_->count && slot.c_type == c_type && slot.target == target &&
        slot.capacity == capacity) {
      return;
    }
    slot = BoundColumns::Slot{c_type, target, capacity};
  }
  SQLBindCol(h_, column, c_type, target, capacity, &g_indicator);
  if (bound_ != nullptr && column > bound_->count) bound_->count = column;
}

void Columns::Finish() {
  if (bound_ == nullptr) return;
  for (SQLUSMALLINT column = n_ + 1; column <= bound_->count && column != 0; ++column) {
    SQLBindCol(h_, column, SQL_C_CHAR, nullptr, 0, nullptr);
  }
  bound_->count = n_;
}

Columns& Columns::Text(char* buffer, SQLLEN capacity) {
  Bind(SQL_C_CHAR, buffer, capacity);
  return *this;
}

Columns& Columns::Long(int32_t& value) {
  Bind(SQL_C_SLONG, &value, 0);
  return *this;
}

Columns& Columns::Double(double& value) {
  Bind(SQL_C_DOUBLE, &value, 0);
  return *this;
}

int32_t Write(const std::string& sql) {
  Statement st;
  if (!st.Allocate(false)) return -1;
  SQLRETURN rc = st.Execute(sql);
  if (!ExecOk(rc)) return st.Failure(rc, ZeroNative::kOdbcResult);
  return rc == SQL_NO_DATA ? 100 : static_cast<int32_t>(rc);
}

int32_t Cursor::Open(const std::string& sql) {
  st_.Release();
  bound_.Forget();
  Statement st;
  if (!st.Allocate(true)) return -1;
  SQLRETURN rc = st.Execute(sql);
  if (!ExecOk(rc)) return st.Failure(rc, ZeroNative::kMinusOne);
  st_ = std::move(st);
  return rc == SQL_NO_DATA ? 0 : static_cast<int32_t>(rc);
}

OptionalColumns& PlgOptionalColumns() {
  return g_plg_optional;
}
OptionalColumns& BsmOptionalColumns() {
  return g_bsm_optional;
}

}  // namespace db
