// The recount of one staffing-matrix row after a move proposal: the counts
// from the assignments (Kvt730Bdp), the open proposals leaving and entering
// the slot (Kvt735Bdk), the deviation figure BsmFkt, and the write-back.
// Slots of assignment type 3 or 4 keep their proposal counts and BsmFkt.
// A row whose recount fails is not written (its stored counts stay).
#pragma once

#include <cstdint>

#include "common/fixed_text.h"
#include "db/staffing_row.h"

// Work record of one recount: the slot's key and its counts.
struct BsmIstWork {
  FixedText<9> date;
  FixedText<6> plan_group;
  FixedText<6> location;
  FixedText<6> deployment_type;
  FixedText<4> day_type;
  int32_t BsmAsw = 0;
  int32_t BsmSzv = 0;
  int32_t BsmSzb = 0;
  int32_t count_equal_times = 0;
  int32_t count_other_times = 0;
  int32_t BsmIst = 0;
  int32_t BsmHtg = 0;
  int32_t BsmHtv = 0;
  int32_t BsmHtn = 0;
  int32_t BsmKor = 0;
  double BsmKos = 0.0;
  double BsmKo2 = 0.0;
};

// Recounts `row` in place and writes it back; failures are logged. 0 when
// the row was recounted and written; otherwise the result of the first step
// that failed (the counts, then the row is not written; the proposal counts,
// then it is written with the old ones; the write).
int32_t Update_BsmSatz(BsmRow& row);

// Fills the counts of `work` (0 when the slot has no assignment row). 0 done,
// -1 no handle, else the native error or the ODBC result.
int32_t Bsm_Ist_Ermitteln(BsmIstWork& work);

// Refreshes BsmOva and BsmOve; a failed count is logged and leaves both.
// The result of Count_OptVorschlaege.
int32_t checkOptimierungsVorschlaege(BsmRow& row);

// Open proposals made by the optimisation that leave the slot, and all open
// proposals that enter it. 0 when both were read.
int32_t Count_OptVorschlaege(const BsmRow& row, int32_t& leaving, int32_t& joining);

// The deviation figure of a slot: 0 at target, negative when short (-100 or
// less below the minimum), 90 above target up to the maximum, 190 above it.
// Open proposals count as done. Targets below 0 are taken as 0.
int32_t BsmFktFigure(int32_t sol, int32_t min, int32_t max, int32_t ist, int32_t htg, int32_t htv,
                     int32_t htn, int32_t ove, int32_t ova);

// Sets BsmFkt from the row's targets and counts.
void Bsm_Fkt_Berechnen(BsmRow& row);

// Writes the row back by key (BsmDat becomes the server's time). 0 written,
// 1 with information, 100 no row matched, -1 or the native error.
int32_t Bsm_PKeyUpd(const BsmRow& row);
