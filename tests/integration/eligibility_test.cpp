// The verdict of the eligibility checks as the move proposal carries it in
// BdkFnr, through runs of plexor on small databases: one plan group, one
// short slot (the target) and one surplus slot on the same day, a person
// assigned to the surplus slot, and whatever the test adds around them.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/roster_builder.h"
#include "support/test_db.h"

namespace {

constexpr const char* kPnr = "P0000001";

// One row of the assignments Kvt730Bdp; unnamed columns stay NULL.
struct Assignment {
  std::string pnr = kPnr;
  std::string date;
  std::string eso = "ESO02";
  std::string esa = "ESA01";
  std::string bsz = "X";
  int szv = 0;
  int szb = 0;
  int osv = 0;
  int osb = 0;
  int asw = 1;
  int awp = 0;
  std::string sts = " ";
  std::string fc1 = "   ";
  std::string fc2 = "   ";
  std::string fc3 = "   ";
  int sta = 0;
  int azt = 0;
  int rnd = 1;
  int akt = 1;
  std::string plg = "00001";
};

void InsertAssignment(ts::TestDb& db, const Assignment& a) {
  std::ostringstream sql;
  sql << "INSERT INTO plexor.Kvt730Bdp (BdpPnr, BdpBdt, BdpEso, BdpEsa, BdpBsz, BdpSzv, BdpSzb, "
         "BdpFc1, BdpFc2, BdpFc3, BdpOsv, BdpOsb, BdpPlg, BdpAsw, BdpSts, BdpFnr, BdpSta, BdpAzt, "
         "BdpRnd, BdpAkt, BdpAwp) VALUES ("
      << ts::SqlQuoted(a.pnr) << ", " << ts::SqlDate(a.date) << ", " << ts::SqlQuoted(a.eso) << ", "
      << ts::SqlQuoted(a.esa) << ", " << ts::SqlQuoted(a.bsz) << ", " << a.szv << ", " << a.szb
      << ", " << ts::SqlQuoted(a.fc1) << ", " << ts::SqlQuoted(a.fc2) << ", "
      << ts::SqlQuoted(a.fc3) << ", " << a.osv << ", " << a.osb << ", " << ts::SqlQuoted(a.plg)
      << ", " << a.asw << ", " << ts::SqlQuoted(a.sts) << ", 0, " << a.sta << ", " << a.azt << ", "
      << a.rnd << ", " << a.akt << ", " << a.awp << ")";
  db.Exec(sql.str());
}

// The working-time model a test starts from: number 10, core time
// 08:00-16:00 in the frame 07:00-17:00.
ts::ModelValues DayModel() {
  ts::ModelValues m;
  m.num = 10;
  m.kev = 480;
  m.keb = 960;
  m.glv = 420;
  m.glb = 1020;
  return m;
}

class Eligibility : public ::testing::Test {
 protected:
  // The person: assignment rule, settings of the plan group, day plan.
  struct Person {
    int awp = 2;
    int zrm = 1;
    int azk = 10;  // hours
    int rzk = 0;   // hours
    ts::ModelValues model = DayModel();
    bool day_plan = true;
  };
  // The short slot and its definition.
  struct Target {
    std::string eso = "ESO01";
    std::string esa = "ESA01";
    int von = 480;
    int bis = 960;
    int asw = 1;
  };
  // The surplus slot and the person's assignment in it.
  struct Source {
    std::string eso = "ESO01";
    std::string esa = "ESA01";
    int von = 1200;
    int bis = 1260;
    int azt = 0;
    int akt = 1;
  };

  void SetUp() override {
    day_ = ts::DaysFromToday(10);
    ts::InsertCalendar(db_, ts::DaysFromToday(-5), ts::DaysFromToday(40));
    person_.model.gvo = Day(-30);
  }

  std::string Day(int offset) const { return ts::AddDays(day_, offset); }

  // Switch set `set` of the plan group (0 leaves a test off).
  void Switches(int qu, int ar, int ru, int me, int set = 2) {
    std::ostringstream sql;
    sql << "UPDATE plexor.Kvt701Plg SET PlgQu" << set << " = " << qu << ", PlgAr" << set << " = "
        << ar << ", PlgRu" << set << " = " << ru << ", PlgMe" << set << " = " << me
        << " WHERE PlgPlg = '00001'";
    db_.Exec(sql.str());
  }

  void InsertPerson(const std::string& pnr, const Person& p, const std::string& eso = "ESO01",
                    const std::string& esa = "ESA01") {
    ts::InsertRule(
        db_, {.pnr = pnr, .gvo = Day(-30), .zrm = p.zrm, .eso = eso, .esa = esa, .awp = p.awp});
    if (p.day_plan) {
      ts::InsertDayPlan(db_, {.pnr = pnr,
                              .von = day_,
                              .azt = std::to_string(p.model.num),
                              .kst = "KST",
                              .agr = "AG1"});
    }
  }

  // Writes the plan group, the two slots, the person and the person's
  // assignment in the surplus slot.
  void Build() {
    ts::PlanGroupValues group;
    group.opl = opl_;
    ts::InsertPlanGroup(db_, group);
    ts::InsertDayType(db_, day_, "W", "W");
    ts::InsertLimits(db_, {.azk = person_.azk, .rzk = person_.rzk});
    InsertPerson(kPnr, person_);
    if (person_.day_plan) ts::InsertModel(db_, person_.model);

    ts::InsertSlotDefinition(db_, {.eso = target_.eso,
                                   .esa = target_.esa,
                                   .bsz = "T",
                                   .von = target_.von,
                                   .bis = target_.bis,
                                   .txt = "Target",
                                   .sol = 2,
                                   .min = 2,
                                   .max = 2,
                                   .mwt = 0,
                                   .asw = target_.asw});

    ts::BsmValues short_slot;
    short_slot.date = day_;
    short_slot.eso = target_.eso;
    short_slot.esa = target_.esa;
    short_slot.bsz = "T";
    short_slot.szv = target_.von;
    short_slot.szb = target_.bis;
    short_slot.sol = 2;
    short_slot.min = 2;
    short_slot.max = 2;
    short_slot.ist = 1;
    short_slot.fkt = -1;
    short_slot.asw = target_.asw;
    ts::InsertBsm(db_, short_slot);

    ts::BsmValues surplus = short_slot;
    surplus.eso = source_.eso;
    surplus.esa = source_.esa;
    surplus.bsz = "S";
    surplus.szv = source_.von;
    surplus.szb = source_.bis;
    surplus.sol = 1;
    surplus.min = 1;
    surplus.max = 1;
    surplus.ist = 2;
    surplus.fkt = 1;
    ts::InsertBsm(db_, surplus);

    Assignment in_source;
    in_source.date = day_;
    in_source.eso = source_.eso;
    in_source.esa = source_.esa;
    in_source.bsz = "S";
    in_source.szv = source_.von;
    in_source.szb = source_.bis;
    in_source.asw = target_.asw;
    in_source.azt = source_.azt;
    in_source.akt = source_.akt;
    InsertAssignment(db_, in_source);
  }

  // An assignment of the person outside the two slots (location ESO02).
  void Neighbour(int day_offset, int szv, int szb, Assignment a = {}) {
    a.date = Day(day_offset);
    a.szv = szv;
    a.szb = szb;
    InsertAssignment(db_, a);
  }

  void AddQualification(const std::string& esa, const std::string& qfk) {
    db_.Exec("INSERT INTO plexor.Kvt717Qea (QeaEsa, QeaQfk) VALUES ('" + esa + "', '" + qfk + "')");
  }
  void HoldQualification(const std::string& qfk, const std::string& von,
                         const std::optional<std::string>& bis) {
    db_.Exec("INSERT INTO plexor.Kvt716Qzp (QzpPnr, QzpQfk, QzpVon, QzpBis) VALUES ('" +
             std::string(kPnr) + "', '" + qfk + "', " + ts::SqlDate(von) + ", " +
             (bis ? ts::SqlDate(*bis) : "NULL") + ")");
  }
  void AddSubstitute(const ts::ModelValues& m) {
    ts::InsertModel(db_, m);
    db_.Exec("INSERT INTO plexor.Kvt162Ers (ErsAgr, ErsAzt, ErsAze) VALUES ('AG1', '" +
             std::to_string(person_.model.num) + "', " + std::to_string(m.num) + ")");
  }

  ts::PlexorRun RunJob() {
    ts::RunArgs args;
    args.begin = day_;
    args.end = day_;
    args.plan_group = "00001";
    ts::PlexorRun run = db_.Run(args.list());
    EXPECT_EQ(run.exit_code, 0);
    return run;
  }

  // Runs the job and returns the BdkFnr of the one proposal for the person
  // (-1 when there is not exactly one).
  long ProposedFnr() {
    last_run_ = RunJob();
    const auto rows =
        db_.Query(std::string("SELECT BdkFnr FROM plexor.Kvt735Bdk WHERE BdkPnr = '") + kPnr + "'");
    EXPECT_EQ(rows.size(), 1u) << last_run_.log;
    if (rows.size() != 1 || !rows[0][0]) return -1;
    return std::stol(*rows[0][0]);
  }

  ts::TestDb db_;
  std::string day_;
  int opl_ = 3;
  Person person_;
  Target target_;
  Source source_;
  ts::PlexorRun last_run_;
};

// --- Time window -----------------------------------------------------------

TEST_F(Eligibility, TargetInsideTheWorkingWindowRaisesNoObjection) {
  target_.von = 480;
  target_.bis = 720;
  Build();
  EXPECT_EQ(ProposedFnr(), 0);
}

TEST_F(Eligibility, TargetReachingBeyondAMatchingWindowGives1501) {
  target_.von = 360;
  target_.bis = 1080;
  Build();
  EXPECT_EQ(ProposedFnr(), 1501);
}

TEST_F(Eligibility, TargetMostlyOutsideTheWindowGives1412) {
  target_.von = 900;
  target_.bis = 1140;
  Build();
  EXPECT_EQ(ProposedFnr(), 1412);
}

TEST_F(Eligibility, PersonWithoutADayPlanFitsADayTarget) {
  person_.day_plan = false;
  Build();
  EXPECT_EQ(ProposedFnr(), 0);
}

// --- Substitute working-time models ----------------------------------------

class SubstituteModels : public Eligibility {
 protected:
  void SetUp() override {
    Eligibility::SetUp();
    person_.awp = 1;
    target_.von = 1320;  // 22:00-06:00 against the day window 08:00-16:00
    target_.bis = 360;
  }
  ts::ModelValues Substitute(int num, int kev, int keb) {
    ts::ModelValues m = DayModel();
    m.num = num;
    m.kev = kev;
    m.keb = keb;
    m.gvo = Day(-30);
    return m;
  }
};

TEST_F(SubstituteModels, MatchingSubstituteLiftsTheObjection) {
  Build();
  AddSubstitute(Substitute(20, 600, 900));
  AddSubstitute(Substitute(30, 1320, 360));
  EXPECT_EQ(ProposedFnr(), 0);
}

TEST_F(SubstituteModels, SubstituteReachedBeyondGives1501) {
  Build();
  AddSubstitute(Substitute(20, 600, 900));
  AddSubstitute(Substitute(30, 1380, 300));
  EXPECT_EQ(ProposedFnr(), 1501);
}

TEST_F(SubstituteModels, OnlyStrictRulePersonsTrySubstitutes) {
  person_.awp = 2;
  Build();
  AddSubstitute(Substitute(30, 1320, 360));
  EXPECT_EQ(ProposedFnr(), 1412);
}

TEST_F(SubstituteModels, ModelsWithoutTargetTimeOrOutOfValidityDoNotCount) {
  Build();
  ts::ModelValues no_target_time = Substitute(30, 1320, 360);
  no_target_time.sol = 0;
  AddSubstitute(no_target_time);
  ts::ModelValues expired = Substitute(40, 1320, 360);
  expired.gbi = Day(-1);
  AddSubstitute(expired);
  ts::ModelValues not_yet = Substitute(50, 1320, 360);
  not_yet.gvo = Day(1);
  AddSubstitute(not_yet);
  EXPECT_EQ(ProposedFnr(), 1412);
}

TEST_F(SubstituteModels, MatchingSubstituteWindowIsTheOneTheLaterTestsUse) {
  // With the substitute's night window the quick figure is the target's 480
  // minutes, within 8 hours; with the day window it would be far above and
  // the full computation (window plus the 20:00 assignment) would be 540.
  person_.azk = 8;
  Build();
  Switches(0, 1, 0, 0);
  AddSubstitute(Substitute(30, 1320, 360));
  EXPECT_EQ(ProposedFnr(), 0);
}

// --- Qualifications ----------------------------------------------------------

class Qualifications : public Eligibility {
 protected:
  void SetUp() override {
    Eligibility::SetUp();
    Build();
    Switches(1, 0, 0, 0);
    AddQualification("ESA01", "Q1");
    AddQualification("ESA01", "Q2");
    AddQualification("ESA09", "Q9");
  }
};

TEST_F(Qualifications, NoneOfTheListedHeldGives1511) {
  HoldQualification("Q9", Day(-10), std::nullopt);
  EXPECT_EQ(ProposedFnr(), 1511);
}

TEST_F(Qualifications, OneOfTheListedIsEnough) {
  HoldQualification("Q2", Day(-10), std::nullopt);
  EXPECT_EQ(ProposedFnr(), 0);
}

TEST_F(Qualifications, ValidityEndingOnTheDayStillCounts) {
  HoldQualification("Q1", day_, day_);
  EXPECT_EQ(ProposedFnr(), 0);
}

TEST_F(Qualifications, ExpiredOrFutureQualificationsDoNotCount) {
  HoldQualification("Q1", Day(-10), Day(-1));
  HoldQualification("Q2", Day(1), std::nullopt);
  EXPECT_EQ(ProposedFnr(), 1511);
}

TEST_F(Eligibility, DeploymentTypeWithoutListedQualificationsNeedsNone) {
  Build();
  Switches(1, 0, 0, 0);
  AddQualification("ESA09", "Q9");
  EXPECT_EQ(ProposedFnr(), 0);
}

// --- Daily working time ------------------------------------------------------

// An assignment with a large booked working time, so that the quick figure is
// above the limit whichever row of the day the database returns first.
Assignment Booked() {
  Assignment a;
  a.azt = 999;
  return a;
}

TEST_F(Eligibility, QuickFigureWithinTheLimitPasses) {
  // Booked 120 minutes plus the target's 480 inside the window: 600 = 10 h.
  source_.azt = 120;
  Build();
  Switches(0, 1, 0, 0);
  EXPECT_EQ(ProposedFnr(), 0);
}

TEST_F(Eligibility, FullComputationDecidesAboveTheQuickLimit) {
  // Quick figure 121 + 480 = 601 > 600; the day itself covers 08:00-16:00
  // and 20:00-21:00, 540 minutes.
  source_.azt = 121;
  Build();
  Switches(0, 1, 0, 0);
  EXPECT_EQ(ProposedFnr(), 0);
}

TEST_F(Eligibility, DayAboveTheDailyMaximumGives1521) {
  person_.azk = 8;  // 480 < 540 covered minutes
  source_.azt = 60;
  Build();
  Switches(0, 1, 0, 0);
  EXPECT_EQ(ProposedFnr(), 1521);
}

TEST_F(Eligibility, WorkingTimeCountsOnlyLiveAssignmentsOfTheDay) {
  // 480 (window) + 60 (20:00) = 540 within 9 h; every excluded row would add.
  person_.azk = 9;
  source_.azt = 999;
  Build();
  Switches(0, 1, 0, 0);
  Assignment deleted = Booked();
  deleted.sts = "D";
  Neighbour(0, 1000, 1100, deleted);
  Assignment other = Booked();
  other.sts = "O";
  Neighbour(0, 1000, 1100, other);
  Assignment inactive = Booked();
  inactive.akt = 9999;
  Neighbour(0, 1000, 1100, inactive);
  Neighbour(1, 1000, 1100, Booked());  // another day
  EXPECT_EQ(ProposedFnr(), 0);
}

TEST_F(Eligibility, WorkingTimeCountsALiveExtraAssignment) {
  person_.azk = 9;
  source_.azt = 999;
  Build();
  Switches(0, 1, 0, 0);
  Neighbour(0, 1000, 1100, Booked());
  EXPECT_EQ(ProposedFnr(), 1521);
}

TEST_F(Eligibility, WorkingTimeTakesTheOtherSlotOfAKindThreeAssignment) {
  // Its own slot 08:00-08:20 lies in the window; its other slot 1000-1400
  // adds 400 minutes (covering the 20:00 assignment).
  person_.azk = 9;
  source_.azt = 999;
  Build();
  Switches(0, 1, 0, 0);
  Assignment kind_three = Booked();
  kind_three.asw = 3;
  kind_three.osv = 1000;
  kind_three.osb = 1400;
  Neighbour(0, 480, 500, kind_three);
  EXPECT_EQ(ProposedFnr(), 1521);
}

TEST_F(Eligibility, WorkingTimeCountsAtMostTwentyIntervals) {
  // Without a day plan the window 0-0 takes the second place; the next 18
  // half hours cover 00:00-09:30 (570 minutes). The five half hours after
  // them and the 20:00 assignment would make 810 minutes.
  person_.day_plan = false;
  person_.azk = 10;
  source_.azt = 999;
  Build();
  Switches(0, 1, 0, 0);
  for (int i = 0; i < 25; ++i) {
    Neighbour(0, 30 * i, 30 * i + 30, Booked());
  }
  EXPECT_EQ(ProposedFnr(), 0);
}

// --- Rest time ---------------------------------------------------------------

class RestTime : public Eligibility {
 protected:
  void SetUp() override {
    Eligibility::SetUp();
    person_.rzk = 11;  // 660 minutes
  }
  void Prepare(int awp) {
    person_.awp = awp;
    Build();
    Switches(0, 0, 1, 0);
  }
  // An assignment ending `gap` minutes before the target's 08:00 start.
  void PreviousEndingBefore(int gap) {
    const int end = 480 - gap;
    if (end >= 0) {
      Neighbour(0, end - 60 < 0 ? 0 : end - 60, end);
    } else {
      Neighbour(-1, 1440 + end - 60, 1440 + end);
    }
  }
};

TEST_F(RestTime, GapOfAtMostHalfTheRestIsAcceptedForOtherRules) {
  Prepare(2);
  PreviousEndingBefore(300);
  EXPECT_EQ(ProposedFnr(), 0);
}

TEST_F(RestTime, GapBetweenHalfAndTheWholeRestGives1531) {
  Prepare(2);
  PreviousEndingBefore(400);
  EXPECT_EQ(ProposedFnr(), 1531);
}

TEST_F(RestTime, FullRestPasses) {
  Prepare(2);
  PreviousEndingBefore(660);
  EXPECT_EQ(ProposedFnr(), 0);
}

TEST_F(RestTime, StrictRuleRejectsEveryShortGap) {
  Prepare(1);
  PreviousEndingBefore(300);
  Neighbour(1, 600, 900);  // read last: the next start is the next day's 10:00
  EXPECT_EQ(ProposedFnr(), 1531);
}

TEST_F(RestTime, StrictRulePassesAFullRestOnBothSides) {
  Prepare(1);
  PreviousEndingBefore(660);
  Neighbour(1, 600, 900);
  EXPECT_EQ(ProposedFnr(), 0);
}

TEST_F(RestTime, NightTargetEndsOnTheNextDay) {
  // 22:00-06:00; the next assignment starts at 14:00 of the next day, 480
  // minutes after the target's end.
  target_.von = 1320;
  target_.bis = 360;
  Prepare(2);
  Neighbour(1, 840, 960);
  EXPECT_EQ(ProposedFnr(), 1531);
}

TEST_F(RestTime, LastQualifyingRowInReadingOrderIsTheNextStart) {
  // Rows after the target: 20:00 today (the surplus slot) and 06:00 the
  // next day, read last; 14 hours after 16:00 is a full rest for the strict
  // rule, whereas the nearer 20:00 would not be.
  Prepare(1);
  Neighbour(1, 360, 420);
  EXPECT_EQ(ProposedFnr(), 0);
}

TEST_F(RestTime, NegativeDifferenceCountsAsALongGap) {
  // A target of kind 3 counts as 00:00-00:00 when the neighbours are read,
  // so a row at 06:00 becomes the next start; measured from the target's end
  // at 16:00 the difference is negative and passes.
  target_.asw = 3;
  Prepare(1);
  Assignment morning;
  morning.asw = 1;
  morning.akt = 2;  // read after the surplus slot's row
  Neighbour(0, 360, 420, morning);
  EXPECT_EQ(ProposedFnr(), 0);
}

// --- Overlap -------------------------------------------------------------------

class Overlap : public Eligibility {
 protected:
  void SetUp() override {
    Eligibility::SetUp();
    Build();
    Switches(0, 0, 0, 1);
  }
};

TEST_F(Overlap, AssignmentOverlappingTheTargetGives1541) {
  Neighbour(0, 600, 720);
  EXPECT_EQ(ProposedFnr(), 1541);
}

TEST_F(Overlap, NightAssignmentOfTheDayBeforeReachingIntoTheTarget) {
  Neighbour(-1, 1320, 540);
  EXPECT_EQ(ProposedFnr(), 1541);
}

TEST_F(Overlap, AssignmentEndingAtTheTargetStartDoesNotOverlap) {
  Neighbour(0, 360, 480);
  EXPECT_EQ(ProposedFnr(), 0);
}

TEST_F(Overlap, RowsWithFunctionCodesStatusesOrInactiveAreIgnored) {
  for (const char* fc : {"F1 ", "F2 ", "F3 "}) {
    Assignment coded;
    if (fc[1] == '1') coded.fc1 = fc;
    if (fc[1] == '2') coded.fc2 = fc;
    if (fc[1] == '3') coded.fc3 = fc;
    Neighbour(0, 600, 720, coded);
  }
  for (const char* sts : {"D", "O"}) {
    Assignment with_status;
    with_status.sts = sts;
    Neighbour(0, 600, 720, with_status);
  }
  Assignment inactive;
  inactive.akt = 9999;
  Neighbour(0, 600, 720, inactive);
  Neighbour(2, 0, 1439);  // two days later
  EXPECT_EQ(ProposedFnr(), 0);
}

TEST_F(Overlap, OtherSlotOfAKindThreeAssignmentIsWhatCounts) {
  Assignment moved_away;
  moved_away.asw = 3;
  moved_away.awp = 3;
  moved_away.osv = 1000;
  moved_away.osb = 1100;
  Neighbour(0, 600, 720, moved_away);
  EXPECT_EQ(ProposedFnr(), 0);
}

TEST_F(Overlap, KindThreeSlotAloneIsNotEnoughToMoveTheWindow) {
  Assignment kind_three_only;
  kind_three_only.asw = 3;
  kind_three_only.awp = 0;
  kind_three_only.osv = 1000;
  kind_three_only.osb = 1100;
  Neighbour(0, 600, 720, kind_three_only);
  EXPECT_EQ(ProposedFnr(), 1541);
}

// --- Switches and precedence ---------------------------------------------------

class Precedence : public Eligibility {
 protected:
  // Every switched test fails: no qualification, 9 h and more of work, a
  // short rest before the target and an overlapping assignment.
  void SetUp() override {
    Eligibility::SetUp();
    person_.azk = 1;
    person_.rzk = 11;
    Build();
    AddQualification("ESA01", "Q1");
    PreviousRow();
    Neighbour(0, 600, 720);
  }
  void PreviousRow() { Neighbour(0, 0, 80); }  // ends 400 minutes before 08:00
};

TEST_F(Precedence, OverlapStandsOverEverything) {
  Switches(1, 1, 1, 1);
  EXPECT_EQ(ProposedFnr(), 1541);
}

TEST_F(Precedence, RestStandsOverWorkingTimeAndQualification) {
  Switches(1, 1, 1, 0);
  EXPECT_EQ(ProposedFnr(), 1531);
}

TEST_F(Precedence, WorkingTimeStandsOverQualification) {
  Switches(1, 1, 0, 0);
  EXPECT_EQ(ProposedFnr(), 1521);
}

TEST_F(Precedence, QualificationAlone) {
  Switches(1, 0, 0, 0);
  EXPECT_EQ(ProposedFnr(), 1511);
}

TEST_F(Precedence, OnlyTheValueOneSwitchesATestOn) {
  Switches(2, 2, -1, 2);
  EXPECT_EQ(ProposedFnr(), 0);
}

TEST_F(Precedence, OnlySwitchSetTwoCounts) {
  Switches(1, 1, 1, 1, 1);
  Switches(1, 1, 1, 1, 3);
  EXPECT_EQ(ProposedFnr(), 0);
}

TEST_F(Precedence, PassingTestsKeepTheWindowVerdict) {
  db_.Exec("DELETE FROM plexor.Kvt730Bdp WHERE BdpEso = 'ESO02'");
  db_.Exec("DELETE FROM plexor.Kvt717Qea");
  db_.Exec("UPDATE plexor.Kvt712Pgz SET PgzAzk = 24, PgzRzk = 0");
  db_.Exec("UPDATE plexor.Kvt720Bss SET BssBis = 1080");  // target 08:00-18:00
  Switches(1, 1, 1, 1);
  EXPECT_EQ(ProposedFnr(), 1501);
}

// --- The typical request -------------------------------------------------------

TEST_F(Eligibility, TypicalRequestProposesTheFirstPersonWithARestConflict) {
  // Location level: no surplus of the short slot's type, a surplus slot of
  // another type at the same location with three movable persons.
  opl_ = 2;
  source_.esa = "ESA02";
  source_.von = 480;
  source_.bis = 960;
  person_.rzk = 11;
  Build();
  Switches(0, 0, 1, 0);
  ts::InsertLimits(db_, {.esa = "ESA02", .azk = 10, .rzk = 11});
  Neighbour(-1, 1320, 80);  // ends 01:20, 400 minutes before 08:00
  for (int rnd = 2; rnd <= 3; ++rnd) {
    const std::string pnr = "P000000" + std::to_string(rnd);
    InsertPerson(pnr, person_, "ESO01", "ESA02");
    Assignment other;
    other.pnr = pnr;
    other.date = day_;
    other.eso = "ESO01";
    other.esa = "ESA02";
    other.bsz = "S";
    other.szv = 480;
    other.szb = 960;
    other.rnd = rnd;
    InsertAssignment(db_, other);
  }
  EXPECT_EQ(ProposedFnr(), 1531);
  const auto rows =
      db_.Query(std::string("SELECT BdkSta, BdkKey, BdkEso, BdkEsa, BdkSzv, BdkOso, BdkOsa, "
                            "BdkOsv, BdkOsb, BdkErf FROM plexor.Kvt735Bdk WHERE BdkPnr = '") +
                kPnr + "'");
  ASSERT_EQ(rows.size(), 1u);
  const ts::Row& r = rows[0];
  EXPECT_EQ(r[0], "9");
  ASSERT_TRUE(r[1].has_value());
  EXPECT_EQ(r[1]->rfind("OPTVS", 0), 0u) << *r[1];
  EXPECT_EQ(r[2], "ESO01");
  EXPECT_EQ(r[3], "ESA02");
  EXPECT_EQ(r[4], "480");
  EXPECT_EQ(r[5], "ESO01");
  EXPECT_EQ(r[6], "ESA01");
  EXPECT_EQ(r[7], "480");
  EXPECT_EQ(r[8], "960");
  EXPECT_EQ(r[9], "OPTIMIERUNG");
}

}  // namespace
