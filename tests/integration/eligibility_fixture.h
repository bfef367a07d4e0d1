// The fixture of the eligibility tests: the verdict of the eligibility checks
// as the move proposal carries it in BdkFnr, through runs of plexor on small
// databases: one plan group, one short slot (the target) and one surplus slot
// on the same day, a person assigned to the surplus slot, and whatever the
// test adds around them.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/roster_builder.h"
#include "support/test_db.h"

namespace elig {

inline constexpr const char* kPnr = "P0000001";

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

inline void InsertAssignment(ts::TestDb& db, const Assignment& a) {
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
inline ts::ModelValues DayModel() {
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

}  // namespace elig
