#include "schema_script.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

namespace {

std::string ReadSql(const char* name) {
  std::ifstream in(std::string(PLEXOR_SOURCE_DIR) + "/sql/" + name);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

size_t Occurrences(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
  return n;
}

// The statements the embedded engine translates.
bool StartsWithSupportedStatement(const std::string& b) {
  for (const char* head : {"CREATE SCHEMA ", "CREATE TABLE ", "CREATE INDEX ",
                           "CREATE UNIQUE INDEX ", "DROP TABLE "}) {
    if (b.rfind(head, 0) == 0) return true;
  }
  return false;
}

TEST(SchemaBatches, SplitsOnGoLinesAndSubstitutesTheSchema) {
  const std::string script =
      "-- header comment\n"
      "CREATE SCHEMA $(SCHEMA)\n"
      "GO\n"
      "\n"
      "CREATE TABLE $(SCHEMA).T1 (\n  A int NULL\n)\r\n"
      "  go  \r\n"
      "-- only a comment\n"
      "GO\n"
      "GO\n"
      "CREATE INDEX I ON $(SCHEMA).T1 (A)";
  const auto batches = SchemaBatches(script, "plexor");
  ASSERT_EQ(batches.size(), 3u);
  EXPECT_EQ(batches[0], "CREATE SCHEMA plexor");
  EXPECT_EQ(batches[1], "CREATE TABLE plexor.T1 (\n  A int NULL\n)");
  EXPECT_EQ(batches[2], "CREATE INDEX I ON plexor.T1 (A)");
}

TEST(SchemaBatches, GoInsideALineDoesNotSplit) {
  const auto batches = SchemaBatches("SELECT 'GO' AS GOAL\nGOTO\nGO\n", "s");
  ASSERT_EQ(batches.size(), 1u);
  EXPECT_EQ(batches[0], "SELECT 'GO' AS GOAL\nGOTO");
}

TEST(SchemaBatches, EmptyAndCommentOnlyScriptsGiveNoBatches) {
  EXPECT_TRUE(SchemaBatches("", "s").empty());
  EXPECT_TRUE(SchemaBatches("\n\nGO\n-- x\n  -- y\nGO\n", "s").empty());
}

// Every batch of the shipped scripts is one statement of the kinds the
// embedded engine translates, and the tables carry the columns and keys the
// job relies on.
TEST(SchemaScripts, OneStatementPerBatchInTheSupportedSubset) {
  for (const char* file : {"schema.sql", "schema_without_optional.sql"}) {
    const auto batches = SchemaBatches(ReadSql(file), "plexor");
    ASSERT_FALSE(batches.empty()) << file;
    for (const auto& b : batches) {
      EXPECT_TRUE(StartsWithSupportedStatement(b)) << file << ": " << b;
      EXPECT_EQ(Occurrences(b, "CREATE ") + Occurrences(b, "DROP "), 1u) << b;
      EXPECT_EQ(b.find(';'), std::string::npos) << b;
      EXPECT_EQ(b.find("$("), std::string::npos) << b;
    }
  }
  const auto main = SchemaBatches(ReadSql("schema.sql"), "plexor");
  EXPECT_EQ(main[0], "CREATE SCHEMA KvtSystem");
  EXPECT_EQ(main[1], "CREATE SCHEMA plexor");
}

std::string TableText(const std::vector<std::string>& batches, const std::string& name) {
  for (const auto& b : batches) {
    if (b.rfind("CREATE TABLE " + name + " (", 0) == 0) return b;
  }
  return "";
}

TEST(SchemaScripts, TablesHoldTheColumnsAndKeysOfTheJob) {
  const auto batches = SchemaBatches(ReadSql("schema.sql"), "plexor");
  const std::string bsm = TableText(batches, "plexor.Kvt725Bsm");
  EXPECT_NE(bsm.find("PRIMARY KEY (BsmPlg, BsmEso, BsmEsa, BsmBdt, BsmSzv, BsmAsw)"),
            std::string::npos);
  for (const char* c :
       {"BsmBdt datetime", "BsmKos float", "BsmOva int", "BsmOve int", "BsmErf varchar(50)"}) {
    EXPECT_NE(bsm.find(c), std::string::npos) << c;
  }
  const std::string plg = TableText(batches, "plexor.Kvt701Plg");
  EXPECT_NE(plg.find("PRIMARY KEY (PlgPlg)"), std::string::npos);
  for (const char* c :
       {"PlgQu1 int", "PlgRe3 int", "PlgOpt int", "PlgOpl int", "PlgBeg datetime"}) {
    EXPECT_NE(plg.find(c), std::string::npos) << c;
  }
  EXPECT_NE(TableText(batches, "plexor.Kvt720Bss")
                .find("PRIMARY KEY (BssPlg, BssEso, BssEsa, BssTtp, BssVon, BssAsw)"),
            std::string::npos);
  EXPECT_NE(TableText(batches, "KvtSystem.Kvt133Bak").find("PRIMARY KEY (BakDtm)"),
            std::string::npos);
  // The assignment and proposal rows as the job reads and writes them.
  const std::string bdp = TableText(batches, "plexor.Kvt730Bdp");
  const std::string bdk = TableText(batches, "plexor.Kvt735Bdk");
  EXPECT_EQ(std::count(bdp.begin(), bdp.end(), '\n') - 1, 49);
  EXPECT_EQ(std::count(bdk.begin(), bdk.end(), '\n') - 1, 48);
  bool unique_key = false;
  for (const auto& b : batches) {
    if (b == "CREATE UNIQUE INDEX Kvt735Bdk_Key ON plexor.Kvt735Bdk (BdkKey)") unique_key = true;
  }
  EXPECT_TRUE(unique_key);
  std::set<std::string> tables;
  for (const auto& b : batches) {
    if (b.rfind("CREATE TABLE ", 0) != 0) continue;
    const size_t dot = b.find('.');
    tables.insert(b.substr(dot + 1, b.find(' ', dot) - dot - 1));
  }
  EXPECT_EQ(tables.size(), 17u);
}

TEST(SchemaScripts, VariantWithoutOptionalColumnsDropsExactlyThem) {
  const auto batches = SchemaBatches(ReadSql("schema_without_optional.sql"), "plexor");
  const std::string plg = TableText(batches, "plexor.Kvt701Plg");
  const std::string bsm = TableText(batches, "plexor.Kvt725Bsm");
  ASSERT_FALSE(plg.empty());
  ASSERT_FALSE(bsm.empty());
  for (const char* c : {"PlgOpt", "PlgOpl"}) EXPECT_EQ(plg.find(c), std::string::npos);
  for (const char* c : {"BsmOva", "BsmOve"}) EXPECT_EQ(bsm.find(c), std::string::npos);
  EXPECT_NE(plg.find("PlgRe3 int"), std::string::npos);
  EXPECT_NE(bsm.find("BsmKo2 float"), std::string::npos);
  for (const auto& b : batches) EXPECT_EQ(b.find("CREATE SCHEMA"), std::string::npos);
}

}  // namespace
