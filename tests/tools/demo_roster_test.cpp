#include "demo_roster.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>

#include "civil_date.h"

namespace {

using ctl::BuildDemoDatabase;
using ctl::DemoDatabase;
using ctl::DemoOptions;
using ctl::DemoTable;
using ctl::SqlValue;

constexpr long kStart = 20000;  // 2024-10-04, a Friday

DemoDatabase Build(uint64_t seed, long start = kStart, int days = 21) {
  DemoOptions o;
  o.seed = seed;
  o.start = start;
  o.days = days;
  return BuildDemoDatabase(o);
}

// The values of one row by column name.
struct RowView {
  const DemoTable& t;
  const std::vector<SqlValue>& row;
  const SqlValue& operator[](const std::string& column) const {
    for (size_t i = 0; i < t.columns.size(); ++i) {
      if (t.columns[i] == column) return row[i];
    }
    ADD_FAILURE() << "no column " << column << " in " << t.name;
    static const SqlValue none;
    return none;
  }
};

const DemoTable& Table(const DemoDatabase& db, const char* name) {
  const DemoTable* t = db.Find(name);
  EXPECT_NE(t, nullptr) << name;
  static const DemoTable empty;
  return t == nullptr ? empty : *t;
}

TEST(DemoRoster, SameSeedGivesTheSameStatementsOtherSeedsOthers) {
  const auto a = ctl::InsertStatements(Build(7), "plexor");
  const auto b = ctl::InsertStatements(Build(7), "plexor");
  const auto c = ctl::InsertStatements(Build(8), "plexor");
  EXPECT_EQ(a, b);
  EXPECT_NE(a, c);
  EXPECT_GT(a.size(), 5000u);
}

TEST(DemoRoster, EveryRowMatchesItsColumnsAndTextsFitTheirWidths) {
  const DemoDatabase db = Build(3);
  // Widths of the text columns in the schema.
  const std::map<std::string, size_t> widths = {
      {"BdpPnr", 8}, {"BdpEso", 5}, {"BdpEsa", 5},  {"BdpBsz", 3},  {"BdpKst", 10},
      {"BdpFc1", 3}, {"BdpSts", 1}, {"BsmPlg", 5},  {"BsmTtp", 3},  {"PlgTxt", 50},
      {"QzpQfk", 5}, {"ZtgAzt", 5}, {"ZtgKst", 10}, {"PbvSst", 10}, {"BssTxt", 50}};
  for (const auto& t : db.tables) {
    for (const auto& row : t.rows) {
      ASSERT_EQ(row.size(), t.columns.size()) << t.name;
      for (size_t i = 0; i < row.size(); ++i) {
        auto w = widths.find(t.columns[i]);
        if (w != widths.end() && row[i].kind == SqlValue::Kind::kText) {
          EXPECT_LE(row[i].s.size(), w->second) << t.columns[i] << " " << row[i].s;
        }
      }
    }
  }
}

TEST(DemoRoster, CalendarSpansAYearBackAndTwoAheadWithIsoWeekdays) {
  const DemoDatabase db = Build(1);
  const DemoTable& bak = Table(db, "Kvt133Bak");
  ASSERT_TRUE(bak.system_schema);
  ASSERT_EQ(bak.rows.size(), 365u + 731u);
  EXPECT_EQ((RowView{bak, bak.rows.front()}["BakDtm"].s), ctl::Text8(kStart - 365));
  EXPECT_EQ((RowView{bak, bak.rows.back()}["BakDtm"].s), ctl::Text8(kStart + 730));
  for (const auto& row : bak.rows) {
    RowView r{bak, row};
    long day = 0;
    ASSERT_TRUE(ctl::ParseText8(r["BakDtm"].s, day));
    EXPECT_EQ(r["BakWtg"].i, ctl::IsoWeekday(day));
  }
  // 2024-10-04 is a Friday, 2024-12-30 lies in ISO week 1 of 2025.
  EXPECT_EQ(ctl::IsoWeekday(kStart), 5);
  long d = 0;
  ASSERT_TRUE(ctl::ParseText8("20241230", d));
  EXPECT_EQ(ctl::IsoWeek(d), 1);
}

TEST(DemoRoster, PlanGroupsHaveTheThreeLevelsAndTheirChecksOn) {
  const DemoDatabase db = Build(1);
  const DemoTable& plg = Table(db, "Kvt701Plg");
  std::map<std::string, int64_t> levels;
  for (const auto& row : plg.rows) {
    RowView r{plg, row};
    levels[r["PlgPlg"].s] = r["PlgOpl"].i;
    for (const char* sw : {"PlgQu2", "PlgAr2", "PlgRu2", "PlgMe2"}) EXPECT_EQ(r[sw].i, 1) << sw;
  }
  EXPECT_EQ(levels, (std::map<std::string, int64_t>{{"00001", 2}, {"00002", 1}, {"00003", 3}}));
}

// The job's recount rule applied to the demo's assignments gives the
// staffing figures the demo stores, so a first recount changes nothing.
TEST(DemoRoster, StaffingMatrixIsCountedFromTheAssignments) {
  const DemoDatabase db = Build(5);
  const DemoTable& bdp = Table(db, "Kvt730Bdp");
  const DemoTable& bsm = Table(db, "Kvt725Bsm");
  std::map<std::string, std::pair<int, int>> counted;  // slot -> live, marked
  for (const auto& row : bdp.rows) {
    RowView r{bdp, row};
    const std::string key = r["BdpPlg"].s + r["BdpEso"].s + r["BdpEsa"].s + r["BdpBdt"].s +
                            std::to_string(r["BdpSzv"].i);
    if (r["BdpSts"].s == "O" || r["BdpSts"].s == "D") continue;
    ++counted[key].first;
    if (r["BdpFc1"].s != "   ") ++counted[key].second;
  }
  std::set<int64_t> figures;
  for (const auto& row : bsm.rows) {
    RowView r{bsm, row};
    const std::string key = r["BsmPlg"].s + r["BsmEso"].s + r["BsmEsa"].s + r["BsmBdt"].s +
                            std::to_string(r["BsmSzv"].i);
    EXPECT_EQ(r["BsmIst"].i, counted[key].first) << key;
    EXPECT_EQ(r["BsmHtg"].i, counted[key].second) << key;
    const int64_t sol = r["BsmSol"].i + 1, min = r["BsmMin"].i + 1, max = r["BsmMax"].i + 1;
    const int64_t eff = r["BsmIst"].i - r["BsmHtg"].i + 1;
    int64_t fkt = eff == sol   ? 0
                  : eff < min  ? (eff - min) * 100 / min - 100
                  : eff < sol  ? (eff - sol) * 100 / sol
                  : eff <= max ? 90
                               : 190;
    EXPECT_EQ(r["BsmFkt"].i, fkt) << key;
    figures.insert(fkt < 0 ? -1 : fkt > 0 ? 1 : 0);
  }
  EXPECT_EQ(figures.size(), 3u) << "short, balanced and surplus slots all occur";
  EXPECT_EQ(bsm.rows.size(), 21u * 48u);
}

// On the start day plan group 00001 has short slots only where no slot of the
// same location and type has staff to spare; the location NST01 has one
// surplus slot, an early HLF slot whose first three persons are movable.
TEST(DemoRoster, StartDayOfPlanGroup00001HoldsTheTypicalRequest) {
  for (long start : {kStart, kStart + 1}) {  // a weekday and a Saturday
    const DemoDatabase db = Build(11, start);
    const DemoTable& bsm = Table(db, "Kvt725Bsm");
    std::map<std::string, std::vector<int64_t>> by_type;
    std::vector<std::pair<int64_t, std::string>> shorts, surpluses;
    for (const auto& row : bsm.rows) {
      RowView r{bsm, row};
      if (r["BsmPlg"].s != "00001" || r["BsmBdt"].s != ctl::Text8(start)) continue;
      const std::string slot = r["BsmEso"].s + "/" + r["BsmEsa"].s + "/" + r["BsmBsz"].s;
      by_type[r["BsmEso"].s + r["BsmEsa"].s].push_back(r["BsmFkt"].i);
      if (r["BsmFkt"].i < 0) shorts.push_back({r["BsmFkt"].i, slot});
      if (r["BsmFkt"].i > 0) surpluses.push_back({r["BsmFkt"].i, slot});
    }
    for (const auto& [type, fkts] : by_type) {
      bool has_short = false, has_surplus = false;
      for (auto f : fkts) {
        has_short |= f < 0;
        has_surplus |= f > 0;
      }
      EXPECT_FALSE(has_short && has_surplus) << type;
    }
    std::sort(shorts.begin(), shorts.end());
    ASSERT_EQ(shorts.size(), 2u);
    EXPECT_EQ(shorts[0].second, "NST01/PFL/SPA");
    ASSERT_EQ(surpluses.size(), 1u);
    EXPECT_EQ(surpluses[0].second, "NST01/HLF/FRU");

    const DemoTable& bdp = Table(db, "Kvt730Bdp");
    int movable = 0;
    std::string first;
    for (const auto& row : bdp.rows) {
      RowView r{bdp, row};
      if (r["BdpPlg"].s == "00001" && r["BdpEso"].s == "NST01" && r["BdpEsa"].s == "HLF" &&
          r["BdpBsz"].s == "FRU" && r["BdpBdt"].s == ctl::Text8(start) && r["BdpSts"].s == " " &&
          r["BdpSta"].i == 0 && r["BdpFc1"].s == "   ") {
        ++movable;
        if (r["BdpRnd"].i == 1) first = r["BdpPnr"].s;
      }
    }
    EXPECT_EQ(movable, 3);
    // The first person is bound by the strict rest rule.
    const DemoTable& pbv = Table(db, "Kvt710Pbv");
    bool strict = false;
    for (const auto& row : pbv.rows) {
      RowView r{pbv, row};
      if (r["PbvPnr"].s == first && r["PbvGbi"].kind == SqlValue::Kind::kNull) {
        strict = r["PbvAwp"].i == 1;
      }
    }
    EXPECT_TRUE(strict) << first;
  }
}

TEST(DemoRoster, SqlLiteralsQuoteTextsAndConvertDates) {
  EXPECT_EQ(ctl::SqlLiteral(SqlValue::Text("O'Neil")), "'O''Neil'");
  EXPECT_EQ(ctl::SqlLiteral(SqlValue::Date("20261208")), "convert(datetime, '20261208', 112)");
  EXPECT_EQ(ctl::SqlLiteral(SqlValue::DateTime("2026-12-08 06:00:00")),
            "convert(datetime, '2026-12-08 06:00:00', 120)");
  EXPECT_EQ(ctl::SqlLiteral(SqlValue::Real(12.5)), "12.500000");
  EXPECT_EQ(ctl::SqlLiteral(SqlValue::Null()), "NULL");
  EXPECT_EQ(ctl::SqlLiteral(SqlValue::Int(-7)), "-7");
}

}  // namespace
