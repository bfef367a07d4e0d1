// Inputs at the edges of what the translation takes apart: zero bytes, deep
// nesting, long runs of calls. Each ends in a result or a coded error, and
// none may change more than the statement says.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "dialect/rewriter.h"
#include "dialect_db.h"

namespace tsq::testing {
namespace {

std::string Nested(const std::string& open, int depth, const std::string& inner) {
  std::string sql = "SELECT ";
  for (int i = 0; i < depth; ++i) sql += open;
  sql += inner;
  for (int i = 0; i < depth; ++i) sql += ")";
  return sql;
}

TEST(TranslationLimits, ZeroByteOutsideTextsIsRefusedAndCutsNothing) {
  DialectDb db;
  db.Must("CREATE TABLE plexor.T (A int)");
  db.Must("INSERT INTO plexor.T VALUES (1)");
  db.Must("INSERT INTO plexor.T VALUES (2)");
  const std::string cut("DELETE FROM plexor.T\0 WHERE A = 2", 33);
  const SqlError error = db.Error(cut);
  EXPECT_EQ(error.native, 102);
  EXPECT_EQ(error.sqlstate, "42000");
  EXPECT_EQ(db.Value("SELECT COUNT(*) FROM plexor.T"), "2");
  // Inside a string or a name the zero byte leaves the text unterminated for SQLite.
  EXPECT_FALSE(db.Run(std::string("DELETE FROM plexor.T WHERE A = '\0' OR 1 = 1", 43)).ok);
  EXPECT_FALSE(db.Run(std::string("DELETE FROM plexor.T WHERE [A\0] = 1", 35)).ok);
  EXPECT_EQ(db.Value("SELECT COUNT(*) FROM plexor.T"), "2");
}

TEST(TranslationLimits, RewritesNestedTooDeeplyFailWithError191) {
  DialectDb db;
  for (const char* open : {"isnull(0, ", "convert(int, ", "dateadd(d, 1, ", "len("}) {
    const SqlError error = db.Error(Nested(open, 5000, "1"));
    EXPECT_EQ(error.native, 191) << open;
    EXPECT_EQ(error.sqlstate, "42000");
  }
  std::string tops = "SELECT ";
  for (int i = 0; i < 5000; ++i) tops += "TOP 1 (SELECT ";
  EXPECT_EQ(db.Error(tops + "1").native, 191);
  // Nesting of the depth real statements have is untouched.
  std::string twenty = "SELECT ";
  for (int i = 0; i < 20; ++i) twenty += "isnull(";
  twenty += "NULL";
  for (int i = 0; i < 20; ++i) twenty += i == 0 ? ", 7)" : ", 0)";
  EXPECT_EQ(db.Value(twenty), "7");
}

// A huge length would have every converted value padded to it in memory.
TEST(TranslationLimits, LengthsBeyondSqlServersLimitsAreRefused) {
  DialectDb db;
  const SqlError huge = db.Error("SELECT convert(char(999999999), 'x')");
  EXPECT_EQ(huge.native, 131);
  EXPECT_EQ(huge.sqlstate, "42000");
  EXPECT_EQ(huge.message,
            "The size (999999999) given to the type 'char' exceeds the maximum allowed for any "
            "data type (8000).");
  EXPECT_EQ(db.Error("SELECT cast('x' AS nvarchar(4001))").native, 131);
  EXPECT_EQ(db.Error("SELECT convert(varchar(0), 'x')").native, 1001);
  EXPECT_EQ(db.Error("CREATE TABLE plexor.T (A varchar(8001))").native, 131);
  EXPECT_EQ(db.Value("SELECT len(convert(char(8000), 'x'))"), "1");
  EXPECT_EQ(db.Value("SELECT convert(varchar(max), 'x')"), "x");
  db.Must("CREATE TABLE plexor.T (A varchar(8000), B nvarchar(4000), C varchar(max))");
}

TEST(TranslationLimits, NestingJustBelowTheLimitTranslates) {
  const std::string sql = Nested("len(", kMaxRewriteNesting - 2, "'x'");
  EXPECT_TRUE(Translate(sql).ok) << Translate(sql).error.message;
}

TEST(TranslationLimits, LongRunsOfCallsAndParenthesesTranslateQuickly) {
  const auto started = std::chrono::steady_clock::now();
  // Unknown calls and known ones of the wrong arity are not rewritten, at any depth.
  for (const char* open : {"f(", "isnull(", "cast("}) {
    std::string calls = "SELECT ";
    for (int i = 0; i < 20000; ++i) calls += open;
    Translate(calls);
    EXPECT_TRUE(Translate(calls + "1" + std::string(20000, ')')).ok) << open;
  }
  std::string wide = "SELECT 1";
  for (int i = 0; i < 20000; ++i) wide += ", isnull(a, 0)";
  EXPECT_TRUE(Translate(wide).ok);
  Translate("SELECT " + std::string(100000, '('));
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
}

}  // namespace
}  // namespace tsq::testing
