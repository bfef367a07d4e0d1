// Test data for the sweep, proposal and recount tests: complete persons
// (rule, limits, day plan), assignments, slot definitions, proposals, and a
// recount of the staffing matrix done by the test itself.
#pragma once

#include <string>
#include <vector>

#include "support/roster_builder.h"
#include "support/test_db.h"

namespace mv {

// The base calendar from `from` to `to`, the day types of calendar "001" on
// those days ("W") and working-time model 1 (360-840 / 0-0).
void AddDays(ts::TestDb& db, const std::string& from, const std::string& to);

struct Person {
  std::string pnr;
  std::string plg = "00001";
  std::string eso = "ESO01";  // home location and type of the rule
  std::string esa = "ESA01";
  int awp = 0;  // PbvAwp: 1 strict rest rule, 3 never moved
  int zrm = 0;  // PbvZrm: 0 no working window (0-0)
  int azk = 24;
  int rzk = 11;
};
// Rule valid from a year before `date`, its limits, and a day plan on `date`.
void AddPerson(ts::TestDb& db, const Person& p, const std::string& date);

struct Assignment {
  std::string pnr;
  std::string date;
  std::string plg = "00001";
  std::string eso = "ESO01";
  std::string esa = "ESA01";
  std::string bsz = "F";
  int szv = 360;
  int szb = 840;
  int asw = 1;
  std::string sts = " ";
  int sta = 0;
  int akt = 0;
  int rnd = 1;
  std::string fc1 = "   ";
  std::string fc2 = "   ";
  std::string fc3 = "   ";
  int ztv = 360;
  int ztb = 840;
  int azt = 0;
  double kos = 0.0;
};
void AddAssignment(ts::TestDb& db, const Assignment& a);

// The deviation figure of a slot, worked out independently of the job.
int Figure(int sol, int min, int max, int ist, int htg = 0, int htv = 0, int htn = 0, int ove = 0,
           int ova = 0);

// A staffing slot whose BsmFkt follows from its figures (no marks, no
// proposals), with its Kvt720Bss definition (shared by the slots of all days).
ts::BsmValues Slot(const std::string& date, const std::string& eso, const std::string& esa, int szv,
                   int szb, int sol, int min, int max, int ist);
void AddSlot(ts::TestDb& db, const ts::BsmValues& s, bool with_definition = true);

struct Proposal {
  std::string key;
  std::string pnr;
  std::string date;
  std::string eso = "ESO01";
  std::string esa = "ESA01";
  int szv = 360;
  int asw = 1;
  std::string oso = "ESO01";
  std::string osa = "ESA02";
  int osv = 360;
  int osw = 1;
  int sta = 9;
  std::string erf = "OPTIMIERUNG";
};
void AddProposal(ts::TestDb& db, const Proposal& p);

// One proposal as stored, with the columns that tests look at.
struct StoredProposal {
  std::string key, pnr, date, eso, esa, bsz, ttp, oso, osa, osz, plg, sts, erf, zvo, zbi;
  long szv, szb, asw, osv, osb, osw, fnr, sta, lfd, akt;
};
std::vector<StoredProposal> Proposals(ts::TestDb& db, const std::string& where = "1 = 1");

// One stored staffing row's figures.
struct StoredSlot {
  std::string plg, eso, esa, date;
  long szv, szb, asw, sol, min, max, ist, htg, htv, htn, kor, fkt, ova, ove;
  double kos, ko2;
  bool recounted;  // BsmDat set
};
std::vector<StoredSlot> Slots(ts::TestDb& db, bool with_optional = true);
StoredSlot SlotAt(ts::TestDb& db, const std::string& eso, const std::string& esa,
                  const std::string& date, int szv, bool with_optional = true);

// The counts of a slot as the job should recount them from the assignments
// and open proposals in the database.
struct Recount {
  long ist = 0, htg = 0, htv = 0, htn = 0, kor = 0, ova = 0, ove = 0;
};
Recount RecountSlot(ts::TestDb& db, const StoredSlot& s);

// The run log's messages without time stamps.
std::vector<std::string> Messages(const ts::PlexorRun& run);

// Arguments of a run over one plan group for the period.
ts::RunArgs Args(const std::string& begin, const std::string& end,
                 const std::string& plan_group = "00001", const std::string& location = "00000",
                 const std::string& type = "00000");

}  // namespace mv
