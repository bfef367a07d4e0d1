// Entry points that describe result columns.

#include "api_util.h"
#include "handles.h"
#include "statement_ops.h"
#include "stmt_call.h"

using namespace tsqlite;

namespace {

// The SQL type as an ODBC 2 application knows it.
SQLSMALLINT TypeFor(const Stmt& s, SQLSMALLINT type) {
  if (s.dbc->env->odbc_version != SQL_OV_ODBC2) return type;
  switch (type) {
    case SQL_TYPE_DATE:
      return SQL_DATE;
    case SQL_TYPE_TIME:
      return SQL_TIME;
    case SQL_TYPE_TIMESTAMP:
      return SQL_TIMESTAMP;
    default:
      return type;
  }
}

// Finds column `n` (1-based) or reports why not.
const ColumnInfo* Column(Stmt& s, SQLUSMALLINT n, SQLRETURN& rc) {
  const ResultSet* rs = Columns(s);
  if (rs == nullptr || s.state == StmtState::kExecuted || s.state == StmtState::kAllocated) {
    rc = s.state == StmtState::kExecuted
             ? Error(s.diag, "07005", "Prepared statement returns no result set")
             : Error(s.diag, "HY010", "Function sequence error");
    return nullptr;
  }
  if (n == 0 || n > rs->columns.size()) {
    rc = Error(s.diag, "07009", "Invalid descriptor index");
    return nullptr;
  }
  return &rs->columns[n - 1];
}

}  // namespace

extern "C" {

SQLRETURN SQL_API SQLDescribeCol(SQLHSTMT handle, SQLUSMALLINT column, SQLCHAR* name,
                                 SQLSMALLINT name_max, SQLSMALLINT* name_length,
                                 SQLSMALLINT* data_type, SQLULEN* column_size,
                                 SQLSMALLINT* decimal_digits, SQLSMALLINT* nullable) {
  return WithStmt(handle, [&](Stmt& s) {
    SQLRETURN rc = SQL_SUCCESS;
    const ColumnInfo* c = Column(s, column, rc);
    if (c == nullptr) return rc;
    if (data_type != nullptr) *data_type = TypeFor(s, c->sql_type);
    if (column_size != nullptr) *column_size = c->column_size;
    if (decimal_digits != nullptr) *decimal_digits = c->decimal_digits;
    if (nullable != nullptr) *nullable = SQL_NULLABLE_UNKNOWN;
    return OutText(c->name, name, name_max, name_length, s.diag);
  });
}

SQLRETURN SQL_API SQLColAttribute(SQLHSTMT handle, SQLUSMALLINT column, SQLUSMALLINT field,
                                  SQLPOINTER text, SQLSMALLINT text_max, SQLSMALLINT* text_length,
                                  SQLLEN* number) {
  return WithStmt(handle, [&](Stmt& s) {
    if (field == SQL_DESC_COUNT || field == SQL_COLUMN_COUNT) {
      const ResultSet* rs = Columns(s);
      if (number != nullptr) {
        *number = rs != nullptr && s.state != StmtState::kExecuted
                      ? static_cast<SQLLEN>(rs->columns.size())
                      : 0;
      }
      return static_cast<SQLRETURN>(SQL_SUCCESS);
    }
    SQLRETURN rc = SQL_SUCCESS;
    const ColumnInfo* c = Column(s, column, rc);
    if (c == nullptr) return rc;
    auto num = [&](SQLLEN v) {
      if (number != nullptr) *number = v;
      return static_cast<SQLRETURN>(SQL_SUCCESS);
    };
    auto str = [&](const std::string& v) {
      return OutText(v, text, text_max, text_length, s.diag);
    };
    switch (field) {
      case SQL_DESC_NAME:
      case SQL_DESC_LABEL:
      case SQL_COLUMN_NAME:
      case SQL_DESC_BASE_COLUMN_NAME:
        return str(c->name);
      case SQL_DESC_TABLE_NAME:
      case SQL_DESC_BASE_TABLE_NAME:
        return str(c->table);
      case SQL_DESC_SCHEMA_NAME:
        return str(c->table.empty() ? std::string() : c->schema);
      case SQL_DESC_CATALOG_NAME:
        return str("");
      case SQL_DESC_TYPE_NAME:
      case SQL_DESC_LOCAL_TYPE_NAME:
        return str(c->type_name);
      case SQL_DESC_LITERAL_PREFIX:
      case SQL_DESC_LITERAL_SUFFIX: {
        const bool quoted = c->sql_type == SQL_VARCHAR || c->sql_type == SQL_CHAR ||
                            c->sql_type == SQL_TYPE_TIMESTAMP;
        return str(quoted ? "'" : "");
      }
      case SQL_DESC_TYPE:
        // The verbose type of a date-time column is SQL_DATETIME.
        return num(c->sql_type == SQL_TYPE_TIMESTAMP && s.dbc->env->odbc_version != SQL_OV_ODBC2
                       ? SQL_DATETIME
                       : TypeFor(s, c->sql_type));
      case SQL_DESC_CONCISE_TYPE:
        return num(TypeFor(s, c->sql_type));
      case SQL_DESC_DATETIME_INTERVAL_CODE:
        return num(c->sql_type == SQL_TYPE_TIMESTAMP ? SQL_CODE_TIMESTAMP : 0);
      case SQL_DESC_LENGTH:
      case SQL_COLUMN_LENGTH:
        return num(c->sql_type == SQL_TYPE_TIMESTAMP ? 16
                   : (c->sql_type == SQL_VARCHAR || c->sql_type == SQL_CHAR)
                       ? static_cast<SQLLEN>(c->column_size)
                       : c->octet_length);
      case SQL_DESC_OCTET_LENGTH:
        return num(c->octet_length);
      case SQL_DESC_DISPLAY_SIZE:
        return num(c->display_size);
      case SQL_DESC_PRECISION:
      case SQL_COLUMN_PRECISION:
        return num(c->sql_type == SQL_TYPE_TIMESTAMP ? 0 : static_cast<SQLLEN>(c->column_size));
      case SQL_DESC_SCALE:
      case SQL_COLUMN_SCALE:
        return num(c->decimal_digits);
      case SQL_DESC_NUM_PREC_RADIX:
        return num(c->sql_type == SQL_DOUBLE ? 2
                   : (c->sql_type == SQL_INTEGER || c->sql_type == SQL_SMALLINT ||
                      c->sql_type == SQL_BIGINT)
                       ? 10
                       : 0);
      case SQL_DESC_NULLABLE:
      case SQL_COLUMN_NULLABLE:
        return num(SQL_NULLABLE_UNKNOWN);
      case SQL_DESC_UNNAMED:
        return num(c->name.empty() ? SQL_UNNAMED : SQL_NAMED);
      case SQL_DESC_UNSIGNED:
        return num((c->sql_type == SQL_VARCHAR || c->sql_type == SQL_CHAR ||
                    c->sql_type == SQL_TYPE_TIMESTAMP)
                       ? SQL_TRUE
                       : SQL_FALSE);
      case SQL_DESC_FIXED_PREC_SCALE:
      case SQL_DESC_AUTO_UNIQUE_VALUE:
        return num(SQL_FALSE);
      case SQL_DESC_CASE_SENSITIVE:
        return num(SQL_FALSE);
      case SQL_DESC_SEARCHABLE:
        return num(SQL_PRED_SEARCHABLE);
      case SQL_DESC_UPDATABLE:
        return num(SQL_ATTR_READWRITE_UNKNOWN);
      default:
        return Error(s.diag, "HY091", "Invalid descriptor field identifier");
    }
  });
}

}  // extern "C"
