// Saturating narrowing of 64-bit intermediate results to the 32-bit values
// that the tables and records hold.
#pragma once

#include <cstdint>
#include <limits>

constexpr int32_t ClampToInt32(int64_t v) {
  if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);
}
