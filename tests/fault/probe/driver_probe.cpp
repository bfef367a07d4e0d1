// A representative sequence of driver calls for the fault-injection tests:
// connect, create a table, insert rows one statement each, read them back
// through bound columns and SQLGetData, prepare and execute, update, delete,
// commit and roll back by hand, ask the catalog, disconnect. Every call that
// fails must carry a diagnostic record with a SQLSTATE; what each write
// reported is printed so that the test can check it against the files
// afterwards:
//   create ok|err, insert <k> ok|err, update ok|err, delete <k> ok|err,
//   commit 20 ok|err, rollback 21 ok|err,
//   error <SQLSTATE> <native>   for every failed call,
//   nodiag <call>                for a failed call without a diagnostic,
//   done                         after the handles are freed.
// With "connect" after the DSN it only connects, prints "connected", reads
// one table of the schema files (Kvt701Plg) and disconnects.
// Usage: driver_probe DSN [connect]
#include <sql.h>
#include <sqlext.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

SQLCHAR* Text(const std::string& s) {
  return const_cast<SQLCHAR*>(reinterpret_cast<const SQLCHAR*>(s.c_str()));
}

// Reports a failed call; true when `rc` is a success.
bool Check(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE h, const char* call) {
  if (SQL_SUCCEEDED(rc) || rc == SQL_NO_DATA) return SQL_SUCCEEDED(rc);
  SQLCHAR state[6] = {0};
  SQLINTEGER native = 0;
  SQLCHAR message[1024];
  SQLSMALLINT length = 0;
  if (!SQL_SUCCEEDED(SQLGetDiagRec(type, h, 1, state, &native, message, sizeof message, &length)) ||
      std::strlen(reinterpret_cast<char*>(state)) != 5) {
    std::printf("nodiag %s\n", call);
    return false;
  }
  std::printf("error %s %ld\n", reinterpret_cast<char*>(state), static_cast<long>(native));
  return false;
}

bool Exec(SQLHDBC dbc, const std::string& sql) {
  SQLHSTMT st = SQL_NULL_HSTMT;
  if (!Check(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &st), SQL_HANDLE_DBC, dbc, "alloc")) return false;
  const bool ok = Check(SQLExecDirect(st, Text(sql), SQL_NTS), SQL_HANDLE_STMT, st, "exec");
  SQLFreeHandle(SQL_HANDLE_STMT, st);
  return ok;
}

void ReadBack(SQLHDBC dbc) {
  SQLHSTMT st = SQL_NULL_HSTMT;
  if (!Check(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &st), SQL_HANDLE_DBC, dbc, "alloc")) return;
  SQLINTEGER k = 0;
  SQLLEN k_ind = 0;
  if (Check(SQLExecDirect(st,
                          Text("SELECT k, t, convert(char(19), d, 120) FROM plexor.ProbeRun "
                               "ORDER BY k"),
                          SQL_NTS),
            SQL_HANDLE_STMT, st, "select")) {
    SQLBindCol(st, 1, SQL_C_SLONG, &k, 0, &k_ind);
    SQLRETURN rc;
    while (SQL_SUCCEEDED(rc = SQLFetch(st))) {
      char text[8];
      SQLLEN ind = 0;
      // A short buffer: the text comes in pieces.
      while (SQL_SUCCEEDED(SQLGetData(st, 2, SQL_C_CHAR, text, sizeof text, &ind))) {
      }
      SQLGetData(st, 3, SQL_C_CHAR, text, sizeof text, &ind);
    }
    Check(rc, SQL_HANDLE_STMT, st, "fetch");
  }
  SQLFreeHandle(SQL_HANDLE_STMT, st);

  if (!Check(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &st), SQL_HANDLE_DBC, dbc, "alloc")) return;
  if (Check(SQLPrepare(st, Text("SELECT count(*) FROM plexor.ProbeRun WHERE t = 'u'"), SQL_NTS),
            SQL_HANDLE_STMT, st, "prepare") &&
      Check(SQLExecute(st), SQL_HANDLE_STMT, st, "execute")) {
    Check(SQLFetch(st), SQL_HANDLE_STMT, st, "fetch");
  }
  SQLFreeHandle(SQL_HANDLE_STMT, st);

  if (!Check(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &st), SQL_HANDLE_DBC, dbc, "alloc")) return;
  if (Check(SQLColumns(st, nullptr, 0, Text("plexor"), SQL_NTS, Text("ProbeRun"), SQL_NTS, nullptr,
                       0),
            SQL_HANDLE_STMT, st, "columns")) {
    while (SQL_SUCCEEDED(SQLFetch(st))) {
    }
  }
  SQLFreeHandle(SQL_HANDLE_STMT, st);
}

bool EndTran(SQLHDBC dbc, SQLSMALLINT completion) {
  return Check(SQLEndTran(SQL_HANDLE_DBC, dbc, completion), SQL_HANDLE_DBC, dbc, "endtran");
}

// Manual commit: row 20 committed, row 21 rolled back.
void Transactions(SQLHDBC dbc) {
  if (!Check(SQLSetConnectAttr(dbc, SQL_ATTR_AUTOCOMMIT,
                               reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), SQL_IS_UINTEGER),
             SQL_HANDLE_DBC, dbc, "autocommit")) {
    return;
  }
  const bool inserted = Exec(dbc, "INSERT INTO plexor.ProbeRun (k, t) VALUES (20, 'committed')");
  std::printf("commit 20 %s\n", inserted && EndTran(dbc, SQL_COMMIT) ? "ok" : "err");
  Exec(dbc, "INSERT INTO plexor.ProbeRun (k, t) VALUES (21, 'rolled back')");
  std::printf("rollback 21 %s\n", EndTran(dbc, SQL_ROLLBACK) ? "ok" : "err");
  Check(SQLSetConnectAttr(dbc, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON),
                          SQL_IS_UINTEGER),
        SQL_HANDLE_DBC, dbc, "autocommit");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  SQLHENV env = SQL_NULL_HENV;
  SQLHDBC dbc = SQL_NULL_HDBC;
  SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
  SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
  SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
  const SQLRETURN rc =
      SQLConnect(dbc, Text(argv[1]), SQL_NTS, Text("plexor"), SQL_NTS, Text("secret"), SQL_NTS);
  const bool connect_only = argc > 2 && std::strcmp(argv[2], "connect") == 0;
  if (Check(rc, SQL_HANDLE_DBC, dbc, "connect") && connect_only) {
    std::printf("connected\n");
    std::printf("read %s\n", Exec(dbc, "SELECT count(*) FROM plexor.Kvt701Plg") ? "ok" : "err");
    Check(SQLDisconnect(dbc), SQL_HANDLE_DBC, dbc, "disconnect");
  } else if (SQL_SUCCEEDED(rc)) {
    std::printf("create %s\n", Exec(dbc,
                                    "CREATE TABLE plexor.ProbeRun (k int NOT NULL PRIMARY KEY, "
                                    "t varchar(40) NULL, d datetime NULL)")
                                   ? "ok"
                                   : "err");
    for (int k = 1; k <= 12; ++k) {
      const std::string sql = "INSERT INTO plexor.ProbeRun (k, t, d) VALUES (" + std::to_string(k) +
                              ", 'row number " + std::to_string(k) +
                              "', convert(datetime, '20261208', 112))";
      std::printf("insert %d %s\n", k, Exec(dbc, sql) ? "ok" : "err");
    }
    std::printf("update %s\n",
                Exec(dbc, "UPDATE plexor.ProbeRun SET t = 'u' WHERE k <= 6") ? "ok" : "err");
    std::printf("delete 3 %s\n",
                Exec(dbc, "DELETE FROM plexor.ProbeRun WHERE k = 3") ? "ok" : "err");
    Transactions(dbc);
    ReadBack(dbc);
    Check(SQLDisconnect(dbc), SQL_HANDLE_DBC, dbc, "disconnect");
  }
  SQLFreeHandle(SQL_HANDLE_DBC, dbc);
  SQLFreeHandle(SQL_HANDLE_ENV, env);
  std::printf("done\n");
  return 0;
}
