#include "demo_roster.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "civil_date.h"
#include "demo_staff.h"

namespace ctl {
namespace {

using namespace demo;
using V = SqlValue;

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

// Writes the tables of the database from the planned staff.
class Builder {
 public:
  explicit Builder(const DemoOptions& o)
      : start_(o.start), days_(std::clamp(o.days, 1, 366)), staff_(PlanStaff(o)) {}

  DemoDatabase Build() {
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
    for (const Person& p : staff_.persons) {
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
    for (const Person& p : staff_.persons) {
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
    std::vector<std::vector<bool>> planned(staff_.persons.size(),
                                           std::vector<bool>(static_cast<size_t>(days_ + 1)));
    for (const Assignment& a : staff_.roster) {
      planned[a.person][static_cast<size_t>(a.day - (start_ - 1))] = true;
    }
    for (size_t i = 0; i < staff_.persons.size(); ++i) {
      const Person& p = staff_.persons[i];
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
      for (const Pool& pool : staff_.pools) {
        int ist = 0, htg = 0, kor = 0;
        double kos = 0.0, ko2 = 0.0;
        for (const Assignment& a : staff_.roster) {
          if (a.day != day || a.slot != pool.slot) continue;
          const Person& p = staff_.persons[a.person];
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
    for (const Assignment& a : staff_.roster) {
      const Person& p = staff_.persons[a.person];
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

  long start_;
  int days_;
  Staff staff_;
};

}  // namespace

DemoDatabase BuildDemoDatabase(const DemoOptions& options) {
  return Builder(options).Build();
}

}  // namespace ctl
