// Column binding and SQLGetData: NULL, truncation, the shared indicator the
// job binds every column to, and conversions between numbers and text.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "odbc_sandbox.h"

namespace drv {
namespace {

class Binding : public DriverTest {
 protected:
  void SetUp() override {
    DriverTest::SetUp();
    conn_.MustExec("CREATE SCHEMA b");
    conn_.MustExec(
        "CREATE TABLE b.t (k int NOT NULL PRIMARY KEY, txt varchar(30) NULL, "
        "num int NULL, dbl float NULL)");
  }
};

TEST_F(Binding, NullLeavesTheBufferAndSetsTheSharedIndicator) {
  conn_.MustExec("INSERT INTO b.t (k, txt, num, dbl) VALUES (1, NULL, NULL, NULL)");
  Statement st(conn_);
  ASSERT_EQ(st.Exec("SELECT txt, num, dbl FROM b.t"), SQL_SUCCESS);
  char txt[8];
  std::strcpy(txt, "before");
  SQLINTEGER num = 4711;
  double dbl = 2.5;
  SQLLEN shared = 0;  // one indicator for every column, as the job binds them
  SQLBindCol(st.get(), 1, SQL_C_CHAR, txt, sizeof txt, &shared);
  SQLBindCol(st.get(), 2, SQL_C_SLONG, &num, 0, &shared);
  SQLBindCol(st.get(), 3, SQL_C_DOUBLE, &dbl, 0, &shared);
  EXPECT_EQ(SQLFetch(st.get()), SQL_SUCCESS);
  EXPECT_STREQ(txt, "before");
  EXPECT_EQ(num, 4711);
  EXPECT_EQ(dbl, 2.5);
  EXPECT_EQ(shared, SQL_NULL_DATA);
}

TEST_F(Binding, NullWithoutIndicatorFailsTheRow) {
  conn_.MustExec("INSERT INTO b.t (k, txt) VALUES (1, NULL)");
  Statement st(conn_);
  ASSERT_EQ(st.Exec("SELECT txt FROM b.t"), SQL_SUCCESS);
  char txt[8] = "x";
  SQLBindCol(st.get(), 1, SQL_C_CHAR, txt, sizeof txt, nullptr);
  EXPECT_EQ(SQLFetch(st.get()), SQL_ERROR);
  EXPECT_EQ(st.LastDiag().sqlstate, "22002");
  EXPECT_STREQ(txt, "x");
}

TEST_F(Binding, LongTextIsCutTerminatedAndReported) {
  conn_.MustExec("INSERT INTO b.t (k, txt) VALUES (1, 'abcdefghij')");
  conn_.MustExec("INSERT INTO b.t (k, txt) VALUES (2, 'abc')");
  Statement st(conn_);
  ASSERT_EQ(st.Exec("SELECT txt, k FROM b.t ORDER BY k"), SQL_SUCCESS);
  char txt[5];
  SQLINTEGER k = 0;
  SQLLEN ind = 0;
  SQLLEN k_ind = 0;
  SQLBindCol(st.get(), 1, SQL_C_CHAR, txt, sizeof txt, &ind);
  SQLBindCol(st.get(), 2, SQL_C_SLONG, &k, 0, &k_ind);
  EXPECT_EQ(SQLFetch(st.get()), SQL_SUCCESS_WITH_INFO);
  EXPECT_EQ(st.LastDiag().sqlstate, "01004");
  EXPECT_STREQ(txt, "abcd");
  EXPECT_EQ(ind, 10);  // the full length
  EXPECT_EQ(k, 1);     // the other columns of the row are delivered
  EXPECT_EQ(SQLFetch(st.get()), SQL_SUCCESS);
  EXPECT_STREQ(txt, "abc");
  EXPECT_EQ(ind, 3);
  EXPECT_EQ(SQLFetch(st.get()), SQL_NO_DATA);
}

TEST_F(Binding, TextFitsExactlyWithItsTerminator) {
  conn_.MustExec("INSERT INTO b.t (k, txt) VALUES (1, 'abcd')");
  Statement st(conn_);
  ASSERT_EQ(st.Exec("SELECT txt FROM b.t"), SQL_SUCCESS);
  char txt[5];
  SQLLEN ind = 0;
  SQLBindCol(st.get(), 1, SQL_C_CHAR, txt, sizeof txt, &ind);
  EXPECT_EQ(SQLFetch(st.get()), SQL_SUCCESS);
  EXPECT_STREQ(txt, "abcd");
}

TEST_F(Binding, NumbersAsText) {
  conn_.MustExec("INSERT INTO b.t (k, num, dbl) VALUES (-42, 2147483647, 1.5)");
  conn_.MustExec("INSERT INTO b.t (k, num, dbl) VALUES (2, 0, 0.1)");
  Rows rows = conn_.Query("SELECT k, num, dbl FROM b.t ORDER BY k");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0][0], "-42");
  EXPECT_EQ(rows[0][1], "2147483647");
  EXPECT_EQ(rows[0][2], "1.5");
  EXPECT_EQ(rows[1][2], "0.1");

  // An integer that does not fit its text buffer loses no digit: it fails.
  Statement st(conn_);
  ASSERT_EQ(st.Exec("SELECT num FROM b.t WHERE k = -42"), SQL_SUCCESS);
  char small[4];
  SQLLEN ind = 0;
  SQLBindCol(st.get(), 1, SQL_C_CHAR, small, sizeof small, &ind);
  EXPECT_EQ(SQLFetch(st.get()), SQL_ERROR);
  EXPECT_EQ(st.LastDiag().sqlstate, "22003");
}

TEST_F(Binding, TextAsNumbers) {
  conn_.MustExec("INSERT INTO b.t (k, txt) VALUES (1, '  123 ')");
  conn_.MustExec("INSERT INTO b.t (k, txt) VALUES (2, 'abc')");
  conn_.MustExec("INSERT INTO b.t (k, txt) VALUES (3, '99999999999')");
  conn_.MustExec("INSERT INTO b.t (k, txt) VALUES (4, '-2.75')");
  Statement st(conn_);
  ASSERT_EQ(st.Exec("SELECT txt FROM b.t ORDER BY k"), SQL_SUCCESS);
  SQLINTEGER v = -1;
  SQLLEN ind = 0;
  SQLBindCol(st.get(), 1, SQL_C_SLONG, &v, 0, &ind);
  EXPECT_EQ(SQLFetch(st.get()), SQL_SUCCESS);
  EXPECT_EQ(v, 123);
  v = -1;
  EXPECT_EQ(SQLFetch(st.get()), SQL_ERROR);
  EXPECT_EQ(st.LastDiag().sqlstate, "22018");
  EXPECT_EQ(v, -1);
  EXPECT_EQ(SQLFetch(st.get()), SQL_ERROR);
  EXPECT_EQ(st.LastDiag().sqlstate, "22003");
  EXPECT_EQ(v, -1);
  // A fraction is cut toward zero and reported.
  EXPECT_EQ(SQLFetch(st.get()), SQL_SUCCESS_WITH_INFO);
  EXPECT_EQ(st.LastDiag().sqlstate, "01S07");
  EXPECT_EQ(v, -2);
  EXPECT_EQ(SQLFetch(st.get()), SQL_NO_DATA);

  double d = 0;
  ASSERT_EQ(st.Exec("SELECT txt FROM b.t WHERE k IN (1, 4) ORDER BY k"), SQL_ERROR);
  SQLFreeStmt(st.get(), SQL_CLOSE);
  SQLFreeStmt(st.get(), SQL_UNBIND);
  ASSERT_EQ(st.Exec("SELECT txt FROM b.t WHERE k IN (1, 4) ORDER BY k"), SQL_SUCCESS);
  SQLBindCol(st.get(), 1, SQL_C_DOUBLE, &d, 0, &ind);
  EXPECT_EQ(SQLFetch(st.get()), SQL_SUCCESS);
  EXPECT_EQ(d, 123.0);
  EXPECT_EQ(SQLFetch(st.get()), SQL_SUCCESS);
  EXPECT_EQ(d, -2.75);
}

TEST_F(Binding, IntegerTargetsCheckTheirRange) {
  conn_.MustExec("INSERT INTO b.t (k, num, dbl) VALUES (1, 70000, 3.99)");
  conn_.MustExec("INSERT INTO b.t (k, num, dbl) VALUES (2, 5, 3e10)");
  Statement st(conn_);
  ASSERT_EQ(st.Exec("SELECT num, dbl FROM b.t ORDER BY k"), SQL_SUCCESS);
  SQLSMALLINT small = 0;
  SQLINTEGER from_real = 0;
  SQLLEN ind = 0;
  SQLBindCol(st.get(), 1, SQL_C_SSHORT, &small, 0, &ind);
  SQLBindCol(st.get(), 2, SQL_C_SLONG, &from_real, 0, &ind);
  // 70000 does not fit a short: the row fails, the next one is delivered.
  EXPECT_EQ(SQLFetch(st.get()), SQL_ERROR);
  EXPECT_EQ(st.LastDiag().sqlstate, "22003");
  EXPECT_EQ(SQLFetch(st.get()), SQL_ERROR);  // 3e10 does not fit a 32-bit integer
  EXPECT_EQ(small, 5);

  SQLFreeStmt(st.get(), SQL_UNBIND);
  ASSERT_EQ(st.Exec("SELECT dbl, num FROM b.t WHERE k = 1"), SQL_ERROR);  // cursor still open
  SQLCloseCursor(st.get());
  ASSERT_EQ(st.Exec("SELECT dbl, num FROM b.t WHERE k = 1"), SQL_SUCCESS);
  SQLBIGINT big = 0;
  SQLBindCol(st.get(), 1, SQL_C_SLONG, &from_real, 0, &ind);
  SQLBindCol(st.get(), 2, SQL_C_SBIGINT, &big, 0, &ind);
  EXPECT_EQ(SQLFetch(st.get()), SQL_SUCCESS_WITH_INFO);
  EXPECT_EQ(st.LastDiag().sqlstate, "01S07");
  EXPECT_EQ(from_real, 3);
  EXPECT_EQ(big, 70000);
}

TEST_F(Binding, FloatAndDefaultTargets) {
  conn_.MustExec("INSERT INTO b.t (k, txt, num, dbl) VALUES (7, 'x', 12, 0.25)");
  Statement st(conn_);
  ASSERT_EQ(st.Exec("SELECT k, txt, dbl, dbl FROM b.t"), SQL_SUCCESS);
  SQLINTEGER k = 0;
  char txt[4];
  double d = 0;
  float f = 0;
  SQLLEN ind = 0;
  SQLBindCol(st.get(), 1, SQL_C_DEFAULT, &k, 0, &ind);
  SQLBindCol(st.get(), 2, SQL_C_DEFAULT, txt, sizeof txt, &ind);
  SQLBindCol(st.get(), 3, SQL_C_DEFAULT, &d, 0, &ind);
  SQLBindCol(st.get(), 4, SQL_C_FLOAT, &f, 0, &ind);
  EXPECT_EQ(SQLFetch(st.get()), SQL_SUCCESS);
  EXPECT_EQ(k, 7);
  EXPECT_STREQ(txt, "x");
  EXPECT_EQ(d, 0.25);
  EXPECT_EQ(f, 0.25f);
}

TEST_F(Binding, GetDataDeliversLongTextInPieces) {
  conn_.MustExec("INSERT INTO b.t (k, txt) VALUES (1, 'abcdefghijkl')");
  Statement st(conn_);
  ASSERT_EQ(st.Exec("SELECT txt, k FROM b.t"), SQL_SUCCESS);
  ASSERT_EQ(SQLFetch(st.get()), SQL_SUCCESS);
  char piece[5];
  SQLLEN ind = 0;
  std::string whole;
  EXPECT_EQ(SQLGetData(st.get(), 1, SQL_C_CHAR, piece, sizeof piece, &ind), SQL_SUCCESS_WITH_INFO);
  EXPECT_EQ(ind, 12);
  whole += piece;
  EXPECT_EQ(SQLGetData(st.get(), 1, SQL_C_CHAR, piece, sizeof piece, &ind), SQL_SUCCESS_WITH_INFO);
  EXPECT_EQ(ind, 8);  // what was left before this piece
  whole += piece;
  EXPECT_EQ(SQLGetData(st.get(), 1, SQL_C_CHAR, piece, sizeof piece, &ind), SQL_SUCCESS);
  whole += piece;
  EXPECT_EQ(whole, "abcdefghijkl");
  EXPECT_EQ(SQLGetData(st.get(), 1, SQL_C_CHAR, piece, sizeof piece, &ind), SQL_NO_DATA);
  // Another column, then the first again from its start (any order is allowed).
  SQLINTEGER k = 0;
  EXPECT_EQ(SQLGetData(st.get(), 2, SQL_C_SLONG, &k, 0, &ind), SQL_SUCCESS);
  EXPECT_EQ(k, 1);
  EXPECT_EQ(SQLGetData(st.get(), 1, SQL_C_CHAR, piece, sizeof piece, &ind), SQL_SUCCESS_WITH_INFO);
  EXPECT_STREQ(piece, "abcd");
}

TEST_F(Binding, DescribesItsColumns) {
  conn_.MustExec("INSERT INTO b.t (k, txt) VALUES (1, 'abc')");
  Statement st(conn_);
  ASSERT_EQ(st.Exec("SELECT k, txt, dbl, convert(char(8), txt) AS c FROM b.t"), SQL_SUCCESS);
  SQLSMALLINT count = 0;
  EXPECT_EQ(SQLNumResultCols(st.get(), &count), SQL_SUCCESS);
  EXPECT_EQ(count, 4);
  char name[32];
  SQLSMALLINT name_len = 0, type = 0, digits = 0, nullable = 0;
  SQLULEN size = 0;
  ASSERT_EQ(SQLDescribeCol(st.get(), 2, reinterpret_cast<SQLCHAR*>(name), sizeof name, &name_len,
                           &type, &size, &digits, &nullable),
            SQL_SUCCESS);
  EXPECT_STREQ(name, "txt");
  EXPECT_EQ(type, SQL_VARCHAR);
  EXPECT_EQ(size, 30u);
  ASSERT_EQ(SQLDescribeCol(st.get(), 1, reinterpret_cast<SQLCHAR*>(name), sizeof name, &name_len,
                           &type, &size, &digits, &nullable),
            SQL_SUCCESS);
  EXPECT_EQ(type, SQL_INTEGER);
  SQLLEN display = 0;
  EXPECT_EQ(SQLColAttribute(st.get(), 4, SQL_DESC_DISPLAY_SIZE, nullptr, 0, nullptr, &display),
            SQL_SUCCESS);
  EXPECT_GE(display, 3);
  EXPECT_EQ(SQLColAttribute(st.get(), 3, SQL_DESC_CONCISE_TYPE, nullptr, 0, nullptr, &display),
            SQL_SUCCESS);
  EXPECT_EQ(display, SQL_DOUBLE);
  EXPECT_EQ(SQLDescribeCol(st.get(), 5, nullptr, 0, nullptr, &type, &size, &digits, &nullable),
            SQL_ERROR);
  EXPECT_EQ(st.LastDiag().sqlstate, "07009");
}

TEST_F(Binding, PreparedStatementsRunAgain) {
  Statement st(conn_);
  ASSERT_EQ(SQLPrepare(st.get(), Sql("INSERT INTO b.t (k) SELECT COALESCE(MAX(k), 0) + 1 FROM b.t"),
                       SQL_NTS),
            SQL_SUCCESS);
  SQLSMALLINT count = -1;
  EXPECT_EQ(SQLNumResultCols(st.get(), &count), SQL_SUCCESS);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(SQLExecute(st.get()), SQL_SUCCESS);
  EXPECT_EQ(SQLExecute(st.get()), SQL_SUCCESS);
  SQLLEN rows = 0;
  EXPECT_EQ(SQLRowCount(st.get(), &rows), SQL_SUCCESS);
  EXPECT_EQ(rows, 1);
  EXPECT_EQ(conn_.Scalar("SELECT COUNT(*) FROM b.t"), "2");

  Statement q(conn_);
  ASSERT_EQ(SQLPrepare(q.get(), Sql("SELECT k FROM b.t ORDER BY k DESC"), SQL_NTS), SQL_SUCCESS);
  EXPECT_EQ(SQLNumResultCols(q.get(), &count), SQL_SUCCESS);
  EXPECT_EQ(count, 1);
  SQLINTEGER k = 0;
  SQLLEN ind = 0;
  SQLBindCol(q.get(), 1, SQL_C_SLONG, &k, 0, &ind);
  for (int round = 0; round < 2; ++round) {
    ASSERT_EQ(SQLExecute(q.get()), SQL_SUCCESS);
    EXPECT_EQ(SQLFetch(q.get()), SQL_SUCCESS);
    EXPECT_EQ(k, 2);
    SQLCloseCursor(q.get());
  }
}

// The driver keeps freed statements for the connection's next ones: a new
// handle must start without the bindings, attributes, diagnostics and rows of
// the one freed before it.
TEST_F(Binding, ANewStatementStartsCleanAfterAFreedOne) {
  conn_.MustExec("INSERT INTO b.t (k, txt) VALUES (1, 'first row, long text')");
  conn_.MustExec("INSERT INTO b.t (k, txt) VALUES (2, 'b')");
  SQLINTEGER old_k = -1;
  SQLLEN old_ind = 0;
  {
    Statement st(conn_);
    SQLSetStmtAttr(st.get(), SQL_ATTR_MAX_ROWS, reinterpret_cast<SQLPOINTER>(1), 0);
    SQLBindCol(st.get(), 1, SQL_C_SLONG, &old_k, 0, &old_ind);
    ASSERT_EQ(st.Exec("SELECT k, txt FROM b.t ORDER BY k"), SQL_SUCCESS);
    ASSERT_EQ(SQLFetch(st.get()), SQL_SUCCESS);
    EXPECT_EQ(st.Exec("SELECT nosuchcolumn FROM b.t"), SQL_ERROR);
  }
  ASSERT_EQ(old_k, 1);
  old_k = -1;
  Statement st(conn_);
  SQLULEN max_rows = 99;
  EXPECT_EQ(SQLGetStmtAttr(st.get(), SQL_ATTR_MAX_ROWS, &max_rows, 0, nullptr), SQL_SUCCESS);
  EXPECT_EQ(max_rows, 0u);
  ASSERT_EQ(st.Exec("SELECT txt FROM b.t ORDER BY k DESC"), SQL_SUCCESS);
  SQLCHAR state[6] = "";
  SQLINTEGER native = 0;
  EXPECT_EQ(SQLGetDiagRec(SQL_HANDLE_STMT, st.get(), 1, state, &native, nullptr, 0, nullptr),
            SQL_NO_DATA);
  char txt[32] = "";
  SQLLEN ind = 0;
  for (const char* want : {"b", "first row, long text"}) {
    ASSERT_EQ(SQLFetch(st.get()), SQL_SUCCESS);
    EXPECT_EQ(old_k, -1);  // nothing bound any more
    ASSERT_EQ(SQLGetData(st.get(), 1, SQL_C_CHAR, txt, sizeof txt, &ind), SQL_SUCCESS);
    EXPECT_STREQ(txt, want);
  }
  EXPECT_EQ(SQLFetch(st.get()), SQL_NO_DATA);
}

// A result larger than one block of the driver's row storage, with texts
// longer than a text block, comes back whole; the statement after it, reusing
// the storage, too.
TEST_F(Binding, LargeResultsKeepEveryValue) {
  conn_.MustExec("CREATE TABLE b.big (k int NOT NULL PRIMARY KEY, txt text NOT NULL)");
  auto text = [](int k) { return std::string(static_cast<size_t>(k) * 2500, char('a' + k)); };
  for (int k = 1; k <= 8; ++k) {
    conn_.MustExec("INSERT INTO b.big (k, txt) VALUES (" + std::to_string(k) + ", '" + text(k) +
                   "')");
  }
  Statement st(conn_);
  ASSERT_EQ(st.Exec("SELECT x.k, x.txt, z.k, y.txt FROM b.big x, b.big y, b.big z "
                    "ORDER BY x.k, y.k, z.k"),
            SQL_SUCCESS);
  SQLINTEGER xk = 0, zk = 0;
  std::string xt(20001, '\0'), yt(20001, '\0');
  SQLLEN ind[4] = {};
  SQLBindCol(st.get(), 1, SQL_C_SLONG, &xk, 0, &ind[0]);
  SQLBindCol(st.get(), 2, SQL_C_CHAR, xt.data(), static_cast<SQLLEN>(xt.size()), &ind[1]);
  SQLBindCol(st.get(), 3, SQL_C_SLONG, &zk, 0, &ind[2]);
  SQLBindCol(st.get(), 4, SQL_C_CHAR, yt.data(), static_cast<SQLLEN>(yt.size()), &ind[3]);
  for (int x = 1; x <= 8; ++x) {
    for (int y = 1; y <= 8; ++y) {
      for (int z = 1; z <= 8; ++z) {
        ASSERT_EQ(SQLFetch(st.get()), SQL_SUCCESS);
        ASSERT_EQ(xk, x);
        ASSERT_EQ(zk, z);
        ASSERT_EQ(xt.c_str(), text(x));
        ASSERT_EQ(yt.c_str(), text(y));
      }
    }
  }
  EXPECT_EQ(SQLFetch(st.get()), SQL_NO_DATA);
  const Rows again = conn_.Query("SELECT k, txt FROM b.big WHERE k <= 1 ORDER BY k DESC");
  ASSERT_EQ(again.size(), 1u);
  EXPECT_EQ(again[0][1], text(1));
}

}  // namespace
}  // namespace drv
