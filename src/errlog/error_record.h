// The error record: one process-wide record, prepared per plan group and
// reused for every error row of that plan group's pass.
#pragma once

#include <cstdint>

#include "common/fixed_text.h"

struct ErrSatz {
  FixedText<6> ErrPlg;
  FixedText<6> ErrKng;  // "PLANO"
  int32_t ErrLfn = 0;
  FixedText<9> ErrPnr;
  FixedText<6> ErrEso;
  FixedText<6> ErrEsa;
  FixedText<6> ErrKnz;
  FixedText<9> ErrBdt;  // yyyymmdd
  int32_t ErrZtv = 0;
  int32_t ErrZtb = 0;
  int32_t ErrFnr = 0;
  FixedText<51> ErrErf;
  FixedText<15> ErrJbd;
  FixedText<33> ErrJbk;
};
