// Manual commit through the driver manager: a transaction holds its changes
// back from other connections until it commits, a rollback leaves no trace,
// turning autocommit back on commits, and a process killed inside a
// transaction loses that transaction and nothing else.
#include <gtest/gtest.h>

#include "odbc_sandbox.h"

namespace drv {
namespace {

SQLRETURN SetAutocommit(const Connection& c, SQLULEN value) {
  return SQLSetConnectAttr(c.dbc(), SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(value),
                           SQL_IS_UINTEGER);
}

class Transactions : public ::testing::Test {
 protected:
  void SetUp() override {
    dsn_ = sandbox_.AddDsn("BusyTimeout=300");
    ASSERT_EQ(writer_.Connect(dsn_), SQL_SUCCESS);
    writer_.MustExec("CREATE SCHEMA s");
    writer_.MustExec("CREATE TABLE s.t (id int NOT NULL)");
    ASSERT_EQ(reader_.Connect(dsn_), SQL_SUCCESS);
  }
  Cell Rows(Connection& c) { return c.Scalar("SELECT COUNT(*) FROM s.t"); }
  Sandbox sandbox_;
  std::string dsn_;
  Connection writer_;
  Connection reader_;
};

TEST_F(Transactions, CommitRollbackAndAutocommitBackOn) {
  ASSERT_EQ(SetAutocommit(writer_, SQL_AUTOCOMMIT_OFF), SQL_SUCCESS);
  SQLUINTEGER mode = SQL_AUTOCOMMIT_ON;
  ASSERT_EQ(SQLGetConnectAttr(writer_.dbc(), SQL_ATTR_AUTOCOMMIT, &mode, 0, nullptr), SQL_SUCCESS);
  EXPECT_EQ(mode, static_cast<SQLUINTEGER>(SQL_AUTOCOMMIT_OFF));

  // Rolled back: gone for both connections.
  writer_.MustExec("INSERT INTO s.t (id) VALUES (1)");
  writer_.MustExec("UPDATE s.t SET id = 2");
  EXPECT_EQ(Rows(writer_), "1");
  EXPECT_EQ(Rows(reader_), "0");
  EXPECT_EQ(SQLEndTran(SQL_HANDLE_DBC, writer_.dbc(), SQL_ROLLBACK), SQL_SUCCESS);
  EXPECT_EQ(Rows(writer_), "0");

  // While a transaction is open, another writer waits for it, then times out.
  writer_.MustExec("INSERT INTO s.t (id) VALUES (3)");
  Diag d;
  EXPECT_EQ(reader_.Exec("INSERT INTO s.t (id) VALUES (99)", &d), SQL_ERROR);
  EXPECT_EQ(d.native, 1222) << d.message;
  EXPECT_EQ(SQLEndTran(SQL_HANDLE_DBC, writer_.dbc(), SQL_COMMIT), SQL_SUCCESS);
  EXPECT_EQ(Rows(reader_), "1");

  // Committed through the environment handle as well.
  writer_.MustExec("INSERT INTO s.t (id) VALUES (4)");
  EXPECT_EQ(SQLEndTran(SQL_HANDLE_ENV, writer_.env(), SQL_COMMIT), SQL_SUCCESS);
  EXPECT_EQ(Rows(reader_), "2");

  // Autocommit back on commits what is open; from then on each statement commits.
  writer_.MustExec("INSERT INTO s.t (id) VALUES (5)");
  EXPECT_EQ(Rows(reader_), "2");
  ASSERT_EQ(SetAutocommit(writer_, SQL_AUTOCOMMIT_ON), SQL_SUCCESS);
  EXPECT_EQ(Rows(reader_), "3");
  writer_.MustExec("INSERT INTO s.t (id) VALUES (6)");
  EXPECT_EQ(Rows(reader_), "4");
  EXPECT_EQ(SQLEndTran(SQL_HANDLE_DBC, writer_.dbc(), SQL_ROLLBACK), SQL_SUCCESS);
  EXPECT_EQ(Rows(reader_), "4");
  EXPECT_EQ(SetAutocommit(writer_, 7), SQL_ERROR);
  EXPECT_EQ(writer_.LastDiag().sqlstate, "HY024");
}

// No connection of this process is open while the child runs: SQLite's
// locks must not be shared across fork.
TEST(TransactionKilled, KilledProcessLosesOnlyItsOpenTransaction) {
  Sandbox sandbox;
  const std::string dsn = sandbox.AddDsn("BusyTimeout=300");
  {
    Connection setup;
    ASSERT_EQ(setup.Connect(dsn), SQL_SUCCESS);
    setup.MustExec("CREATE SCHEMA s");
    setup.MustExec("CREATE TABLE s.t (id int NOT NULL)");
  }
  // The connection is never freed: the process dies with the transaction open.
  const int killed = KillWhenReady([&] {
    Connection& c = *new Connection;
    if (c.Connect(dsn) != SQL_SUCCESS) return 1;
    if (c.Exec("INSERT INTO s.t (id) VALUES (1)") != SQL_SUCCESS) return 2;
    if (SetAutocommit(c, SQL_AUTOCOMMIT_OFF) != SQL_SUCCESS) return 3;
    if (c.Exec("INSERT INTO s.t (id) VALUES (2)") != SQL_SUCCESS) return 4;
    return c.Exec("DELETE FROM s.t WHERE id = 1") == SQL_SUCCESS ? 0 : 5;
  });
  ASSERT_EQ(killed, -1) << "the child stopped at step " << killed;

  Connection after;
  ASSERT_EQ(after.Connect(dsn), SQL_SUCCESS);
  EXPECT_EQ(after.Query("SELECT id FROM s.t"), (drv::Rows{{Cell("1")}}));
  // The dead process's lock is gone: a write goes through at once.
  EXPECT_EQ(after.Exec("INSERT INTO s.t (id) VALUES (3)"), SQL_SUCCESS) << after.LastDiag().message;
}

}  // namespace
}  // namespace drv
