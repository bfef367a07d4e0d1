// The storage layout and its transactions: one SQLite file per schema in the
// database directory, no private metadata, WAL journal, names without regard
// to case, and every statement committed when executed, also while cursors of
// the same connection are open.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>

#include "odbc_sandbox.h"

namespace drv {
namespace {

namespace fs = std::filesystem;

std::string JournalMode(const std::string& path) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* st = nullptr;
  std::string mode;
  if (sqlite3_prepare_v2(db, "PRAGMA journal_mode", -1, &st, nullptr) == SQLITE_OK &&
      sqlite3_step(st) == SQLITE_ROW) {
    mode = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
  }
  sqlite3_finalize(st);
  sqlite3_close(db);
  return mode;
}

void SqliteExec(const std::string& path, const std::string& sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  char* err = nullptr;
  EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err), SQLITE_OK)
      << (err != nullptr ? err : "");
  sqlite3_free(err);
  sqlite3_close(db);
}

TEST_F(DriverTest, CreateSchemaMakesAWalFileOfItsName) {
  conn_.MustExec("CREATE SCHEMA plexor");
  const std::string file = sandbox_.database_dir() + "/plexor.sqlite";
  ASSERT_TRUE(fs::exists(file));
  conn_.MustExec("CREATE TABLE plexor.Kvt746Err (ErrNr int NOT NULL, ErrTxt varchar(10) NULL)");
  conn_.MustExec("INSERT INTO plexor.Kvt746Err (ErrNr, ErrTxt) VALUES (1601, 'x')");
  EXPECT_EQ(JournalMode(file), "wal");

  Diag d;
  EXPECT_EQ(conn_.Exec("CREATE SCHEMA PLEXOR", &d), SQL_ERROR);
  EXPECT_EQ(d.native, 2714) << d.message;

  // A new connection finds the schema by its file.
  Connection second;
  ASSERT_EQ(second.Connect(dsn_), SQL_SUCCESS);
  EXPECT_EQ(second.Scalar("SELECT ErrTxt FROM Plexor.KVT746ERR WHERE errnr = 1601"), "x");
}

TEST_F(DriverTest, ObjectsWithoutSchemaAreRefusedNotLost) {
  Diag d;
  EXPECT_EQ(conn_.Exec("CREATE TABLE loose (a int NULL)", &d), SQL_ERROR);
  EXPECT_EQ(d.native, 2760) << d.message;
  EXPECT_EQ(conn_.Exec("SELECT a FROM loose", &d), SQL_ERROR);
  EXPECT_EQ(d.native, 208) << d.message;
}

TEST(PlainDatabase, FilesWrittenWithoutTheDriverAreServed) {
  Sandbox sandbox;
  // The layout alone: a file per schema, texts COLLATE RTRIM, date-times as text.
  SqliteExec(sandbox.database_dir() + "/KvtSystem.sqlite",
             "CREATE TABLE Kvt133Bak (BakDtm TEXT NOT NULL PRIMARY KEY, BakWtg INTEGER);"
             "INSERT INTO Kvt133Bak VALUES ('2026-12-08 00:00:00', 2),"
             "('2026-12-09 00:00:00', 3);");
  SqliteExec(sandbox.database_dir() + "/plexor.sqlite",
             "CREATE TABLE Kvt701Plg (PlgNr TEXT COLLATE RTRIM NOT NULL PRIMARY KEY, "
             "PlgOpl INTEGER, PlgFak REAL);"
             "INSERT INTO Kvt701Plg VALUES ('00001', 2, 0.5);");
  Connection c;
  ASSERT_EQ(c.Connect(sandbox.AddDsn()), SQL_SUCCESS) << c.LastDiag().message;
  EXPECT_EQ(c.Scalar("SELECT convert(char(8), MAX(BakDtm), 112) FROM KvtSystem.Kvt133Bak"),
            "20261209");
  EXPECT_EQ(c.Scalar("SELECT PlgOpl FROM plexor.Kvt701Plg WHERE PlgNr = '00001   '"), "2");
  EXPECT_EQ(c.Scalar("SELECT PlgFak FROM plexor.Kvt701Plg"), "0.5");
  c.MustExec("UPDATE plexor.Kvt701Plg SET PlgOpl = 3 WHERE PlgNr = '00001'");
  EXPECT_EQ(c.Scalar("SELECT PlgOpl FROM plexor.Kvt701Plg"), "3");
  // Files of other kinds in the directory are no schemas.
  EXPECT_EQ(c.Scalar("SELECT COUNT(*) FROM KvtSystem.Kvt133Bak"), "2");
}

TEST_F(DriverTest, TrailingBlanksNeverMatter) {
  conn_.MustExec("CREATE SCHEMA s");
  conn_.MustExec("CREATE TABLE s.t (code char(5) NOT NULL PRIMARY KEY, name varchar(10) NULL)");
  conn_.MustExec("INSERT INTO s.t (code, name) VALUES ('ab', 'x  ')");
  EXPECT_EQ(conn_.Scalar("SELECT COUNT(*) FROM s.t WHERE code = 'ab   '"), "1");
  EXPECT_EQ(conn_.Scalar("SELECT COUNT(*) FROM s.t WHERE name = 'x'"), "1");
  Diag d;
  EXPECT_EQ(conn_.Exec("INSERT INTO s.t (code) VALUES ('ab ')", &d), SQL_ERROR);
  EXPECT_EQ(d.native, 2627) << d.message;
}

// The job's pattern: cursors open on one connection while single reads,
// inserts and updates run between their fetches, on the same tables.
TEST_F(DriverTest, CursorsStayPositionedWhileTheConnectionWrites) {
  conn_.MustExec("CREATE SCHEMA s");
  conn_.MustExec("CREATE TABLE s.slot (id int NOT NULL PRIMARY KEY, fkt int NOT NULL)");
  conn_.MustExec("CREATE TABLE s.prop (id int NOT NULL, slot int NOT NULL)");
  for (int i = 1; i <= 5; ++i) {
    conn_.MustExec("INSERT INTO s.slot (id, fkt) VALUES (" + std::to_string(i) + ", -" +
                   std::to_string(i) + ")");
  }
  Statement outer(conn_);
  Statement inner(conn_);
  SQLINTEGER outer_id = 0, inner_id = 0;
  SQLLEN ind = 0;
  ASSERT_EQ(outer.Exec("SELECT id FROM s.slot ORDER BY fkt"), SQL_SUCCESS);
  SQLBindCol(outer.get(), 1, SQL_C_SLONG, &outer_id, 0, &ind);
  std::vector<int> seen;
  while (SQLFetch(outer.get()) == SQL_SUCCESS) {
    seen.push_back(outer_id);
    ASSERT_EQ(inner.Exec("SELECT id FROM s.slot WHERE id <> " + std::to_string(outer_id) +
                         " ORDER BY id"),
              SQL_SUCCESS);
    SQLBindCol(inner.get(), 1, SQL_C_SLONG, &inner_id, 0, &ind);
    ASSERT_EQ(SQLFetch(inner.get()), SQL_SUCCESS);
    // Writes between the fetches, to the very rows both cursors read.
    conn_.MustExec("INSERT INTO s.prop (id, slot) VALUES (" + std::to_string(outer_id) + ", " +
                   std::to_string(inner_id) + ")");
    conn_.MustExec("UPDATE s.slot SET fkt = fkt + 10 WHERE id = " + std::to_string(inner_id));
    EXPECT_EQ(conn_.Exec("DELETE FROM s.slot WHERE id = 99"), SQL_NO_DATA);
    SQLFreeStmt(inner.get(), SQL_CLOSE);
  }
  EXPECT_EQ(seen, (std::vector<int>{5, 4, 3, 2, 1}));
  EXPECT_EQ(conn_.Scalar("SELECT COUNT(*) FROM s.prop"), "5");
}

TEST_F(DriverTest, SecondConnectionSeesEveryStatementAtOnce) {
  conn_.MustExec("CREATE SCHEMA s");
  conn_.MustExec("CREATE TABLE s.t (id int NOT NULL)");
  conn_.MustExec("INSERT INTO s.t (id) VALUES (1)");
  conn_.MustExec("INSERT INTO s.t (id) VALUES (2)");
  Statement cursor(conn_);
  ASSERT_EQ(cursor.Exec("SELECT id FROM s.t ORDER BY id"), SQL_SUCCESS);
  ASSERT_EQ(SQLFetch(cursor.get()), SQL_SUCCESS);

  conn_.MustExec("INSERT INTO s.t (id) VALUES (3)");
  Connection other;
  ASSERT_EQ(other.Connect(dsn_), SQL_SUCCESS);
  EXPECT_EQ(other.Scalar("SELECT COUNT(*) FROM s.t"), "3");
  // ... and the other connection's writes are not blocked by the open cursor.
  other.MustExec("INSERT INTO s.t (id) VALUES (4)");
  EXPECT_EQ(conn_.Scalar("SELECT COUNT(*) FROM s.t"), "4");
  ASSERT_EQ(SQLFetch(cursor.get()), SQL_SUCCESS);
  EXPECT_EQ(SQLFetch(cursor.get()), SQL_NO_DATA);  // the cursor reads what it found
}

TEST_F(DriverTest, KilledProcessLosesNothingItExecuted) {
  conn_.MustExec("CREATE SCHEMA s");
  conn_.MustExec("CREATE TABLE s.t (id int NOT NULL)");
  // Killed with a cursor open and the connection never closed (never freed).
  ASSERT_EQ(KillWhenReady([&] {
              Connection& c = *new Connection;
              if (!SQL_SUCCEEDED(c.Connect(dsn_))) return 1;
              Statement& open_cursor = *new Statement(c);
              c.Exec("INSERT INTO s.t (id) VALUES (1)");
              open_cursor.Exec("SELECT id FROM s.t");
              SQLFetch(open_cursor.get());
              c.Exec("INSERT INTO s.t (id) VALUES (2)");
              return 0;
            }),
            -1);
  EXPECT_EQ(conn_.Scalar("SELECT COUNT(*) FROM s.t"), "2");
}

}  // namespace
}  // namespace drv
