// The figures that the neighbouring-assignment check and the day working
// time leave in the person record, and the failure paths of the eligibility
// checks with their run-log lines, called in this process.
#include "optimise/neighbour_check.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <sstream>
#include <string>

#include "log/run_log.h"
#include "optimise/day_working_time.h"
#include "optimise/eligibility.h"
#include "optimise/eligibility_checks.h"
#include "optimise/eligibility_tables.h"
#include "support/roster_builder.h"
#include "support/test_db.h"

namespace {

class NeighbourCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ts::ConnectJob(db_));
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    previous_cwd_ = cwd;
    ASSERT_EQ(chdir((db_.dir() + "/run/work").c_str()), 0);
    runlog::SetPaths("plexor");
    day_ = "20261208";
    ts::InsertCalendar(db_, "20261201", "20261215");
    person_.pnr.set("P0000001");
    person_.date.set(day_);
    person_.window_begin = 480;
    person_.window_end = 960;
    target_.BssPlg.set("00001");
    target_.BssEsa.set("ESA01");
    target_.BssVon = 480;
    target_.BssBis = 960;
    target_.BssAsw = 1;
  }
  void TearDown() override { ASSERT_EQ(chdir(previous_cwd_.c_str()), 0); }

  void Row(const std::string& date, int szv, int szb, int akt = 1, int azt = 0,
           const std::string& sts = " ", int asw = 1, int osv = 0, int osb = 0) {
    std::ostringstream sql;
    sql << "INSERT INTO plexor.Kvt730Bdp (BdpPnr, BdpBdt, BdpEso, BdpEsa, BdpSzv, BdpSzb, "
           "BdpFc1, BdpFc2, BdpFc3, BdpOsv, BdpOsb, BdpPlg, BdpAsw, BdpSts, BdpSta, BdpAzt, "
           "BdpAkt, BdpAwp) VALUES ('P0000001', "
        << ts::SqlDate(date) << ", 'ESO02', 'ESA01', " << szv << ", " << szb
        << ", '   ', '   ', '   ', " << osv << ", " << osb << ", '00001', " << asw << ", '" << sts
        << "', 0, " << azt << ", " << akt << ", 0)";
    db_.Exec(sql.str());
  }

  ts::TestDb db_;
  std::string previous_cwd_;
  std::string day_;
  PnrSatz person_;
  BssSatz target_;
};

TEST_F(NeighbourCheck, NoAssignmentsLeaveTheTargetsShareOfTheWindow) {
  person_.window_begin = 600;
  person_.window_end = 1200;
  EXPECT_EQ(TagArbZt_Brutto(person_), 100);
  EXPECT_EQ(person_.day_minutes, 0);
  Prefix_IndikatorPrf(person_, target_);
  EXPECT_EQ(person_.day_minutes, 360);
  EXPECT_EQ(person_.overlap, 0);
  EXPECT_TRUE(person_.previous_end.empty());
  EXPECT_TRUE(person_.next_start.empty());
  EXPECT_EQ(db_.LogText(), "");
}

TEST_F(NeighbourCheck, AssignmentEndingAtTheTargetStartIsThePreviousEnd) {
  Row(day_, 360, 480);
  Prefix_IndikatorPrf(person_, target_);
  EXPECT_EQ(person_.previous_end, "20261208080000");
  EXPECT_EQ(person_.overlap, 0);
}

TEST_F(NeighbourCheck, NightTargetEndsOnTheNextCalendarDay) {
  target_.BssVon = 1320;
  target_.BssBis = 360;
  Row("20261207", 1320, 360);  // the night before, ending at 06:00 on the date
  Row("20261209", 360, 480);   // starts at the target's end
  Prefix_IndikatorPrf(person_, target_);
  EXPECT_EQ(person_.previous_end, "20261208060000");
  EXPECT_EQ(person_.next_start, "20261209060000");
  EXPECT_EQ(person_.overlap, 0);

  PnrSatz again = PnrSatz{};
  again.pnr = person_.pnr;
  again.date = person_.date;
  Row("20261209", 300, 420, 2);  // 05:00-07:00 overlaps the target's last hour
  Prefix_IndikatorPrf(again, target_);
  EXPECT_EQ(again.overlap, 1);
}

TEST_F(NeighbourCheck, KindThreeTargetIsTheEmptyWindowAtMidnight) {
  target_.BssAsw = 3;
  Row(day_, 600, 720);
  Prefix_IndikatorPrf(person_, target_);
  EXPECT_EQ(person_.day_minutes, 0);
  EXPECT_EQ(person_.overlap, 0);
  EXPECT_EQ(person_.next_start, "20261208100000");

  PnrSatz night = PnrSatz{};
  night.pnr = person_.pnr;
  night.date = person_.date;
  night.window_begin = 1320;
  night.window_end = 0;  // a window ending at midnight
  Prefix_IndikatorPrf(night, target_);
  EXPECT_EQ(night.day_minutes, 120);
}

TEST_F(NeighbourCheck, MissingAssignmentTableIsLoggedAndTheWorkGoesOn) {
  person_.day_minutes = 5;
  db_.Exec("DROP TABLE plexor.Kvt730Bdp");
  Prefix_IndikatorPrf(person_, target_);
  EXPECT_EQ(person_.day_minutes, 5 + 480);
  const auto lines = ts::LogMessages(db_.LogText());
  ASSERT_EQ(lines.size(), 3u) << db_.LogText();
  EXPECT_EQ(lines[0].rfind("-Fehler: Prefix_IndikatorPrf->TagArbZt_Brutto() RC: ", 0), 0u);
  EXPECT_EQ(lines[1].rfind("-Fehler: Prefix_IndikatorPrf->Bdp_VorNchBsz_Open() RC: ", 0), 0u);
  EXPECT_EQ(lines[2],
            "-Fehler: Prefix_IndikatorPrf->Bdp_VorNchBsz_Read() RC: -1! PNR: P0000001 DAT: "
            "20261208");
  for (const auto& line : lines) {
    EXPECT_NE(line.find("! PNR: P0000001 DAT: 20261208"), std::string::npos) << line;
  }

  // Without the day's rows the working window alone is counted.
  TagArbZt_Ermitteln(person_);
  EXPECT_EQ(person_.day_minutes, 480);
}

// --- Day working time ------------------------------------------------------------

TEST_F(NeighbourCheck, NightRowWithoutWindowAndEmptyDays) {
  person_.window_begin = 0;
  person_.window_end = 0;
  person_.day_minutes = 77;
  TagArbZt_Ermitteln(person_);
  EXPECT_EQ(person_.day_minutes, 77);  // nothing covered: kept
  Row(day_, 1320, 360);
  TagArbZt_Ermitteln(person_);
  EXPECT_EQ(person_.day_minutes, 480);
}

// --- Failure paths of the checks -------------------------------------------------

TEST_F(NeighbourCheck, UnreadableQualificationListPassesAndIsLogged) {
  db_.Exec("DROP TABLE plexor.Kvt717Qea");
  EXPECT_TRUE(Qualifikationen_OK(person_, target_));
  EXPECT_EQ(person_.error_number, 0);
  const auto lines = ts::LogMessages(db_.LogText());
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "-Fehler: Qualifikationen_OK->Qea_Qlf2Esa_Read() RC: -1! ESA ESA01");
}

TEST_F(NeighbourCheck, UnreadableHoldingsCountAsNotHeld) {
  db_.Exec("INSERT INTO plexor.Kvt717Qea (QeaEsa, QeaQfk) VALUES ('ESA01', 'Q1')");
  db_.Exec("DROP TABLE plexor.Kvt716Qzp");
  EXPECT_NE(Qzp_PnrQfk_Read("P0000001", "Q1", "20261208"), 0);
  EXPECT_FALSE(Qualifikationen_OK(person_, target_));
  EXPECT_EQ(person_.error_number, 1511);
  EXPECT_EQ(db_.LogText(), "");
}

TEST_F(NeighbourCheck, QuotesInCodesStayInsideTheirLiterals) {
  db_.Exec(
      "INSERT INTO plexor.Kvt716Qzp (QzpPnr, QzpQfk, QzpVon, QzpBis) VALUES ('O''Neil', "
      "'Q''1', convert(datetime, '20261201', 112), NULL)");
  EXPECT_EQ(Qzp_PnrQfk_Read("O'Neil", "Q'1", "20261208"), 0);
  EXPECT_EQ(Qzp_PnrQfk_Read("O'Neil", "Q' OR '1'='1", "20261208"), 100);
}

TEST_F(NeighbourCheck, SubstituteCursorFailureLeavesNoWindow) {
  person_.PbvAwp = 1;
  db_.Exec("DROP TABLE plexor.Kvt162Ers");
  EXPECT_EQ(Zeitfenster_OK(person_, 1320, 360), 0);
  EXPECT_EQ(person_.error_number, 1412);
  EXPECT_EQ(Ers_AzvZtg_Read(person_), -1);
  EXPECT_EQ(person_.window_begin, 480);
}

TEST_F(NeighbourCheck, WithoutThePlanGroupRowNoTestRuns) {
  person_.overlap = 1;
  person_.error_number = 1501;
  Row(day_, 600, 720);
  IndikatorPrf(person_, target_, 2);
  EXPECT_EQ(person_.error_number, 1501);
  EXPECT_EQ(person_.day_minutes, 480);  // the preparation ran
}

}  // namespace
