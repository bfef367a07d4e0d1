// One row of Kvt701Plg in memory. Date-times are held in the 14-digit
// internal form yyyymmddhhmmss.
#pragma once

#include <cstdint>

#include "common/fixed_text.h"

struct PlgRow {
  FixedText<6> PlgPlg;
  FixedText<51> PlgTxt;
  FixedText<4> PlgKal;
  int32_t PlgHzt = 0;
  int32_t PlgSta = 0;
  FixedText<15> PlgDat;
  FixedText<51> PlgErf;
  FixedText<15> PlgPdt;
  FixedText<51> PlgPlr;
  FixedText<11> PlgPgm;
  FixedText<51> PlgUsr;
  FixedText<15> PlgBeg;
  int32_t PlgFts = 0;
  // The six check switches of the switch set read (set 2: PlgQu2 ... PlgRe2).
  int32_t PlgQu = 0;
  int32_t PlgAr = 0;
  int32_t PlgRu = 0;
  int32_t PlgMe = 0;
  int32_t PlgAm = 0;
  int32_t PlgRe = 0;
  int32_t PlgOpt = 0;
  int32_t PlgOpl = 0;
};
