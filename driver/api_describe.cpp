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

bool IsQuotedType(SQLSMALLINT type) {
  return type == SQL_VARCHAR || type == SQL_CHAR || type == SQL_TYPE_TIMESTAMP;
}

// The text fields of SQLColAttribute; false for a field that is no text.
bool TextField(const ColumnInfo& c, SQLUSMALLINT field, std::string& value) {
  switch (field) {
    case SQL_DESC_NAME:
    case SQL_DESC_LABEL:
    case SQL_COLUMN_NAME:
    case SQL_DESC_BASE_COLUMN_NAME:
      value = c.name;
      return true;
    case SQL_DESC_TABLE_NAME:
    case SQL_DESC_BASE_TABLE_NAME:
      value = c.table;
      return true;
    case SQL_DESC_SCHEMA_NAME:
      value = c.table.empty() ? std::string() : c.schema;
      return true;
    case SQL_DESC_CATALOG_NAME:
      value.clear();
      return true;
    case SQL_DESC_TYPE_NAME:
    case SQL_DESC_LOCAL_TYPE_NAME:
      value = c.type_name;
      return true;
    case SQL_DESC_LITERAL_PREFIX:
    case SQL_DESC_LITERAL_SUFFIX:
      value.assign(IsQuotedType(c.sql_type) ? 1 : 0, '\'');
      return true;
    default:
      return false;
  }
}

// The numeric fields of SQLColAttribute; false for an unknown field.
bool NumberField(const Stmt& s, const ColumnInfo& c, SQLUSMALLINT field, SQLLEN& value) {
  const bool timestamp = c.sql_type == SQL_TYPE_TIMESTAMP;
  const bool character = c.sql_type == SQL_VARCHAR || c.sql_type == SQL_CHAR;
  const bool exact =
      c.sql_type == SQL_INTEGER || c.sql_type == SQL_SMALLINT || c.sql_type == SQL_BIGINT;
  switch (field) {
    case SQL_DESC_TYPE:
      // The verbose type of a date-time column is SQL_DATETIME.
      value = timestamp && s.dbc->env->odbc_version != SQL_OV_ODBC2 ? SQL_DATETIME
                                                                    : TypeFor(s, c.sql_type);
      return true;
    case SQL_DESC_CONCISE_TYPE:
      value = TypeFor(s, c.sql_type);
      return true;
    case SQL_DESC_DATETIME_INTERVAL_CODE:
      value = timestamp ? SQL_CODE_TIMESTAMP : 0;
      return true;
    case SQL_DESC_LENGTH:
    case SQL_COLUMN_LENGTH:
      value = timestamp ? 16 : character ? static_cast<SQLLEN>(c.column_size) : c.octet_length;
      return true;
    case SQL_DESC_OCTET_LENGTH:
      value = c.octet_length;
      return true;
    case SQL_DESC_DISPLAY_SIZE:
      value = c.display_size;
      return true;
    case SQL_DESC_PRECISION:
    case SQL_COLUMN_PRECISION:
      value = timestamp ? 0 : static_cast<SQLLEN>(c.column_size);
      return true;
    case SQL_DESC_SCALE:
    case SQL_COLUMN_SCALE:
      value = c.decimal_digits;
      return true;
    case SQL_DESC_NUM_PREC_RADIX:
      value = c.sql_type == SQL_DOUBLE ? 2 : exact ? 10 : 0;
      return true;
    case SQL_DESC_NULLABLE:
    case SQL_COLUMN_NULLABLE:
      value = SQL_NULLABLE_UNKNOWN;
      return true;
    case SQL_DESC_UNNAMED:
      value = c.name.empty() ? SQL_UNNAMED : SQL_NAMED;
      return true;
    case SQL_DESC_UNSIGNED:
      value = IsQuotedType(c.sql_type) ? SQL_TRUE : SQL_FALSE;
      return true;
    case SQL_DESC_FIXED_PREC_SCALE:
    case SQL_DESC_AUTO_UNIQUE_VALUE:
    case SQL_DESC_CASE_SENSITIVE:
      value = SQL_FALSE;
      return true;
    case SQL_DESC_SEARCHABLE:
      value = SQL_PRED_SEARCHABLE;
      return true;
    case SQL_DESC_UPDATABLE:
      value = SQL_ATTR_READWRITE_UNKNOWN;
      return true;
    default:
      return false;
  }
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
    std::string value;
    if (TextField(*c, field, value)) return OutText(value, text, text_max, text_length, s.diag);
    SQLLEN n = 0;
    if (!NumberField(s, *c, field, n)) {
      return Error(s.diag, "HY091", "Invalid descriptor field identifier");
    }
    if (number != nullptr) *number = n;
    return static_cast<SQLRETURN>(SQL_SUCCESS);
  });
}

}  // extern "C"
