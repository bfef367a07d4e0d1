// Random calls through the driver manager: random statements, columns bound
// and read with random C types and buffer sizes (0, 1, 2, huge), SQLGetData
// in odd orders, calls out of order. Every call must return one of ODBC's
// codes, every error must carry a diagnostic record, and no call may write
// past the buffer length it was given. The seed is fixed.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "odbc_sandbox.h"

namespace drv {
namespace {

constexpr size_t kBufferBytes = 70000;
constexpr size_t kGuardBytes = 64;
constexpr unsigned char kGuard = 0xAB;
constexpr int kColumns = 6;

const SQLSMALLINT kCTypes[] = {SQL_C_CHAR,    SQL_C_WCHAR,          SQL_C_SLONG,     SQL_C_SBIGINT,
                               SQL_C_DOUBLE,  SQL_C_FLOAT,          SQL_C_SSHORT,    SQL_C_STINYINT,
                               SQL_C_BIT,     SQL_C_TYPE_TIMESTAMP, SQL_C_TYPE_DATE, SQL_C_BINARY,
                               SQL_C_DEFAULT, SQL_C_ULONG,          SQL_C_NUMERIC,   9999};

const SQLLEN kLengths[] = {0, 1, 2, 3, 8, 20, 65536, std::numeric_limits<SQLLEN>::max(), -1};

// One bindable buffer with guard bytes after the part the driver may use.
struct Slot {
  std::vector<unsigned char> bytes = std::vector<unsigned char>(kBufferBytes + kGuardBytes, kGuard);
  SQLLEN indicator = 0;
  size_t usable = 0;  // bytes the driver may write

  SQLPOINTER Arm(SQLLEN length) {
    // Fixed-size types ignore the length: give them room for the widest one.
    const size_t claimed = length > 0 ? static_cast<size_t>(length) : 0;
    usable = std::min(kBufferBytes, std::max<size_t>(claimed, 32));
    std::memset(bytes.data() + usable, kGuard, bytes.size() - usable);
    return bytes.data();
  }
  bool GuardIntact() const {
    for (size_t i = usable; i < usable + kGuardBytes; ++i) {
      if (bytes[i] != kGuard) return false;
    }
    return true;
  }
};

class DriverStress : public DriverTest {
 protected:
  void SetUp() override {
    DriverTest::SetUp();
    conn_.MustExec("CREATE SCHEMA z");
    conn_.MustExec(
        "CREATE TABLE z.t (k int NOT NULL PRIMARY KEY, txt varchar(8000) NULL, num int NULL, "
        "dbl float NULL, dtm datetime NULL, dat date NULL)");
    conn_.MustExec(
        "INSERT INTO z.t VALUES (1, 'abc', 42, 2.5, '2024-02-29 10:00:00', '2024-02-29 00:00:00')");
    conn_.MustExec("INSERT INTO z.t VALUES (2, NULL, NULL, NULL, NULL, NULL)");
    conn_.MustExec("INSERT INTO z.t VALUES (3, '" + std::string(5000, 'x') +
                   "', -2147483648, -1e308, '1753-01-01 00:00:00', '9999-12-31 00:00:00')");
    conn_.MustExec("INSERT INTO z.t VALUES (4, '', 2147483647, 0, NULL, '1900-01-01 00:00:00')");
  }

  // Fails the test unless `rc` is an ODBC code and an error carries a record.
  void Expect(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE handle, const char* call) {
    ++calls_;
    const bool known = rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO || rc == SQL_ERROR ||
                       rc == SQL_NO_DATA || rc == SQL_INVALID_HANDLE || rc == SQL_NEED_DATA ||
                       rc == SQL_STILL_EXECUTING;
    EXPECT_TRUE(known) << call << " returned " << rc;
    if (rc == SQL_ERROR) {
      const Diag d = FirstDiag(type, handle);
      EXPECT_EQ(d.sqlstate.size(), 5u) << call << ": " << d.message;
      EXPECT_FALSE(d.message.empty()) << call;
    }
  }

  void ExpectGuards(const char* call) {
    for (int c = 0; c < kColumns + 2; ++c) {
      ASSERT_TRUE(bound_[c].GuardIntact()) << call << " wrote past bound column " << c;
    }
    ASSERT_TRUE(read_.GuardIntact()) << call << " wrote past its buffer";
  }

  Slot bound_[kColumns + 2];
  Slot read_;
  int calls_ = 0;
};

const char* const kStatements[] = {
    "SELECT k, txt, num, dbl, dtm, dat FROM z.t ORDER BY k",
    "SELECT txt, k FROM z.t WHERE k > 1",
    "SELECT convert(char(19), dtm, 120), convert(char(8), dat, 112), isnull(num, -1) FROM z.t",
    "SELECT COUNT(*) FROM z.t",
    "SELECT TOP 2 * FROM z.t WITH (NOLOCK)",
    "SELECT k FROM z.t WHERE 1 = 0",
    "UPDATE z.t SET num = num WHERE k = 1",
    "UPDATE z.t SET num = 1 WHERE k = 99",
    "DELETE FROM z.t WHERE k = 99",
    "INSERT INTO z.t (k) VALUES (1)",
    "SELECT dateadd(d, 1, dtm), datediff(mi, dtm, getdate()) FROM z.t",
    "SELECT convert(int, txt) FROM z.t",
    "SELECT * FROM z.missing",
    "SELECT",
    "SELECT 'unclosed",
    "SELECT 1; SELECT 2",
    "",
    "   ",
    "CREATE SCHEMA z",
    "SELECT @x",
    "SELECT convert(nonsense, 1)",
};

TEST_F(DriverStress, RandomCallSequencesKeepTheirContracts) {
  std::mt19937 rng(18456);
  const auto started = std::chrono::steady_clock::now();
  SQLHSTMT st = SQL_NULL_HSTMT;
  ASSERT_EQ(SQLAllocHandle(SQL_HANDLE_STMT, conn_.dbc(), &st), SQL_SUCCESS);
  auto pick_column = [&] { return static_cast<SQLUSMALLINT>(rng() % (kColumns + 2)); };
  auto pick_type = [&] { return kCTypes[rng() % std::size(kCTypes)]; };
  auto pick_length = [&] { return kLengths[rng() % std::size(kLengths)]; };
  for (int i = 0; i < 20000; ++i) {
    const int action = static_cast<int>(rng() % 16);
    SQLRETURN rc = SQL_SUCCESS;
    switch (action) {
      case 0:
      case 1: {
        std::string sql = kStatements[rng() % std::size(kStatements)];
        if (rng() % 5 == 0 && !sql.empty()) sql.resize(rng() % sql.size());
        const SQLINTEGER length = rng() % 3 == 0 ? static_cast<SQLINTEGER>(sql.size()) : SQL_NTS;
        rc = SQLExecDirect(st, Sql(sql), length);
        Expect(rc, SQL_HANDLE_STMT, st, "SQLExecDirect");
        break;
      }
      case 2: {
        const std::string sql = kStatements[rng() % std::size(kStatements)];
        Expect(SQLPrepare(st, Sql(sql), SQL_NTS), SQL_HANDLE_STMT, st, "SQLPrepare");
        if (rng() % 2 == 0) Expect(SQLExecute(st), SQL_HANDLE_STMT, st, "SQLExecute");
        break;
      }
      case 3: {
        const SQLUSMALLINT c = pick_column();
        const SQLLEN length = pick_length();
        Slot& slot = bound_[c];
        SQLPOINTER target = rng() % 8 == 0 ? nullptr : slot.Arm(length);
        rc = SQLBindCol(st, c, pick_type(), target, length,
                        rng() % 6 == 0 ? nullptr : &slot.indicator);
        Expect(rc, SQL_HANDLE_STMT, st, "SQLBindCol");
        break;
      }
      case 4:
      case 5:
        Expect(SQLFetch(st), SQL_HANDLE_STMT, st, "SQLFetch");
        ExpectGuards("SQLFetch");
        break;
      case 6: {
        const SQLSMALLINT orientation[] = {SQL_FETCH_NEXT, SQL_FETCH_FIRST, SQL_FETCH_LAST,
                                           SQL_FETCH_PRIOR, SQL_FETCH_ABSOLUTE};
        Expect(SQLFetchScroll(st, orientation[rng() % 5], static_cast<SQLLEN>(rng() % 5) - 2),
               SQL_HANDLE_STMT, st, "SQLFetchScroll");
        ExpectGuards("SQLFetchScroll");
        break;
      }
      case 7:
      case 8: {
        const SQLLEN length = pick_length();
        SQLPOINTER target = rng() % 10 == 0 ? nullptr : read_.Arm(length);
        rc = SQLGetData(st, pick_column(), pick_type(), target, length,
                        rng() % 6 == 0 ? nullptr : &read_.indicator);
        Expect(rc, SQL_HANDLE_STMT, st, "SQLGetData");
        ExpectGuards("SQLGetData");
        break;
      }
      case 9: {
        SQLCHAR name[3];
        SQLSMALLINT name_length = 0, type = 0, digits = 0, nullable = 0;
        SQLULEN size = 0;
        rc = SQLDescribeCol(st, pick_column(), rng() % 2 == 0 ? name : nullptr,
                            static_cast<SQLSMALLINT>(rng() % 4), &name_length, &type, &size,
                            &digits, &nullable);
        Expect(rc, SQL_HANDLE_STMT, st, "SQLDescribeCol");
        SQLSMALLINT count = 0;
        Expect(SQLNumResultCols(st, &count), SQL_HANDLE_STMT, st, "SQLNumResultCols");
        break;
      }
      case 10: {
        const SQLUSMALLINT fields[] = {
            SQL_DESC_NAME,     SQL_DESC_TYPE,       SQL_DESC_LENGTH, SQL_DESC_OCTET_LENGTH,
            SQL_DESC_NULLABLE, SQL_DESC_TABLE_NAME, SQL_DESC_COUNT,  9999};
        char text[4];
        SQLSMALLINT text_length = 0;
        SQLLEN number = 0;
        rc = SQLColAttribute(st, pick_column(), fields[rng() % std::size(fields)], text,
                             static_cast<SQLSMALLINT>(rng() % 5), &text_length, &number);
        Expect(rc, SQL_HANDLE_STMT, st, "SQLColAttribute");
        break;
      }
      case 11: {
        SQLLEN count = 0;
        Expect(SQLRowCount(st, &count), SQL_HANDLE_STMT, st, "SQLRowCount");
        Expect(SQLMoreResults(st), SQL_HANDLE_STMT, st, "SQLMoreResults");
        break;
      }
      case 12:
        Expect(SQLCloseCursor(st), SQL_HANDLE_STMT, st, "SQLCloseCursor");
        break;
      case 13: {
        const SQLUSMALLINT options[] = {SQL_CLOSE, SQL_UNBIND, SQL_RESET_PARAMS};
        Expect(SQLFreeStmt(st, options[rng() % 3]), SQL_HANDLE_STMT, st, "SQLFreeStmt");
        break;
      }
      case 14: {
        SQLCHAR state[6];
        SQLINTEGER native = 0;
        SQLCHAR message[8];
        SQLSMALLINT length = 0;
        const SQLSMALLINT record = static_cast<SQLSMALLINT>(rng() % 4) - 1;
        SQLGetDiagRec(SQL_HANDLE_STMT, st, record, state, &native, message,
                      static_cast<SQLSMALLINT>(rng() % 9), &length);
        SQLLEN number = 0;
        SQLGetDiagField(SQL_HANDLE_STMT, st, 0, SQL_DIAG_NUMBER, &number, 0, nullptr);
        break;
      }
      default:
        // A fresh statement: whatever was bound goes with the old one.
        Expect(SQLFreeHandle(SQL_HANDLE_STMT, st), SQL_HANDLE_DBC, conn_.dbc(), "SQLFreeHandle");
        ASSERT_EQ(SQLAllocHandle(SQL_HANDLE_STMT, conn_.dbc(), &st), SQL_SUCCESS);
        break;
    }
  }
  SQLFreeHandle(SQL_HANDLE_STMT, st);
  EXPECT_GT(calls_, 20000);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(30));
  // The connection still works (cut statements may have deleted rows on purpose).
  EXPECT_TRUE(conn_.Scalar("SELECT COUNT(*) FROM z.t").has_value());
}

TEST_F(DriverStress, CallsInTheWrongOrderFailCleanly) {
  SQLHSTMT st = SQL_NULL_HSTMT;
  ASSERT_EQ(SQLAllocHandle(SQL_HANDLE_STMT, conn_.dbc(), &st), SQL_SUCCESS);
  char buf[16];
  SQLLEN ind = 0;
  Expect(SQLFetch(st), SQL_HANDLE_STMT, st, "fetch before execute");
  EXPECT_EQ(SQLGetData(st, 1, SQL_C_CHAR, buf, sizeof buf, &ind), SQL_ERROR);
  EXPECT_EQ(SQLExecute(st), SQL_ERROR);
  Expect(SQLCloseCursor(st), SQL_HANDLE_STMT, st, "close without cursor");
  ASSERT_EQ(SQLExecDirect(st, Sql("SELECT k, txt FROM z.t ORDER BY k"), SQL_NTS), SQL_SUCCESS);
  EXPECT_EQ(SQLExecDirect(st, Sql("SELECT 1"), SQL_NTS), SQL_ERROR);  // cursor still open
  ASSERT_EQ(SQLFetch(st), SQL_SUCCESS);
  // Columns read backwards, twice, and past the last one.
  EXPECT_TRUE(SQL_SUCCEEDED(SQLGetData(st, 2, SQL_C_CHAR, buf, sizeof buf, &ind)));
  Expect(SQLGetData(st, 1, SQL_C_CHAR, buf, sizeof buf, &ind), SQL_HANDLE_STMT, st, "back");
  Expect(SQLGetData(st, 2, SQL_C_CHAR, buf, sizeof buf, &ind), SQL_HANDLE_STMT, st, "again");
  EXPECT_EQ(SQLGetData(st, 3, SQL_C_CHAR, buf, sizeof buf, &ind), SQL_ERROR);
  EXPECT_EQ(SQLCloseCursor(st), SQL_SUCCESS);
  // Bound after close, fetched without a cursor.
  Expect(SQLBindCol(st, 1, SQL_C_CHAR, buf, sizeof buf, &ind), SQL_HANDLE_STMT, st, "bind");
  Expect(SQLFetch(st), SQL_HANDLE_STMT, st, "fetch after close");
  EXPECT_EQ(SQLFreeStmt(st, SQL_UNBIND), SQL_SUCCESS);
  EXPECT_EQ(SQLFreeStmt(st, SQL_CLOSE), SQL_SUCCESS);
  EXPECT_EQ(SQLFreeHandle(SQL_HANDLE_STMT, st), SQL_SUCCESS);
  // A handle freed twice is refused, not used.
  EXPECT_EQ(SQLFreeHandle(SQL_HANDLE_STMT, st), SQL_INVALID_HANDLE);
  EXPECT_EQ(conn_.Scalar("SELECT COUNT(*) FROM z.t"), Cell("4"));
}

}  // namespace
}  // namespace drv
