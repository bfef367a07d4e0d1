// One row of the assignments Kvt730Bdp in memory, and the 49-column list and
// binding shared by every cursor over the table.
#pragma once

#include <cstdint>

#include "common/fixed_text.h"
#include "db/statement.h"

struct BdpRow {
  FixedText<9> BdpPnr;
  FixedText<10> BdpBdt;  // yyyymmdd
  FixedText<6> BdpEso;
  FixedText<6> BdpEsa;
  int32_t BdpSzv = 0;
  int32_t BdpSzb = 0;
  FixedText<4> BdpBsz;
  int32_t BdpJhr = 0;
  int32_t BdpMon = 0;
  int32_t BdpWoc = 0;
  int32_t BdpJwc = 0;
  FixedText<4> BdpTtp;
  int32_t BdpTag = 0;
  int32_t BdpZtv = 0;
  int32_t BdpZtb = 0;
  FixedText<11> BdpKst;
  FixedText<4> BdpFc1;
  FixedText<4> BdpFc2;
  FixedText<4> BdpFc3;
  FixedText<6> BdpOso;
  FixedText<6> BdpOsa;
  int32_t BdpOsv = 0;
  int32_t BdpOsb = 0;
  FixedText<4> BdpOsz;
  int32_t BdpOsw = 0;
  FixedText<6> BdpPlg;
  int32_t BdpAsw = 0;
  int32_t BdpAwp = 0;
  FixedText<2> BdpSts;
  int32_t BdpFnr = 0;
  int32_t BdpSta = 0;
  FixedText<15> BdpDat;  // yyyymmddhhmmss
  FixedText<61> BdpTxt;
  FixedText<51> BdpErf;
  int32_t BdpAzt = 0;
  int32_t BdpId1 = 0;
  int32_t BdpId2 = 0;
  int32_t BdpId3 = 0;
  int32_t BdpId4 = 0;
  int32_t BdpId5 = 0;
  int32_t BdpId6 = 0;
  int32_t BdpId7 = 0;
  int32_t BdpId8 = 0;
  int32_t BdpRnd = 0;
  int32_t BdpAkt = 0;
  int32_t BdpBnr = 0;
  int32_t BdpPau = 0;
  int32_t BdpBzt = 0;
  double BdpKos = 0.0;
};

// "SELECT BdpPnr, convert(char(8), BdpBdt, 112), ..., BdpOsw, BdpKos" (no
// FROM). Holds no '%', so callers splice it into a statement's format text.
const char* BdpSelectList();

// Binds the 49 result columns to `row` in select-list order; the style-120
// text of BdpDat goes to `dat_work`.
void BindBdpRow(db::Columns& cols, BdpRow& row, FixedText<20>& dat_work);
