// Random input through the translation and then through SQLite: random bytes
// and random soups of the job's own tokens, cut at random points. Nothing
// may crash or hang; every failure must come back as an error carrying a
// native code and a five-character SQLSTATE. The seed is fixed, so a failure
// repeats; the failing input is printed.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "dialect_db.h"

namespace tsq::testing {
namespace {

// Stops a statement that would run too long (a random recursive query, a
// huge join): the progress handler's non-zero result interrupts it.
int StopAfterBudget(void* budget) {
  int& left = *static_cast<int*>(budget);
  return --left <= 0 ? 1 : 0;
}

std::string Printable(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  return out;
}

class DialectStress : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* ddl :
         {"CREATE TABLE plexor.Kvt701Plg (PlgPlg varchar(5) NOT NULL PRIMARY KEY, "
          "PlgTxt varchar(50), PlgHzt int, PlgDat datetime, PlgKos float)",
          "CREATE TABLE plexor.Kvt725Bsm (BsmBdt date NOT NULL, BsmEso varchar(5), "
          "BsmSzv int, BsmFkt int, BsmPlg varchar(5))",
          "CREATE TABLE KvtSystem.Kvt133Bak (BakDtm date NOT NULL PRIMARY KEY, BakWtg int)",
          "INSERT INTO plexor.Kvt701Plg VALUES ('00001', 'group', 30, "
          "convert(datetime, '20240229', 112), 1.5)",
          "INSERT INTO plexor.Kvt725Bsm VALUES (convert(datetime, '20240229', 112), 'ES1', 480, "
          "-1, '00001')",
          "INSERT INTO KvtSystem.Kvt133Bak VALUES (convert(datetime, '20240229', 112), 4)"}) {
      db_.Must(ddl);
    }
    sqlite3_progress_handler(db_.handle(), 1000, StopAfterBudget, &budget_);
  }

  void TearDown() override {
    std::printf("inputs %d: refused by the translation %d, ran %d, failed in SQLite %d\n", inputs_,
                refused_, ran_, failed_);
  }

  // Translates and runs one input; fails the test when an error lacks its codes.
  void Check(const std::string& tsql) {
    ++inputs_;
    budget_ = 200;  // times 1000 virtual machine steps
    const Translation t = Translate(tsql);
    if (!t.ok) {
      ++refused_;
      ExpectCoded(t.error, tsql);
      return;
    }
    if (t.kind == StatementKind::kCreateSchema) return;
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    int rc = sqlite3_prepare_v2(db_.handle(), t.sqlite_sql.c_str(),
                                static_cast<int>(t.sqlite_sql.size()), &stmt, &tail);
    if (rc == SQLITE_OK && stmt != nullptr) {
      int rows = 0;
      while ((rc = sqlite3_step(stmt)) == SQLITE_ROW && ++rows < 1000) {
      }
      if (rc == SQLITE_ROW) rc = SQLITE_DONE;
    }
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_INTERRUPT) {
      ++failed_;
      ExpectCoded(MapError(db_.handle(), rc), tsql);
    } else if (rc == SQLITE_DONE) {
      ++ran_;
    }
    sqlite3_finalize(stmt);
    if (!sqlite3_get_autocommit(db_.handle())) {
      sqlite3_exec(db_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    }
  }

  void ExpectCoded(const SqlError& error, const std::string& tsql) {
    EXPECT_NE(error.native, 0) << Printable(tsql) << "\n" << error.message;
    EXPECT_EQ(error.sqlstate.size(), 5u) << Printable(tsql) << "\n" << error.message;
    EXPECT_FALSE(error.message.empty()) << Printable(tsql);
  }

  DialectDb db_;
  int budget_ = 0;
  int inputs_ = 0;
  int refused_ = 0;
  int ran_ = 0;
  int failed_ = 0;
};

const char* const kTokens[] = {"SELECT",
                               "TOP",
                               "DISTINCT",
                               "FROM",
                               "WHERE",
                               "AND",
                               "OR",
                               "NOT",
                               "ORDER",
                               "BY",
                               "DESC",
                               "GROUP",
                               "HAVING",
                               "UNION",
                               "INSERT",
                               "INTO",
                               "VALUES",
                               "UPDATE",
                               "SET",
                               "DELETE",
                               "CREATE",
                               "TABLE",
                               "INDEX",
                               "UNIQUE",
                               "ON",
                               "DROP",
                               "ALTER",
                               "ADD",
                               "TRUNCATE",
                               "SCHEMA",
                               "PRIMARY",
                               "KEY",
                               "CONSTRAINT",
                               "DEFAULT",
                               "CHECK",
                               "IDENTITY",
                               "NULL",
                               "IS",
                               "IN",
                               "EXISTS",
                               "WITH",
                               "(NOLOCK)",
                               "NOLOCK",
                               "AS",
                               "MAX",
                               "MIN",
                               "COUNT",
                               "convert",
                               "cast",
                               "dateadd",
                               "datediff",
                               "getdate()",
                               "isnull",
                               "len",
                               "substring",
                               "charindex",
                               "year",
                               "month",
                               "day",
                               "CURRENT_TIMESTAMP",
                               "@@IDENTITY",
                               "@@ROWCOUNT",
                               "@x",
                               "char",
                               "varchar",
                               "datetime",
                               "date",
                               "int",
                               "float",
                               "decimal",
                               "(19)",
                               "(8)",
                               "(max)",
                               "(10,2)",
                               "112",
                               "120",
                               "0",
                               "1",
                               "-1",
                               "2147483648",
                               "1e308",
                               "0x1F",
                               ".5",
                               "d",
                               "mm",
                               "minute",
                               "plexor.Kvt701Plg",
                               "plexor.Kvt725Bsm",
                               "KvtSystem.Kvt133Bak",
                               "PlgPlg",
                               "PlgTxt",
                               "PlgHzt",
                               "PlgDat",
                               "PlgKos",
                               "BsmBdt",
                               "BsmEso",
                               "BsmSzv",
                               "BsmFkt",
                               "BakDtm",
                               "BakWtg",
                               "[PlgPlg]",
                               "\"PlgTxt\"",
                               "'00001'",
                               "'20240229'",
                               "'2024-02-29 10:00:00'",
                               "'it''s'",
                               "N'x'",
                               "''",
                               "'",
                               "\"",
                               "[",
                               "]",
                               "(",
                               ")",
                               ",",
                               ".",
                               ";",
                               "=",
                               "<>",
                               "<",
                               ">=",
                               "!<",
                               "+",
                               "-",
                               "*",
                               "/",
                               "%",
                               "||",
                               "--",
                               "/*",
                               "*/",
                               " ",
                               "\n"};

const char* const kHeads[] = {"SELECT",
                              "SELECT TOP 1",
                              "SELECT * FROM plexor.Kvt701Plg WHERE",
                              "UPDATE plexor.Kvt701Plg SET PlgTxt =",
                              "DELETE plexor.Kvt725Bsm WHERE",
                              "INSERT plexor.Kvt725Bsm VALUES (",
                              "CREATE TABLE plexor.X (",
                              "ALTER TABLE plexor.Kvt701Plg"};

std::string RandomTokens(std::mt19937& rng) {
  std::uniform_int_distribution<size_t> pick(0, std::size(kTokens) - 1);
  std::string out = rng() % 2 == 0 ? kHeads[rng() % std::size(kHeads)] : "";
  const int n = 1 + static_cast<int>(rng() % (rng() % 2 == 0 ? 8 : 40));
  for (int i = 0; i < n; ++i) {
    if (!out.empty() && rng() % 4 != 0) out += ' ';
    out += kTokens[pick(rng)];
  }
  return out;
}

// A random expression of the rewritten functions over columns and literals,
// mostly well formed, so that the values reach the registered functions.
std::string RandomExpression(std::mt19937& rng, int depth) {
  static const char* const kLeaves[] = {"PlgHzt",
                                        "PlgDat",
                                        "PlgTxt",
                                        "PlgKos",
                                        "NULL",
                                        "0",
                                        "-1",
                                        "2147483647",
                                        "1e308",
                                        "-1e308",
                                        "0.5",
                                        "'20240229'",
                                        "'2024-02-29 10:00:00'",
                                        "'29.02.2024'",
                                        "'x'",
                                        "''",
                                        "'9999-12-31'",
                                        "'1752-12-31'",
                                        "'24:00:00'",
                                        "getdate()",
                                        "CURRENT_TIMESTAMP",
                                        "@@ROWCOUNT",
                                        "9223372036854775807",
                                        "-9223372036854775808",
                                        "'  7 '",
                                        "'1e5'",
                                        "x'00FF'"};
  static const char* const kTypes[] = {
      "int",           "bigint",       "smallint",      "tinyint",
      "bit",           "char(1)",      "char(0)",       "char(999999999)",
      "varchar(8001)", "varchar(8)",   "varchar(max)",  "nvarchar(4000)",
      "char(19)",      "datetime",     "date",          "smalldatetime",
      "float",         "real",         "decimal(10,2)", "numeric(38,30)",
      "money",         "varbinary(4)", "text",          "time"};
  static const char* const kStyles[] = {"0",   "1",   "100", "101", "103", "104",  "108",   "112",
                                        "120", "121", "126", "-1",  "999", "NULL", "PlgHzt"};
  static const char* const kParts[] = {"d",  "dd",     "day", "mm", "month", "yy", "year", "hh",
                                       "mi", "minute", "ss",  "ms", "wk",    "dw", "q",    "x"};
  if (depth <= 0 || rng() % 3 == 0) return kLeaves[rng() % std::size(kLeaves)];
  auto sub = [&] { return RandomExpression(rng, depth - 1); };
  switch (rng() % 12) {
    case 0:
      return "convert(" + std::string(kTypes[rng() % std::size(kTypes)]) + ", " + sub() + ")";
    case 1:
      return "convert(" + std::string(kTypes[rng() % std::size(kTypes)]) + ", " + sub() + ", " +
             kStyles[rng() % std::size(kStyles)] + ")";
    case 2:
      return "cast(" + sub() + " AS " + kTypes[rng() % std::size(kTypes)] + ")";
    case 3:
      return "dateadd(" + std::string(kParts[rng() % std::size(kParts)]) + ", " + sub() + ", " +
             sub() + ")";
    case 4:
      return "datediff(" + std::string(kParts[rng() % std::size(kParts)]) + ", " + sub() + ", " +
             sub() + ")";
    case 5:
      return "isnull(" + sub() + ", " + sub() + ")";
    case 6:
      return "len(" + sub() + ")";
    case 7:
      return "substring(" + sub() + ", " + sub() + ", " + sub() + ")";
    case 8:
      return "charindex(" + sub() + ", " + sub() + ")";
    case 9:
      return std::string(rng() % 2 == 0 ? "year(" : "day(") + sub() + ")";
    case 10:
      return "(" + sub() + (rng() % 2 == 0 ? " + " : " * ") + sub() + ")";
    default:
      return "(SELECT TOP 1 " + sub() + " FROM plexor.Kvt701Plg)";
  }
}

TEST_F(DialectStress, RandomBytesComeBackAsCodedErrors) {
  std::mt19937 rng(20240229);
  std::uniform_int_distribution<int> length(0, 200);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int i = 0; i < 5000; ++i) {
    std::string input(static_cast<size_t>(length(rng)), '\0');
    for (char& c : input) c = static_cast<char>(byte(rng));
    Check(input);
    // Mostly printable text too, which gets further than arbitrary bytes.
    for (char& c : input) c = static_cast<char>(0x20 + byte(rng) % 0x5F);
    Check(input);
  }
  EXPECT_EQ(inputs_, 10000);
}

TEST_F(DialectStress, RandomTokenSoupsComeBackAsCodedErrors) {
  std::mt19937 rng(7011);
  for (int i = 0; i < 10000; ++i) {
    const std::string soup = RandomTokens(rng);
    Check(soup);
    Check(soup.substr(0, rng() % (soup.size() + 1)));  // cut at a random point
  }
  // Most soups fail, but the run must have reached SQLite at all.
  EXPECT_GT(ran_, 0);
  EXPECT_GT(refused_, 0);
}

TEST_F(DialectStress, RandomFunctionNestsComeBackAsCodedErrors) {
  std::mt19937 rng(517);
  for (int i = 0; i < 6000; ++i) {
    const std::string e = RandomExpression(rng, 4);
    const std::string s = rng() % 2 == 0 ? "SELECT " + e + " FROM plexor.Kvt701Plg"
                                         : "UPDATE plexor.Kvt701Plg SET PlgTxt = " + e +
                                               " WHERE PlgHzt <> " + RandomExpression(rng, 2);
    Check(s);
    if (i % 4 == 0) Check(s.substr(0, rng() % (s.size() + 1)));
  }
  EXPECT_GT(ran_, 1000);
  EXPECT_GT(refused_ + failed_, 100);
}

// The job's statements with random pieces cut out or doubled.
TEST_F(DialectStress, MangledJobStatementsComeBackAsCodedErrors) {
  const std::string statements[] = {
      "SELECT convert(char(8), BakDtm, 112), BakWtg FROM KvtSystem.Kvt133Bak WHERE BakDtm = "
      "dateadd(d, 1, convert(datetime, '20240229', 112))",
      "SELECT TOP 1 PlgPlg, convert(char(19), PlgDat, 120) FROM plexor.Kvt701Plg WITH (NOLOCK) "
      "WHERE PlgPlg = '00001' ORDER BY PlgPlg",
      "UPDATE plexor.Kvt701Plg SET PlgTxt = 'it''s', PlgDat = convert(datetime, "
      "'2024-02-29 10:00:00', 120) WHERE PlgPlg = '00001'",
      "INSERT INTO plexor.Kvt725Bsm (BsmBdt, BsmEso, BsmSzv, BsmFkt, BsmPlg) VALUES "
      "(convert(datetime, '20240301', 112), 'ES2', datediff(mi, '20240229', '20240301'), "
      "isnull(NULL, 2), '00001')",
      "DELETE FROM plexor.Kvt725Bsm WHERE BsmPlg = '00001' AND BsmBdt < getdate()",
      "SELECT COUNT(*) FROM plexor.Kvt725Bsm WHERE BsmFkt < 0 AND len(BsmEso) > 0 AND "
      "charindex('S', BsmEso) = 2 AND year(BsmBdt) = 2024",
      "CREATE TABLE plexor.T (A int IDENTITY(1,1) PRIMARY KEY, B varchar(10) DEFAULT ('x'), "
      "C datetime NOT NULL, CONSTRAINT U_T UNIQUE (B))",
      "CREATE UNIQUE INDEX IX_T ON plexor.T (B DESC) INCLUDE (C) WHERE B IS NOT NULL",
      "ALTER TABLE plexor.T ADD D decimal(10,2) NULL",
  };
  std::mt19937 rng(1222);
  for (int i = 0; i < 10000; ++i) {
    std::string s = statements[rng() % std::size(statements)];
    const int edits = 1 + static_cast<int>(rng() % 4);
    for (int e = 0; e < edits && !s.empty(); ++e) {
      const size_t at = rng() % s.size();
      const size_t len = 1 + rng() % 12;
      if (rng() % 2 == 0) {
        s.erase(at, len);
      } else {
        s.insert(at, s.substr(rng() % s.size(), len));
      }
    }
    Check(s);
  }
  EXPECT_GT(ran_, 0);
}

// Deep nesting and long inputs must end in an error or a result, quickly.
TEST_F(DialectStress, DeepNestingAndLongInputsEndQuickly) {
  const auto started = std::chrono::steady_clock::now();
  for (const char* open :
       {"(", "isnull(", "convert(int, ", "dateadd(d, 1, ", "a(", "SELECT TOP 1 "}) {
    std::string deep = "SELECT ";
    for (int i = 0; i < 20000; ++i) deep += open;
    Check(deep);
    deep += "1";
    for (int i = 0; i < 20000; ++i) deep += ")";
    Check(deep);
  }
  Check(std::string(200000, '('));
  Check("SELECT " + std::string(200000, '-'));
  Check("SELECT '" + std::string(200000, 'x') + "'");
  Check(std::string(100000, ';'));
  std::string wide = "SELECT 1";
  for (int i = 0; i < 20000; ++i) wide += ", isnull(PlgHzt, 0)";
  Check(wide + " FROM plexor.Kvt701Plg");
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
}

}  // namespace
}  // namespace tsq::testing
