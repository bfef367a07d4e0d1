// unixODBC's own client against a data source of the embedded driver.
#include <gtest/gtest.h>

#include "odbc_sandbox.h"

namespace drv {
namespace {

TEST(Isql, RunsTheBaseCalendarQueryAgainstADsn) {
  Sandbox sandbox;
  const std::string dsn = sandbox.AddDsn("User=plexor\nPassword=secret");
  {
    Connection c;
    ASSERT_EQ(c.Connect(dsn, "plexor", "secret"), SQL_SUCCESS) << c.LastDiag().message;
    c.MustExec("CREATE SCHEMA KvtSystem");
    c.MustExec(
        "CREATE TABLE KvtSystem.Kvt133Bak (BakDtm datetime NOT NULL PRIMARY KEY, "
        "BakWtg smallint NULL)");
    c.MustExec(
        "INSERT INTO KvtSystem.Kvt133Bak (BakDtm, BakWtg) VALUES "
        "(convert(datetime, '20261208', 112), 2)");
    c.MustExec(
        "INSERT INTO KvtSystem.Kvt133Bak (BakDtm, BakWtg) VALUES "
        "(convert(datetime, '20261209', 112), 3)");
  }
  std::string out;
  const int status =
      RunWithInput({"isql", "-b", "-v", dsn, "plexor", "secret"},
                   "SELECT convert(char(8), BakDtm, 112) FROM KvtSystem.Kvt133Bak ORDER BY BakDtm\n"
                   "SELECT nope FROM KvtSystem.Kvt133Bak\n",
                   &out, 30);
  ASSERT_EQ(status, 0) << out;
  EXPECT_NE(out.find("| 20261208"), std::string::npos) << out;
  EXPECT_NE(out.find("| 20261209"), std::string::npos) << out;
  EXPECT_LT(out.find("20261208"), out.find("20261209")) << out;
  EXPECT_NE(out.find("2 rows fetched"), std::string::npos) << out;
  EXPECT_NE(out.find("[tsqlite]Invalid column name 'nope'."), std::string::npos) << out;

  // The login check applies to isql as to every client.
  const int refused = RunWithInput({"isql", "-b", "-v", dsn, "plexor", "wrong"}, "", &out, 30);
  EXPECT_NE(refused, 0);
  EXPECT_NE(out.find("Login failed for user 'plexor'."), std::string::npos) << out;
}

}  // namespace
}  // namespace drv
