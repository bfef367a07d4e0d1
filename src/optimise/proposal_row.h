// One row of the move proposals Kvt735Bdk in memory. The plain slot columns
// (BdkEso, BdkEsa, BdkSzv, BdkSzb, BdkBsz, BdkAsw) say where the person is
// now, the "O" columns (BdkOso, BdkOsa, BdkOsv, BdkOsb, BdkOsz, BdkOsw) where
// the person is proposed to go. BdkSta 9 marks an open proposal.
#pragma once

#include <cstdint>

#include "common/fixed_text.h"

struct BdkRow {
  FixedText<36> BdkKey;
  int32_t BdkLfd = 0;
  FixedText<9> BdkPnr;
  FixedText<10> BdkBdt;  // yyyymmdd
  FixedText<6> BdkEso;
  FixedText<6> BdkEsa;
  int32_t BdkSzv = 0;
  int32_t BdkSzb = 0;
  FixedText<4> BdkBsz;
  int32_t BdkJhr = 0;
  int32_t BdkMon = 0;
  int32_t BdkWoc = 0;
  int32_t BdkJwc = 0;
  FixedText<4> BdkTtp;
  int32_t BdkTag = 0;
  int32_t BdkZtv = 0;
  int32_t BdkZtb = 0;
  FixedText<11> BdkKst;
  FixedText<4> BdkFc1;
  FixedText<4> BdkFc2;
  FixedText<4> BdkFc3;
  FixedText<6> BdkOso;
  FixedText<6> BdkOsa;
  int32_t BdkOsv = 0;
  int32_t BdkOsb = 0;
  FixedText<4> BdkOsz;
  FixedText<6> BdkPlg;
  int32_t BdkAsw = 0;
  FixedText<2> BdkSts;
  int32_t BdkFnr = 0;
  int32_t BdkSta = 0;
  FixedText<15> BdkDat;  // yyyymmddhhmmss; the insert writes the server's time
  FixedText<61> BdkTxt;
  FixedText<51> BdkErf;
  int32_t BdkAzt = 0;
  int32_t BdkId1 = 0;
  int32_t BdkId2 = 0;
  int32_t BdkId3 = 0;
  int32_t BdkId4 = 0;
  int32_t BdkId5 = 0;
  int32_t BdkId6 = 0;
  int32_t BdkId7 = 0;
  int32_t BdkId8 = 0;
  int32_t BdkAkt = 0;
  int32_t BdkRnd = 0;
  int32_t BdkOsw = 0;
  FixedText<9> BdkZvo;  // yyyymmdd
  FixedText<9> BdkZbi;  // yyyymmdd
};
