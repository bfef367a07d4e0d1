// SQL Server's date conversions as the job writes and reads them: convert()
// with styles 112 and 120 in both directions, dateadd, and the edge values.
#include <gtest/gtest.h>

#include "odbc_sandbox.h"

namespace drv {
namespace {

class Conversions : public DriverTest {
 protected:
  void SetUp() override {
    DriverTest::SetUp();
    conn_.MustExec("CREATE SCHEMA KvtSystem");
    conn_.MustExec(
        "CREATE TABLE KvtSystem.Kvt133Bak (BakDtm datetime NOT NULL PRIMARY KEY, "
        "BakWtg smallint NULL)");
    conn_.MustExec(
        "INSERT INTO KvtSystem.Kvt133Bak (BakDtm, BakWtg) VALUES "
        "(convert(datetime, '20261208', 112), 2)");
    conn_.MustExec(
        "INSERT INTO KvtSystem.Kvt133Bak (BakDtm, BakWtg) VALUES "
        "(convert(datetime, '2026-12-09 06:30:15', 120), 3)");
  }
};

TEST_F(Conversions, StylesInBothDirections) {
  Rows rows = conn_.Query(
      "SELECT convert(char(8), BakDtm, 112), convert(char(19), BakDtm, 120), "
      "convert(varchar(10), BakDtm, 120) FROM KvtSystem.Kvt133Bak ORDER BY BakDtm");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0][0], "20261208");
  EXPECT_EQ(rows[0][1], "2026-12-08 00:00:00");
  EXPECT_EQ(rows[0][2], "2026-12-08");
  EXPECT_EQ(rows[1][0], "20261209");
  EXPECT_EQ(rows[1][1], "2026-12-09 06:30:15");
  // Dates compare as date-times.
  EXPECT_EQ(conn_.Scalar("SELECT BakWtg FROM KvtSystem.Kvt133Bak WHERE BakDtm = "
                         "convert(datetime, '2026-12-08 00:00:00', 120)"),
            "2");
  EXPECT_EQ(conn_.Scalar("SELECT convert(char(8), dateadd(d, 1, BakDtm), 112) FROM "
                         "KvtSystem.Kvt133Bak WHERE BakWtg = 3"),
            "20261210");
}

TEST_F(Conversions, EmptyTextIsTheFirstOf1900AndNonsenseFails) {
  EXPECT_EQ(conn_.Scalar("SELECT convert(char(19), convert(datetime, '', 120), 120)"),
            "1900-01-01 00:00:00");
  EXPECT_EQ(conn_.Scalar("SELECT convert(char(19), convert(datetime, '', 112), 120)"),
            "1900-01-01 00:00:00");
  Diag d;
  EXPECT_EQ(conn_.Exec("INSERT INTO KvtSystem.Kvt133Bak (BakDtm) VALUES "
                       "(convert(datetime, '2026x208', 112))",
                       &d),
            SQL_ERROR);
  EXPECT_EQ(d.native, 241) << d.message;
  EXPECT_EQ(d.sqlstate, "22007");
  // A well-formed date that does not exist is out of range, as on SQL Server.
  EXPECT_EQ(conn_.Exec("SELECT convert(datetime, '20261399', 112)", &d), SQL_ERROR);
  EXPECT_EQ(d.native, 242) << d.message;
  EXPECT_EQ(d.sqlstate, "22008");
  EXPECT_EQ(conn_.Scalar("SELECT COUNT(*) FROM KvtSystem.Kvt133Bak"), "2");
}

TEST_F(Conversions, DateTimeColumnsReadAsTimestamps) {
  Statement st(conn_);
  ASSERT_EQ(st.Exec("SELECT BakDtm FROM KvtSystem.Kvt133Bak ORDER BY BakDtm DESC"), SQL_SUCCESS);
  SQL_TIMESTAMP_STRUCT ts{};
  SQLLEN ind = 0;
  SQLBindCol(st.get(), 1, SQL_C_TYPE_TIMESTAMP, &ts, sizeof ts, &ind);
  ASSERT_EQ(SQLFetch(st.get()), SQL_SUCCESS);
  EXPECT_EQ(ts.year, 2026);
  EXPECT_EQ(ts.month, 12);
  EXPECT_EQ(ts.day, 9);
  EXPECT_EQ(ts.hour, 6);
  EXPECT_EQ(ts.minute, 30);
  EXPECT_EQ(ts.second, 15);
}

}  // namespace
}  // namespace drv
