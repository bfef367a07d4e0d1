// Connecting through the driver manager: the login check, a database
// directory that is missing, connection strings, and what the manager and
// clients ask of a connection before they run statements.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "odbc_sandbox.h"

namespace drv {
namespace {

TEST(Login, CredentialsOfTheDataSourceAreChecked) {
  Sandbox sandbox;
  const std::string dsn = sandbox.AddDsn("User=plexor\nPassword=Secret");

  Connection wrong_password;
  EXPECT_EQ(wrong_password.Connect(dsn, "plexor", "secret"), SQL_ERROR);
  Diag d = wrong_password.LastDiag();
  EXPECT_EQ(d.sqlstate, "28000");
  EXPECT_EQ(d.native, 18456);
  EXPECT_NE(d.message.find("Login failed for user 'plexor'."), std::string::npos) << d.message;

  Connection wrong_user;
  EXPECT_EQ(wrong_user.Connect(dsn, "intruder", "Secret"), SQL_ERROR);
  EXPECT_NE(wrong_user.LastDiag().message.find("Login failed for user 'intruder'."),
            std::string::npos);

  // Login names compare without regard to case, passwords exactly.
  Connection right;
  EXPECT_EQ(right.Connect(dsn, "PLEXOR", "Secret"), SQL_SUCCESS) << right.LastDiag().message;
}

TEST(Login, DataSourceWithoutCredentialsAcceptsAnyLogin) {
  Sandbox sandbox;
  const std::string dsn = sandbox.AddDsn();
  Connection c;
  EXPECT_EQ(c.Connect(dsn, "anyone", "anything"), SQL_SUCCESS) << c.LastDiag().message;
}

TEST(DatabaseDirectory, MissingDirectoryFailsTheConnectClearly) {
  Sandbox sandbox;
  const std::string missing = sandbox.dir() + "/no-such-dir";
  Connection c;
  EXPECT_EQ(c.Connect(sandbox.AddDsn("", missing)), SQL_ERROR);
  const Diag d = c.LastDiag();
  EXPECT_EQ(d.sqlstate, "08001");
  EXPECT_NE(d.message.find(missing), std::string::npos) << d.message;
  EXPECT_NE(d.message.find("does not exist"), std::string::npos) << d.message;
  // The connect left nothing behind.
  EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST(DatabaseDirectory, FileInPlaceOfTheDirectoryFailsTheConnect) {
  Sandbox sandbox;
  const std::string file = sandbox.dir() + "/plain-file";
  std::ofstream(file) << "x";
  Connection c;
  EXPECT_EQ(c.Connect(sandbox.AddDsn("", file)), SQL_ERROR);
  EXPECT_EQ(c.LastDiag().sqlstate, "08001");
  EXPECT_NE(c.LastDiag().message.find("not a directory"), std::string::npos);
}

TEST(DatabaseDirectory, FileThatIsNoDatabaseIsNamedInTheError) {
  Sandbox sandbox;
  std::ofstream(sandbox.database_dir() + "/broken.sqlite") << "this is not a database file";
  Connection c;
  EXPECT_EQ(c.Connect(sandbox.AddDsn()), SQL_ERROR);
  EXPECT_NE(c.LastDiag().message.find("broken.sqlite"), std::string::npos) << c.LastDiag().message;
}

TEST(DriverConnect, ConnectionStringWithDsnAndCredentials) {
  Sandbox sandbox;
  const std::string dsn = sandbox.AddDsn("User=u1\nPassword=p;w");
  Connection c;
  const std::string in = "DSN=" + dsn + ";UID=u1;PWD={p;w};";
  SQLCHAR out[512];
  SQLSMALLINT out_len = 0;
  EXPECT_EQ(SQLDriverConnect(c.dbc(), nullptr, Sql(in), SQL_NTS, out, sizeof out, &out_len,
                             SQL_DRIVER_NOPROMPT),
            SQL_SUCCESS)
      << c.LastDiag().message;
  EXPECT_GT(out_len, 0);
  SQLDisconnect(c.dbc());

  Connection bad;
  const std::string wrong = "DSN=" + dsn + ";UID=u1;PWD=nope";
  EXPECT_EQ(SQLDriverConnect(bad.dbc(), nullptr, Sql(wrong), SQL_NTS, nullptr, 0, nullptr,
                             SQL_DRIVER_NOPROMPT),
            SQL_ERROR);
  EXPECT_EQ(bad.LastDiag().native, 18456);
}

TEST(DriverConnect, ConnectionStringWithoutDsnNamesTheDirectory) {
  Sandbox sandbox;
  Connection c;
  const std::string in = "DRIVER={TSQLite};DATABASE=" + sandbox.database_dir() + ";";
  ASSERT_EQ(SQLDriverConnect(c.dbc(), nullptr, Sql(in), SQL_NTS, nullptr, 0, nullptr,
                             SQL_DRIVER_NOPROMPT),
            SQL_SUCCESS)
      << c.LastDiag().message;
  {
    Statement st(c);
    EXPECT_EQ(st.Exec("CREATE SCHEMA direct"), SQL_SUCCESS) << st.LastDiag().message;
  }
  EXPECT_TRUE(std::filesystem::exists(sandbox.database_dir() + "/direct.sqlite"));
  SQLDisconnect(c.dbc());
}

TEST_F(DriverTest, ManagerAndClientQueriesOfTheConnection) {
  char text[64] = {0};
  SQLSMALLINT len = 0;
  ASSERT_EQ(SQLGetInfo(conn_.dbc(), SQL_DRIVER_ODBC_VER, text, sizeof text, &len), SQL_SUCCESS);
  EXPECT_STREQ(text, "03.00");
  ASSERT_EQ(SQLGetInfo(conn_.dbc(), SQL_IDENTIFIER_QUOTE_CHAR, text, sizeof text, &len),
            SQL_SUCCESS);
  EXPECT_STREQ(text, "\"");
  SQLUINTEGER getdata = 0;
  ASSERT_EQ(SQLGetInfo(conn_.dbc(), SQL_GETDATA_EXTENSIONS, &getdata, sizeof getdata, nullptr),
            SQL_SUCCESS);
  EXPECT_TRUE(getdata & SQL_GD_ANY_COLUMN);
  EXPECT_TRUE(getdata & SQL_GD_ANY_ORDER);
  // A cut text is reported, with its full length.
  char small[3];
  EXPECT_EQ(SQLGetInfo(conn_.dbc(), SQL_DRIVER_ODBC_VER, small, sizeof small, &len),
            SQL_SUCCESS_WITH_INFO);
  EXPECT_EQ(len, 5);
  EXPECT_STREQ(small, "03");

  SQLUSMALLINT exists = SQL_FALSE;
  EXPECT_EQ(SQLGetFunctions(conn_.dbc(), SQL_API_SQLFETCH, &exists), SQL_SUCCESS);
  EXPECT_EQ(exists, SQL_TRUE);
  EXPECT_EQ(SQLGetFunctions(conn_.dbc(), SQL_API_SQLGETDATA, &exists), SQL_SUCCESS);
  EXPECT_EQ(exists, SQL_TRUE);

  SQLUINTEGER autocommit = 0;
  EXPECT_EQ(SQLGetConnectAttr(conn_.dbc(), SQL_ATTR_AUTOCOMMIT, &autocommit, 0, nullptr),
            SQL_SUCCESS);
  EXPECT_EQ(autocommit, static_cast<SQLUINTEGER>(SQL_AUTOCOMMIT_ON));
  // Manual commit is offered; committing without a transaction is harmless.
  EXPECT_EQ(SQLSetConnectAttr(conn_.dbc(), SQL_ATTR_AUTOCOMMIT,
                              reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), SQL_IS_UINTEGER),
            SQL_SUCCESS);
  EXPECT_EQ(SQLEndTran(SQL_HANDLE_DBC, conn_.dbc(), SQL_COMMIT), SQL_SUCCESS);
}

TEST_F(DriverTest, StatementAttributesTheJobSets) {
  Statement st(conn_);
  EXPECT_EQ(SQLSetStmtAttr(st.get(), SQL_ATTR_CURSOR_SCROLLABLE,
                           reinterpret_cast<SQLPOINTER>(SQL_NONSCROLLABLE), SQL_IS_INTEGER),
            SQL_SUCCESS);
  EXPECT_EQ(SQLSetStmtAttr(st.get(), SQL_ATTR_CONCURRENCY,
                           reinterpret_cast<SQLPOINTER>(SQL_CONCUR_LOCK), SQL_IS_INTEGER),
            SQL_SUCCESS);
  SQLULEN concurrency = 0;
  EXPECT_EQ(SQLGetStmtAttr(st.get(), SQL_ATTR_CONCURRENCY, &concurrency, 0, nullptr), SQL_SUCCESS);
  EXPECT_EQ(concurrency, static_cast<SQLULEN>(SQL_CONCUR_LOCK));
  // A scrollable cursor is not offered: the driver says it kept forward-only.
  EXPECT_EQ(SQLSetStmtAttr(st.get(), SQL_ATTR_CURSOR_SCROLLABLE,
                           reinterpret_cast<SQLPOINTER>(SQL_SCROLLABLE), SQL_IS_INTEGER),
            SQL_SUCCESS_WITH_INFO);
  EXPECT_EQ(st.LastDiag().sqlstate, "01S02");
  EXPECT_EQ(st.Exec("SELECT 1"), SQL_SUCCESS);
  EXPECT_EQ(SQLFetch(st.get()), SQL_SUCCESS);
}

TEST_F(DriverTest, MisuseIsReportedNotFatal) {
  EXPECT_EQ(SQLExecDirect(SQL_NULL_HSTMT, Sql("SELECT 1"), SQL_NTS), SQL_INVALID_HANDLE);
  EXPECT_EQ(SQLFetch(SQL_NULL_HSTMT), SQL_INVALID_HANDLE);
  EXPECT_EQ(
      SQLGetDiagRec(SQL_HANDLE_STMT, SQL_NULL_HSTMT, 1, nullptr, nullptr, nullptr, 0, nullptr),
      SQL_INVALID_HANDLE);

  Statement st(conn_);
  EXPECT_EQ(SQLFetch(st.get()), SQL_ERROR);
  EXPECT_EQ(st.LastDiag().sqlstate, "HY010");
  char buf[8];
  SQLLEN ind = 0;
  EXPECT_EQ(SQLGetData(st.get(), 1, SQL_C_CHAR, buf, sizeof buf, &ind), SQL_ERROR);

  // A statement without result set has no cursor to fetch from.
  conn_.MustExec("CREATE SCHEMA s");
  conn_.MustExec("CREATE TABLE s.t (a int NULL)");
  EXPECT_EQ(st.Exec("INSERT INTO s.t (a) VALUES (1)"), SQL_SUCCESS);
  EXPECT_EQ(SQLFetch(st.get()), SQL_ERROR);
  EXPECT_EQ(st.LastDiag().sqlstate, "24000");

  // Reading past the end, and columns out of range.
  EXPECT_EQ(st.Exec("SELECT a FROM s.t"), SQL_SUCCESS);
  EXPECT_EQ(SQLGetData(st.get(), 1, SQL_C_CHAR, buf, sizeof buf, &ind), SQL_ERROR);
  EXPECT_EQ(st.LastDiag().sqlstate, "24000");
  EXPECT_EQ(SQLFetch(st.get()), SQL_SUCCESS);
  EXPECT_EQ(SQLGetData(st.get(), 2, SQL_C_CHAR, buf, sizeof buf, &ind), SQL_ERROR);
  EXPECT_EQ(st.LastDiag().sqlstate, "07009");
  EXPECT_EQ(SQLFetch(st.get()), SQL_NO_DATA);
  EXPECT_EQ(SQLFetch(st.get()), SQL_NO_DATA);
  EXPECT_EQ(SQLCloseCursor(st.get()), SQL_SUCCESS);
  EXPECT_EQ(SQLCloseCursor(st.get()), SQL_ERROR);
  EXPECT_EQ(st.LastDiag().sqlstate, "24000");
}

TEST_F(DriverTest, DiagnosticFieldsMatchTheRecord) {
  Statement st(conn_);
  ASSERT_EQ(st.Exec("SELECT x FROM nowhere.nothing"), SQL_ERROR);
  SQLINTEGER count = 0;
  EXPECT_EQ(SQLGetDiagField(SQL_HANDLE_STMT, st.get(), 0, SQL_DIAG_NUMBER, &count, 0, nullptr),
            SQL_SUCCESS);
  EXPECT_EQ(count, 1);
  SQLINTEGER native = 0;
  EXPECT_EQ(SQLGetDiagField(SQL_HANDLE_STMT, st.get(), 1, SQL_DIAG_NATIVE, &native, 0, nullptr),
            SQL_SUCCESS);
  EXPECT_EQ(native, st.LastDiag().native);
  char state[6];
  SQLSMALLINT len = 0;
  EXPECT_EQ(
      SQLGetDiagField(SQL_HANDLE_STMT, st.get(), 1, SQL_DIAG_SQLSTATE, state, sizeof state, &len),
      SQL_SUCCESS);
  EXPECT_EQ(std::string(state), st.LastDiag().sqlstate);
  EXPECT_EQ(SQLGetDiagRec(SQL_HANDLE_STMT, st.get(), 2, nullptr, nullptr, nullptr, 0, nullptr),
            SQL_NO_DATA);
  // A cut message keeps its full length.
  char msg[8];
  SQLSMALLINT msg_len = 0;
  EXPECT_EQ(SQLGetDiagRec(SQL_HANDLE_STMT, st.get(), 1, nullptr, nullptr,
                          reinterpret_cast<SQLCHAR*>(msg), sizeof msg, &msg_len),
            SQL_SUCCESS_WITH_INFO);
  EXPECT_EQ(static_cast<size_t>(msg_len), st.LastDiag().message.size());
  EXPECT_EQ(std::string(msg), st.LastDiag().message.substr(0, 7));
  EXPECT_EQ(st.LastDiag().message.rfind("[tsqlite]", 0), 0u) << st.LastDiag().message;

  // The next call on the handle clears what the last one left.
  EXPECT_EQ(st.Exec("SELECT 1"), SQL_SUCCESS);
  EXPECT_TRUE(st.LastDiag().sqlstate.empty());
}

TEST_F(DriverTest, CatalogListsTheAttachedSchemas) {
  conn_.MustExec("CREATE SCHEMA plexor");
  conn_.MustExec(
      "CREATE TABLE plexor.Kvt701Plg (PlgNr char(5) NOT NULL PRIMARY KEY, PlgOpl int NULL)");
  Statement st(conn_);
  ASSERT_EQ(SQLTables(st.get(), nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0), SQL_SUCCESS);
  char schema[64], table[64], type[64];
  SQLLEN ind;
  SQLBindCol(st.get(), 2, SQL_C_CHAR, schema, sizeof schema, &ind);
  SQLBindCol(st.get(), 3, SQL_C_CHAR, table, sizeof table, &ind);
  SQLBindCol(st.get(), 4, SQL_C_CHAR, type, sizeof type, &ind);
  ASSERT_EQ(SQLFetch(st.get()), SQL_SUCCESS);
  EXPECT_STREQ(schema, "plexor");
  EXPECT_STREQ(table, "Kvt701Plg");
  EXPECT_STREQ(type, "TABLE");
  EXPECT_EQ(SQLFetch(st.get()), SQL_NO_DATA);
  SQLFreeStmt(st.get(), SQL_CLOSE);
  SQLFreeStmt(st.get(), SQL_UNBIND);

  ASSERT_EQ(
      SQLColumns(st.get(), nullptr, 0, Sql("PLEXOR"), SQL_NTS, Sql("kvt701%"), SQL_NTS, nullptr, 0),
      SQL_SUCCESS);
  char column[64];
  SQLSMALLINT data_type = 0;
  SQLINTEGER size = 0;
  SQLBindCol(st.get(), 4, SQL_C_CHAR, column, sizeof column, &ind);
  SQLBindCol(st.get(), 5, SQL_C_SSHORT, &data_type, 0, &ind);
  SQLBindCol(st.get(), 7, SQL_C_SLONG, &size, 0, &ind);
  ASSERT_EQ(SQLFetch(st.get()), SQL_SUCCESS);
  EXPECT_STREQ(column, "PlgNr");
  EXPECT_EQ(data_type, SQL_CHAR);
  EXPECT_EQ(size, 5);
  ASSERT_EQ(SQLFetch(st.get()), SQL_SUCCESS);
  EXPECT_STREQ(column, "PlgOpl");
  EXPECT_EQ(data_type, SQL_INTEGER);
}

}  // namespace
}  // namespace drv
