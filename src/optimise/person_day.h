// The day values of a person considered for a move: the target slot's
// definition (Kvt720Bss), the person's assignment rule (Kvt710Pbv with
// Kvt712Pgz) and the person's day plan with its working-time model and the
// plan group's day type (Kvt329Ztg, Kvt140Azv, Kvt133Ka2).
//
// The reads return 0 (row read), 100 (no row, record unchanged), -1 (no
// statement handle) or the native error of the failing step (the ODBC result
// when that is 0). Fill_PnrBss logs every failure and fills what it can.
#pragma once

#include <cstdint>

#include "db/staffing_row.h"
#include "optimise/person_record.h"

// Keys the target definition from `target_row`, reads it, and fills the
// person record (date, plan group, rule values, day type, working window).
void Fill_PnrBss(PnrSatz& person, BssSatz& target, const BsmRow& target_row);

// Reads the Kvt720Bss row whose key is in `target`.
int32_t Bss_PKeyRead(BssSatz& target);

// The person's valid assignment rule on its date and the rule's limits for
// the person's plan group; 100 when the limits row is missing.
int32_t Komplett_PnrSatz(PnrSatz& person);

// The person's day plan on its date: day type, model bounds and the working
// window that PbvZrm selects (1: AzvKev-AzvKeb, 2: AzvGlv-AzvGlb).
int32_t Ztg_AbzTag_Read(PnrSatz& person);

// The working window that `zrm` selects from the model bounds of `person`;
// any other value leaves the window as it is.
void SelectWorkingWindow(PnrSatz& person, int32_t zrm);
