// Error rows of a run: which slots become which error, what a row holds, the
// three scopes of clearing earlier rows, and failures that are logged while
// the run goes on.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "db/statement.h"
#include "errlog/error_log.h"
#include "errlog/staffing_error_scan.h"
#include "support/roster_builder.h"
#include "support/test_db.h"

namespace {

using ts::Cell;

class ErrorLogRun : public ::testing::Test {
 protected:
  void SetUp() override {
    day_ = ts::DaysFromToday(2);
    begin_ = ts::DaysFromToday(1);
    end_ = ts::DaysFromToday(4);
    ts::InsertCalendar(db_, ts::DaysFromToday(-3), ts::DaysFromToday(40));
  }

  void PlanGroup(const std::string& code) {
    ts::PlanGroupValues row_values;
    row_values.code = code;
    ts::InsertPlanGroup(db_, row_values);
  }

  // A slot of `day_` starting at `szv`.
  void Slot(int szv, int sol, int min, int max, int ist, int htg = 0, int htv = 0, int htn = 0,
            const std::string& eso = "ESO01", const std::string& esa = "ESA01",
            const std::string& plg = "00001") {
    ts::BsmValues bsm;
    bsm.plg = plg;
    bsm.date = day_;
    bsm.eso = eso;
    bsm.esa = esa;
    bsm.szv = szv;
    bsm.szb = szv + 60;
    bsm.sol = sol;
    bsm.min = min;
    bsm.max = max;
    bsm.ist = ist;
    bsm.htg = htg;
    bsm.htv = htv;
    bsm.htn = htn;
    ts::InsertBsm(db_, bsm);
  }

  ts::PlexorRun Run(const std::string& plan_group = "00000", const std::string& location = "00000",
                    const std::string& type = "00000") {
    ts::RunArgs args;
    args.begin = begin_;
    args.end = end_;
    args.plan_group = plan_group;
    args.location = location;
    args.type = type;
    return db_.Run(args.list());
  }

  // ErrZtv -> ErrFnr of the plan group's rows written by the run.
  std::map<int, int> ErrorsBySlot(const std::string& plg = "00001") {
    std::map<int, int> out;
    for (const ts::Row& r :
         db_.Query("SELECT ErrZtv, ErrFnr FROM plexor.Kvt746Err WHERE ErrErf = 'tester' AND "
                   "ErrPlg = '" +
                   plg + "'")) {
      out[std::stoi(r[0].value_or("-1"))] = std::stoi(r[1].value_or("-1"));
    }
    return out;
  }

  long Count(const std::string& where) {
    return db_.ScalarInt("SELECT COUNT(*) FROM plexor.Kvt746Err WHERE " + where);
  }

  ts::TestDb db_;
  std::string day_;
  std::string begin_;
  std::string end_;
};

TEST_F(ErrorLogRun, EverySlotOffTargetGetsItsErrorNumber) {
  PlanGroup("00001");
  Slot(0, 0, 0, 0, 0);            // nobody needed, nobody there
  Slot(10, 2, 1, 3, 2);           // on target
  Slot(20, 0, 0, 3, 2);           // 1604: no target, within maximum
  Slot(30, 0, 0, 1, 2);           // 1605
  Slot(40, 3, 1, 3, 2, 0, 1, 2);  // E = 1 = minimum: 1603
  Slot(50, 3, 2, 3, 2, 0, 1, 2);  // E = 1 < minimum: 1602
  Slot(60, 2, 1, 3, 3, 3);        // E = 0: 1601
  Slot(70, 2, 0, 3, 1, 2);        // E = -1, minimum 0: 1602
  Slot(80, 2, -1, 3, 1, 2);       // E = -1, minimum -1: 1603
  Slot(90, 1, 1, 2, 2);           // E = maximum: 1604
  Slot(100, 1, 0, 0, 0);          // 1601 although the minimum is met
  ts::PlexorRun run = Run();
  EXPECT_EQ(run.log.find("-Fehler"), std::string::npos) << run.log;
  const std::map<int, int> expected{{20, 1604}, {30, 1605}, {40, 1603}, {50, 1602}, {60, 1601},
                                    {70, 1602}, {80, 1603}, {90, 1604}, {100, 1601}};
  EXPECT_EQ(ErrorsBySlot(), expected);
}

TEST_F(ErrorLogRun, ErrorRowCarriesTheSlotAndTheRun) {
  PlanGroup("00001");
  Slot(360, 2, 1, 2, 1, 0, 0, 0, "ESO07", "ESA03");
  Slot(300, 2, 1, 2, 0, 0, 0, 0, "ESO07", "ESA03");
  ts::RunArgs args;
  args.user = "x'y";
  args.begin = begin_;
  args.end = end_;
  args.job1 = "JOB'1";
  args.job2 = "'; DROP TABLE plexor.Kvt701Plg --";
  ts::PlexorRun run = db_.Run(args.list());
  EXPECT_EQ(run.log.find("-Fehler"), std::string::npos) << run.log;
  auto rows = db_.Query(
      "SELECT ErrPlg, ErrKng, ErrLfn, ErrPnr, ErrEso, ErrEsa, ErrKnz, convert(char(8), ErrBdt, "
      "112), ErrZtv, ErrZtb, ErrFnr, ErrErf, ErrJbd, ErrJbk, ErrDat FROM plexor.Kvt746Err ORDER "
      "BY ErrLfn");
  ASSERT_EQ(rows.size(), 2u);
  // In slot order: the 05:00 slot first.
  const ts::Row first{"00001", "PLANO", "1",   "",     "ESO07", "ESA03", "F",
                      day_,    "300",   "360", "1601", "x'y",   "JOB'1", args.job2.substr(0, 32)};
  EXPECT_EQ(ts::Row(rows[0].begin(), rows[0].end() - 1), first);
  EXPECT_TRUE(rows[0][14].has_value());
  EXPECT_EQ(rows[1][2], Cell("2"));
  EXPECT_EQ(rows[1][8], Cell("360"));
  EXPECT_EQ(rows[1][10], Cell("1603"));
  // The quoted texts changed no statement.
  EXPECT_EQ(db_.ScalarInt("SELECT COUNT(*) FROM plexor.Kvt701Plg"), 1);
}

TEST_F(ErrorLogRun, SlotsOutsideThePeriodOrOfOtherGroupsAreNotScanned) {
  PlanGroup("00001");
  PlanGroup("00002");
  Slot(10, 1, 1, 1, 0);
  Slot(20, 1, 1, 1, 0, 0, 0, 0, "ESO01", "ESA01", "00002");
  ts::BsmValues late;
  late.date = ts::AddDays(end_, 1);
  late.ist = 0;
  ts::InsertBsm(db_, late);
  ts::BsmValues today;
  today.date = ts::DaysFromToday(0);
  today.ist = 0;
  ts::InsertBsm(db_, today);
  ts::PlexorRun run = Run("00001");
  EXPECT_EQ(run.log.find("-Fehler"), std::string::npos) << run.log;
  EXPECT_EQ(ErrorsBySlot("00001"), (std::map<int, int>{{10, 1601}}));
  EXPECT_EQ(Count("ErrPlg = '00002'"), 0);
}

TEST_F(ErrorLogRun, PeriodWithoutSlotsWritesNothingAndLogsNothing) {
  PlanGroup("00001");
  ts::PlexorRun run = Run();
  EXPECT_EQ(ts::LogMessages(run.log).size(), 2u) << run.log;
  EXPECT_EQ(Count("1 = 1"), 0);
}

// Earlier rows: `erf` tells them apart afterwards.
void OldRow(ts::TestDb& db, const std::string& erf, std::optional<std::string> bdt,
            const std::string& kng = "PLANO", const std::string& eso = "ESO01",
            const std::string& esa = "ESA01", const std::string& plg = "00001") {
  ts::ErrValues e;
  e.erf = erf;
  e.bdt = bdt;
  e.kng = kng;
  e.eso = eso;
  e.esa = esa;
  e.plg = plg;
  ts::InsertError(db, e);
}

class ErrorDeleteScope : public ErrorLogRun {
 protected:
  void SetUp() override {
    ErrorLogRun::SetUp();
    PlanGroup("00001");
    PlanGroup("00002");
    OldRow(db_, "in_period", begin_);
    OldRow(db_, "period_end", end_);
    OldRow(db_, "no_date", std::nullopt);
    OldRow(db_, "yesterday", ts::DaysFromToday(-1));
    OldRow(db_, "after_end", ts::AddDays(end_, 1));
    OldRow(db_, "other_kind", begin_, "MANU");
    OldRow(db_, "other_location", begin_, "PLANO", "ESO02");
    OldRow(db_, "other_type", begin_, "PLANO", "ESO01", "ESA02");
    OldRow(db_, "other_group", begin_, "PLANO", "ESO01", "ESA01", "00003");
  }

  std::string Remaining() {
    std::string out;
    for (const ts::Row& r : db_.Query("SELECT ErrErf FROM plexor.Kvt746Err WHERE ErrErf <> "
                                      "'tester' ORDER BY ErrErf")) {
      out += r[0].value_or("?") + " ";
    }
    return out;
  }
};

TEST_F(ErrorDeleteScope, WholePlanGroup) {
  ts::PlexorRun run = Run("00001");
  EXPECT_EQ(run.log.find("-Fehler"), std::string::npos) << run.log;
  EXPECT_EQ(Remaining(), "after_end other_group other_kind ");
}

TEST_F(ErrorDeleteScope, OneLocationAlsoInARunOverAllPlanGroups) {
  ts::PlexorRun run = Run("00000", "ESO01");
  EXPECT_EQ(run.log.find("-Fehler"), std::string::npos) << run.log;
  EXPECT_EQ(Remaining(), "after_end other_group other_kind other_location ");
}

TEST_F(ErrorDeleteScope, OneLocationAndType) {
  ts::PlexorRun run = Run("00001", "ESO01", "ESA01");
  EXPECT_EQ(run.log.find("-Fehler"), std::string::npos) << run.log;
  EXPECT_EQ(Remaining(), "after_end other_group other_kind other_location other_type ");
}

TEST_F(ErrorLogRun, LocationOnTheCommandLineLimitsTheScanOfEveryPlanGroup) {
  PlanGroup("00001");
  PlanGroup("00002");
  for (const char* plg : {"00001", "00002"}) {
    Slot(10, 1, 1, 1, 0, 0, 0, 0, "ESO01", "ESA01", plg);
    Slot(20, 1, 1, 1, 0, 0, 0, 0, "ESO01", "ESA02", plg);
    Slot(30, 1, 1, 1, 0, 0, 0, 0, "ESO02", "ESA01", plg);
  }
  ts::PlexorRun run = Run("00000", "ESO01");
  EXPECT_EQ(run.log.find("-Fehler"), std::string::npos) << run.log;
  const std::map<int, int> expected{{10, 1601}, {20, 1601}};
  EXPECT_EQ(ErrorsBySlot("00001"), expected);
  EXPECT_EQ(ErrorsBySlot("00002"), expected);
  // Both plan groups were swept and released.
  EXPECT_EQ(db_.ScalarInt("SELECT COUNT(*) FROM plexor.Kvt701Plg WHERE PlgUsr = ''"), 2);

  // Location and type on the command line.
  db_.Exec("DELETE FROM plexor.Kvt746Err");
  run = Run("00001", "ESO01", "ESA02");
  EXPECT_EQ(ErrorsBySlot("00001"), (std::map<int, int>{{20, 1601}}));
}

TEST_F(ErrorLogRun, FailingErrorTableIsLoggedAndTheRunGoesOn) {
  PlanGroup("00001");
  Slot(10, 1, 1, 1, 0);
  Slot(20, 1, 1, 1, 2);
  db_.Exec("DROP TABLE plexor.Kvt746Err");
  ts::PlexorRun run = Run("00001");
  EXPECT_EQ(run.exit_code, 0);
  std::vector<std::string> lines = ts::LogMessages(run.log);
  ASSERT_EQ(lines.size(), 5u) << run.log;
  // 208: the table does not exist.
  EXPECT_EQ(lines[1], "-Fehler: ErrLog_Loeschen->Err_Delete() RC: 208!");
  EXPECT_EQ(lines[2], "-Fehler: Err_Write->Err_Insert() RC: 208!");
  EXPECT_EQ(lines[3], lines[2]);
  EXPECT_EQ(lines[4], "*** Programmende Plexor ***");
  // The plan group was still released.
  EXPECT_EQ(db_.Scalar("SELECT PlgUsr FROM plexor.Kvt701Plg"), Cell(""));
}

TEST_F(ErrorLogRun, FailingStaffingScanIsLoggedPerScope) {
  PlanGroup("00001");
  db_.Exec("DROP TABLE plexor.Kvt725Bsm");
  const std::string period = " VON: " + begin_ + " BIS: " + end_;
  struct Case {
    std::string location, type, line;
  };
  const Case cases[] = {
      {"00000", "00000",
       "-Fehler: BsmError_Work->Bsm_PlgVonBis_Read() RC: -1! PLG: 00001" + period},
      {"ESO01", "00000",
       "-Fehler: BsmError_Work->Bsm_EsoVonBis_Read() RC: -1! PLG: 00001 ESO: ESO01" + period},
      {"ESO01", "ESA01",
       "-Fehler: BsmError_Work->Bsm_EsaVonBis_Read() RC: -1! PLG: 00001 ESO: ESO01 ESA: ESA01" +
           period},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const std::size_t before = ts::LogMessages(db_.LogText()).size();
    ts::PlexorRun run = Run("00001", c.location, c.type);
    std::vector<std::string> lines = ts::LogMessages(run.log);
    lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(before));
    EXPECT_NE(std::find(lines.begin(), lines.end(), c.line), lines.end()) << run.log;
    EXPECT_EQ(lines.back(), "*** Programmende Plexor ***");
  }
}

// The running number, written through the job's own routines.
TEST(ErrorNumbering, WrapsAfter9999) {
  ts::TestDb db;
  ASSERT_TRUE(ts::ConnectJob(db));
  RunContext ctx;
  ctx.user.set("tester");
  ErrSatz err;
  Fill_ErrSatz("00001", err, ctx);
  err.ErrLfn = 9997;
  BsmRow row;
  row.BsmBdt.set("20261208");
  for (int i = 0; i < 3; ++i) Err_Write(row, 1601, err);
  EXPECT_EQ(db.ScalarInt("SELECT COUNT(*) FROM plexor.Kvt746Err"), 3);
  EXPECT_EQ(db.ScalarInt("SELECT COUNT(*) FROM plexor.Kvt746Err WHERE ErrLfn IN (9998, 9999, 1)"),
            3);
  EXPECT_EQ(err.ErrLfn, 1);
  EXPECT_EQ(db.Scalar("SELECT convert(char(8), MIN(ErrBdt), 112) FROM plexor.Kvt746Err"),
            Cell("20261208"));
}

// A staffing matrix without BsmOva and BsmOve: the first open of a scan finds
// out, repeats in the short form within the same call, and every later open
// uses the short form; the reads leave the two fields as the caller had them.
TEST(ScanWithoutProposalColumns, OpenFallsBackAndReadsKeepTheMissingFields) {
  ts::TestDb db(false);
  ASSERT_TRUE(ts::ConnectJob(db));
  ts::BsmValues bsm;
  bsm.plg = "00001";
  bsm.date = "20261208";
  bsm.eso = "ESO01";
  bsm.esa = "ESA01";
  bsm.sol = 2;
  bsm.ist = 1;
  bsm.with_optional = false;
  ts::InsertBsm(db, bsm);

  BsmRow row;
  row.BsmOva = 7;
  row.BsmOve = 8;
  ASSERT_EQ(Bsm_EsaVonBis_Open("00001", "ESO01", "ESA01", "20261201", "20261231"), 0);
  EXPECT_FALSE(db::BsmOptionalColumns().present);
  ASSERT_EQ(Bsm_EsaVonBis_Read(row), 0);
  EXPECT_EQ(row.BsmBdt, "20261208");
  EXPECT_EQ(row.BsmSol, 2);
  EXPECT_EQ(row.BsmOva, 7);
  EXPECT_EQ(row.BsmOve, 8);
  EXPECT_EQ(Bsm_EsaVonBis_Read(row), 100);
  EXPECT_EQ(Bsm_EsaVonBis_Close(), 0);
  EXPECT_EQ(Bsm_EsaVonBis_Read(row), -1);

  ASSERT_EQ(Bsm_PlgVonBis_Open("00001", "20261201", "20261231"), 0);
  ASSERT_EQ(Bsm_PlgVonBis_Read(row), 0);
  EXPECT_EQ(row.BsmEso, "ESO01");
  Bsm_PlgVonBis_Close();
}

}  // namespace
