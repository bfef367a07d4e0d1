#include <gtest/gtest.h>

#include <ctime>

#include "dialect_db.h"

namespace tsq::testing {
namespace {

TEST(Convert, DateColumnsToTextStyles) {
  DialectDb db;
  EXPECT_EQ(db.Value("SELECT convert(char(8), '2024-02-29 13:45:07', 112)"), "20240229");
  EXPECT_EQ(db.Value("SELECT convert(char(19), '2024-02-29 13:45:07', 120)"),
            "2024-02-29 13:45:07");
  EXPECT_EQ(db.Value("SELECT convert(char(10), '2024-02-29 13:45:07', 120)"), "2024-02-29");
  EXPECT_EQ(db.Value("SELECT convert(varchar(10), '2024-02-29 13:45:07', 104)"), "29.02.2024");
  EXPECT_EQ(db.Value("SELECT convert(char(22), '2024-02-29 13:45:07', 120)"),
            "2024-02-29 13:45:07   ");  // char pads
  EXPECT_EQ(db.Value("SELECT convert(varchar(22), '2024-02-29 13:45:07', 120)"),
            "2024-02-29 13:45:07");
  EXPECT_EQ(db.Value("SELECT convert(char(8), NULL, 112)"), kNull);
  EXPECT_EQ(db.Value("SELECT convert(char(8), MAX(d), 112) FROM (SELECT NULL AS d) x"), kNull);
  EXPECT_EQ(db.Error("SELECT convert(char(8), '2024-02-29 13:45:07', 999)").native, 281);
}

TEST(Convert, NonDatesToText) {
  DialectDb db;
  EXPECT_EQ(db.Value("SELECT convert(varchar(10), 'abcdefghijkl')"), "abcdefghij");
  EXPECT_EQ(db.Value("SELECT convert(varchar(3), 'abc  ', 112)"), "abc");
  EXPECT_EQ(db.Value("SELECT convert(varchar(10), 12345)"), "12345");
  EXPECT_EQ(db.Value("SELECT convert(varchar(3), 12345)"), "*");
  EXPECT_EQ(db.Value("SELECT convert(varchar(20), 1.5)"), "1.5");
  EXPECT_EQ(db.Value("SELECT convert(varchar(20), 1234567.0)"), "1.23457e+006");
  EXPECT_EQ(db.Value("SELECT convert(char(5), 42)"), "42   ");
  EXPECT_EQ(db.Value("SELECT convert(varchar, 'x')"), "x");
  EXPECT_EQ(db.Value("SELECT cast('abcdef' AS varchar(2))"), "ab");
  EXPECT_EQ(db.Value("SELECT convert(nvarchar(max), 'long text')"), "long text");
  EXPECT_EQ(db.Value("SELECT convert(varchar(3), 'äöüß')"), "äöü");  // characters, not bytes
}

TEST(Convert, TextToDateTime) {
  DialectDb db;
  EXPECT_EQ(db.Value("SELECT convert(datetime, '20240229', 112)"), "2024-02-29 00:00:00");
  EXPECT_EQ(db.Value("SELECT convert(datetime, '2024-02-29 13:45:07', 120)"),
            "2024-02-29 13:45:07");
  EXPECT_EQ(db.Value("SELECT convert(datetime, '', 112)"), "1900-01-01 00:00:00");
  EXPECT_EQ(db.Value("SELECT convert(datetime, '', 120)"), "1900-01-01 00:00:00");
  EXPECT_EQ(db.Value("SELECT convert(datetime, NULL, 112)"), kNull);
  EXPECT_EQ(db.Value("SELECT convert(date, '2024-02-29 13:45:07', 120)"), "2024-02-29 00:00:00");
  EXPECT_EQ(db.Value("SELECT cast('20240229' AS datetime)"), "2024-02-29 00:00:00");
  EXPECT_EQ(db.Value("SELECT convert(datetime, 1)"), "1900-01-02 00:00:00");
}

TEST(Convert, InvalidDateTextsFail) {
  DialectDb db;
  for (const char* sql : {"SELECT convert(datetime, 'abc', 112)",
                          "SELECT convert(datetime, '2024-01-01 10:00:00x', 120)",
                          "SELECT convert(date, '20240230', 112)"}) {
    const SqlError e = db.Error(sql);
    EXPECT_EQ(e.native, 241) << sql;
    EXPECT_EQ(e.sqlstate, "22007");
    EXPECT_EQ(e.message,
              "Conversion failed when converting date and/or time from character string.");
  }
  const SqlError range = db.Error("SELECT convert(datetime, '20240230', 112)");
  EXPECT_EQ(range.native, 242);
  EXPECT_EQ(range.sqlstate, "22008");
}

TEST(Convert, Numbers) {
  DialectDb db;
  EXPECT_EQ(db.Value("SELECT convert(int, ' 42 ')"), "42");
  EXPECT_EQ(db.Value("SELECT convert(int, '-7')"), "-7");
  EXPECT_EQ(db.Value("SELECT convert(int, 3.9)"), "3");
  EXPECT_EQ(db.Value("SELECT convert(int, -3.9)"), "-3");
  EXPECT_EQ(db.Value("SELECT convert(int, '')"), "0");
  EXPECT_EQ(db.Value("SELECT convert(int, NULL)"), kNull);
  EXPECT_EQ(db.Value("SELECT convert(bit, 5)"), "1");
  EXPECT_EQ(db.Error("SELECT convert(int, '1.5')").native, 245);
  EXPECT_EQ(db.Error("SELECT convert(int, 'abc')").sqlstate, "22018");
  EXPECT_EQ(db.Error("SELECT convert(int, 2147483648)").native, 8115);
  EXPECT_EQ(db.Error("SELECT convert(smallint, 40000)").sqlstate, "22003");
  EXPECT_EQ(db.Value("SELECT convert(decimal(10,2), 2.345)"), "2.35");
  EXPECT_EQ(db.Value("SELECT convert(float, '2.5')"), "2.5");
  EXPECT_EQ(db.Error("SELECT convert(float, 'x')").native, 8114);
  EXPECT_EQ(db.Error("SELECT convert(nosuchtype, 1)").native, 243);
}

TEST(DateAdd, DaysMonthsAndYearsAcrossEnds) {
  DialectDb db;
  EXPECT_EQ(db.Value("SELECT dateadd(d, 1, convert(datetime, '20231231', 112))"),
            "2024-01-01 00:00:00");
  EXPECT_EQ(db.Value("SELECT dateadd(dd, -1, convert(datetime, '20240301', 112))"),
            "2024-02-29 00:00:00");
  EXPECT_EQ(db.Value("SELECT dateadd(dd, +1, convert(datetime, '20240228', 112))"),
            "2024-02-29 00:00:00");
  EXPECT_EQ(db.Value("SELECT dateadd(day, 1, '2023-02-28 08:00:00')"), "2023-03-01 08:00:00");
  EXPECT_EQ(db.Value("SELECT dateadd(m, 1, '20240131')"), "2024-02-29 00:00:00");
  EXPECT_EQ(db.Value("SELECT dateadd(month, -1, '2024-03-31')"), "2024-02-29 00:00:00");
  EXPECT_EQ(db.Value("SELECT dateadd(yy, 1, '2024-02-29')"), "2025-02-28 00:00:00");
  EXPECT_EQ(db.Value("SELECT dateadd(hh, 2, '2023-12-31 23:00:00')"), "2024-01-01 01:00:00");
  EXPECT_EQ(db.Value("SELECT dateadd(mi, 90, '2024-01-01 00:00:00')"), "2024-01-01 01:30:00");
  EXPECT_EQ(db.Value("SELECT dateadd(ss, -1, '2024-01-01')"), "2023-12-31 23:59:59");
  EXPECT_EQ(db.Value("SELECT dateadd(d, 1, NULL)"), kNull);
  EXPECT_EQ(db.Error("SELECT dateadd(d, 1, 'not a date')").native, 241);
  EXPECT_EQ(db.Error("SELECT dateadd(yy, 1, '9999-06-01')").native, 517);
  EXPECT_EQ(db.Error("SELECT dateadd(fortnight, 1, '2024-01-01')").native, 155);
  EXPECT_EQ(db.Value("SELECT datediff(day, '2024-02-28', '2024-03-01')"), "2");
  EXPECT_EQ(db.Value("SELECT datediff(month, '2024-01-31', '2024-02-01')"), "1");
}

std::string LocalNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[20];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

TEST(CurrentTime, IsLocalTimeInTheStoredForm) {
  DialectDb db;
  // Compared to the minute so that a second boundary between the two reads does not matter.
  const std::string before = LocalNow();
  const std::string now = db.Value("SELECT CURRENT_TIMESTAMP");
  const std::string after = LocalNow();
  EXPECT_EQ(now.size(), 19u);
  EXPECT_GE(now, before);
  EXPECT_LE(now, after);
  EXPECT_EQ(db.Value("SELECT getdate()").substr(0, 16), now.substr(0, 16));
  EXPECT_EQ(db.Value("SELECT convert(char(19), CURRENT_TIMESTAMP, 120)").substr(0, 16),
            now.substr(0, 16));
}

TEST(CurrentTime, IsLocalEvenWhereUtcDiffers) {
  const char* old = std::getenv("TZ");
  const std::string saved = old != nullptr ? old : "";
  setenv("TZ", "<+14>-14", 1);  // UTC+14: never the same hour as UTC
  tzset();
  {
    DialectDb db;
    EXPECT_EQ(db.Value("SELECT CURRENT_TIMESTAMP").substr(0, 13), LocalNow().substr(0, 13));
  }
  if (old != nullptr) {
    setenv("TZ", saved.c_str(), 1);
  } else {
    unsetenv("TZ");
  }
  tzset();
}

TEST(Rewrite, OtherFunctionsAndTop) {
  DialectDb db;
  EXPECT_EQ(db.Value("SELECT ISNULL(NULL, 'b')"), "b");
  EXPECT_EQ(db.Value("SELECT len('ab   ')"), "2");
  EXPECT_EQ(db.Value("SELECT substring('abcdef', 2, 3)"), "bcd");
  EXPECT_EQ(db.Value("SELECT charindex('c', 'abcdef')"), "3");
  EXPECT_EQ(db.Value("SELECT year('2024-02-29') * 100 + month('2024-02-29')"), "202402");
  EXPECT_EQ(db.Value("SELECT TOP 1 x FROM (SELECT 1 AS x UNION ALL SELECT 2) t ORDER BY x DESC"),
            "2");
  EXPECT_EQ(db.Value("SELECT (SELECT TOP (1) x FROM (SELECT 5 AS x UNION ALL SELECT 6) t "
                     "ORDER BY x) + 1"),
            "6");
  EXPECT_EQ(db.Value("SELECT 'convert(int, 1) and CURRENT_TIMESTAMP'"),
            "convert(int, 1) and CURRENT_TIMESTAMP");
  EXPECT_EQ(Translate("SELECT 'getdate()', [convert] FROM t WITH (NOLOCK)").sqlite_sql,
            "SELECT 'getdate()', \"convert\" FROM t");
  EXPECT_EQ(db.Error("SELECT @undeclared").native, 137);
}

}  // namespace
}  // namespace tsq::testing
