#include "demo_roster.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "civil_date.h"
#include "demo_random.h"

namespace ctl {
namespace {

using V = SqlValue;

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

constexpr SlotDef kSlots[3] = {{"FRU", 360, 840, "Fruehdienst"},
                               {"SPA", 840, 1320, "Spaetdienst"},
                               {"NAC", 1320, 360, "Nachtdienst"}};
constexpr int kEarly = 0;
constexpr int kLate = 1;
constexpr int kNight = 2;

struct TypeDef {
  const char* esa;
  Target weekday[3];
  std::vector<std::string> required;  // one of them is needed
  const char* home_qualification;     // what the type's own staff hold
};

const std::vector<TypeDef>& Types() {
  static const std::vector<TypeDef> types = {
      {"PFL", {{4, 3, 5}, {3, 2, 4}, {2, 1, 3}}, {"EXPFL", "PFLFA"}, "EXPFL"},
      {"HLF", {{2, 1, 3}, {2, 1, 3}, {1, 1, 2}}, {"PFHLF", "EXPFL"}, "PFHLF"},
      {"OPD", {{3, 2, 4}, {2, 1, 3}, {1, 0, 2}}, {"OPTA"}, "OPTA"},
  };
  return types;
}
constexpr int kPfl = 0;
constexpr int kHlf = 1;

struct GroupDef {
  const char* plg;
  const char* text;
  int opl;
  const char* kal;
  int hzt;
  std::vector<std::string> esos;
  std::vector<int> types;
};

const std::vector<GroupDef>& Groups() {
  static const std::vector<GroupDef> groups = {
      {"00001", "Klinikum Nord, Pflege", 2, "001", 1, {"NST01", "NST02"}, {kPfl, kHlf}},
      {"00002", "Klinikum Sued, Pflege", 1, "002", 2, {"SST01", "SST02", "SST03"}, {kPfl, kHlf}},
      {"00003", "Ambulanz West", 3, "003", 1, {"WAM01", "WOP01"}, {kPfl, kHlf, 2}},
  };
  return groups;
}

bool IsWeekend(long day) {
  return IsoWeekday(day) >= 6;
}

Target TargetOn(const TypeDef& type, int slot, long day) {
  Target t = type.weekday[slot];
  if (!IsWeekend(day)) return t;
  Target w;
  w.sol = std::max(t.sol - 1, 0);
  w.min = std::min(std::max(t.min - 1, 0), w.sol);
  w.max = std::max(t.max - 1, w.sol);
  return w;
}

const char* DayType(long day) {
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
constexpr Model kModels[] = {
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

PersonRule RuleOf(const Person& p) {
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

Profile DrawProfile(DemoRandom& rng, int slot) {
  uint32_t r = rng.Below(100);
  if (r < 40) return Profile::kFlexible;
  if (r < 55) return Profile::kFlexitime;
  if (r < 67) return Profile::kStrictRest;
  if (r < 77) return Profile::kDayService;
  if (r < 82) return slot == kEarly ? Profile::kEarlyOnly : Profile::kFlexible;
  if (r < 92) return Profile::kLapsed;
  return Profile::kNotMovable;
}

DemoTable& AddTable(DemoDatabase& db, const char* name, std::vector<std::string> columns,
                    bool system_schema = false) {
  DemoTable t;
  t.name = name;
  t.system_schema = system_schema;
  t.columns = std::move(columns);
  db.tables.push_back(std::move(t));
  return db.tables.back();
}

std::vector<std::string> Columns(const char* prefix, std::initializer_list<const char*> names) {
  std::vector<std::string> out;
  for (const char* n : names) out.push_back(std::string(prefix) + n);
  return out;
}

V DateV(long day) {
  return V::Date(Text8(day));
}
V StampV(long day, int minute) {
  return V::DateTime(Text19(day, minute));
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

bool Live(const Assignment& a) {
  return a.sts != "O" && a.sts != "D";
}

// The deviation figure of a slot without open proposals (as the job counts it).
int32_t Deviation(int sol_, int min_, int max_, int effective) {
  int32_t sol = sol_ + 1, min = min_ + 1, max = max_ + 1;
  int32_t eff = effective + 1;
  if (eff == sol) return 0;
  if (eff < min) return (eff - min) * 100 / min - 100;
  if (eff < sol) return (eff - sol) * 100 / sol;
  if (eff <= max) return 90;
  return 190;
}

class Builder {
 public:
  explicit Builder(const DemoOptions& o)
      : rng_(o.seed * 0x2545F4914F6CDD1Dull + 0x5DEECE66Dull),
        start_(o.start),
        days_(std::clamp(o.days, 1, 366)) {}

  DemoDatabase Build() {
    MakePersons();
    MakeRoster();
    DemoDatabase db;
    Calendar(db);
    PlanGroups(db);
    DayTypes(db);
    Models(db);
    Rules(db);
    SlotDefinitions(db);
    Qualifications(db);
    DayPlans(db);
    Staffing(db);
    AssignmentRows(db);
    return db;
  }

 private:
  void MakePersons() {
    int seq = 0;
    for (size_t g = 0; g < Groups().size(); ++g) {
      const GroupDef& group = Groups()[g];
      for (const auto& eso : group.esos) {
        for (int type : group.types) {
          for (int slot = 0; slot < 3; ++slot) {
            Pool pool{static_cast<int>(g), eso, type, slot, {}};
            int size = Types()[type].weekday[slot].max + 2;
            for (int i = 0; i < size; ++i) {
              Person p;
              char pnr[16];
              std::snprintf(pnr, sizeof pnr, "%d%07d", static_cast<int>(g) + 1, ++seq);
              p.pnr = pnr;
              p.group = static_cast<int>(g);
              p.eso = eso;
              p.type = type;
              p.slot = slot;
              p.profile = DrawProfile(rng_, slot);
              if (type != kPfl && rng_.Percent(30)) p.extra_qualifications.push_back("EXPFL");
              p.old_rule = rng_.Percent(10);
              pool.persons.push_back(static_cast<int>(persons_.size()));
              persons_.push_back(p);
            }
            pools_.push_back(pool);
          }
        }
      }
    }
    // The start day's typical request: the first three persons of the early
    // HLF slot of NST01 are moved into the short late PFL slot, one after the
    // other. The first is bound by the strict rest rule, the second lacks the
    // PFL qualification, the third works flexitime.
    Pool& showcase = ShowcasePool();
    Person& first = persons_[showcase.persons[0]];
    first.profile = Profile::kStrictRest;
    first.extra_qualifications = {"EXPFL"};
    Person& second = persons_[showcase.persons[1]];
    second.profile = Profile::kFlexible;
    second.extra_qualifications.clear();
    Person& third = persons_[showcase.persons[2]];
    third.profile = Profile::kFlexitime;
  }

  Pool& FindPool(int group, const std::string& eso, int type, int slot) {
    for (auto& p : pools_) {
      if (p.group == group && p.eso == eso && p.type == type && p.slot == slot) return p;
    }
    return pools_.front();
  }
  Pool& ShowcasePool() { return FindPool(0, "NST01", kHlf, kEarly); }

  // Staffing of one slot on the start day of plan group 00001.
  int ShowcaseCount(const Pool& pool, const Target& t) const {
    if (pool.eso == "NST01" && pool.type == kPfl && pool.slot == kLate)
      return std::max(t.sol - 2, 0);
    if (pool.eso == "NST01" && pool.type == kHlf && pool.slot == kEarly) return t.max + 1;
    if (pool.eso == "NST02" && pool.type == kPfl && pool.slot == kNight)
      return std::max(t.sol - 1, 0);
    return t.sol;
  }

  void MakeRoster() {
    for (long day = start_ - 1; day < start_ + days_; ++day) {
      for (const Pool& pool : pools_) {
        const Target t = TargetOn(Types()[pool.type], pool.slot, day);
        const bool showcase_day = day == start_ && pool.group == 0;
        int count;
        if (showcase_day) {
          count = ShowcaseCount(pool, t);
        } else {
          uint32_t r = rng_.Below(100);
          int delta = r < 8 ? -2 : r < 25 ? -1 : r < 70 ? 0 : r < 88 ? 1 : 2;
          count = t.sol + delta;
        }
        std::vector<int> order = pool.persons;
        for (size_t i = order.size(); i > 1; --i) {
          std::swap(order[i - 1], order[rng_.Below(static_cast<uint32_t>(i))]);
        }
        const bool is_showcase_pool = &pool == &ShowcasePool();
        if (is_showcase_pool && day == start_) {
          order = pool.persons;  // the three showcase persons first, in their order
        }
        if (is_showcase_pool && day == start_ + 1) {
          // The second showcase person has the next morning off, so that her
          // proposal shows the missing qualification and not a short rest.
          order.erase(std::remove(order.begin(), order.end(), pool.persons[1]), order.end());
        }
        count = std::clamp(count, 0, static_cast<int>(order.size()));
        for (int k = 0; k < count; ++k) {
          Assignment a{order[k], day, pool.slot, k + 1};
          if (showcase_day) {
            if (is_showcase_pool && k >= 3) a.sts = "U";
          } else {
            uint32_t r = rng_.Below(100);
            if (r < 3) {
              a.sts = "U";
            } else if (r < 6) {
              a.fc1 = "FOR";
            } else if (r < 8) {
              a.sta = 1;
            }
          }
          roster_.push_back(a);
        }
        // Now and then a cancelled assignment stays in the table.
        if (!showcase_day && count < static_cast<int>(order.size()) && rng_.Percent(4)) {
          Assignment a{order[count], day, pool.slot, count + 1};
          a.sts = "D";
          roster_.push_back(a);
        }
      }
    }
  }

  void Calendar(DemoDatabase& db) {
    DemoTable& t = AddTable(
        db, "Kvt133Bak", Columns("Bak", {"Dtm", "Jhr", "Mon", "Tag", "Wch", "Wtg", "Jtg"}), true);
    for (long day = start_ - 365; day <= start_ + 730; ++day) {
      CivilDate c = FromDayNumber(day);
      t.rows.push_back({DateV(day), V::Int(c.year), V::Int(c.month), V::Int(c.day),
                        V::Int(IsoWeek(day)), V::Int(IsoWeekday(day)), V::Int(DayOfYear(day))});
    }
  }

  void PlanGroups(DemoDatabase& db) {
    std::vector<std::string> cols = Columns("Plg", {"Plg", "Txt", "Kal", "Hzt", "Sta", "Dat", "Erf",
                                                    "Pdt", "Plr", "Beg", "Usr", "Pgm", "Fts"});
    for (const char* set : {"1", "2", "3"}) {
      for (const char* sw : {"Qu", "Ar", "Ru", "Me", "Am", "Re"}) {
        cols.push_back(std::string("Plg") + sw + set);
      }
    }
    cols.push_back("PlgOpt");
    cols.push_back("PlgOpl");
    DemoTable& t = AddTable(db, "Kvt701Plg", cols);
    for (const auto& g : Groups()) {
      std::vector<V> row = {V::Text(g.plg),
                            V::Text(g.text),
                            V::Text(g.kal),
                            V::Int(g.hzt),
                            V::Int(1),
                            StampV(start_ - 60, 8 * 60),
                            V::Text("DEMO"),
                            StampV(start_ - 1, 18 * 60),
                            V::Text("Dienstplanung"),
                            StampV(start_ - 7, 5 * 60),
                            V::Text(""),
                            V::Text(""),
                            V::Int(0)};
      for (int set = 0; set < 3; ++set) {
        // qualification, working time, rest time, overlap on; the last two switch nothing
        for (int sw = 0; sw < 6; ++sw) row.push_back(V::Int(sw < 4 ? 1 : 0));
      }
      row.push_back(V::Int(0));
      row.push_back(V::Int(g.opl));
      t.rows.push_back(row);
    }
  }

  void DayTypes(DemoDatabase& db) {
    DemoTable& ka2 = AddTable(db, "Kvt133Ka2", Columns("Ka2", {"Num", "Dtm", "Ttp", "Ptp", "Gwt"}));
    DemoTable& pka = AddTable(db, "Kvt755Pka", Columns("Pka", {"Plg", "Num", "Dtm", "Ttp", "Gwt"}));
    for (const auto& g : Groups()) {
      for (long day = start_ - 7; day <= start_ + days_ + 62; ++day) {
        const int working = IsWeekend(day) ? 0 : 1;
        ka2.rows.push_back(
            {V::Text(g.kal), DateV(day), V::Text(DayType(day)), V::Text("N"), V::Int(working)});
        pka.rows.push_back(
            {V::Text(g.plg), V::Text(g.kal), DateV(day), V::Text(DayType(day)), V::Int(working)});
      }
    }
  }

  void Models(DemoDatabase& db) {
    DemoTable& azv = AddTable(
        db, "Kvt140Azv", Columns("Azv", {"Num", "Kev", "Keb", "Glv", "Glb", "Gvo", "Gbi", "Sol"}));
    for (const Model& m : kModels) {
      azv.rows.push_back({V::Int(m.num), V::Int(m.kev), V::Int(m.keb), V::Int(m.glv), V::Int(m.glb),
                          DateV(start_ + m.valid_from_offset),
                          m.valid_to_offset == 0 ? V::Null() : DateV(start_ + m.valid_to_offset),
                          V::Int(m.sol)});
    }
    // Substitute models of the standard group: early-only may switch to late
    // or free hours, night to free hours, day service to flexitime.
    DemoTable& ers = AddTable(db, "Kvt162Ers", Columns("Ers", {"Agr", "Azt", "Aze"}));
    const std::pair<const char*, int> subs[] = {{"4", 5}, {"4", 1}, {"6", 1}, {"3", 2}, {"1", 7}};
    for (const auto& [azt, aze] : subs) {
      ers.rows.push_back({V::Text("STD"), V::Text(azt), V::Int(aze)});
    }
    DemoTable& pss = AddTable(db, "Kvt708Pss", Columns("Pss", {"Kss", "Gvo", "Gbi", "Wrt"}));
    pss.rows.push_back(
        {V::Text("NACHTZUSCHLAG"), StampV(start_ - 365, 0), V::Null(), V::Real(0.25)});
    pss.rows.push_back({V::Text("WOCHENENDE"), StampV(start_ - 365, 0), V::Null(), V::Real(0.5)});
    pss.rows.push_back(
        {V::Text("FEIERTAG"), StampV(start_ - 730, 0), StampV(start_ - 366, 0), V::Real(1.0)});
  }

  void Rules(DemoDatabase& db) {
    DemoTable& pbv = AddTable(
        db, "Kvt710Pbv", Columns("Pbv", {"Pnr", "Gvo", "Gbi", "Zrm", "Eso", "Esa", "Awp", "Sst"}));
    for (const Person& p : persons_) {
      const GroupDef& g = Groups()[p.group];
      const PersonRule r = RuleOf(p);
      if (p.old_rule) {
        const std::string& other =
            g.esos[(std::find(g.esos.begin(), g.esos.end(), p.eso) - g.esos.begin() + 1) %
                   g.esos.size()];
        pbv.rows.push_back({V::Text(p.pnr), DateV(start_ - 730), DateV(start_ - 366), V::Int(1),
                            V::Text(other), V::Text(Types()[p.type].esa), V::Int(3),
                            V::Text("ALT")});
      }
      pbv.rows.push_back({V::Text(p.pnr), DateV(start_ - 365), V::Null(), V::Int(r.zrm),
                          V::Text(p.eso), V::Text(Types()[p.type].esa), V::Int(r.awp),
                          V::Text("")});
    }
    DemoTable& pgz = AddTable(db, "Kvt712Pgz", Columns("Pgz", {"Plg", "Eso", "Esa", "Azk", "Rzk"}));
    for (const auto& g : Groups()) {
      for (const auto& eso : g.esos) {
        for (int type : g.types) {
          pgz.rows.push_back(
              {V::Text(g.plg), V::Text(eso), V::Text(Types()[type].esa), V::Int(10), V::Int(11)});
        }
      }
    }
  }

  void SlotDefinitions(DemoDatabase& db) {
    DemoTable& bss =
        AddTable(db, "Kvt720Bss",
                 Columns("Bss", {"Plg", "Eso", "Esa", "Ttp", "Bsz", "Von", "Bis", "Txt", "Sol",
                                 "Min", "Max", "Mwt", "Vtg", "Atg", "Kgw", "Kmw", "Asw"}));
    // A weekday and a weekend of the calendar stand for the two day types.
    const long weekday = start_ - IsoWeekday(start_) + 1;
    const long weekend = weekday + 5;
    for (const auto& g : Groups()) {
      for (const auto& eso : g.esos) {
        for (int type : g.types) {
          for (long sample : {weekday, weekend}) {
            for (int slot = 0; slot < 3; ++slot) {
              const SlotDef& s = kSlots[slot];
              const Target t = TargetOn(Types()[type], slot, sample);
              bss.rows.push_back({V::Text(g.plg), V::Text(eso), V::Text(Types()[type].esa),
                                  V::Text(DayType(sample)), V::Text(s.bsz), V::Int(s.von),
                                  V::Int(s.bis), V::Text(s.text), V::Int(t.sol), V::Int(t.min),
                                  V::Int(t.max), V::Real(8.0), V::Int(0), V::Int(0), V::Int(0),
                                  V::Int(0), V::Int(1)});
            }
          }
        }
      }
    }
  }

  void Qualifications(DemoDatabase& db) {
    DemoTable& qea = AddTable(db, "Kvt717Qea", Columns("Qea", {"Esa", "Qfk"}));
    for (const auto& type : Types()) {
      for (const auto& q : type.required) qea.rows.push_back({V::Text(type.esa), V::Text(q)});
    }
    DemoTable& qzp = AddTable(db, "Kvt716Qzp", Columns("Qzp", {"Pnr", "Qfk", "Von", "Bis"}));
    for (const Person& p : persons_) {
      const bool lapsed = p.profile == Profile::kLapsed;
      qzp.rows.push_back({V::Text(p.pnr), V::Text(Types()[p.type].home_qualification),
                          DateV(start_ - 900), lapsed ? DateV(start_ - 20) : V::Null()});
      if (lapsed) continue;
      for (const auto& q : p.extra_qualifications) {
        qzp.rows.push_back({V::Text(p.pnr), V::Text(q), DateV(start_ - 400), V::Null()});
      }
    }
  }

  void DayPlans(DemoDatabase& db) {
    DemoTable& ztg = AddTable(db, "Kvt329Ztg", Columns("Ztg", {"Pnr", "Von", "Azt", "Kst", "Agr"}));
    std::vector<std::vector<bool>> planned(persons_.size(),
                                           std::vector<bool>(static_cast<size_t>(days_ + 1)));
    for (const Assignment& a : roster_) {
      planned[a.person][static_cast<size_t>(a.day - (start_ - 1))] = true;
    }
    for (size_t i = 0; i < persons_.size(); ++i) {
      const Person& p = persons_[i];
      for (long day = start_ - 1; day < start_ + days_; ++day) {
        if (!planned[i][static_cast<size_t>(day - (start_ - 1))]) continue;
        ztg.rows.push_back({V::Text(p.pnr), DateV(day), V::Text(std::to_string(RuleOf(p).model)),
                            V::Text("KST" + p.eso), V::Text("STD")});
      }
    }
  }

  static std::vector<V> CalendarColumns(long day) {
    CivilDate c = FromDayNumber(day);
    return {V::Int(c.year), V::Int(c.month), V::Int(IsoWeek(day)),
            V::Int(c.year * 100 + IsoWeek(day)), V::Int(c.day)};
  }

  void Staffing(DemoDatabase& db) {
    std::vector<std::string> cols = {
        "BsmBdt", "BsmEso", "BsmEsa", "BsmBsz", "BsmSzv", "BsmSzb", "BsmJhr", "BsmMon", "BsmWoc",
        "BsmJwc", "BsmTag", "BsmTtp", "BsmSol", "BsmMin", "BsmMax", "BsmIst", "BsmPlg", "BsmHtg",
        "BsmHtv", "BsmHtn", "BsmKng", "BsmFkt", "BsmAsw", "BsmSta", "BsmDat", "BsmErf"};
    for (int i = 1; i <= 8; ++i) cols.push_back("BsmId" + std::to_string(i));
    for (const char* c : {"BsmKor", "BsmKos", "BsmKo2", "BsmOva", "BsmOve"}) cols.push_back(c);
    DemoTable& bsm = AddTable(db, "Kvt725Bsm", cols);
    for (long day = start_; day < start_ + days_; ++day) {
      for (const Pool& pool : pools_) {
        int ist = 0, htg = 0, kor = 0;
        double kos = 0.0, ko2 = 0.0;
        for (const Assignment& a : roster_) {
          if (a.day != day || a.slot != pool.slot) continue;
          const Person& p = persons_[a.person];
          if (p.group != pool.group || p.eso != pool.eso || p.type != pool.type) continue;
          if (Live(a)) {
            ++ist;
            if (a.fc1 != "   ") ++htg;
            if (a.fc1 == "   ") kos += a.kos;
          }
          if (a.sts == "U" || a.sts == "M") ++kor;
          if (a.sts != "D" && a.sts != "M") ko2 += a.kos;
        }
        const Target t = TargetOn(Types()[pool.type], pool.slot, day);
        const SlotDef& s = kSlots[pool.slot];
        std::vector<V> row = {DateV(day),     V::Text(pool.eso), V::Text(Types()[pool.type].esa),
                              V::Text(s.bsz), V::Int(s.von),     V::Int(s.bis)};
        for (auto& v : CalendarColumns(day)) row.push_back(v);
        row.push_back(V::Text(DayType(day)));
        for (int v : {t.sol, t.min, t.max, ist}) row.push_back(V::Int(v));
        row.push_back(V::Text(Groups()[pool.group].plg));
        for (int v : {htg, 0, 0, 0, Deviation(t.sol, t.min, t.max, ist - htg), 1, 0}) {
          row.push_back(V::Int(v));
        }
        row.push_back(StampV(start_ - 14, 9 * 60));
        row.push_back(V::Text("DEMO"));
        for (int i = 0; i < 8; ++i) row.push_back(V::Int(0));
        row.push_back(V::Int(kor));
        row.push_back(V::Real(kos));
        row.push_back(V::Real(ko2));
        row.push_back(V::Int(0));
        row.push_back(V::Int(0));
        bsm.rows.push_back(std::move(row));
      }
    }
  }

  void AssignmentRows(DemoDatabase& db) {
    std::vector<std::string> cols = {
        "BdpPnr", "BdpBdt", "BdpEso", "BdpEsa", "BdpBsz", "BdpSzv", "BdpSzb", "BdpJhr", "BdpMon",
        "BdpWoc", "BdpJwc", "BdpTag", "BdpTtp", "BdpZtv", "BdpZtb", "BdpKst", "BdpFc1", "BdpFc2",
        "BdpFc3", "BdpOso", "BdpOsa", "BdpOsv", "BdpOsb", "BdpOsz", "BdpPlg", "BdpAsw", "BdpSts",
        "BdpFnr", "BdpSta", "BdpDat", "BdpTxt", "BdpErf", "BdpAzt"};
    for (int i = 1; i <= 8; ++i) cols.push_back("BdpId" + std::to_string(i));
    for (const char* c :
         {"BdpRnd", "BdpAkt", "BdpBnr", "BdpAwp", "BdpPau", "BdpBzt", "BdpOsw", "BdpKos"}) {
      cols.push_back(c);
    }
    DemoTable& bdp = AddTable(db, "Kvt730Bdp", cols);
    for (const Assignment& a : roster_) {
      const Person& p = persons_[a.person];
      const SlotDef& s = kSlots[a.slot];
      std::vector<V> row = {
          V::Text(p.pnr), DateV(a.day),  V::Text(p.eso), V::Text(Types()[p.type].esa),
          V::Text(s.bsz), V::Int(s.von), V::Int(s.bis)};
      for (auto& v : CalendarColumns(a.day)) row.push_back(v);
      row.push_back(V::Text(DayType(a.day)));
      row.push_back(V::Int(s.von));
      row.push_back(V::Int(s.bis));
      row.push_back(V::Text("KST" + p.eso));
      row.push_back(V::Text(a.fc1));
      row.push_back(V::Text("   "));
      row.push_back(V::Text("   "));
      row.push_back(V::Text(""));
      row.push_back(V::Text(""));
      row.push_back(V::Int(0));
      row.push_back(V::Int(0));
      row.push_back(V::Text(""));
      row.push_back(V::Text(Groups()[p.group].plg));
      row.push_back(V::Int(1));
      row.push_back(V::Text(a.sts));
      row.push_back(V::Int(0));
      row.push_back(V::Int(a.sta));
      row.push_back(StampV(start_ - 14, 9 * 60));
      row.push_back(V::Text(a.fc1 == "FOR" ? "Fortbildung" : ""));
      row.push_back(V::Text("DEMO"));
      // Day-service staff book their working time afterwards: none booked yet.
      row.push_back(p.profile == Profile::kDayService ? V::Null() : V::Int(480));
      for (int i = 0; i < 8; ++i) row.push_back(V::Int(0));
      for (int v : {a.rnd, s.von, 0, 0, 30, 450, 0}) row.push_back(V::Int(v));
      row.push_back(V::Real(a.kos));
      bdp.rows.push_back(std::move(row));
    }
  }

  DemoRandom rng_;
  long start_;
  int days_;
  std::vector<Person> persons_;
  std::vector<Pool> pools_;
  std::vector<Assignment> roster_;
};

}  // namespace

DemoDatabase BuildDemoDatabase(const DemoOptions& options) {
  return Builder(options).Build();
}

}  // namespace ctl
