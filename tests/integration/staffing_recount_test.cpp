// The recount of staffing-matrix rows from assignments and open proposals,
// the deviation figure it stores, and the short statement forms for a table
// without the proposal-count columns.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "db/statement.h"
#include "in_process.h"
#include "move_roster.h"
#include "optimise/staffing_update.h"
#include "support/roster_builder.h"
#include "support/test_db.h"

namespace {

using mv::Assignment;

// The row as the sweep would have read it.
BsmRow RowOf(const ts::BsmValues& s) {
  BsmRow r;
  r.BsmBdt.set(s.date);
  r.BsmEso.set(s.eso);
  r.BsmEsa.set(s.esa);
  r.BsmSzv = s.szv;
  r.BsmSzb = s.szb;
  r.BsmBsz.set(s.bsz);
  r.BsmTtp.set(s.ttp);
  r.BsmSol = s.sol;
  r.BsmMin = s.min;
  r.BsmMax = s.max;
  r.BsmIst = s.ist;
  r.BsmPlg.set(s.plg);
  r.BsmFkt = s.fkt;
  r.BsmAsw = s.asw;
  r.BsmOva = s.ova;
  r.BsmOve = s.ove;
  r.BsmErf.set("builder");
  return r;
}

class Recount : public mv::InProcess {
 protected:
  explicit Recount(bool optional_columns = true) : mv::InProcess(optional_columns) {}
  ts::BsmValues Slot(int szv, int sol = 3, int min = 2, int max = 4, int ist = 0) {
    ts::BsmValues s = mv::Slot(d1_, "ESO01", "ESA01", szv, szv + 60, sol, min, max, ist);
    s.with_optional = with_optional_;
    ts::InsertBsm(db_, s);
    return s;
  }
  void Assign(const ts::BsmValues& s, int n, const std::string& sts = " ") {
    for (int i = 0; i < n; ++i) {
      Assignment a;
      a.pnr = "P" + std::to_string(next_++);
      a.date = d1_;
      a.szv = s.szv;
      a.szb = s.szb;
      a.ztv = s.szv;
      a.ztb = s.szb;
      a.asw = s.asw;
      a.sts = sts;
      mv::AddAssignment(db_, a);
    }
  }
  mv::StoredSlot Stored(const ts::BsmValues& s) {
    return mv::SlotAt(db_, s.eso, s.esa, s.date, s.szv, with_optional_);
  }
  mv::Proposal Leaving(const ts::BsmValues& s, const std::string& key) {
    mv::Proposal p;
    p.key = key;
    p.pnr = key;
    p.date = d1_;
    p.eso = s.eso;
    p.esa = s.esa;
    p.szv = s.szv;
    p.asw = s.asw;
    p.oso = "ESO09";
    return p;
  }
  mv::Proposal Joining(const ts::BsmValues& s, const std::string& key) {
    mv::Proposal p;
    p.key = key;
    p.pnr = key;
    p.date = d1_;
    p.eso = "ESO09";
    p.oso = s.eso;
    p.osa = s.esa;
    p.osv = s.szv;
    p.osw = s.asw;
    return p;
  }

  const std::string d1_ = ts::DaysFromToday(1);
  bool with_optional_ = true;
  int next_ = 1;
};

TEST_F(Recount, FigureFollowsTheLiveAssignments) {
  // Targets 3 / 2 / 4 against 0 to 5 assignments.
  const int expected[] = {-166, -133, -25, 0, 90, 190};
  for (int n = 0; n <= 5; ++n) {
    const ts::BsmValues s = Slot(60 * n);
    Assign(s, n);
    BsmRow row = RowOf(s);
    Update_BsmSatz(row);
    const mv::StoredSlot got = Stored(s);
    EXPECT_EQ(got.ist, n);
    EXPECT_EQ(got.fkt, expected[n]) << n << " assignments";
    EXPECT_TRUE(got.recounted);
    EXPECT_EQ(row.BsmFkt, expected[n]);
  }
  EXPECT_TRUE(Log().empty());
}

TEST_F(Recount, CountsByStatusMarkAndCost) {
  const ts::BsmValues s = Slot(360);
  Assign(s, 1, " ");
  Assign(s, 1, "U");
  Assign(s, 1, "M");
  Assign(s, 1, "O");
  Assign(s, 1, "D");
  const auto marked = [&](const std::string& pnr, auto change) {
    Assignment a;
    a.pnr = pnr;
    a.date = d1_;
    a.szv = 360;
    a.szb = 420;
    a.ztv = 360;
    a.ztb = 420;
    change(a);
    mv::AddAssignment(db_, a);
  };
  marked("G1", [](Assignment& a) {
    a.fc1 = "X";
    a.kos = 100.0;
  });
  marked("V1", [](Assignment& a) { a.fc2 = "X"; });
  marked("V2", [](Assignment& a) { a.fc2 = "Y"; });
  marked("N1", [](Assignment& a) { a.fc3 = "X"; });
  marked("N2", [](Assignment& a) {
    a.fc3 = "X";
    a.sts = "D";
  });  // not live
  marked("K1", [](Assignment& a) {
    a.kos = 12.5;
    a.ztv = 300;
  });  // other times
  marked("K2", [](Assignment& a) {
    a.kos = 0.25;
    a.sts = "M";
  });
  marked("K3", [](Assignment& a) {
    a.kos = 7.0;
    a.sts = "O";
  });
  BsmRow row = RowOf(s);
  Update_BsmSatz(row);
  const mv::StoredSlot got = Stored(s);
  EXPECT_EQ(got.ist, 9);  // every status but 'O' and 'D'
  EXPECT_EQ(got.kor, 3);  // 'U' and 'M'
  EXPECT_EQ(got.htg, 1);
  EXPECT_EQ(got.htv, 2);
  EXPECT_EQ(got.htn, 1);
  EXPECT_DOUBLE_EQ(got.kos, 12.75);               // live and unmarked
  EXPECT_DOUBLE_EQ(got.ko2, 100.0 + 12.5 + 7.0);  // neither 'D' nor 'M'
  // eff = 9 - 1 - min(2, 1) + 1 = 8 above the maximum.
  EXPECT_EQ(got.fkt, 190);
  const mv::Recount own = mv::RecountSlot(db_, got);
  EXPECT_EQ(own.ist, got.ist);
  EXPECT_EQ(own.kor, got.kor);
}

TEST_F(Recount, SlotWhoseAssignmentsAreAllGoneCountsZero) {
  const ts::BsmValues gone = Slot(360, 1, 1, 1, 4);
  Assign(gone, 2, "O");
  Assign(gone, 2, "D");
  const ts::BsmValues empty = Slot(600, 1, 1, 1, 4);
  for (const ts::BsmValues& s : {gone, empty}) {
    BsmRow row = RowOf(s);
    Update_BsmSatz(row);
    const mv::StoredSlot got = Stored(s);
    EXPECT_EQ(got.ist, 0);
    EXPECT_EQ(got.fkt, mv::Figure(1, 1, 1, 0));
    EXPECT_TRUE(got.recounted);
  }
}

TEST_F(Recount, OpenProposalsCountForBothSlots) {
  const ts::BsmValues s = Slot(360);
  Assign(s, 5);
  mv::AddProposal(db_, Leaving(s, "L1"));
  mv::AddProposal(db_, Leaving(s, "L2"));
  mv::Proposal other_origin = Leaving(s, "L3");  // leaving counts only the job's own
  other_origin.erf = "PLANER";
  mv::AddProposal(db_, other_origin);
  mv::Proposal closed = Leaving(s, "L4");
  closed.sta = 1;
  mv::AddProposal(db_, closed);
  mv::Proposal joining = Joining(s, "J1");  // joining counts every origin
  joining.erf = "PLANER";
  mv::AddProposal(db_, joining);
  mv::Proposal other_type = Joining(s, "J2");
  other_type.osw = 2;
  mv::AddProposal(db_, other_type);
  BsmRow row = RowOf(s);
  Update_BsmSatz(row);
  const mv::StoredSlot got = Stored(s);
  EXPECT_EQ(got.ova, 2);
  EXPECT_EQ(got.ove, 1);
  // eff = 5 + 1 - 2 + 1 = 5 = max + 1.
  EXPECT_EQ(got.fkt, 90);
  const mv::Recount own = mv::RecountSlot(db_, got);
  EXPECT_EQ(own.ova, got.ova);
  EXPECT_EQ(own.ove, got.ove);
}

TEST_F(Recount, AssignmentTypesThreeAndFourKeepTheirFigureAndProposalCounts) {
  for (int asw : {3, 4}) {
    ts::BsmValues s = mv::Slot(d1_, "ESO01", "ESA01", 300 + asw, 400, 3, 2, 4, 1);
    s.asw = asw;
    s.fkt = -77;
    s.ova = 5;
    s.ove = 6;
    ts::InsertBsm(db_, s);
    Assign(s, 3);
    mv::AddProposal(db_, Leaving(s, "L" + std::to_string(asw)));
    BsmRow row = RowOf(s);
    Update_BsmSatz(row);
    const mv::StoredSlot got = Stored(s);
    EXPECT_EQ(got.ist, 3);
    EXPECT_EQ(got.fkt, -77);
    EXPECT_EQ(got.ova, 5);
    EXPECT_EQ(got.ove, 6);
    EXPECT_TRUE(got.recounted);
  }
}

TEST_F(Recount, FailedRecountLeavesTheStoredRowAlone) {
  const ts::BsmValues s = Slot(360, 3, 2, 4, 3);
  Assign(s, 3);
  db_.Exec("DROP TABLE plexor.Kvt730Bdp");
  BsmRow row = RowOf(s);
  Update_BsmSatz(row);
  const mv::StoredSlot got = Stored(s);
  EXPECT_EQ(got.ist, 3);
  EXPECT_EQ(got.fkt, s.fkt);
  EXPECT_FALSE(got.recounted);
  EXPECT_EQ(Log(), (std::vector<std::string>{
                       "-Fehler: Update_BsmSatz()->Bsm_Ist_Ermitteln() RC: 208! PLG: 00001 ESO: "
                       "ESO01 ESA: ESA01 UHRVON: 360 DAT: " +
                       d1_}));
}

TEST_F(Recount, FailedProposalCountKeepsTheCountsAsRead) {
  const ts::BsmValues s = Slot(360);
  Assign(s, 3);
  db_.Exec("DROP TABLE plexor.Kvt735Bdk");
  BsmRow row = RowOf(s);
  row.BsmOva = 1;
  Update_BsmSatz(row);
  const mv::StoredSlot got = Stored(s);
  EXPECT_EQ(got.ist, 3);
  EXPECT_EQ(got.ova, 1);
  EXPECT_EQ(got.fkt, mv::Figure(3, 2, 4, 3, 0, 0, 0, 0, 1));
  EXPECT_EQ(Log(), (std::vector<std::string>{
                       "-Fehler: checkOptimierungsVorschlaege()->Count_OptVorschlaege() RC: 208! "
                       "PLG: 00001 ESO: ESO01 ESA: ESA01 UHRVON: 360 DAT: " +
                       d1_}));
}

TEST_F(Recount, RowThatIsNotStoredIsReportedWith100) {
  ts::BsmValues s = mv::Slot(d1_, "ESO01", "ESA01", 360, 420, 1, 1, 1, 0);
  BsmRow row = RowOf(s);
  Update_BsmSatz(row);
  EXPECT_EQ(Log(), (std::vector<std::string>{
                       "-Fehler: Update_BsmSatz()->Bsm_PKeyUpd() RC: 100! PLG: 00001 ESO: ESO01 "
                       "ESA: ESA01 UHRVON: 360 DAT: " +
                       d1_}));
}

TEST_F(Recount, CarriedColumnsAreWrittenBackAsRead) {
  const ts::BsmValues s = Slot(360);
  BsmRow row = RowOf(s);
  row.BsmKng = 4;
  row.BsmSta = 5;
  row.BsmId1 = 11;
  row.BsmId8 = 18;
  row.BsmErf.set("O'Neil");
  row.BsmJhr = 2031;
  Update_BsmSatz(row);
  const std::vector<ts::Row> got = db_.Query(
      "SELECT BsmKng, BsmSta, BsmId1, BsmId8, BsmErf, BsmJhr, BsmBsz FROM plexor.Kvt725Bsm");
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0], (ts::Row{"4", "5", "11", "18", "O'Neil", "2031", s.bsz}));
}

// ---- a staffing matrix without BsmOva and BsmOve ----

class RecountWithoutProposalColumns : public Recount {
 protected:
  RecountWithoutProposalColumns() : Recount(false) { with_optional_ = false; }
};

TEST_F(RecountWithoutProposalColumns, ShortFormStoresTheCountsAndFigure) {
  const ts::BsmValues s = Slot(360);
  Assign(s, 4);
  mv::AddProposal(db_, Leaving(s, "L1"));
  BsmRow row = RowOf(s);
  Update_BsmSatz(row);
  EXPECT_FALSE(db::BsmOptionalColumns().present);
  const mv::StoredSlot got = Stored(s);
  EXPECT_EQ(got.ist, 4);
  // The open proposal still enters the figure: eff = 4 - 1 + 1 = 4 = sol.
  EXPECT_EQ(got.fkt, 0);
  EXPECT_TRUE(Log().empty());
}

// A whole run on a database whose plan groups have their level but whose
// staffing matrix lacks the proposal-count columns.
TEST(SweepWithoutProposalColumns, ProposesAndRecountsInTheShortForm) {
  ts::TestDb db(false);
  db.Exec("DROP TABLE plexor.Kvt701Plg");
  db.Exec(
      "CREATE TABLE plexor.Kvt701Plg (PlgPlg varchar(5) NOT NULL, PlgTxt varchar(50) NULL, "
      "PlgKal varchar(3) NULL, PlgHzt int NULL, PlgSta int NULL, PlgDat datetime NULL, PlgErf "
      "varchar(50) NULL, PlgPdt datetime NULL, PlgPlr varchar(50) NULL, PlgBeg datetime NULL, "
      "PlgUsr varchar(50) NULL, PlgPgm varchar(10) NULL, PlgFts int NULL, PlgQu1 int NULL, "
      "PlgAr1 int NULL, PlgRu1 int NULL, PlgMe1 int NULL, PlgAm1 int NULL, PlgRe1 int NULL, "
      "PlgQu2 int NULL, PlgAr2 int NULL, PlgRu2 int NULL, PlgMe2 int NULL, PlgAm2 int NULL, "
      "PlgRe2 int NULL, PlgQu3 int NULL, PlgAr3 int NULL, PlgRu3 int NULL, PlgMe3 int NULL, "
      "PlgAm3 int NULL, PlgRe3 int NULL, PlgOpt int NULL, PlgOpl int NULL, PRIMARY KEY "
      "(PlgPlg))");
  const std::string d1 = ts::DaysFromToday(1);
  mv::AddDays(db, d1, ts::AddDays(d1, 1));
  ts::PlanGroupValues g;
  g.opl = 3;
  ts::InsertPlanGroup(db, g);
  ts::BsmValues s = mv::Slot(d1, "ESO01", "ESA01", 360, 840, 2, 2, 2, 0);
  ts::BsmValues u = mv::Slot(d1, "ESO01", "ESA01", 840, 1320, 0, 0, 0, 2);
  s.with_optional = u.with_optional = false;
  mv::AddSlot(db, s);
  mv::AddSlot(db, u);
  for (const char* pnr : {"00000001", "00000002"}) {
    mv::Person p;
    p.pnr = pnr;
    mv::AddPerson(db, p, d1);
    mv::Assignment a;
    a.pnr = pnr;
    a.date = d1;
    a.szv = 840;
    a.szb = 1320;
    mv::AddAssignment(db, a);
  }
  const ts::PlexorRun run = db.Run(mv::Args(d1, d1).list(), 60);
  EXPECT_EQ(mv::Messages(run), (std::vector<std::string>{"*** Programmstart Plexor ***",
                                                         "*** Programmende Plexor ***"}));
  // Both persons go: the recount saw the first proposal without storing it.
  EXPECT_EQ(mv::Proposals(db).size(), 2u);
  EXPECT_EQ(mv::SlotAt(db, "ESO01", "ESA01", d1, 360, false).fkt, 0);
  EXPECT_EQ(mv::SlotAt(db, "ESO01", "ESA01", d1, 840, false).fkt, 0);
}

}  // namespace
