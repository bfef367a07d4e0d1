// Statements that share a shape through the driver: each gets its own values
// back, errors and conversions are those of the statement as written, and a
// failure or a change of the schema is seen by the next statement.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "odbc_sandbox.h"

namespace drv {
namespace {

class SharedShapes : public DriverTest {
 protected:
  void SetUp() override {
    DriverTest::SetUp();
    conn_.MustExec("CREATE SCHEMA p");
    conn_.MustExec(
        "CREATE TABLE p.t (k int NOT NULL PRIMARY KEY, s varchar(8) NULL, "
        "dt datetime NULL)");
    for (int k = 1; k <= 3; ++k) {
      conn_.MustExec("INSERT INTO p.t (k, s) VALUES (" + std::to_string(k) + ", 'v" +
                     std::to_string(k) + "')");
    }
  }

  std::string Fetch1(const Statement& st) {
    char buf[32] = {0};
    SQLLEN ind = 0;
    EXPECT_EQ(SQLFetch(st.get()), SQL_SUCCESS);
    EXPECT_TRUE(SQL_SUCCEEDED(SQLGetData(st.get(), 1, SQL_C_CHAR, buf, sizeof buf, &ind)));
    return ind == SQL_NULL_DATA ? "<NULL>" : buf;
  }
};

TEST_F(SharedShapes, TwoCursorsOfOneShapeAtOnce) {
  Statement a(conn_), b(conn_);
  ASSERT_EQ(a.Exec("SELECT s FROM p.t WHERE k >= 1 ORDER BY k"), SQL_SUCCESS);
  ASSERT_EQ(b.Exec("SELECT s FROM p.t WHERE k >= 2 ORDER BY k"), SQL_SUCCESS);
  EXPECT_EQ(Fetch1(a), "v1");
  EXPECT_EQ(Fetch1(b), "v2");
  EXPECT_EQ(Fetch1(a), "v2");
  EXPECT_EQ(Fetch1(b), "v3");
  EXPECT_EQ(Fetch1(a), "v3");
  EXPECT_EQ(SQLFetch(b.get()), SQL_NO_DATA);
}

TEST_F(SharedShapes, QuotesNationalStringsAndConversions) {
  conn_.MustExec("UPDATE p.t SET s = 'it''s' WHERE k = 1");
  conn_.MustExec("UPDATE p.t SET s = N'N''x' WHERE k = 2");
  conn_.MustExec("UPDATE p.t SET s = '' WHERE k = 3");
  EXPECT_EQ(conn_.Scalar("SELECT s FROM p.t WHERE k = 1"), "it's");
  EXPECT_EQ(conn_.Scalar("SELECT s FROM p.t WHERE k = 2"), "N'x");
  EXPECT_EQ(conn_.Scalar("SELECT s FROM p.t WHERE k = 3"), "");
  EXPECT_EQ(conn_.Scalar("SELECT k FROM p.t WHERE s = 'it''s'"), "1");
  conn_.MustExec("UPDATE p.t SET dt = convert(datetime, '20240229', 112) WHERE k = 1");
  conn_.MustExec("UPDATE p.t SET dt = convert(datetime, '', 112) WHERE k = 2");
  EXPECT_EQ(conn_.Scalar("SELECT convert(char(8), dt, 112) FROM p.t WHERE k = 2"), "19000101");
  Diag d;
  EXPECT_EQ(conn_.Exec("UPDATE p.t SET dt = convert(datetime, '2024x229', 112) WHERE k = 3", &d),
            SQL_ERROR);
  EXPECT_EQ(d.native, 241) << d.message;
  EXPECT_EQ(conn_.Exec("UPDATE p.t SET dt = convert(datetime, '20241399', 112) WHERE k = 3", &d),
            SQL_ERROR);
  EXPECT_EQ(d.native, 242) << d.message;
  EXPECT_EQ(conn_.Exec("UPDATE p.t SET s = 'x' WHERE k = 99"), SQL_NO_DATA);
  EXPECT_EQ(conn_.Exec("UPDATE p.t SET s = 'x' WHERE k = 3"), SQL_SUCCESS);
}

TEST_F(SharedShapes, FailuresAndSchemaChangesReachTheNextStatement) {
  Diag d;
  EXPECT_EQ(conn_.Exec("INSERT INTO p.t (k, s) VALUES (1, 'dup')", &d), SQL_ERROR);
  EXPECT_EQ(d.native, 2627) << d.message;
  conn_.MustExec("INSERT INTO p.t (k, s) VALUES (4, 'v4')");
  EXPECT_EQ(conn_.Scalar("SELECT s FROM p.t WHERE k = 4"), "v4");
  conn_.MustExec("DROP TABLE p.t");
  EXPECT_EQ(conn_.Exec("SELECT s FROM p.t WHERE k = 4", &d), SQL_ERROR);
  EXPECT_EQ(d.native, 208) << d.message;
  conn_.MustExec("CREATE TABLE p.t (k int NOT NULL, other varchar(8) NULL)");
  EXPECT_EQ(conn_.Exec("SELECT s FROM p.t WHERE k = 5", &d), SQL_ERROR);
  EXPECT_EQ(d.native, 207) << d.message;
  EXPECT_EQ(d.sqlstate, "42S22");
  conn_.MustExec("INSERT INTO p.t (k, other) VALUES (5, 'o5')");
  EXPECT_EQ(conn_.Scalar("SELECT other FROM p.t WHERE k = 5"), "o5");
}

// A query is described by its text alone: alike after SQLPrepare and after
// SQLExecDirect, whatever values (or none) its result holds.
TEST_F(SharedShapes, DescriptionsComeFromTheTextNotTheValues) {
  const char* query =
      "SELECT s, convert(char(19), dt, 120) AS d, count(*) AS n, k * 3000000000 AS big "
      "FROM p.t WHERE k >= 1 GROUP BY s, dt, k";
  struct Described {
    SQLSMALLINT type = 0;
    SQLULEN size = 0;
    bool operator==(const Described&) const = default;
  };
  auto describe = [](const Statement& st) {
    std::vector<Described> out(4);
    for (SQLUSMALLINT c = 1; c <= 4; ++c) {
      SQLSMALLINT digits = 0, nullable = 0;
      EXPECT_EQ(SQLDescribeCol(st.get(), c, nullptr, 0, nullptr, &out[c - 1].type, &out[c - 1].size,
                               &digits, &nullable),
                SQL_SUCCESS);
    }
    return out;
  };
  Statement prepared(conn_);
  ASSERT_EQ(SQLPrepare(prepared.get(), Sql(query), SQL_NTS), SQL_SUCCESS);
  const std::vector<Described> before = describe(prepared);
  const std::vector<Described> expected = {
      {SQL_VARCHAR, 8}, {SQL_CHAR, 19}, {SQL_INTEGER, 10}, {SQL_VARCHAR, 8000}};
  EXPECT_EQ(before, expected);
  Statement all(conn_), none(conn_);
  ASSERT_EQ(all.Exec(query), SQL_SUCCESS);
  EXPECT_EQ(describe(all), expected);
  ASSERT_EQ(none.Exec(std::string(query).replace(std::string(query).find(">= 1"), 4, ">= 9")),
            SQL_SUCCESS);
  EXPECT_EQ(describe(none), expected);
}

}  // namespace
}  // namespace drv
