// One row of the staffing matrix Kvt725Bsm in memory, and the column list and
// binding that every read of the table shares (39 columns with the optional
// BsmOva/BsmOve, 37 without).
#pragma once

#include <cstdint>

#include "common/fixed_text.h"
#include "db/statement.h"

struct BsmRow {
  FixedText<10> BsmBdt;  // yyyymmdd
  FixedText<6> BsmEso;
  FixedText<6> BsmEsa;
  int32_t BsmSzv = 0;
  int32_t BsmSzb = 0;
  FixedText<4> BsmBsz;
  int32_t BsmJhr = 0;
  int32_t BsmMon = 0;
  int32_t BsmWoc = 0;
  int32_t BsmJwc = 0;
  int32_t BsmTag = 0;
  FixedText<4> BsmTtp;
  int32_t BsmSol = 0;
  int32_t BsmMin = 0;
  int32_t BsmMax = 0;
  int32_t BsmIst = 0;
  FixedText<6> BsmPlg;
  int32_t BsmHtg = 0;
  int32_t BsmHtv = 0;
  int32_t BsmHtn = 0;
  int32_t BsmKng = 0;
  int32_t BsmFkt = 0;
  int32_t BsmAsw = 0;
  int32_t BsmSta = 0;
  FixedText<15> BsmDat;  // yyyymmddhhmmss
  FixedText<51> BsmErf;
  int32_t BsmId1 = 0;
  int32_t BsmId2 = 0;
  int32_t BsmId3 = 0;
  int32_t BsmId4 = 0;
  int32_t BsmId5 = 0;
  int32_t BsmId6 = 0;
  int32_t BsmId7 = 0;
  int32_t BsmId8 = 0;
  int32_t BsmKor = 0;
  double BsmKos = 0.0;
  double BsmKo2 = 0.0;
  int32_t BsmOva = 0;
  int32_t BsmOve = 0;
};

// The column list "convert(char(8), BsmBdt, 112), ..., BsmKos, BsmKo2" and, in
// the full form, ", BsmOva, BsmOve". It holds no '%', so callers may splice it
// into a statement's format text: "SELECT " + list + " FROM %s.Kvt725Bsm ...".
const char* BsmColumnList(bool with_optional);

// Binds the result columns to `row` in select-list order; the style-120 text
// of BsmDat goes to `dat_work` (20 characters). The optional columns are
// bound only when `with_optional` is set.
void BindBsmRow(db::Columns& cols, BsmRow& row, FixedText<20>& dat_work, bool with_optional);
