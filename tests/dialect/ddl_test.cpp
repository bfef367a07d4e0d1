#include <gtest/gtest.h>

#include "dialect_db.h"

namespace tsq::testing {
namespace {

TEST(Ddl, CreateSchemaNamesTheFileToCreate) {
  const Translation t = Translate("CREATE SCHEMA [plexor];");
  ASSERT_TRUE(t.ok);
  EXPECT_EQ(t.kind, StatementKind::kCreateSchema);
  EXPECT_EQ(t.schema, "plexor");
  EXPECT_TRUE(t.sqlite_sql.empty());
  EXPECT_EQ(Translate("CREATE SCHEMA plexor AUTHORIZATION dbo").schema, "plexor");
  EXPECT_FALSE(Translate("CREATE SCHEMA").ok);
}

TEST(Ddl, CreateTableMapsTypesAndKeys) {
  const Translation t = Translate(
      "CREATE TABLE plexor.T1 (a varchar(5) NOT NULL, b int NULL, c float, d datetime, "
      "e date, f decimal(9,2), g nvarchar(max), h bigint DEFAULT 0, "
      "CONSTRAINT PK_T1 PRIMARY KEY CLUSTERED (a, b DESC)) ON [PRIMARY]");
  ASSERT_TRUE(t.ok) << t.error.message;
  EXPECT_EQ(t.kind, StatementKind::kDdl);
  EXPECT_EQ(
      t.sqlite_sql,
      "CREATE TABLE \"plexor\".\"T1\" ("
      "\"a\" VARCHAR(5) COLLATE RTRIM NOT NULL CONSTRAINT \"tsq_len_a\" CHECK "
      "(length(rtrim(\"a\")) <= 5), "
      "\"b\" INT, \"c\" REAL, "
      "\"d\" DATETIME TEXT CONSTRAINT \"tsq_dt_d\" CHECK (\"d\" IS datetime(\"d\")), "
      "\"e\" DATE TEXT CONSTRAINT \"tsq_dt_e\" CHECK (\"e\" IS (date(\"e\") || ' 00:00:00')), "
      "\"f\" REAL, \"g\" TEXT COLLATE RTRIM, \"h\" INT DEFAULT (0), "
      "CONSTRAINT \"PK_T1\" PRIMARY KEY (\"a\", \"b\" DESC))");
}

TEST(Ddl, CreateTableRejectsWhatSqlServerRejects) {
  EXPECT_EQ(Translate("CREATE TABLE plexor.T (a varchr(5))").error.native, 2715);
  EXPECT_EQ(Translate("CREATE TABLE plexor.T (a int bogus)").error.native, 102);
  EXPECT_EQ(Translate("CREATE TABLE plexor.T (a int").error.native, 102);
}

TEST(Ddl, IndexesMoveTheSchemaToTheIndexName) {
  EXPECT_EQ(Translate("CREATE UNIQUE NONCLUSTERED INDEX IX_A ON plexor.T1 (a, b) "
                      "INCLUDE (c) WITH (FILLFACTOR = 90) ON [PRIMARY]")
                .sqlite_sql,
            "CREATE UNIQUE INDEX \"plexor\".\"IX_A\" ON \"T1\" (\"a\", \"b\")");
  EXPECT_EQ(Translate("CREATE INDEX IX_B ON T1 (a DESC) WHERE b > 0").sqlite_sql,
            "CREATE INDEX \"IX_B\" ON \"T1\" (\"a\" DESC) WHERE b > 0");
  EXPECT_EQ(Translate("DROP INDEX IX_A ON plexor.T1").sqlite_sql, "DROP INDEX \"plexor\".\"IX_A\"");
  EXPECT_EQ(Translate("DROP INDEX plexor.T1.IX_A").sqlite_sql, "DROP INDEX \"plexor\".\"IX_A\"");
  EXPECT_EQ(Translate("DROP INDEX IF EXISTS IX_A ON plexor.T1").sqlite_sql,
            "DROP INDEX IF EXISTS \"plexor\".\"IX_A\"");
}

TEST(Ddl, IntegerKeysRefuseNullAndOnlyIdentityKeysCountUp) {
  DialectDb db;
  db.Must("CREATE TABLE plexor.K (k int NOT NULL PRIMARY KEY, v int)");
  EXPECT_EQ(db.Run("INSERT INTO plexor.K (k, v) VALUES (NULL, 1)").error.native, 515);
  db.Must("CREATE TABLE plexor.I (id int IDENTITY(1,1) PRIMARY KEY, v int)");
  db.Must("INSERT INTO plexor.I (v) VALUES (7)");
  db.Must("INSERT INTO plexor.I (v) VALUES (8)");
  EXPECT_EQ(db.Run("SELECT id FROM plexor.I ORDER BY id").rows, (Rows{{"1"}, {"2"}}));
}

class TableDb : public ::testing::Test {
 protected:
  void SetUp() override {
    db.Must(
        "CREATE TABLE plexor.T1 (a varchar(5) NOT NULL, b int NOT NULL, s varchar(3), "
        "d datetime, e date, PRIMARY KEY (a, b))");
    db.Must("CREATE UNIQUE INDEX IX_T1_S ON plexor.T1 (s)");
  }
  DialectDb db;
};

TEST_F(TableDb, TrailingBlanksCompareEqual) {
  db.Must("INSERT INTO plexor.T1 (a, b, s) VALUES ('AB', 1, 'X')");
  db.Must("INSERT INTO plexor.T1 (a, b, s) VALUES ('CD   ', 2, '   ')");
  EXPECT_EQ(db.Value("SELECT b FROM plexor.T1 WHERE a = 'AB '"), "1");
  EXPECT_EQ(db.Value("SELECT b FROM plexor.T1 WHERE a = 'CD'"), "2");
  EXPECT_EQ(db.Value("SELECT b FROM plexor.T1 WHERE s = ''"), "2");
  EXPECT_EQ(db.Value("SELECT count(*) FROM plexor.T1 WHERE s <> '   '"), "1");
  EXPECT_EQ(db.Value("SELECT count(DISTINCT a) FROM (SELECT a FROM plexor.T1 UNION ALL "
                     "SELECT 'AB  ' ) x"),
            "2");
  // The key ignores trailing blanks too.
  EXPECT_EQ(db.Error("INSERT INTO plexor.T1 (a, b) VALUES ('AB  ', 1)").native, 2627);
}

TEST_F(TableDb, TextLongerThanItsColumnIsRefused) {
  db.Must("INSERT INTO plexor.T1 (a, b, s) VALUES ('ABCDE', 1, 'abc      ')");  // blanks beyond
  const SqlError e = db.Error("INSERT INTO plexor.T1 (a, b) VALUES ('ABCDEF', 2)");
  EXPECT_EQ(e.native, 8152);
  EXPECT_EQ(e.sqlstate, "22001");
  EXPECT_EQ(e.message, "String or binary data would be truncated.");
  EXPECT_EQ(db.Error("UPDATE plexor.T1 SET s = 'abcd'").native, 8152);
  EXPECT_EQ(db.Error("INSERT INTO plexor.T1 (a, b) VALUES (123456, 3)").native, 8152);
}

TEST_F(TableDb, DateColumnsHoldOnlyTheStoredForm) {
  db.Must(
      "INSERT INTO plexor.T1 (a, b, d, e) VALUES ('A', 1, convert(datetime, "
      "'2024-02-29 10:11:12', 120), convert(datetime, '20240229', 112))");
  EXPECT_EQ(db.Value("SELECT convert(char(8), e, 112) FROM plexor.T1"), "20240229");
  EXPECT_EQ(db.Value("SELECT b FROM plexor.T1 WHERE e = convert(datetime, '20240229', 112)"), "1");
  EXPECT_EQ(db.Value("SELECT b FROM plexor.T1 WHERE d > dateadd(d, -1, e)"), "1");
  EXPECT_EQ(db.Error("UPDATE plexor.T1 SET d = '29.02.2024'").native, 241);
  EXPECT_EQ(db.Error("UPDATE plexor.T1 SET e = '2024-02-29 10:00:00'").native, 241);
}

TEST_F(TableDb, AlterTruncateAndDrop) {
  db.Must("ALTER TABLE plexor.T1 ADD x varchar(2) NULL");
  EXPECT_EQ(db.Error("INSERT INTO plexor.T1 (a, b, x) VALUES ('A', 1, 'xyz')").native, 8152);
  db.Must("INSERT plexor.T1 (a, b, x) VALUES ('A', 1, 'xy')");  // INTO is optional
  db.Must("TRUNCATE TABLE plexor.T1");
  EXPECT_EQ(db.Value("SELECT count(*) FROM plexor.T1"), "0");
  db.Must("DROP INDEX IX_T1_S ON plexor.T1");
  db.Must("DROP TABLE plexor.T1");
  EXPECT_EQ(db.Error("SELECT * FROM plexor.T1").native, 208);
}

}  // namespace
}  // namespace tsq::testing
