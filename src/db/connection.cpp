#include "db/connection.h"

#include <cstdio>
#include <cstring>

namespace db {
namespace {

constexpr std::size_t kSingleStatements = 8;

SQLHENV g_env = SQL_NULL_HENV;
SQLHDBC g_dbc = SQL_NULL_HDBC;
StatementHandle g_single[kSingleStatements];  // on g_dbc
std::size_t g_next_single = 0;                // the next to take in turn
uint32_t g_generation = 1;
DiagRecord g_diag;
FixedText<kMaxSchemaName + 1> g_schema;

void ReleaseSingleStatements() {
  for (StatementHandle& st : g_single) {
    if (st.handle != SQL_NULL_HSTMT) SQLFreeHandle(SQL_HANDLE_STMT, st.handle);
    st.handle = SQL_NULL_HSTMT;
    st.bound.Forget();
  }
}

}  // namespace

DiagRecord& LastDiag() {
  return g_diag;
}

void Diag_Lesen(SQLSMALLINT handle_type, SQLHANDLE handle, DiagRecord& rec) {
  std::memset(&rec, 0, sizeof rec);
  if (handle == SQL_NULL_HANDLE) return;
  SQLINTEGER native = 0;
  SQLSMALLINT len = 0;
  SQLRETURN rc = SQLGetDiagRec(handle_type, handle, 1, reinterpret_cast<SQLCHAR*>(rec.sqlstate),
                               &native, reinterpret_cast<SQLCHAR*>(rec.message),
                               static_cast<SQLSMALLINT>(sizeof rec.message), &len);
  if (rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO) {
    rec.native = static_cast<int32_t>(native);
  } else {
    std::memset(&rec, 0, sizeof rec);
  }
  rec.sqlstate[sizeof rec.sqlstate - 1] = '\0';
  rec.message[sizeof rec.message - 1] = '\0';
}

int32_t dbConnect(const char* user, const char* password, const char* dsn) {
  ReleaseSingleStatements();
  ++g_generation;
  if (g_dbc != SQL_NULL_HDBC) {
    SQLFreeHandle(SQL_HANDLE_DBC, g_dbc);
    g_dbc = SQL_NULL_HDBC;
  }
  if (g_env != SQL_NULL_HENV) {
    SQLFreeHandle(SQL_HANDLE_ENV, g_env);
    g_env = SQL_NULL_HENV;
  }
  if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &g_env))) {
    g_env = SQL_NULL_HENV;
    return -1;
  }
  SQLSetEnvAttr(g_env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3),
                SQL_IS_INTEGER);
  if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, g_env, &g_dbc))) {
    g_dbc = SQL_NULL_HDBC;
    return -1;
  }
  auto text = [](const char* s) {
    return const_cast<SQLCHAR*>(reinterpret_cast<const SQLCHAR*>(s == nullptr ? "" : s));
  };
  SQLRETURN rc =
      SQLConnect(g_dbc, text(dsn), SQL_NTS, text(user), SQL_NTS, text(password), SQL_NTS);
  if (!SQL_SUCCEEDED(rc)) {
    Diag_Lesen(SQL_HANDLE_DBC, g_dbc, g_diag);
    std::printf("Connect Error: SQLCode: %ld sqlState: %s Msg: %s\n",
                static_cast<long>(g_diag.native), g_diag.sqlstate, g_diag.message);
    std::fflush(stdout);
    return -1;
  }
  return 0;
}

SQLHDBC Connection() {
  return g_dbc;
}

void UseConnection(SQLHDBC dbc) {
  if (dbc != g_dbc) {
    ReleaseSingleStatements();
    ++g_generation;
  }
  g_dbc = dbc;
}

bool AllocateStatement(StatementHandle& st) {
  st.bound.Forget();
  if (g_dbc == SQL_NULL_HDBC ||
      !SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, g_dbc, &st.handle))) {
    st.handle = SQL_NULL_HSTMT;
    return false;
  }
  return true;
}

StatementHandle* SingleStatement(const BoundColumns::Slot* first) {
  if (g_dbc == SQL_NULL_HDBC) return nullptr;
  StatementHandle* st = &g_single[0];
  if (first != nullptr) {
    st = nullptr;
    for (StatementHandle& candidate : g_single) {
      if (candidate.bound.count > 0 && candidate.bound.slots[0] == *first) {
        st = &candidate;
        break;
      }
    }
    if (st == nullptr) {
      st = &g_single[g_next_single];
      g_next_single = (g_next_single + 1) % kSingleStatements;
    }
  }
  if (st->handle == SQL_NULL_HSTMT && !AllocateStatement(*st)) return nullptr;
  return st;
}

uint32_t ConnectionGeneration() {
  return g_generation;
}

void SetSchema(std::string_view name) {
  g_schema.set(name);
}
const char* Schema() {
  return g_schema.c_str();
}

}  // namespace db
