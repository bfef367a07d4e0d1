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

// One fixed answer of SQLGetInfo: a text, or a number of 16 (kSmall) or 32 bits.
struct FixedInfo {
  SQLUSMALLINT type;
  Kind kind;
  const char* text;  // kText only
  SQLUINTEGER number;
};

// SQL_ASYNC_DBC_FUNCTIONS and SQL_ASYNC_NOTIFICATION, asked by newer managers.
constexpr SQLUSMALLINT kAsyncDbcFunctions = 10023;
constexpr SQLUSMALLINT kAsyncNotification = 10025;

constexpr FixedInfo kFixedInfo[] = {
    // Driver and data source.
    {SQL_DRIVER_NAME, Kind::kText, "libtsqlite.so", 0},
    {SQL_DRIVER_VER, Kind::kText, "01.00.0000", 0},
    {SQL_DRIVER_ODBC_VER, Kind::kText, "03.00", 0},
    {SQL_DBMS_NAME, Kind::kText, "TSQLite", 0},
    {SQL_DATA_SOURCE_READ_ONLY, Kind::kText, "N", 0},
    {SQL_ACCESSIBLE_TABLES, Kind::kText, "Y", 0},
    {SQL_ACCESSIBLE_PROCEDURES, Kind::kText, "N", 0},
    {SQL_PROCEDURES, Kind::kText, "N", 0},
    {SQL_XOPEN_CLI_YEAR, Kind::kText, "1995", 0},
    // Identifiers and terms.
    {SQL_IDENTIFIER_QUOTE_CHAR, Kind::kText, "\"", 0},
    {SQL_IDENTIFIER_CASE, Kind::kSmall, nullptr, SQL_IC_MIXED},
    {SQL_QUOTED_IDENTIFIER_CASE, Kind::kSmall, nullptr, SQL_IC_MIXED},
    {SQL_CATALOG_NAME_SEPARATOR, Kind::kText, ".", 0},
    {SQL_CATALOG_NAME, Kind::kText, "N", 0},
    {SQL_CATALOG_TERM, Kind::kText, "", 0},
    {SQL_CATALOG_LOCATION, Kind::kSmall, nullptr, 0},
    {SQL_CATALOG_USAGE, Kind::kInteger, nullptr, 0},
    {SQL_SCHEMA_TERM, Kind::kText, "schema", 0},
    {SQL_SCHEMA_USAGE, Kind::kInteger, nullptr,
     SQL_SU_DML_STATEMENTS | SQL_SU_TABLE_DEFINITION | SQL_SU_INDEX_DEFINITION},
    {SQL_TABLE_TERM, Kind::kText, "table", 0},
    {SQL_PROCEDURE_TERM, Kind::kText, "procedure", 0},
    {SQL_SEARCH_PATTERN_ESCAPE, Kind::kText, "\\", 0},
    {SQL_SPECIAL_CHARACTERS, Kind::kText, "", 0},
    {SQL_KEYWORDS, Kind::kText, "", 0},
    {SQL_LIKE_ESCAPE_CLAUSE, Kind::kText, "N", 0},
    {SQL_COLLATION_SEQ, Kind::kText, "", 0},
    {SQL_MAX_IDENTIFIER_LEN, Kind::kSmall, nullptr, 128},
    {SQL_MAX_COLUMN_NAME_LEN, Kind::kSmall, nullptr, 128},
    {SQL_MAX_CURSOR_NAME_LEN, Kind::kSmall, nullptr, 128},
    {SQL_MAX_SCHEMA_NAME_LEN, Kind::kSmall, nullptr, 128},
    {SQL_MAX_TABLE_NAME_LEN, Kind::kSmall, nullptr, 128},
    {SQL_MAX_USER_NAME_LEN, Kind::kSmall, nullptr, 128},
    {SQL_MAX_CATALOG_NAME_LEN, Kind::kSmall, nullptr, 0},
    {SQL_MAX_PROCEDURE_NAME_LEN, Kind::kSmall, nullptr, 0},
    {SQL_MAX_COLUMNS_IN_GROUP_BY, Kind::kSmall, nullptr, 0},
    {SQL_MAX_COLUMNS_IN_INDEX, Kind::kSmall, nullptr, 0},
    {SQL_MAX_COLUMNS_IN_ORDER_BY, Kind::kSmall, nullptr, 0},
    {SQL_MAX_COLUMNS_IN_SELECT, Kind::kSmall, nullptr, 0},
    {SQL_MAX_COLUMNS_IN_TABLE, Kind::kSmall, nullptr, 0},
    {SQL_MAX_TABLES_IN_SELECT, Kind::kSmall, nullptr, 0},
    {SQL_MAX_CONCURRENT_ACTIVITIES, Kind::kSmall, nullptr, 0},
    {SQL_MAX_DRIVER_CONNECTIONS, Kind::kSmall, nullptr, 0},
    {SQL_ACTIVE_ENVIRONMENTS, Kind::kSmall, nullptr, 0},
    {SQL_MAX_STATEMENT_LEN, Kind::kInteger, nullptr, 0},
    {SQL_MAX_ROW_SIZE, Kind::kInteger, nullptr, 0},
    {SQL_MAX_CHAR_LITERAL_LEN, Kind::kInteger, nullptr, 0},
    {SQL_MAX_BINARY_LITERAL_LEN, Kind::kInteger, nullptr, 0},
    {SQL_MAX_INDEX_SIZE, Kind::kInteger, nullptr, 0},
    {SQL_MAX_ASYNC_CONCURRENT_STATEMENTS, Kind::kInteger, nullptr, 0},
    {SQL_MAX_ROW_SIZE_INCLUDES_LONG, Kind::kText, "Y", 0},
    // Cursors and data retrieval.
    {SQL_GETDATA_EXTENSIONS, Kind::kInteger, nullptr,
     SQL_GD_ANY_COLUMN | SQL_GD_ANY_ORDER | SQL_GD_BOUND},
    {SQL_SCROLL_OPTIONS, Kind::kInteger, nullptr, SQL_SO_FORWARD_ONLY},
    {SQL_SCROLL_CONCURRENCY, Kind::kInteger, nullptr, SQL_SCCO_READ_ONLY | SQL_SCCO_LOCK},
    {SQL_FETCH_DIRECTION, Kind::kInteger, nullptr, SQL_FD_FETCH_NEXT},
    {SQL_FORWARD_ONLY_CURSOR_ATTRIBUTES1, Kind::kInteger, nullptr, SQL_CA1_NEXT},
    {SQL_FORWARD_ONLY_CURSOR_ATTRIBUTES2, Kind::kInteger, nullptr,
     SQL_CA2_READ_ONLY_CONCURRENCY | SQL_CA2_LOCK_CONCURRENCY | SQL_CA2_MAX_ROWS_SELECT},
    {SQL_STATIC_CURSOR_ATTRIBUTES1, Kind::kInteger, nullptr, 0},
    {SQL_STATIC_CURSOR_ATTRIBUTES2, Kind::kInteger, nullptr, 0},
    {SQL_DYNAMIC_CURSOR_ATTRIBUTES1, Kind::kInteger, nullptr, 0},
    {SQL_DYNAMIC_CURSOR_ATTRIBUTES2, Kind::kInteger, nullptr, 0},
    {SQL_KEYSET_CURSOR_ATTRIBUTES1, Kind::kInteger, nullptr, 0},
    {SQL_KEYSET_CURSOR_ATTRIBUTES2, Kind::kInteger, nullptr, 0},
    {SQL_POS_OPERATIONS, Kind::kInteger, nullptr, 0},
    {SQL_POSITIONED_STATEMENTS, Kind::kInteger, nullptr, 0},
    {SQL_LOCK_TYPES, Kind::kInteger, nullptr, 0},
    {SQL_BOOKMARK_PERSISTENCE, Kind::kInteger, nullptr, 0},
    {SQL_STATIC_SENSITIVITY, Kind::kInteger, nullptr, 0},
    {SQL_CURSOR_SENSITIVITY, Kind::kInteger, nullptr, SQL_INSENSITIVE},
    {SQL_CURSOR_COMMIT_BEHAVIOR, Kind::kSmall, nullptr, SQL_CB_PRESERVE},
    {SQL_CURSOR_ROLLBACK_BEHAVIOR, Kind::kSmall, nullptr, SQL_CB_PRESERVE},
    {SQL_ROW_UPDATES, Kind::kText, "N", 0},
    {SQL_MULT_RESULT_SETS, Kind::kText, "N", 0},
    {SQL_MULTIPLE_ACTIVE_TXN, Kind::kText, "Y", 0},
    {SQL_NEED_LONG_DATA_LEN, Kind::kText, "N", 0},
    {SQL_DESCRIBE_PARAMETER, Kind::kText, "N", 0},
    {SQL_PARAM_ARRAY_ROW_COUNTS, Kind::kInteger, nullptr, SQL_PARC_NO_BATCH},
    {SQL_PARAM_ARRAY_SELECTS, Kind::kInteger, nullptr, SQL_PAS_NO_SELECT},
    {SQL_BATCH_SUPPORT, Kind::kInteger, nullptr, 0},
    {SQL_BATCH_ROW_COUNT, Kind::kInteger, nullptr, 0},
    {SQL_ASYNC_MODE, Kind::kInteger, nullptr, SQL_AM_NONE},
    {kAsyncDbcFunctions, Kind::kInteger, nullptr, 0},
    {kAsyncNotification, Kind::kInteger, nullptr, 0},
    // Transactions: autocommit by default; manual commit on request.
    {SQL_TXN_CAPABLE, Kind::kSmall, nullptr, SQL_TC_ALL},
    {SQL_TXN_ISOLATION_OPTION, Kind::kInteger, nullptr, SQL_TXN_SERIALIZABLE},
    {SQL_DEFAULT_TXN_ISOLATION, Kind::kInteger, nullptr, SQL_TXN_SERIALIZABLE},
    // SQL.
    {SQL_ODBC_INTERFACE_CONFORMANCE, Kind::kInteger, nullptr, SQL_OIC_CORE},
    {SQL_ODBC_API_CONFORMANCE, Kind::kSmall, nullptr, SQL_OAC_LEVEL1},
    {SQL_ODBC_SQL_CONFORMANCE, Kind::kSmall, nullptr, SQL_OSC_MINIMUM},
    {SQL_ODBC_SAG_CLI_CONFORMANCE, Kind::kSmall, nullptr, SQL_OSCC_COMPLIANT},
    {SQL_SQL_CONFORMANCE, Kind::kInteger, nullptr, SQL_SC_SQL92_ENTRY},
    {SQL_CONCAT_NULL_BEHAVIOR, Kind::kSmall, nullptr, SQL_CB_NULL},
    {SQL_CORRELATION_NAME, Kind::kSmall, nullptr, SQL_CN_ANY},
    {SQL_NON_NULLABLE_COLUMNS, Kind::kSmall, nullptr, SQL_NNC_NON_NULL},
    {SQL_NULL_COLLATION, Kind::kSmall, nullptr, SQL_NC_LOW},
    {SQL_GROUP_BY, Kind::kSmall, nullptr, SQL_GB_GROUP_BY_CONTAINS_SELECT},
    {SQL_FILE_USAGE, Kind::kSmall, nullptr, SQL_FILE_NOT_SUPPORTED},
    {SQL_COLUMN_ALIAS, Kind::kText, "Y", 0},
    {SQL_EXPRESSIONS_IN_ORDERBY, Kind::kText, "Y", 0},
    {SQL_ORDER_BY_COLUMNS_IN_SELECT, Kind::kText, "N", 0},
    {SQL_OUTER_JOINS, Kind::kText, "Y", 0},
    {SQL_OJ_CAPABILITIES, Kind::kInteger, nullptr,
     SQL_OJ_LEFT | SQL_OJ_NOT_ORDERED | SQL_OJ_NESTED | SQL_OJ_INNER | SQL_OJ_ALL_COMPARISON_OPS},
    {SQL_INTEGRITY, Kind::kText, "N", 0},
    {SQL_UNION, Kind::kInteger, nullptr, SQL_U_UNION | SQL_U_UNION_ALL},
    {SQL_SUBQUERIES, Kind::kInteger, nullptr,
     SQL_SQ_COMPARISON | SQL_SQ_EXISTS | SQL_SQ_IN | SQL_SQ_CORRELATED_SUBQUERIES},
    {SQL_AGGREGATE_FUNCTIONS, Kind::kInteger, nullptr,
     SQL_AF_ALL | SQL_AF_AVG | SQL_AF_COUNT | SQL_AF_DISTINCT | SQL_AF_MAX | SQL_AF_MIN |
         SQL_AF_SUM},
    {SQL_CREATE_SCHEMA, Kind::kInteger, nullptr, SQL_CS_CREATE_SCHEMA},
    {SQL_CREATE_TABLE, Kind::kInteger, nullptr,
     SQL_CT_CREATE_TABLE | SQL_CT_COLUMN_CONSTRAINT | SQL_CT_TABLE_CONSTRAINT},
    {SQL_DROP_TABLE, Kind::kInteger, nullptr, SQL_DT_DROP_TABLE},
    {SQL_DDL_INDEX, Kind::kInteger, nullptr, SQL_DI_CREATE_INDEX | SQL_DI_DROP_INDEX},
    {SQL_INDEX_KEYWORDS, Kind::kInteger, nullptr, SQL_IK_NONE},
    {SQL_INSERT_STATEMENT, Kind::kInteger, nullptr,
     SQL_IS_INSERT_LITERALS | SQL_IS_INSERT_SEARCHED | SQL_IS_SELECT_INTO},
    {SQL_CONVERT_FUNCTIONS, Kind::kInteger, nullptr, SQL_FN_CVT_CONVERT},
    {SQL_NUMERIC_FUNCTIONS, Kind::kInteger, nullptr, 0},
    {SQL_STRING_FUNCTIONS, Kind::kInteger, nullptr, 0},
    {SQL_SYSTEM_FUNCTIONS, Kind::kInteger, nullptr, 0},
    {SQL_TIMEDATE_FUNCTIONS, Kind::kInteger, nullptr, 0},
    {SQL_TIMEDATE_ADD_INTERVALS, Kind::kInteger, nullptr, 0},
    {SQL_TIMEDATE_DIFF_INTERVALS, Kind::kInteger, nullptr, 0},
    {SQL_DATETIME_LITERALS, Kind::kInteger, nullptr, 0},
    {SQL_ALTER_TABLE, Kind::kInteger, nullptr, 0},
    {SQL_ALTER_DOMAIN, Kind::kInteger, nullptr, 0},
    {SQL_CREATE_VIEW, Kind::kInteger, nullptr, 0},
    {SQL_DROP_VIEW, Kind::kInteger, nullptr, 0},
    {SQL_CREATE_ASSERTION, Kind::kInteger, nullptr, 0},
    {SQL_CREATE_CHARACTER_SET, Kind::kInteger, nullptr, 0},
    {SQL_CREATE_COLLATION, Kind::kInteger, nullptr, 0},
    {SQL_CREATE_DOMAIN, Kind::kInteger, nullptr, 0},
    {SQL_CREATE_TRANSLATION, Kind::kInteger, nullptr, 0},
    {SQL_DROP_ASSERTION, Kind::kInteger, nullptr, 0},
    {SQL_DROP_CHARACTER_SET, Kind::kInteger, nullptr, 0},
    {SQL_DROP_COLLATION, Kind::kInteger, nullptr, 0},
    {SQL_DROP_DOMAIN, Kind::kInteger, nullptr, 0},
    {SQL_DROP_SCHEMA, Kind::kInteger, nullptr, 0},
    {SQL_DROP_TRANSLATION, Kind::kInteger, nullptr, 0},
    {SQL_SQL92_DATETIME_FUNCTIONS, Kind::kInteger, nullptr, 0},
    {SQL_SQL92_FOREIGN_KEY_DELETE_RULE, Kind::kInteger, nullptr, 0},
    {SQL_SQL92_FOREIGN_KEY_UPDATE_RULE, Kind::kInteger, nullptr, 0},
    {SQL_SQL92_GRANT, Kind::kInteger, nullptr, 0},
    {SQL_SQL92_NUMERIC_VALUE_FUNCTIONS, Kind::kInteger, nullptr, 0},
    {SQL_SQL92_PREDICATES, Kind::kInteger, nullptr, 0},
    {SQL_SQL92_RELATIONAL_JOIN_OPERATORS, Kind::kInteger, nullptr, 0},
    {SQL_SQL92_REVOKE, Kind::kInteger, nullptr, 0},
    {SQL_SQL92_ROW_VALUE_CONSTRUCTOR, Kind::kInteger, nullptr, 0},
    {SQL_SQL92_STRING_FUNCTIONS, Kind::kInteger, nullptr, 0},
    {SQL_SQL92_VALUE_EXPRESSIONS, Kind::kInteger, nullptr, 0},
    {SQL_INFO_SCHEMA_VIEWS, Kind::kInteger, nullptr, 0},
    {SQL_STANDARD_CLI_CONFORMANCE, Kind::kInteger, nullptr, 0},
    {SQL_DTC_TRANSITION_COST, Kind::kInteger, nullptr, 0},
    {SQL_CONVERT_BIGINT, Kind::kInteger, nullptr, 0},
    {SQL_CONVERT_BINARY, Kind::kInteger, nullptr, 0},
    {SQL_CONVERT_BIT, Kind::kInteger, nullptr, 0},
    {SQL_CONVERT_CHAR, Kind::kInteger, nullptr, 0},
    {SQL_CONVERT_DATE, Kind::kInteger, nullptr, 0},
    {SQL_CONVERT_DECIMAL, Kind::kInteger, nullptr, 0},
    {SQL_CONVERT_DOUBLE, Kind::kInteger, nullptr, 0},
    {SQL_CONVERT_FLOAT, Kind::kInteger, nullptr, 0},
    {SQL_CONVERT_INTEGER, Kind::kInteger, nullptr, 0},
    {SQL_CONVERT_LONGVARBINARY, Kind::kInteger, nullptr, 0},
    {SQL_CONVERT_LONGVARCHAR, Kind::kInteger, nullptr, 0},
    {SQL_CONVERT_NUMERIC, Kind::kInteger, nullptr, 0},
    {SQL_CONVERT_REAL, Kind::kInteger, nullptr, 0},
    {SQL_CONVERT_SMALLINT, Kind::kInteger, nullptr, 0},
    {SQL_CONVERT_TIME, Kind::kInteger, nullptr, 0},
    {SQL_CONVERT_TIMESTAMP, Kind::kInteger, nullptr, 0},
    {SQL_CONVERT_TINYINT, Kind::kInteger, nullptr, 0},
    {SQL_CONVERT_VARBINARY, Kind::kInteger, nullptr, 0},
    {SQL_CONVERT_VARCHAR, Kind::kInteger, nullptr, 0},
};

// The answers that depend on the connection or on the engine's version.
bool DynamicInfo(const Dbc& d, SQLUSMALLINT type, std::string& text) {
  switch (type) {
    case SQL_DBMS_VER:
      text = std::string("01.00.0000 SQLite ") + sqlite3_libversion();
      return true;
    case SQL_DATA_SOURCE_NAME:
      text = d.dsn;
      return true;
    case SQL_SERVER_NAME:
      text = d.directory;
      return true;
    case SQL_DATABASE_NAME:
      text = std::filesystem::path(d.directory).filename().string();
      return true;
    case SQL_USER_NAME:
      text = d.user;
      return true;
    default:
      return false;
  }
}

bool Lookup(const Dbc& d, SQLUSMALLINT type, InfoValue& out) {
  if (DynamicInfo(d, type, out.text)) {
    out.kind = Kind::kText;
    return true;
  }
  for (const FixedInfo& info : kFixedInfo) {
    if (info.type != type) continue;
    out.kind = info.kind;
    out.text = info.text != nullptr ? info.text : "";
    out.number = info.number;
    return true;
  }
  return false;
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
