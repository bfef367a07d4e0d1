#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "dialect_db.h"

namespace tsq::testing {
namespace {

class ErrorMap : public ::testing::Test {
 protected:
  void SetUp() override {
    db.Must(
        "CREATE TABLE plexor.T (k varchar(5) NOT NULL, n int NOT NULL, c varchar(5), "
        "CONSTRAINT PK_T PRIMARY KEY (k))");
    db.Must("CREATE TABLE plexor.U (k varchar(5), c varchar(5) UNIQUE)");
    db.Must("CREATE UNIQUE INDEX IX_U_K ON plexor.U (k)");
    db.Must("INSERT INTO plexor.T (k, n) VALUES ('A', 1)");
    db.Must("INSERT INTO plexor.U (k, c) VALUES ('A', 'x')");
  }
  void Expect(const std::string& sql, int32_t native, const std::string& sqlstate,
              const std::string& message) {
    const SqlError e = db.Error(sql);
    EXPECT_EQ(e.native, native) << sql;
    EXPECT_EQ(e.sqlstate, sqlstate) << sql;
    EXPECT_EQ(e.message, message) << sql;
  }
  DialectDb db;
};

TEST_F(ErrorMap, NamesAndSyntax) {
  Expect("SELECT BsmOva FROM plexor.T", 207, "42S22", "Invalid column name 'BsmOva'.");
  Expect("SELECT t.nope FROM plexor.T t", 207, "42S22", "Invalid column name 'nope'.");
  Expect("SELECT \"nope\" FROM plexor.T", 207, "42S22", "Invalid column name 'nope'.");
  Expect("SELECT k FROM plexor.Nope", 208, "42S02", "Invalid object name 'plexor.Nope'.");
  Expect("SELECT k FROM plexor.T WHERE", 102, "42000",
         "Incorrect syntax near the end of the statement.");
  Expect("SELECT k FROM plexor.T ORDER k", 102, "42000", "Incorrect syntax near 'k'.");
  Expect("SELECT k FROM plexor.T, plexor.U", 209, "42000", "Ambiguous column name 'k'.");
  Expect("SELECT nofunc(1)", 195, "42000", "'nofunc' is not a recognized built-in function name.");
  Expect("CREATE TABLE nowhere.T (a int)", 2760, "42000",
         "The specified schema name \"nowhere\" either does not exist or you do not have "
         "permission to use it.");
  EXPECT_EQ(db.Error("CREATE TABLE plexor.T (a int)").native, 2714);
  EXPECT_EQ(db.Error("SELECT 1; SELECT 2").sqlstate, "HY000");  // never only the first
}

TEST_F(ErrorMap, Constraints) {
  Expect("INSERT INTO plexor.T (k, n) VALUES ('A', 2)", 2627, "23000",
         "Violation of PRIMARY KEY constraint 'PK_T'. Cannot insert duplicate key in object "
         "'plexor.T'.");
  Expect("INSERT INTO plexor.U (k, c) VALUES ('A', 'y')", 2601, "23000",
         "Cannot insert duplicate key row in object 'plexor.U' with unique index 'IX_U_K'.");
  Expect("INSERT INTO plexor.U (k, c) VALUES ('B', 'x')", 2627, "23000",
         "Violation of UNIQUE KEY constraint 'UQ_U'. Cannot insert duplicate key in object "
         "'plexor.U'.");
  Expect("INSERT INTO plexor.T (k) VALUES ('B')", 515, "23000",
         "Cannot insert the value NULL into column 'n', table 'plexor.T'; column does not allow "
         "nulls. INSERT fails.");
  Expect("UPDATE plexor.T SET c = 'toolong'", 8152, "22001",
         "String or binary data would be truncated.");
  Expect("INSERT INTO plexor.T (k, n, c) VALUES ('B', 1)", 109, "21S01",
         "There are more columns in the INSERT statement than values specified in the VALUES "
         "clause. The number of values in the VALUES clause must match the number of columns "
         "specified in the INSERT statement.");
}

TEST_F(ErrorMap, FunctionFailuresCarryTheirOwnNumbers) {
  Expect("SELECT convert(datetime, 'x', 112)", 241, "22007",
         "Conversion failed when converting date and/or time from character string.");
  Expect("UPDATE plexor.T SET n = convert(int, 'x')", 245, "22018",
         "Conversion failed when converting the varchar value 'x' to data type int.");
}

TEST(ErrorMapCodes, LockingAndOtherFailures) {
  const SqlError busy = MapError(nullptr, SQLITE_BUSY);
  EXPECT_EQ(busy.native, 1222);
  EXPECT_EQ(busy.sqlstate, "HYT00");
  EXPECT_EQ(busy.message, "Lock request time out period exceeded.");
  EXPECT_EQ(MapError(nullptr, SQLITE_LOCKED).native, 1222);
  EXPECT_EQ(MapError(nullptr, SQLITE_BUSY_SNAPSHOT).native, 1222);
  const SqlError other = MapError(nullptr, SQLITE_CANTOPEN);
  EXPECT_EQ(other.native, 50000);
  EXPECT_EQ(other.sqlstate, "HY000");
  EXPECT_FALSE(other.message.empty());
}

TEST(ErrorMapCodes, BusyBetweenTwoConnections) {
  char path[] = "/tmp/tsq_dialect_busyXXXXXX";
  const int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  close(fd);
  sqlite3* a = nullptr;
  sqlite3* b = nullptr;
  sqlite3_open(path, &a);
  sqlite3_open(path, &b);
  sqlite3_exec(a, "CREATE TABLE t (x INTEGER); BEGIN IMMEDIATE; INSERT INTO t VALUES (1)", nullptr,
               nullptr, nullptr);
  const int rc = sqlite3_exec(b, "INSERT INTO t VALUES (2)", nullptr, nullptr, nullptr);
  EXPECT_EQ(MapError(b, rc).native, 1222);
  sqlite3_close(b);
  sqlite3_close(a);
  std::remove(path);
}

}  // namespace
}  // namespace tsq::testing
