// Time-of-day texts and date-time differences.
#include "calendar/time_arith.h"

#include <gtest/gtest.h>

namespace {

std::string Text(int32_t minutes) {
  FixedText<16> out;
  Minuten_Zeit(minutes, out);
  return std::string(out.view());
}

TEST(TimeArithTest, ZeitMinuten) {
  EXPECT_EQ(Zeit_Minuten("0930"), 570);
  EXPECT_EQ(Zeit_Minuten("2400"), 1440);
  EXPECT_EQ(Zeit_Minuten("0000"), 0);
  EXPECT_EQ(Zeit_Minuten("093000"), 570);
  EXPECT_EQ(Zeit_Minuten("9975"), 99 * 60 + 75);  // no range check
  EXPECT_EQ(Zeit_Minuten("1x30"), 60 + 30);       // each pair stops at a non-digit
  EXPECT_EQ(Zeit_Minuten("09"), 540);
  EXPECT_EQ(Zeit_Minuten(""), 0);
  EXPECT_EQ(Zeit_Minuten(nullptr), 0);
}

TEST(TimeArithTest, MinutenZeit) {
  EXPECT_EQ(Text(570), "093000");
  EXPECT_EQ(Text(0), "000000");
  EXPECT_EQ(Text(1440), "240000");
  EXPECT_EQ(Text(6000), "1000000");
  EXPECT_EQ(Text(INT32_MAX), "357913940700");  // wide, but never past the field
}

TEST(TimeArithTest, ZeitDifferenzAcrossLeapDays) {
  EXPECT_EQ(Zeit_Differenz("20240301000000", "20240229000000"), 86400);
  EXPECT_EQ(Zeit_Differenz("21000301000000", "21000228000000"), 86400);
  EXPECT_EQ(Zeit_Differenz("20000301000000", "20000228000000"), 172800);
}

TEST(TimeArithTest, ZeitDifferenzSignAndYearEnd) {
  EXPECT_EQ(Zeit_Differenz("20240101080000", "20240101163000"), -30600);
  EXPECT_EQ(Zeit_Differenz("20240101080000", "20240101080000"), 0);
  EXPECT_EQ(Zeit_Differenz("20250101000000", "20241231230000"), 3600);
  EXPECT_EQ(Zeit_Differenz("20250101000000", "19700101000000"), 1735689600);
}

TEST(TimeArithTest, DatesBefore1970CountTheirDistanceAsPositive) {
  EXPECT_EQ(Zeit_Differenz("19691231000000", "19700101000000"), 86400);
}

TEST(TimeArithTest, ShortAndOddTextsDoNotCrash) {
  EXPECT_EQ(Zeit_Differenz("", ""), 0);
  EXPECT_EQ(Zeit_Differenz(nullptr, "20240101000000"), 0);
  EXPECT_EQ(Zeit_Differenz("2024", "2024"), 0);
  EXPECT_EQ(Zeit_Differenz("99999999999999", "00000000000000"),
            Zeit_Differenz("99999999999999", "00000000000000"));
  // Two-digit years are widened: 70..99 to 19xx, 0..69 to 20xx.
  EXPECT_EQ(Zeit_Differenz("00690101000000", "20690101000000"), 0);
  EXPECT_EQ(Zeit_Differenz("00700101000000", "19700101000000"), 0);
}

}  // namespace
