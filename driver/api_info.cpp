// SQLGetInfo and SQLGetFunctions: what the driver and its engine offer.
#include <sqlite3.h>

#include <array>
#include <filesystem>
#include <mutex>

#include "api_util.h"
#include "handles.h"

using namespace tsqlite;

namespace {

// The ODBC functions this driver exports.
constexpr std::array<SQLUSMALLINT, 36> kFunctions = {
    SQL_API_SQLALLOCHANDLE,    SQL_API_SQLFREEHANDLE,    SQL_API_SQLCONNECT,
    SQL_API_SQLDRIVERCONNECT,  SQL_API_SQLDISCONNECT,    SQL_API_SQLEXECDIRECT,
    SQL_API_SQLPREPARE,        SQL_API_SQLEXECUTE,       SQL_API_SQLBINDCOL,
    SQL_API_SQLFETCH,          SQL_API_SQLFETCHSCROLL,   SQL_API_SQLGETDATA,
    SQL_API_SQLNUMRESULTCOLS,  SQL_API_SQLDESCRIBECOL,   SQL_API_SQLCOLATTRIBUTE,
    SQL_API_SQLROWCOUNT,       SQL_API_SQLGETDIAGREC,    SQL_API_SQLGETDIAGFIELD,
    SQL_API_SQLSETENVATTR,     SQL_API_SQLGETENVATTR,    SQL_API_SQLSETCONNECTATTR,
    SQL_API_SQLGETCONNECTATTR, SQL_API_SQLSETSTMTATTR,   SQL_API_SQLGETSTMTATTR,
    SQL_API_SQLGETINFO,        SQL_API_SQLGETFUNCTIONS,  SQL_API_SQLENDTRAN,
    SQL_API_SQLFREESTMT,       SQL_API_SQLCLOSECURSOR,   SQL_API_SQLMORERESULTS,
    SQL_API_SQLNATIVESQL,      SQL_API_SQLCANCEL,        SQL_API_SQLTABLES,
    SQL_API_SQLNUMPARAMS,      SQL_API_SQLBINDPARAMETER, SQL_API_SQLCOLUMNS,
};

enum class Kind { kText, kSmall, kInteger };

struct InfoValue {
  Kind kind = Kind::kInteger;
  std::string text;
  SQLUINTEGER number = 0;
};

InfoValue Text(std::string s) {
  return InfoValue{Kind::kText, std::move(s), 0};
}
InfoValue Small(SQLUINTEGER v) {
  return InfoValue{Kind::kSmall, std::string(), v};
}
InfoValue Integer(SQLUINTEGER v) {
  return InfoValue{Kind::kInteger, std::string(), v};
}

// SQL_ASYNC_DBC_FUNCTIONS and SQL_ASYNC_NOTIFICATION, asked by newer managers.
constexpr SQLUSMALLINT kAsyncDbcFunctions = 10023;
constexpr SQLUSMALLINT kAsyncNotification = 10025;

bool Lookup(const Dbc& d, SQLUSMALLINT type, InfoValue& out) {
  switch (type) {
    // Driver and data source.
    case SQL_DRIVER_NAME:
      out = Text("libtsqlite.so");
      return true;
    case SQL_DRIVER_VER:
      out = Text("01.00.0000");
      return true;
    case SQL_DRIVER_ODBC_VER:
      out = Text("03.00");
      return true;
    case SQL_DBMS_NAME:
      out = Text("TSQLite");
      return true;
    case SQL_DBMS_VER:
      out = Text(std::string("01.00.0000 SQLite ") + sqlite3_libversion());
      return true;
    case SQL_DATA_SOURCE_NAME:
      out = Text(d.dsn);
      return true;
    case SQL_SERVER_NAME:
      out = Text(d.directory);
      return true;
    case SQL_DATABASE_NAME:
      out = Text(std::filesystem::path(d.directory).filename().string());
      return true;
    case SQL_USER_NAME:
      out = Text(d.user);
      return true;
    case SQL_DATA_SOURCE_READ_ONLY:
      out = Text("N");
      return true;
    case SQL_ACCESSIBLE_TABLES:
      out = Text("Y");
      return true;
    case SQL_ACCESSIBLE_PROCEDURES:
      out = Text("N");
      return true;
    case SQL_PROCEDURES:
      out = Text("N");
      return true;
    case SQL_XOPEN_CLI_YEAR:
      out = Text("1995");
      return true;
    // Identifiers and terms.
    case SQL_IDENTIFIER_QUOTE_CHAR:
      out = Text("\"");
      return true;
    case SQL_IDENTIFIER_CASE:
      out = Small(SQL_IC_MIXED);
      return true;
    case SQL_QUOTED_IDENTIFIER_CASE:
      out = Small(SQL_IC_MIXED);
      return true;
    case SQL_CATALOG_NAME_SEPARATOR:
      out = Text(".");
      return true;
    case SQL_CATALOG_NAME:
      out = Text("N");
      return true;
    case SQL_CATALOG_TERM:
      out = Text("");
      return true;
    case SQL_CATALOG_LOCATION:
      out = Small(0);
      return true;
    case SQL_CATALOG_USAGE:
      out = Integer(0);
      return true;
    case SQL_SCHEMA_TERM:
      out = Text("schema");
      return true;
    case SQL_SCHEMA_USAGE:
      out = Integer(SQL_SU_DML_STATEMENTS | SQL_SU_TABLE_DEFINITION | SQL_SU_INDEX_DEFINITION);
      return true;
    case SQL_TABLE_TERM:
      out = Text("table");
      return true;
    case SQL_PROCEDURE_TERM:
      out = Text("procedure");
      return true;
    case SQL_SEARCH_PATTERN_ESCAPE:
      out = Text("\\");
      return true;
    case SQL_SPECIAL_CHARACTERS:
      out = Text("");
      return true;
    case SQL_KEYWORDS:
      out = Text("");
      return true;
    case SQL_LIKE_ESCAPE_CLAUSE:
      out = Text("N");
      return true;
    case SQL_COLLATION_SEQ:
      out = Text("");
      return true;
    case SQL_MAX_IDENTIFIER_LEN:
    case SQL_MAX_COLUMN_NAME_LEN:
    case SQL_MAX_CURSOR_NAME_LEN:
    case SQL_MAX_SCHEMA_NAME_LEN:
    case SQL_MAX_TABLE_NAME_LEN:
    case SQL_MAX_USER_NAME_LEN:
      out = Small(128);
      return true;
    case SQL_MAX_CATALOG_NAME_LEN:
    case SQL_MAX_PROCEDURE_NAME_LEN:
    case SQL_MAX_COLUMNS_IN_GROUP_BY:
    case SQL_MAX_COLUMNS_IN_INDEX:
    case SQL_MAX_COLUMNS_IN_ORDER_BY:
    case SQL_MAX_COLUMNS_IN_SELECT:
    case SQL_MAX_COLUMNS_IN_TABLE:
    case SQL_MAX_TABLES_IN_SELECT:
    case SQL_MAX_CONCURRENT_ACTIVITIES:
    case SQL_MAX_DRIVER_CONNECTIONS:
    case SQL_ACTIVE_ENVIRONMENTS:
      out = Small(0);
      return true;
    case SQL_MAX_STATEMENT_LEN:
    case SQL_MAX_ROW_SIZE:
    case SQL_MAX_CHAR_LITERAL_LEN:
    case SQL_MAX_BINARY_LITERAL_LEN:
    case SQL_MAX_INDEX_SIZE:
    case SQL_MAX_ASYNC_CONCURRENT_STATEMENTS:
      out = Integer(0);
      return true;
    case SQL_MAX_ROW_SIZE_INCLUDES_LONG:
      out = Text("Y");
      return true;
    // Cursors and data retrieval.
    case SQL_GETDATA_EXTENSIONS:
      out = Integer(SQL_GD_ANY_COLUMN | SQL_GD_ANY_ORDER | SQL_GD_BOUND);
      return true;
    case SQL_SCROLL_OPTIONS:
      out = Integer(SQL_SO_FORWARD_ONLY);
      return true;
    case SQL_SCROLL_CONCURRENCY:
      out = Integer(SQL_SCCO_READ_ONLY | SQL_SCCO_LOCK);
      return true;
    case SQL_FETCH_DIRECTION:
      out = Integer(SQL_FD_FETCH_NEXT);
      return true;
    case SQL_FORWARD_ONLY_CURSOR_ATTRIBUTES1:
      out = Integer(SQL_CA1_NEXT);
      return true;
    case SQL_FORWARD_ONLY_CURSOR_ATTRIBUTES2:
      out = Integer(SQL_CA2_READ_ONLY_CONCURRENCY | SQL_CA2_LOCK_CONCURRENCY |
                    SQL_CA2_MAX_ROWS_SELECT);
      return true;
    case SQL_STATIC_CURSOR_ATTRIBUTES1:
    case SQL_STATIC_CURSOR_ATTRIBUTES2:
    case SQL_DYNAMIC_CURSOR_ATTRIBUTES1:
    case SQL_DYNAMIC_CURSOR_ATTRIBUTES2:
    case SQL_KEYSET_CURSOR_ATTRIBUTES1:
    case SQL_KEYSET_CURSOR_ATTRIBUTES2:
    case SQL_POS_OPERATIONS:
    case SQL_POSITIONED_STATEMENTS:
    case SQL_LOCK_TYPES:
    case SQL_BOOKMARK_PERSISTENCE:
    case SQL_STATIC_SENSITIVITY:
      out = Integer(0);
      return true;
    case SQL_CURSOR_SENSITIVITY:
      out = Integer(SQL_INSENSITIVE);
      return true;
    case SQL_CURSOR_COMMIT_BEHAVIOR:
    case SQL_CURSOR_ROLLBACK_BEHAVIOR:
      out = Small(SQL_CB_PRESERVE);
      return true;
    case SQL_ROW_UPDATES:
      out = Text("N");
      return true;
    case SQL_MULT_RESULT_SETS:
      out = Text("N");
      return true;
    case SQL_MULTIPLE_ACTIVE_TXN:
      out = Text("Y");
      return true;
    case SQL_NEED_LONG_DATA_LEN:
      out = Text("N");
      return true;
    case SQL_DESCRIBE_PARAMETER:
      out = Text("N");
      return true;
    case SQL_PARAM_ARRAY_ROW_COUNTS:
      out = Integer(SQL_PARC_NO_BATCH);
      return true;
    case SQL_PARAM_ARRAY_SELECTS:
      out = Integer(SQL_PAS_NO_SELECT);
      return true;
    case SQL_BATCH_SUPPORT:
    case SQL_BATCH_ROW_COUNT:
      out = Integer(0);
      return true;
    case SQL_ASYNC_MODE:
      out = Integer(SQL_AM_NONE);
      return true;
    case kAsyncDbcFunctions:
    case kAsyncNotification:
      out = Integer(0);
      return true;
    // Transactions: autocommit by default; manual commit on request.
    case SQL_TXN_CAPABLE:
      out = Small(SQL_TC_ALL);
      return true;
    case SQL_TXN_ISOLATION_OPTION:
    case SQL_DEFAULT_TXN_ISOLATION:
      out = Integer(SQL_TXN_SERIALIZABLE);
      return true;
    // SQL.
    case SQL_ODBC_INTERFACE_CONFORMANCE:
      out = Integer(SQL_OIC_CORE);
      return true;
    case SQL_ODBC_API_CONFORMANCE:
      out = Small(SQL_OAC_LEVEL1);
      return true;
    case SQL_ODBC_SQL_CONFORMANCE:
      out = Small(SQL_OSC_MINIMUM);
      return true;
    case SQL_ODBC_SAG_CLI_CONFORMANCE:
      out = Small(SQL_OSCC_COMPLIANT);
      return true;
    case SQL_SQL_CONFORMANCE:
      out = Integer(SQL_SC_SQL92_ENTRY);
      return true;
    case SQL_CONCAT_NULL_BEHAVIOR:
      out = Small(SQL_CB_NULL);
      return true;
    case SQL_CORRELATION_NAME:
      out = Small(SQL_CN_ANY);
      return true;
    case SQL_NON_NULLABLE_COLUMNS:
      out = Small(SQL_NNC_NON_NULL);
      return true;
    case SQL_NULL_COLLATION:
      out = Small(SQL_NC_LOW);
      return true;
    case SQL_GROUP_BY:
      out = Small(SQL_GB_GROUP_BY_CONTAINS_SELECT);
      return true;
    case SQL_FILE_USAGE:
      out = Small(SQL_FILE_NOT_SUPPORTED);
      return true;
    case SQL_COLUMN_ALIAS:
      out = Text("Y");
      return true;
    case SQL_EXPRESSIONS_IN_ORDERBY:
      out = Text("Y");
      return true;
    case SQL_ORDER_BY_COLUMNS_IN_SELECT:
      out = Text("N");
      return true;
    case SQL_OUTER_JOINS:
      out = Text("Y");
      return true;
    case SQL_OJ_CAPABILITIES:
      out = Integer(SQL_OJ_LEFT | SQL_OJ_NOT_ORDERED | SQL_OJ_NESTED | SQL_OJ_INNER |
                    SQL_OJ_ALL_COMPARISON_OPS);
      return true;
    case SQL_INTEGRITY:
      out = Text("N");
      return true;
    case SQL_UNION:
      out = Integer(SQL_U_UNION | SQL_U_UNION_ALL);
      return true;
    case SQL_SUBQUERIES:
      out = Integer(SQL_SQ_COMPARISON | SQL_SQ_EXISTS | SQL_SQ_IN | SQL_SQ_CORRELATED_SUBQUERIES);
      return true;
    case SQL_AGGREGATE_FUNCTIONS:
      out = Integer(SQL_AF_ALL | SQL_AF_AVG | SQL_AF_COUNT | SQL_AF_DISTINCT | SQL_AF_MAX |
                    SQL_AF_MIN | SQL_AF_SUM);
      return true;
    case SQL_CREATE_SCHEMA:
      out = Integer(SQL_CS_CREATE_SCHEMA);
      return true;
    case SQL_CREATE_TABLE:
      out = Integer(SQL_CT_CREATE_TABLE | SQL_CT_COLUMN_CONSTRAINT | SQL_CT_TABLE_CONSTRAINT);
      return true;
    case SQL_DROP_TABLE:
      out = Integer(SQL_DT_DROP_TABLE);
      return true;
    case SQL_DDL_INDEX:
      out = Integer(SQL_DI_CREATE_INDEX | SQL_DI_DROP_INDEX);
      return true;
    case SQL_INDEX_KEYWORDS:
      out = Integer(SQL_IK_NONE);
      return true;
    case SQL_INSERT_STATEMENT:
      out = Integer(SQL_IS_INSERT_LITERALS | SQL_IS_INSERT_SEARCHED | SQL_IS_SELECT_INTO);
      return true;
    case SQL_CONVERT_FUNCTIONS:
      out = Integer(SQL_FN_CVT_CONVERT);
      return true;
    case SQL_NUMERIC_FUNCTIONS:
    case SQL_STRING_FUNCTIONS:
    case SQL_SYSTEM_FUNCTIONS:
    case SQL_TIMEDATE_FUNCTIONS:
    case SQL_TIMEDATE_ADD_INTERVALS:
    case SQL_TIMEDATE_DIFF_INTERVALS:
    case SQL_DATETIME_LITERALS:
    case SQL_ALTER_TABLE:
    case SQL_ALTER_DOMAIN:
    case SQL_CREATE_VIEW:
    case SQL_DROP_VIEW:
    case SQL_CREATE_ASSERTION:
    case SQL_CREATE_CHARACTER_SET:
    case SQL_CREATE_COLLATION:
    case SQL_CREATE_DOMAIN:
    case SQL_CREATE_TRANSLATION:
    case SQL_DROP_ASSERTION:
    case SQL_DROP_CHARACTER_SET:
    case SQL_DROP_COLLATION:
    case SQL_DROP_DOMAIN:
    case SQL_DROP_SCHEMA:
    case SQL_DROP_TRANSLATION:
    case SQL_SQL92_DATETIME_FUNCTIONS:
    case SQL_SQL92_FOREIGN_KEY_DELETE_RULE:
    case SQL_SQL92_FOREIGN_KEY_UPDATE_RULE:
    case SQL_SQL92_GRANT:
    case SQL_SQL92_NUMERIC_VALUE_FUNCTIONS:
    case SQL_SQL92_PREDICATES:
    case SQL_SQL92_RELATIONAL_JOIN_OPERATORS:
    case SQL_SQL92_REVOKE:
    case SQL_SQL92_ROW_VALUE_CONSTRUCTOR:
    case SQL_SQL92_STRING_FUNCTIONS:
    case SQL_SQL92_VALUE_EXPRESSIONS:
    case SQL_INFO_SCHEMA_VIEWS:
    case SQL_STANDARD_CLI_CONFORMANCE:
    case SQL_DTC_TRANSITION_COST:
      out = Integer(0);
      return true;
    case SQL_CONVERT_BIGINT:
    case SQL_CONVERT_BINARY:
    case SQL_CONVERT_BIT:
    case SQL_CONVERT_CHAR:
    case SQL_CONVERT_DATE:
    case SQL_CONVERT_DECIMAL:
    case SQL_CONVERT_DOUBLE:
    case SQL_CONVERT_FLOAT:
    case SQL_CONVERT_INTEGER:
    case SQL_CONVERT_LONGVARBINARY:
    case SQL_CONVERT_LONGVARCHAR:
    case SQL_CONVERT_NUMERIC:
    case SQL_CONVERT_REAL:
    case SQL_CONVERT_SMALLINT:
    case SQL_CONVERT_TIME:
    case SQL_CONVERT_TIMESTAMP:
    case SQL_CONVERT_TINYINT:
    case SQL_CONVERT_VARBINARY:
    case SQL_CONVERT_VARCHAR:
      out = Integer(0);
      return true;
    default:
      return false;
  }
}

}  // namespace

extern "C" {

SQLRETURN SQL_API SQLGetInfo(SQLHDBC handle, SQLUSMALLINT type, SQLPOINTER value, SQLSMALLINT max,
                             SQLSMALLINT* length) {
  Dbc* dbc = AsDbc(handle);
  if (dbc == nullptr) return SQL_INVALID_HANDLE;
  std::lock_guard<std::mutex> lock(dbc->mutex);
  dbc->diag.Clear();
  InfoValue info;
  if (!Lookup(*dbc, type, info)) {
    return Finish(dbc->diag, Error(dbc->diag, "HY096", "Information type out of range"));
  }
  switch (info.kind) {
    case Kind::kText:
      return Finish(dbc->diag, OutText(info.text, value, max, length, dbc->diag));
    case Kind::kSmall:
      if (value != nullptr)
        *static_cast<SQLUSMALLINT*>(value) = static_cast<SQLUSMALLINT>(info.number);
      if (length != nullptr) *length = sizeof(SQLUSMALLINT);
      return SQL_SUCCESS;
    case Kind::kInteger:
      if (value != nullptr) *static_cast<SQLUINTEGER*>(value) = info.number;
      if (length != nullptr) *length = sizeof(SQLUINTEGER);
      return SQL_SUCCESS;
  }
  return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLGetFunctions(SQLHDBC handle, SQLUSMALLINT id, SQLUSMALLINT* supported) {
  Dbc* dbc = AsDbc(handle);
  if (dbc == nullptr) return SQL_INVALID_HANDLE;
  std::lock_guard<std::mutex> lock(dbc->mutex);
  dbc->diag.Clear();
  if (supported == nullptr) {
    return Finish(dbc->diag, Error(dbc->diag, "HY009", "Invalid use of null pointer"));
  }
  if (id == SQL_API_ODBC3_ALL_FUNCTIONS) {
    for (int i = 0; i < SQL_API_ODBC3_ALL_FUNCTIONS_SIZE; ++i) supported[i] = 0;
    for (SQLUSMALLINT f : kFunctions) {
      supported[f >> 4] = static_cast<SQLUSMALLINT>(supported[f >> 4] | (1 << (f & 0xF)));
    }
    return SQL_SUCCESS;
  }
  if (id == SQL_API_ALL_FUNCTIONS) {
    for (int i = 0; i < 100; ++i) supported[i] = SQL_FALSE;
    for (SQLUSMALLINT f : kFunctions) {
      if (f < 100) supported[f] = SQL_TRUE;
    }
    return SQL_SUCCESS;
  }
  *supported = SQL_FALSE;
  for (SQLUSMALLINT f : kFunctions) {
    if (f == id) *supported = SQL_TRUE;
  }
  return SQL_SUCCESS;
}

}  // extern "C"
