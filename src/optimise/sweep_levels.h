// Which search levels the optimisation level code lets the sweep run for a
// day: the deployment-type level always, the location level for "PLG" and
// "ESO", the plan-group level for "PLG" only. They run in this order.
#pragma once

#include <string_view>

struct SweepLevels {
  bool deployment_type = true;
  bool location = false;
  bool plan_group = false;
};

inline SweepLevels LevelsFor(std::string_view level_code) {
  SweepLevels levels;
  levels.location = level_code == "PLG" || level_code == "ESO";
  levels.plan_group = level_code == "PLG";
  return levels;
}
