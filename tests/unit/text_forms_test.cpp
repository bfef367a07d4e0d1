// Fixed-capacity text fields, statement texts with quoted values, and the
// date-time text conversions.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include "common/fixed_text.h"
#include "db/datetime_text.h"
#include "db/sql_text.h"

namespace {

TEST(FixedTextTest, CopiesAreCutAtTheCapacity) {
  FixedText<6> t;
  EXPECT_TRUE(t.empty());
  t.set("12345");
  EXPECT_EQ(t, "12345");
  t.set("1234567890");
  EXPECT_EQ(t, "12345");
  EXPECT_EQ(t.length(), 5u);
  t.set(static_cast<const char*>(nullptr));
  EXPECT_TRUE(t.empty());
  t.set("x");
  t.set(std::string_view());  // an empty view without data
  EXPECT_TRUE(t.empty());
  t.set(std::string_view("ab\0cd", 5));  // never past an embedded zero byte
  EXPECT_EQ(t, "ab");
  t.set_prefix("abcdef", 3);
  EXPECT_EQ(t, "abc");
  t.set_prefix("ab", 10);
  EXPECT_EQ(t, "ab");
}

TEST(FixedTextTest, CopyBetweenFieldsAndCutAt) {
  FixedText<51> user;
  user.set("jane doe smith");
  user.cut_at(' ');
  EXPECT_EQ(user, "jane");
  user.cut_at('x');
  EXPECT_EQ(user, "jane");
  FixedText<3> small;
  small.set(user);
  EXPECT_EQ(small, "ja");
  // A field whose terminator was overwritten is still read within bounds.
  FixedText<4> full;
  full.buf[0] = full.buf[1] = full.buf[2] = full.buf[3] = 'z';
  EXPECT_EQ(full.length(), 4u);
  full.clear();
  EXPECT_TRUE(full.empty());
}

TEST(SqlTextTest, TextValuesHaveTheirQuotesDoubled) {
  EXPECT_EQ(db::SqlText("WHERE a = '%s'", {"x'y"}), "WHERE a = 'x''y'");
  EXPECT_EQ(db::SqlText("WHERE a = '%s'", {"'; DROP TABLE t; --"}),
            "WHERE a = '''; DROP TABLE t; --'");
  EXPECT_EQ(db::SqlText("'%s'", {"''"}), "''''''");
  FixedText<6> code;
  code.set("O'K");
  EXPECT_EQ(db::SqlText("%s.T WHERE c = '%s'", {"dbo", code}), "dbo.T WHERE c = 'O''K'");
}

TEST(SqlTextTest, NumbersAndPercent) {
  EXPECT_EQ(db::SqlText("%ld,%d", {int32_t{-2147483647 - 1}, int32_t{7}}), "-2147483648,7");
  EXPECT_EQ(db::SqlText("%f", {1.5}), "1.500000");
  EXPECT_EQ(db::SqlText("LIKE 'OPT%%'", {}), "LIKE 'OPT%'");
  EXPECT_EQ(db::SqlText("no placeholders", {}), "no placeholders");
}

// Numbers are written exactly as printf's %lld and %f write them.
TEST(SqlTextTest, NumbersAsPrintfWritesThem) {
  const double reals[] = {0.0,      -0.0,     0.1,    2.675,     -1e-7,   123456789.1234565,
                          1e300,    -1e300,   5e-324, 0.0000005, 1.0 / 3, std::nan(""),
                          HUGE_VAL, -HUGE_VAL};
  for (double d : reals) {
    char want[400];
    std::snprintf(want, sizeof want, "a %f b", d);
    EXPECT_EQ(db::SqlText("a %f b", {d}), want) << d;
  }
  for (int32_t i : {0, 1, -1, 2147483647, -2147483647 - 1}) {
    EXPECT_EQ(db::SqlText("%d", {i}), std::to_string(i));
  }
}

TEST(SqlTextTest, MismatchedPlaceholdersGiveAnEmptyStatement) {
  EXPECT_EQ(db::SqlText("%s %s", {"one"}), "");      // too few
  EXPECT_EQ(db::SqlText("%s", {"one", "two"}), "");  // too many
  EXPECT_EQ(db::SqlText("%ld", {"text"}), "");       // wrong kind
  EXPECT_EQ(db::SqlText("'%s'", {int32_t{1}}), "");  // wrong kind
  EXPECT_EQ(db::SqlText("%x", {int32_t{1}}), "");    // unknown
  EXPECT_EQ(db::SqlText("trailing %", {}), "");      // cut placeholder
  EXPECT_EQ(db::SqlText(nullptr, {}), "");
}

TEST(DateTimeTextTest, KompaktTakesTheDigitsOfTheStyle120Text) {
  FixedText<15> out;
  db::DatZeit_Kompakt("2024-03-01 08:30:15", out);
  EXPECT_EQ(out, "20240301083015");
  db::DatZeit_Kompakt("", out);
  EXPECT_EQ(out, "");
  db::DatZeit_Kompakt("2024-03-01", out);
  EXPECT_EQ(out, "20240301");
  db::DatZeit_Kompakt(nullptr, out);
  EXPECT_EQ(out, "");
  db::DatZeit_Kompakt("2024-03-01 08:30:15.123 and more", out);
  EXPECT_EQ(out, "20240301083015");
}

TEST(DateTimeTextTest, SqlInsertsTheSeparators) {
  FixedText<20> out;
  db::DatZeit_Sql("20240301083015", out);
  EXPECT_EQ(out, "2024-03-01 08:30:15");
  db::DatZeit_Sql("", out);
  EXPECT_EQ(out, "");
  db::DatZeit_Sql("2024030108301599999", out);
  EXPECT_EQ(out, "2024-03-01 08:30:15");
  FixedText<15> back;
  db::DatZeit_Kompakt(out.c_str(), back);
  EXPECT_EQ(back, "20240301083015");
}

}  // namespace
