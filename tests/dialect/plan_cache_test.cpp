// Statement shapes and the plan cache: which literals are lifted, that a
// shape is shared only by statements its translation holds for, and that
// the cache compiles once, evicts the least recently used and keeps nothing
// of a statement that fails.
#include "dialect/plan_cache.h"

#include <gtest/gtest.h>

#include "dialect_db.h"

namespace tsq {
namespace {

std::string KeyOf(const std::string& tsql) {
  ShapedStatement shape;
  EXPECT_TRUE(ShapeStatement(tsql, shape)) << tsql;
  return shape.key;
}

// Two statement texts and what the test expects of them.
struct TextPair {
  const char* first;
  const char* second;
  bool expected;
};

TEST(StatementShape, LiteralsThatDecideTheFormStayInTheShape) {
  const TextPair cases[] = {
      {"SELECT k FROM t WHERE k = 1", "SELECT k FROM t WHERE k = 22", true},
      {"UPDATE t SET s = 'a' WHERE k = 1", "UPDATE t SET s = N'b''c' WHERE k = 2", true},
      {"INSERT INTO t (k, r) VALUES (1, 1.5)", "INSERT INTO t (k, r) VALUES (2, 0.25)", true},
      {"DELETE FROM t WHERE k IN (1, 2)", "DELETE FROM t WHERE k IN (1, 2, 3)", false},
      {"SELECT k FROM t WHERE s = convert(char(8), d, 112)",
       "SELECT k FROM t WHERE s = convert(char(10), d, 112)", false},
      {"SELECT k FROM t WHERE s = convert(char(8), d, 112)",
       "SELECT k FROM t WHERE s = convert(char(8), d, 120)", false},
      {"SELECT k FROM t WHERE d < dateadd(day, 1, '20240101')",
       "SELECT k FROM t WHERE d < dateadd(day, 2, '20240102')", true},
      {"SELECT TOP 1 k FROM t WHERE k > 5", "SELECT TOP 2 k FROM t WHERE k > 5", false},
      {"SELECT k, s FROM t WHERE k > 0 ORDER BY 1", "SELECT k, s FROM t WHERE k > 0 ORDER BY 2",
       false},
      {"SELECT k, 'x' FROM t", "SELECT k, 'y' FROM t", false},  // names the column
      {"SELECT k FROM t WHERE k = 1", "SELECT k  FROM t WHERE k = 1", false},
      {"CREATE TABLE t (s varchar(5) DEFAULT 'a')", "CREATE TABLE t (s varchar(5) DEFAULT 'b')",
       false},
  };
  for (const TextPair& c : cases) {
    EXPECT_EQ(KeyOf(c.first) == KeyOf(c.second), c.expected) << c.first << " | " << c.second;
  }
}

TEST(StatementShape, LiftedValuesKeepTheirTypeAndText) {
  ShapedStatement shape;
  ASSERT_TRUE(ShapeStatement("UPDATE t SET s = N'it''s', r = 2.5 WHERE k = -7", shape));
  ASSERT_EQ(shape.literals.size(), 3u);
  EXPECT_EQ(shape.literals[0].kind, Literal::Kind::kText);
  EXPECT_EQ(shape.literals[0].text, "it's");
  EXPECT_EQ(shape.literals[0].raw, "'it''s'");
  EXPECT_EQ(shape.literals[1].kind, Literal::Kind::kReal);
  EXPECT_DOUBLE_EQ(shape.literals[1].real, 2.5);
  EXPECT_EQ(shape.literals[2].kind, Literal::Kind::kInteger);
  EXPECT_EQ(shape.literals[2].integer, 7);
  EXPECT_FALSE(ShapeStatement("SELECT 'open", shape));
  // A text holding a marker of its own never passes for a shape.
  EXPECT_FALSE(
      ShapeStatement("SELECT k FROM t WHERE s = '\x01"
                     "1\x01'",
                     shape));
}

TEST(StatementShape, ATextMatchedToAKnownShapeGetsWhatItsScanGives) {
  // A text whose shape is known, another text and whether it matches.
  const TextPair cases[] = {
      {"SELECT k FROM t WHERE k = 1 AND s = 'a'", "SELECT k FROM t WHERE k = 22 AND s = N'b''c'",
       true},
      {"INSERT INTO t (k, r) VALUES (1, 1.5)", "INSERT INTO t (k, r) VALUES (2,0.25)", false},
      {"INSERT INTO t (k, r) VALUES (1,1.5)", "INSERT INTO t (k, r) VALUES (2,0.25)", true},
      {"INSERT INTO t (k, r) VALUES (1,1.5)", "INSERT INTO t (k, r) VALUES (2,.25)", false},
      {"SELECT k FROM t WHERE k=1", "SELECT k FROM t WHERE k='x'", true},
      {"SELECT k FROM t WHERE k = 1 -- one", "SELECT k FROM t WHERE k = 2 -- one", true},
      {"DELETE FROM t WHERE k IN (1, 2)", "DELETE FROM t WHERE k IN (1, 2, 3)", false},
      {"SELECT k FROM t WHERE k = 1", "SELECT k FROM t WHERE k = 1 ", false},
      {"SELECT k FROM t WHERE k = 1", "SELECT k FROM t WHERE k = ", false},
      // Values the scan keeps as written, or refuses.
      {"SELECT k FROM t WHERE k = 1", "SELECT k FROM t WHERE k = 0x1F", false},
      {"SELECT k FROM t WHERE k = 1 AND j = 2", "SELECT k FROM t WHERE k = 1e5 AND j = 2", false},
      {"SELECT k FROM t WHERE s = 'a'", "SELECT k FROM t WHERE s = 'a\x02'", false},
      {"SELECT k FROM t WHERE s = 'a' AND j = 2", "SELECT k FROM t WHERE s = 'a'' AND j = 2",
       false},
      // After a word the value would join it: x5 is a name, not x and 5.
      {"SELECT k FROM t WHERE s = x'a'", "SELECT k FROM t WHERE s = x5", false},
      {"SELECT k FROM t WHERE s = 1.'a'", "SELECT k FROM t WHERE s = 1.5", false},
  };
  ShapedStatement out;
  for (const char* key : {"\x01"
                          "1\x01' = 1",
                          "SELECT '\x01"
                          "1\x01"}) {
    EXPECT_FALSE(MatchShape(key, "SELECT 1 = 1", out));  // not keys of a scan
  }
  for (const TextPair& c : cases) {
    ShapedStatement matched, scanned;
    const std::string key = KeyOf(c.first);
    const bool matches = MatchShape(key, c.second, matched);
    EXPECT_EQ(matches, c.expected) << c.second;
    if (!matches) continue;
    ASSERT_TRUE(ShapeStatement(c.second, scanned)) << c.second;
    EXPECT_EQ(key, scanned.key) << c.second;
    EXPECT_TRUE(matched.literals == scanned.literals) << c.second;
  }
}

class PlanCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(db_.Run("CREATE TABLE plexor.t (k int PRIMARY KEY, s varchar(10))").ok);
    ASSERT_TRUE(db_.Run("INSERT INTO plexor.t (k, s) VALUES (1, 'one'), (2, 'two')").ok);
  }

  // Runs a query through `cache`; its first column of every row.
  std::vector<std::string> Query(PlanCache& cache, const std::string& tsql) {
    std::vector<std::string> out;
    CachedPlan* plan = cache.PlanFor(db_.handle(), tsql);
    if (plan == nullptr) return {"<no plan>"};
    cache.Bind(*plan);
    while (sqlite3_step(plan->stmt) == SQLITE_ROW) {
      const unsigned char* text = sqlite3_column_text(plan->stmt, 0);
      out.emplace_back(text != nullptr ? reinterpret_cast<const char*>(text) : "<NULL>");
    }
    sqlite3_reset(plan->stmt);
    sqlite3_clear_bindings(plan->stmt);
    return out;
  }

  testing::DialectDb db_;
};

TEST_F(PlanCacheTest, OneCompiledStatementPerShape) {
  PlanCache cache;
  EXPECT_EQ(Query(cache, "SELECT s FROM plexor.t WHERE k = 1"), std::vector<std::string>{"one"});
  EXPECT_EQ(cache.misses(), 1u);
  EXPECT_EQ(Query(cache, "SELECT s FROM plexor.t WHERE k = 2"), std::vector<std::string>{"two"});
  EXPECT_EQ(Query(cache, "select s FROM plexor.t WHERE k = 3"), std::vector<std::string>{});
  EXPECT_EQ(cache.size(), 2u);
  EXPECT_EQ(cache.hits(), 1u);
  EXPECT_EQ(Query(cache, "SELECT k FROM plexor.t WHERE s = N'tw''o' OR s = 'two'"),
            std::vector<std::string>{"2"});
}

TEST_F(PlanCacheTest, LeastRecentlyUsedGoesFirst) {
  PlanCache cache(2);
  Query(cache, "SELECT s FROM plexor.t WHERE k = 1");
  Query(cache, "SELECT k FROM plexor.t WHERE s = 'one'");
  Query(cache, "SELECT s FROM plexor.t WHERE k = 2");  // the first again: now the latest
  Query(cache, "SELECT count(*) FROM plexor.t WHERE k > 0");
  EXPECT_EQ(cache.size(), 2u);
  const size_t misses = cache.misses();
  EXPECT_EQ(Query(cache, "SELECT s FROM plexor.t WHERE k = 1"), std::vector<std::string>{"one"});
  EXPECT_EQ(cache.misses(), misses);
  EXPECT_EQ(Query(cache, "SELECT k FROM plexor.t WHERE s = 'two'"), std::vector<std::string>{"2"});
  EXPECT_EQ(cache.misses(), misses + 1);
}

TEST_F(PlanCacheTest, TextsMatchedToAKeptShapeShareItsFate) {
  PlanCache cache(1);  // one plan
  const std::string one = "SELECT s FROM plexor.t WHERE k = 1";
  const std::string two = "SELECT s FROM plexor.t WHERE k = 2";
  for (const std::string& text : {one, two, one}) {
    EXPECT_EQ(Query(cache, text), std::vector<std::string>{text == one ? "one" : "two"});
  }
  EXPECT_EQ(cache.misses(), 1u);  // one plan for both values
  // Another shape takes the only plan; texts of the first compile anew.
  EXPECT_EQ(Query(cache, "SELECT k FROM plexor.t WHERE s = 'two'"), std::vector<std::string>{"2"});
  EXPECT_EQ(Query(cache, two), std::vector<std::string>{"two"});
  EXPECT_EQ(cache.misses(), 3u);
  // A text of a kept shape whose table changed in between reads the table as it is.
  ASSERT_TRUE(db_.Run("DROP TABLE plexor.t").ok);
  ASSERT_TRUE(db_.Run("CREATE TABLE plexor.t (s varchar(10), k int)").ok);
  ASSERT_TRUE(db_.Run("INSERT INTO plexor.t (k, s) VALUES (1, 'neu')").ok);
  EXPECT_EQ(Query(cache, one), std::vector<std::string>{"neu"});
  EXPECT_EQ(cache.misses(), 3u);
}

TEST_F(PlanCacheTest, FailuresAreNotKeptAndSchemaChangesAreSeen) {
  PlanCache cache;
  EXPECT_EQ(cache.PlanFor(db_.handle(), "SELECT s FROM plexor.u WHERE k = 1"), nullptr);
  EXPECT_EQ(cache.PlanFor(db_.handle(), "SELECT nope FROM plexor.t WHERE k = 1"), nullptr);
  EXPECT_EQ(cache.size(), 0u);
  ASSERT_TRUE(db_.Run("CREATE TABLE plexor.u (k int, s varchar(3))").ok);
  ASSERT_TRUE(db_.Run("INSERT INTO plexor.u (k, s) VALUES (1, 'u1')").ok);
  EXPECT_EQ(Query(cache, "SELECT s FROM plexor.u WHERE k = 1"), std::vector<std::string>{"u1"});
  // A kept plan whose table is dropped and made anew reads the new table.
  ASSERT_TRUE(db_.Run("DROP TABLE plexor.u").ok);
  ASSERT_TRUE(db_.Run("CREATE TABLE plexor.u (s varchar(3), k int)").ok);
  ASSERT_TRUE(db_.Run("INSERT INTO plexor.u (k, s) VALUES (1, 'new')").ok);
  EXPECT_EQ(Query(cache, "SELECT s FROM plexor.u WHERE k = 1"), std::vector<std::string>{"new"});
}

TEST_F(PlanCacheTest, BindableOnlyWhenLiteralsPassThroughUnchanged) {
  // isnull() with a literal: each translation writes the literal where it
  // stood, so the shape is shared; a text that fails stays unkept.
  PlanCache cache;
  EXPECT_EQ(Query(cache, "SELECT k FROM plexor.t WHERE isnull(s, 'x') = 'one'"),
            std::vector<std::string>{"1"});
  EXPECT_EQ(Query(cache, "SELECT k FROM plexor.t WHERE isnull(s, 'y') = 'two'"),
            std::vector<std::string>{"2"});
  EXPECT_EQ(cache.size(), 1u);
  std::string sql;
  ShapedStatement shape;
  ASSERT_TRUE(ShapeStatement("SELECT 1 WHERE 'a' = 'b'", shape));
  EXPECT_TRUE(
      BindableTranslation("SELECT 1 WHERE '\x01"
                          "1\x01' = '\x01"
                          "2\x01'",
                          shape.literals, "SELECT 1 WHERE 'a' = 'b'", sql));
  EXPECT_EQ(sql, "SELECT 1 WHERE ?1 = ?2");
  EXPECT_FALSE(
      BindableTranslation("SELECT 1 WHERE '\x01"
                          "1\x01' = 'c'",
                          shape.literals, "SELECT 1 WHERE 'a' = 'b'", sql));
}

}  // namespace
}  // namespace tsq
