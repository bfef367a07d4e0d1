// What a failing statement reports through the driver manager: SQL Server's
// native error numbers and SQLSTATEs, which the job acts on, and the outcome
// of writes that change no row.
#include <gtest/gtest.h>

#include "odbc_sandbox.h"

namespace drv {
namespace {

class Errors : public DriverTest {
 protected:
  void SetUp() override {
    DriverTest::SetUp();
    conn_.MustExec("CREATE SCHEMA e");
    conn_.MustExec(
        "CREATE TABLE e.t (k int NOT NULL PRIMARY KEY, txt varchar(4) NULL, "
        "dt datetime NULL)");
    conn_.MustExec("INSERT INTO e.t (k, txt) VALUES (1, 'a')");
  }

  // Runs `sql`, expects it to fail, and returns its first record.
  Diag Failure(const std::string& sql) {
    Diag d;
    EXPECT_EQ(conn_.Exec(sql, &d), SQL_ERROR) << sql;
    return d;
  }
};

TEST_F(Errors, NativeNumbersAndStates) {
  struct Case {
    const char* sql;
    int32_t native;
    const char* sqlstate;
    const char* message_part;
  };
  const Case cases[] = {
      {"SELECT nope FROM e.t", 207, "42S22", "Invalid column name 'nope'."},
      {"UPDATE e.t SET nope = 1 WHERE k = 1", 207, "42S22", "nope"},
      {"SELECT k FROM e.missing", 208, "42S02", "Invalid object name"},
      {"SELECT k FROM e.t WHERE", 102, "42000", "Incorrect syntax"},
      {"INSERT INTO e.t (k) VALUES (1)", 2627, "23000", "PRIMARY KEY"},
      {"INSERT INTO e.t (k) VALUES (NULL)", 515, "23000", "NULL"},
      {"INSERT INTO e.t (k, txt) VALUES (2, 'abcde')", 8152, "22001", "truncated"},
      {"SELECT convert(datetime, 'not a date', 120)", 241, "22007", "Conversion failed"},
  };
  for (const Case& c : cases) {
    const Diag d = Failure(c.sql);
    EXPECT_EQ(d.native, c.native) << c.sql << ": " << d.message;
    EXPECT_EQ(d.sqlstate, c.sqlstate) << c.sql << ": " << d.message;
    EXPECT_NE(d.message.find(c.message_part), std::string::npos) << c.sql << ": " << d.message;
  }
  // A failed write changed nothing.
  EXPECT_EQ(conn_.Scalar("SELECT COUNT(*) FROM e.t"), "1");
}

TEST_F(Errors, FailedExecutionLeavesTheStatementUsable) {
  Statement st(conn_);
  EXPECT_EQ(st.Exec("SELECT nope FROM e.t"), SQL_ERROR);
  EXPECT_EQ(st.LastDiag().native, 207);
  EXPECT_EQ(st.Exec("SELECT txt FROM e.t"), SQL_SUCCESS);
  EXPECT_EQ(SQLFetch(st.get()), SQL_SUCCESS);
}

TEST_F(Errors, WritesThatChangeNoRowReturnNoData) {
  Statement st(conn_);
  EXPECT_EQ(st.Exec("UPDATE e.t SET txt = 'b' WHERE k = 42"), SQL_NO_DATA);
  EXPECT_TRUE(st.LastDiag().sqlstate.empty());  // no diagnostics with it
  EXPECT_EQ(st.Exec("DELETE FROM e.t WHERE k = 42"), SQL_NO_DATA);
  SQLLEN rows = -1;
  EXPECT_EQ(st.Exec("UPDATE e.t SET txt = 'b' WHERE k = 1"), SQL_SUCCESS);
  EXPECT_EQ(SQLRowCount(st.get(), &rows), SQL_SUCCESS);
  EXPECT_EQ(rows, 1);
  EXPECT_EQ(st.Exec("INSERT INTO e.t (k) SELECT k + 10 FROM e.t"), SQL_SUCCESS);
  EXPECT_EQ(SQLRowCount(st.get(), &rows), SQL_SUCCESS);
  EXPECT_EQ(rows, 1);
  // An insert that copies no row is no failure.
  EXPECT_EQ(st.Exec("INSERT INTO e.t (k) SELECT k FROM e.t WHERE k = 42"), SQL_SUCCESS);
  EXPECT_EQ(st.Exec("DELETE FROM e.t"), SQL_SUCCESS);
  EXPECT_EQ(SQLRowCount(st.get(), &rows), SQL_SUCCESS);
  EXPECT_EQ(rows, 2);
}

// SQLite stops reading a statement at a zero byte; the driver must not run
// the part before it as if it were the whole statement.
TEST_F(Errors, ZeroByteInAStatementCutsNothing) {
  const std::string sql("DELETE FROM e.t\0 WHERE k = 99", 29);
  Statement st(conn_);
  EXPECT_EQ(SQLExecDirect(st.get(), Sql(sql), static_cast<SQLINTEGER>(sql.size())), SQL_ERROR);
  EXPECT_EQ(st.LastDiag().native, 102);
  EXPECT_EQ(st.LastDiag().sqlstate, "42000");
  EXPECT_EQ(conn_.Scalar("SELECT COUNT(*) FROM e.t"), Cell("1"));
}

}  // namespace
}  // namespace drv
