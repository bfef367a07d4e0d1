#include "odbc_session.h"

#include <cstdlib>

namespace ctl {
namespace {

SQLCHAR* Text(const std::string& s) {
  return const_cast<SQLCHAR*>(reinterpret_cast<const SQLCHAR*>(s.c_str()));
}

// Frees a statement handle when it goes out of scope.
struct StatementHandle {
  SQLHSTMT h = SQL_NULL_HSTMT;
  ~StatementHandle() {
    if (h != SQL_NULL_HSTMT) SQLFreeHandle(SQL_HANDLE_STMT, h);
  }
};

}  // namespace

std::string CellText(const Row& row, size_t i) {
  std::string s = i < row.size() && row[i] ? *row[i] : "";
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

long CellNumber(const Row& row, size_t i) {
  return std::strtol(CellText(row, i).c_str(), nullptr, 10);
}

std::string OdbcError::Text() const {
  return "[" + sqlstate + "] (" + std::to_string(native) + ") " + message;
}

OdbcSession::~OdbcSession() {
  Disconnect();
}

void OdbcSession::Disconnect() {
  if (connected_) SQLDisconnect(dbc_);
  connected_ = false;
  if (dbc_ != SQL_NULL_HDBC) SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
  dbc_ = SQL_NULL_HDBC;
  if (env_ != SQL_NULL_HENV) SQLFreeHandle(SQL_HANDLE_ENV, env_);
  env_ = SQL_NULL_HENV;
}

void OdbcSession::ReadError(SQLSMALLINT type, SQLHANDLE handle) {
  error_ = OdbcError{};
  SQLCHAR state[6] = {};
  SQLINTEGER native = 0;
  SQLCHAR message[2048] = {};
  SQLSMALLINT length = 0;
  SQLRETURN rc = SQLGetDiagRec(type, handle, 1, state, &native, message,
                               static_cast<SQLSMALLINT>(sizeof message), &length);
  if (SQL_SUCCEEDED(rc)) {
    error_.sqlstate = reinterpret_cast<const char*>(state);
    error_.native = static_cast<int32_t>(native);
    error_.message = reinterpret_cast<const char*>(message);
  } else {
    error_.message = "no diagnostic record";
  }
}

bool OdbcSession::Connect(const std::string& dsn, const std::string& user,
                          const std::string& password) {
  Disconnect();
  error_ = OdbcError{};
  if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env_))) {
    env_ = SQL_NULL_HENV;
    error_.message = "cannot allocate an ODBC environment";
    return false;
  }
  SQLSetEnvAttr(env_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3),
                SQL_IS_INTEGER);
  if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, env_, &dbc_))) {
    dbc_ = SQL_NULL_HDBC;
    ReadError(SQL_HANDLE_ENV, env_);
    return false;
  }
  SQLRETURN rc = SQLConnect(dbc_, Text(dsn), SQL_NTS, Text(user), SQL_NTS, Text(password), SQL_NTS);
  if (!SQL_SUCCEEDED(rc)) {
    ReadError(SQL_HANDLE_DBC, dbc_);
    return false;
  }
  connected_ = true;
  return true;
}

bool OdbcSession::Start(const std::string& sql, SQLHSTMT& st, SQLRETURN& rc) {
  if (!connected_) {
    error_ = OdbcError{"08003", 0, "not connected"};
    return false;
  }
  if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc_, &st))) {
    st = SQL_NULL_HSTMT;
    ReadError(SQL_HANDLE_DBC, dbc_);
    return false;
  }
  rc = SQLExecDirect(st, Text(sql), SQL_NTS);
  return true;
}

bool OdbcSession::Exec(const std::string& sql, SQLLEN* rows) {
  StatementHandle st;
  SQLRETURN rc = SQL_ERROR;
  if (!Start(sql, st.h, rc)) return false;
  if (rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO || rc == SQL_NO_DATA) {
    if (rows != nullptr) {
      *rows = 0;
      if (rc != SQL_NO_DATA && !SQL_SUCCEEDED(SQLRowCount(st.h, rows))) *rows = -1;
    }
    return true;
  }
  ReadError(SQL_HANDLE_STMT, st.h);
  return false;
}

bool OdbcSession::EndTransaction(SQLSMALLINT completion) {
  if (!connected_) {
    error_ = OdbcError{"08003", 0, "not connected"};
    return false;
  }
  if (SQL_SUCCEEDED(SQLEndTran(SQL_HANDLE_DBC, dbc_, completion))) return true;
  ReadError(SQL_HANDLE_DBC, dbc_);
  return false;
}

bool OdbcSession::Query(const std::string& sql, std::vector<Row>& rows) {
  rows.clear();
  StatementHandle st;
  SQLRETURN rc = SQL_ERROR;
  if (!Start(sql, st.h, rc)) return false;
  if (!SQL_SUCCEEDED(rc)) {
    ReadError(SQL_HANDLE_STMT, st.h);
    return false;
  }
  SQLSMALLINT columns = 0;
  if (!SQL_SUCCEEDED(SQLNumResultCols(st.h, &columns))) {
    ReadError(SQL_HANDLE_STMT, st.h);
    return false;
  }
  // Every column is bound as text; the job's own reads bind the same way.
  constexpr SQLLEN kWidth = 4096;
  std::vector<std::vector<char>> buffers(static_cast<size_t>(columns), std::vector<char>(kWidth));
  std::vector<SQLLEN> indicators(static_cast<size_t>(columns), 0);
  for (SQLUSMALLINT c = 1; c <= static_cast<SQLUSMALLINT>(columns); ++c) {
    rc = SQLBindCol(st.h, c, SQL_C_CHAR, buffers[c - 1].data(), kWidth, &indicators[c - 1]);
    if (!SQL_SUCCEEDED(rc)) {
      ReadError(SQL_HANDLE_STMT, st.h);
      return false;
    }
  }
  while (true) {
    for (auto& b : buffers) b[0] = '\0';
    rc = SQLFetch(st.h);
    if (rc == SQL_NO_DATA) return true;
    if (!SQL_SUCCEEDED(rc)) {
      ReadError(SQL_HANDLE_STMT, st.h);
      return false;
    }
    Row row;
    for (size_t c = 0; c < buffers.size(); ++c) {
      if (indicators[c] == SQL_NULL_DATA) {
        row.emplace_back();
      } else {
        row.emplace_back(std::string(buffers[c].data()));
      }
    }
    rows.push_back(std::move(row));
  }
}

}  // namespace ctl
