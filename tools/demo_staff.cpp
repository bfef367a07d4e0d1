#include "demo_staff.h"

#include "demo_random.h"

namespace ctl::demo {
namespace {

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

class Planner {
 public:
  explicit Planner(const DemoOptions& o)
      : rng_(o.seed * 0x2545F4914F6CDD1Dull + 0x5DEECE66Dull),
        start_(o.start),
        days_(std::clamp(o.days, 1, 366)) {}

  Staff Plan() {
    MakePersons();
    MakeRoster();
    return std::move(staff_);
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
              pool.persons.push_back(static_cast<int>(staff_.persons.size()));
              staff_.persons.push_back(p);
            }
            staff_.pools.push_back(pool);
          }
        }
      }
    }
    // The start day's typical request: the first three persons of the early
    // HLF slot of NST01 are moved into the short late PFL slot, one after the
    // other. The first is bound by the strict rest rule, the second lacks the
    // PFL qualification, the third works flexitime.
    Pool& showcase = ShowcasePool();
    Person& first = staff_.persons[showcase.persons[0]];
    first.profile = Profile::kStrictRest;
    first.extra_qualifications = {"EXPFL"};
    Person& second = staff_.persons[showcase.persons[1]];
    second.profile = Profile::kFlexible;
    second.extra_qualifications.clear();
    Person& third = staff_.persons[showcase.persons[2]];
    third.profile = Profile::kFlexitime;
  }

  Pool& FindPool(int group, const std::string& eso, int type, int slot) {
    for (auto& p : staff_.pools) {
      if (p.group == group && p.eso == eso && p.type == type && p.slot == slot) return p;
    }
    return staff_.pools.front();
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
      for (const Pool& pool : staff_.pools) {
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
          staff_.roster.push_back(a);
        }
        // Now and then a cancelled assignment stays in the table.
        if (!showcase_day && count < static_cast<int>(order.size()) && rng_.Percent(4)) {
          Assignment a{order[count], day, pool.slot, count + 1};
          a.sts = "D";
          staff_.roster.push_back(a);
        }
      }
    }
  }

  DemoRandom rng_;
  long start_;
  int days_;
  Staff staff_;
};

}  // namespace

Staff PlanStaff(const DemoOptions& options) {
  return Planner(options).Plan();
}

}  // namespace ctl::demo
