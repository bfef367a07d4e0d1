// The driver's handles. An environment owns connections, a connection owns
// its SQLite database (an in-memory main database with one attached file per
// schema) and its statements. Every call on a connection or one of its
// statements holds the connection's mutex, so a connection may be used from
// several threads. Each handle starts with a tag that the entry points check.
#pragma once

#include <sql.h>
#include <sqlext.h>
#include <sqlite3.h>

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "diagnostics.h"
#include "dialect/plan_cache.h"
#include "result_set.h"

namespace tsqlite {

enum class HandleTag : uint32_t {
  kEnv = 0x54454e56,
  kDbc = 0x54444243,
  kStmt = 0x54535354,
  kDesc = 0x54444553,
  kFreed = 0xdeadbeef,
};

struct Dbc;
struct Stmt;

struct Env {
  HandleTag tag = HandleTag::kEnv;
  std::mutex mutex;
  Diagnostics diag;
  SQLINTEGER odbc_version = SQL_OV_ODBC3;
  SQLUINTEGER connection_pooling = SQL_CP_OFF;
  SQLUINTEGER cp_match = SQL_CP_STRICT_MATCH;
  std::vector<Dbc*> connections;
};

struct Dbc {
  HandleTag tag = HandleTag::kDbc;
  Env* env = nullptr;
  std::mutex mutex;
  Diagnostics diag;
  sqlite3* db = nullptr;  // null while not connected
  tsq::PlanCache cache;   // the statements compiled on `db`; cleared before it closes
  std::string dsn;
  std::string directory;
  std::string user;
  std::vector<Stmt*> statements;
  // Freed statements kept, cleared and tagged kFreed, for the next ones this
  // connection allocates (see DestroyStatement()); owned, deleted with it.
  std::vector<Stmt*> spare_statements;
  SQLUINTEGER login_timeout = 0;
  SQLUINTEGER connection_timeout = 0;
  SQLUINTEGER access_mode = SQL_MODE_READ_WRITE;
  SQLUINTEGER packet_size = 4096;
  SQLUINTEGER quiet_mode = 0;
  bool autocommit = true;       // SQL_ATTR_AUTOCOMMIT
  bool in_transaction = false;  // a transaction the driver opened is not yet ended
};

// Descriptors are not offered as a feature; these exist because driver
// managers fetch the four implicit descriptors of every statement.
struct Desc {
  HandleTag tag = HandleTag::kDesc;
  Stmt* stmt = nullptr;
};

struct Binding {
  SQLSMALLINT c_type = SQL_C_CHAR;
  SQLPOINTER target = nullptr;
  SQLLEN buffer_length = 0;
  SQLLEN* indicator = nullptr;
};

enum class StmtState {
  kAllocated,  // nothing prepared or executed
  kPrepared,   // SQLPrepare succeeded
  kExecuted,   // a statement without result set ran (row count known)
  kCursor,     // a result set is open
};

struct Stmt {
  HandleTag tag = HandleTag::kStmt;
  Dbc* dbc = nullptr;
  Diagnostics diag;
  StmtState state = StmtState::kAllocated;

  std::string prepared_sql;           // the T-SQL text of SQLPrepare
  std::optional<ResultSet> prepared;  // columns known after SQLPrepare (no rows)
  std::optional<ResultSet> result;    // the open result set
  RowStore spare_rows;                // blocks of a closed result, for the next one
  size_t next_row = 0;                // index of the row the next fetch delivers
  SQLLEN row_count = -1;

  std::vector<Binding> bindings;  // index 0 is column 1
  // SQLGetData in pieces: the column last read, how much of it was delivered.
  SQLUSMALLINT getdata_column = 0;
  size_t getdata_offset = 0;
  bool getdata_done = false;

  // Statement attributes.
  SQLULEN cursor_type = SQL_CURSOR_FORWARD_ONLY;
  SQLULEN cursor_scrollable = SQL_NONSCROLLABLE;
  SQLULEN cursor_sensitivity = SQL_UNSPECIFIED;
  SQLULEN concurrency = SQL_CONCUR_READ_ONLY;
  SQLULEN query_timeout = 0;
  SQLULEN max_rows = 0;
  SQLULEN max_length = 0;
  SQLULEN noscan = SQL_NOSCAN_OFF;
  SQLULEN retrieve_data = SQL_RD_ON;
  SQLULEN row_bind_type = SQL_BIND_BY_COLUMN;
  SQLULEN* rows_fetched_ptr = nullptr;
  SQLUSMALLINT* row_status_ptr = nullptr;
  SQLLEN* bind_offset_ptr = nullptr;
  SQLULEN paramset_size = 1;

  Desc app_row_desc;
  Desc app_param_desc;
  Desc imp_row_desc;
  Desc imp_param_desc;
};

// The handle behind an ODBC handle, or null when it is not one of its kind.
Env* AsEnv(SQLHANDLE h);
Dbc* AsDbc(SQLHANDLE h);
Stmt* AsStmt(SQLHANDLE h);

}  // namespace tsqlite
