// How much of a plan group a step covers: the whole plan group, one
// deployment location, or one location and one deployment type. The scope
// comes from the location and type codes (empty: not given). ForScope is the
// one place where a routine's three forms (statement text, cursor family,
// log line) are chosen by scope.
#pragma once

#include <string>
#include <string_view>

enum class Scope { kPlanGroup, kLocation, kLocationType };

// An empty location gives the plan group (whatever the type), an empty type
// the location.
constexpr Scope ScopeOf(std::string_view location, std::string_view deployment_type) {
  if (location.empty()) return Scope::kPlanGroup;
  return deployment_type.empty() ? Scope::kLocation : Scope::kLocationType;
}

// Calls the one of the three callables that belongs to `scope` and returns
// its result; the three must return the same type.
template <class PlanGroup, class Location, class LocationType>
constexpr decltype(auto) ForScope(Scope scope, PlanGroup&& plan_group, Location&& location,
                                  LocationType&& location_type) {
  switch (scope) {
    case Scope::kLocation:
      return location();
    case Scope::kLocationType:
      return location_type();
    case Scope::kPlanGroup:
      break;
  }
  return plan_group();
}

// The three-letter tag that the routine names carry for the scope: "Plg",
// "Eso" or "Esa".
constexpr const char* ScopeTag(Scope scope) {
  return ForScope(
      scope, [] { return "Plg"; }, [] { return "Eso"; }, [] { return "Esa"; });
}

// The key fields of the scope beyond the plan group, as log lines carry them:
// "", " ESO: <location>" or " ESO: <location> ESA: <type>".
inline std::string ScopeKeys(Scope scope, std::string_view location,
                             std::string_view deployment_type) {
  std::string keys;
  if (scope != Scope::kPlanGroup) keys.append(" ESO: ").append(location);
  if (scope == Scope::kLocationType) keys.append(" ESA: ").append(deployment_type);
  return keys;
}
