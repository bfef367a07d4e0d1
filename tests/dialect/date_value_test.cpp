#include "dialect/date_value.h"

#include <gtest/gtest.h>

namespace tsq {
namespace {

std::string Parsed(std::string_view text, int style = 120) {
  DateTime value;
  const DateParse result = ParseDateTime(text, style, 1753, value);
  if (result == DateParse::kBadFormat) return "bad";
  if (result == DateParse::kOutOfRange) return "range";
  return CanonicalText(value);
}

TEST(DateValue, ParsesTheFormsConvertAccepts) {
  EXPECT_EQ(Parsed("20240229", 112), "2024-02-29 00:00:00");
  EXPECT_EQ(Parsed("2024-02-29 13:45:07"), "2024-02-29 13:45:07");
  EXPECT_EQ(Parsed("  2024-02-29 13:45:07  "), "2024-02-29 13:45:07");
  EXPECT_EQ(Parsed("2024-02-29T13:45:07.123"), "2024-02-29 13:45:07");
  EXPECT_EQ(Parsed("2024-2-9 7:05"), "2024-02-09 07:05:00");
  EXPECT_EQ(Parsed("20240229 10:00:00", 112), "2024-02-29 10:00:00");
  EXPECT_EQ(Parsed("13:45:07"), "1900-01-01 13:45:07");
  EXPECT_EQ(Parsed("31.12.2023", 104), "2023-12-31 00:00:00");
  EXPECT_EQ(Parsed("12/31/2023", 101), "2023-12-31 00:00:00");
  EXPECT_EQ(Parsed("31/12/2023", 103), "2023-12-31 00:00:00");
}

TEST(DateValue, EmptyTextIsTheBaseDate) {
  EXPECT_EQ(Parsed(""), "1900-01-01 00:00:00");
  EXPECT_EQ(Parsed("   ", 112), "1900-01-01 00:00:00");
}

TEST(DateValue, RejectsWrongFormsAndImpossibleDates) {
  for (std::string_view text : {"abc", "2024", "2024-01", "202401011", "2024-01-01 10",
                                "2024-01-01 10:00:00 x", "2024-01-01x", "1.1"}) {
    EXPECT_EQ(Parsed(text), "bad") << text;
  }
  for (std::string_view text : {"20230229", "2024-02-30", "2024-13-01", "2024-00-10",
                                "2024-01-01 24:00:00", "2024-01-01 10:60:00", "17521231"}) {
    EXPECT_EQ(Parsed(text), "range") << text;
  }
  DateTime value;
  EXPECT_EQ(ParseDateTime("00010101", 112, 1, value), DateParse::kOk);  // the date type's range
}

TEST(DateValue, FormatsTheConvertStyles) {
  const DateTime v{2024, 3, 5, 14, 7, 9};
  EXPECT_EQ(*FormatDateTime(v, 112), "20240305");
  EXPECT_EQ(*FormatDateTime(v, 120), "2024-03-05 14:07:09");
  EXPECT_EQ(*FormatDateTime(v, 121), "2024-03-05 14:07:09.000");
  EXPECT_EQ(*FormatDateTime(v, 104), "05.03.2024");
  EXPECT_EQ(*FormatDateTime(v, 4), "05.03.24");
  EXPECT_EQ(*FormatDateTime(v, 108), "14:07:09");
  EXPECT_EQ(*FormatDateTime(v, 126), "2024-03-05T14:07:09");
  EXPECT_EQ(*FormatDateTime(v, 100), "Mar  5 2024  2:07PM");
  const std::pair<int, const char*> more[] = {{101, "03/05/2024"},
                                              {1, "03/05/24"},
                                              {103, "05/03/2024"},
                                              {3, "05/03/24"},
                                              {105, "05-03-2024"},
                                              {12, "240305"},
                                              {23, "2024-03-05"},
                                              {20, "2024-03-05 14:07:09"},
                                              {21, "2024-03-05 14:07:09.000"},
                                              {8, "14:07:09"}};
  for (const auto& [style, text] : more) EXPECT_EQ(*FormatDateTime(v, style), text) << style;
  EXPECT_EQ(*FormatDateTime(DateTime{2024, 1, 1, 0, 0, 0}, 0), "Jan  1 2024 12:00AM");
  EXPECT_FALSE(FormatDateTime(v, 999).has_value());
}

std::string Added(DatePart part, int64_t amount, DateTime value) {
  if (!AddToDateTime(part, amount, value)) return "overflow";
  return CanonicalText(value);
}

TEST(DateValue, AddsDaysAcrossMonthYearAndLeapDays) {
  EXPECT_EQ(Added(DatePart::kDay, 1, {2024, 2, 28}), "2024-02-29 00:00:00");
  EXPECT_EQ(Added(DatePart::kDay, 1, {2023, 2, 28}), "2023-03-01 00:00:00");
  EXPECT_EQ(Added(DatePart::kDay, 1, {2023, 12, 31}), "2024-01-01 00:00:00");
  EXPECT_EQ(Added(DatePart::kDay, -1, {2024, 1, 1}), "2023-12-31 00:00:00");
  EXPECT_EQ(Added(DatePart::kDay, -1, {2024, 3, 1}), "2024-02-29 00:00:00");
  EXPECT_EQ(Added(DatePart::kDay, 366, {2024, 1, 1}), "2025-01-01 00:00:00");
  EXPECT_EQ(Added(DatePart::kDay, 1, {2100, 2, 28}), "2100-03-01 00:00:00");
  EXPECT_EQ(Added(DatePart::kDay, 1, {2000, 2, 28}), "2000-02-29 00:00:00");
  EXPECT_EQ(Added(DatePart::kDay, 1, {2024, 5, 6, 23, 59, 59}), "2024-05-07 23:59:59");
}

TEST(DateValue, AddsMonthsYearsAndTimes) {
  EXPECT_EQ(Added(DatePart::kMonth, 1, {2024, 1, 31}), "2024-02-29 00:00:00");
  EXPECT_EQ(Added(DatePart::kMonth, 1, {2023, 1, 31}), "2023-02-28 00:00:00");
  EXPECT_EQ(Added(DatePart::kMonth, -2, {2024, 1, 15}), "2023-11-15 00:00:00");
  EXPECT_EQ(Added(DatePart::kMonth, 12, {2024, 12, 31}), "2025-12-31 00:00:00");
  EXPECT_EQ(Added(DatePart::kYear, 1, {2024, 2, 29}), "2025-02-28 00:00:00");
  EXPECT_EQ(Added(DatePart::kQuarter, 1, {2024, 11, 30}), "2025-02-28 00:00:00");
  EXPECT_EQ(Added(DatePart::kHour, 1, {2023, 12, 31, 23, 30, 0}), "2024-01-01 00:30:00");
  EXPECT_EQ(Added(DatePart::kMinute, -31, {2024, 3, 1, 0, 30, 0}), "2024-02-29 23:59:00");
  EXPECT_EQ(Added(DatePart::kSecond, 86400, {2024, 2, 29}), "2024-03-01 00:00:00");
  EXPECT_EQ(Added(DatePart::kWeek, 1, {2024, 2, 26}), "2024-03-04 00:00:00");
  EXPECT_EQ(Added(DatePart::kYear, 1, {9999, 1, 1}), "overflow");
  EXPECT_EQ(Added(DatePart::kDay, int64_t{1} << 50, {2024, 1, 1}), "overflow");
}

TEST(DateValue, DatePartNames) {
  EXPECT_EQ(ParseDatePart("d"), DatePart::kDay);
  EXPECT_EQ(ParseDatePart("DD"), DatePart::kDay);
  EXPECT_EQ(ParseDatePart("day"), DatePart::kDay);
  EXPECT_EQ(ParseDatePart("mm"), DatePart::kMonth);
  EXPECT_EQ(ParseDatePart("mi"), DatePart::kMinute);
  EXPECT_EQ(ParseDatePart("yy"), DatePart::kYear);
  EXPECT_FALSE(ParseDatePart("fortnight").has_value());
}

}  // namespace
}  // namespace tsq
