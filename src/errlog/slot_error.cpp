#include "errlog/slot_error.h"

#include <algorithm>

int64_t EffectiveCount(const BsmRow& row) {
  return static_cast<int64_t>(row.BsmIst) - row.BsmHtg - std::min(row.BsmHtv, row.BsmHtn);
}

int32_t SlotErrorNumber(const BsmRow& row) {
  const int64_t count = EffectiveCount(row);
  if (count == 0 && row.BsmSol > 0) return 1601;
  if (count < row.BsmSol) return count >= row.BsmMin ? 1603 : 1602;
  if (count > row.BsmSol) return count > row.BsmMax ? 1605 : 1604;
  return 0;
}
