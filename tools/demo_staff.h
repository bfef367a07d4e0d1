// The people and the roster of the demo database: the plan groups with their
// locations, deployment types and slots, the staffing targets, the persons
// with the rules that decide how the job judges a proposed move, and the
// assignments of every day, drawn from a seed.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "civil_date.h"
#include "demo_roster.h"

namespace ctl::demo {

struct Target {
  int sol;
  int min;
  int max;
};

struct SlotDef {
  const char* bsz;
  int von;
  int bis;
  const char* text;
};

inline constexpr SlotDef kSlots[3] = {{"FRU", 360, 840, "Fruehdienst"},
                                      {"SPA", 840, 1320, "Spaetdienst"},
                                      {"NAC", 1320, 360, "Nachtdienst"}};
inline constexpr int kEarly = 0;
inline constexpr int kLate = 1;
inline constexpr int kNight = 2;

struct TypeDef {
  const char* esa;
  Target weekday[3];
  std::vector<std::string> required;  // one of them is needed
  const char* home_qualification;     // what the type's own staff hold
};

inline const std::vector<TypeDef>& Types() {
  static const std::vector<TypeDef> types = {
      {"PFL", {{4, 3, 5}, {3, 2, 4}, {2, 1, 3}}, {"EXPFL", "PFLFA"}, "EXPFL"},
      {"HLF", {{2, 1, 3}, {2, 1, 3}, {1, 1, 2}}, {"PFHLF", "EXPFL"}, "PFHLF"},
      {"OPD", {{3, 2, 4}, {2, 1, 3}, {1, 0, 2}}, {"OPTA"}, "OPTA"},
  };
  return types;
}
inline constexpr int kPfl = 0;
inline constexpr int kHlf = 1;

struct GroupDef {
  const char* plg;
  const char* text;
  int opl;
  const char* kal;
  int hzt;
  std::vector<std::string> esos;
  std::vector<int> types;
};

inline const std::vector<GroupDef>& Groups() {
  static const std::vector<GroupDef> groups = {
      {"00001", "Klinikum Nord, Pflege", 2, "001", 1, {"NST01", "NST02"}, {kPfl, kHlf}},
      {"00002", "Klinikum Sued, Pflege", 1, "002", 2, {"SST01", "SST02", "SST03"}, {kPfl, kHlf}},
      {"00003", "Ambulanz West", 3, "003", 1, {"WAM01", "WOP01"}, {kPfl, kHlf, 2}},
  };
  return groups;
}

inline bool IsWeekend(long day) {
  return IsoWeekday(day) >= 6;
}

inline Target TargetOn(const TypeDef& type, int slot, long day) {
  Target t = type.weekday[slot];
  if (!IsWeekend(day)) return t;
  Target w;
  w.sol = std::max(t.sol - 1, 0);
  w.min = std::min(std::max(t.min - 1, 0), w.sol);
  w.max = std::max(t.max - 1, w.sol);
  return w;
}

inline const char* DayType(long day) {
  return IsWeekend(day) ? "WE" : "AT";
}

// What a person's rules and day plan make of a proposed move.
enum class Profile {
  kFlexible,    // no fixed working window, ordinary rest rule
  kFlexitime,   // flexitime window 06:00-22:00: a second shift breaks the daily maximum
  kStrictRest,  // strict rest rule (and substitute working-time models)
  kDayService,  // window 08:00-21:00: early and late slots reach beyond it
  kEarlyOnly,   // window 06:00-14:00 only
  kLapsed,      // the qualification of the person's own type has lapsed
  kNotMovable,  // assignment rule that keeps the person in place
};

struct Person {
  std::string pnr;
  int group = 0;
  std::string eso;
  int type = 0;
  int slot = 0;
  Profile profile = Profile::kFlexible;
  std::vector<std::string> extra_qualifications;
  bool old_rule = false;  // has an expired assignment rule for another location too
};

struct Pool {
  int group = 0;
  std::string eso;
  int type = 0;
  int slot = 0;
  std::vector<int> persons;  // indexes into the person list
};

// Working-time models: number, core window, flexitime window, validity, in use.
struct Model {
  int num;
  int kev, keb, glv, glb;
  int valid_from_offset;  // days relative to the start day
  int valid_to_offset;    // 0: open
  int sol;
};
inline constexpr Model kModels[] = {
    {1, 0, 0, 0, 0, -365, 0, 1},
    {2, 420, 1200, 360, 1320, -365, 0, 1},
    {3, 480, 1260, 450, 1290, -365, 0, 1},
    {4, 360, 840, 360, 840, -365, 0, 1},
    {5, 840, 1320, 840, 1320, -365, 0, 1},
    {6, 1320, 360, 1320, 360, -365, 0, 1},
    {7, 480, 960, 480, 960, -730, -366, 0},
};

struct PersonRule {
  int model;
  int zrm;
  int awp;
};

inline PersonRule RuleOf(const Person& p) {
  switch (p.profile) {
    case Profile::kFlexible:
      return {1, 1, 2};
    case Profile::kFlexitime:
      return {2, 2, 2};
    case Profile::kStrictRest:
      return {p.slot == kNight ? 6 : 1, 1, 1};
    case Profile::kDayService:
      return {3, 1, 2};
    case Profile::kEarlyOnly:
      return {4, 1, 2};
    case Profile::kLapsed:
      return {1, 1, 2};
    case Profile::kNotMovable:
      return {1, 1, 3};
  }
  return {1, 1, 2};
}

// One assignment of the roster.
struct Assignment {
  int person;
  long day;
  int slot;
  int rnd;
  std::string sts = " ";
  std::string fc1 = "   ";
  int sta = 0;
  double kos = 8.0;
};

inline bool Live(const Assignment& a) {
  return a.sts != "O" && a.sts != "D";
}

// The deviation figure of a slot without open proposals (as the job counts it).
inline int32_t Deviation(int sol_, int min_, int max_, int effective) {
  int32_t sol = sol_ + 1, min = min_ + 1, max = max_ + 1;
  int32_t eff = effective + 1;
  if (eff == sol) return 0;
  if (eff < min) return (eff - min) * 100 / min - 100;
  if (eff < sol) return (eff - sol) * 100 / sol;
  if (eff <= max) return 90;
  return 190;
}

struct Staff {
  std::vector<Person> persons;
  std::vector<Pool> pools;  // one per plan group, location, type and slot
  std::vector<Assignment> roster;
};

// Draws the persons and their assignments from the day before the start day
// over options.days days (clamped to 1 .. 366).
Staff PlanStaff(const DemoOptions& options);

}  // namespace ctl::demo
