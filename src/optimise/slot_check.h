// The check of one surplus slot for a short slot: the movable persons of the
// surplus slot (active assignment, blank status, BdpSta 0, no function code)
// are tried in BdpRnd order; a person with PbvAwp 3 is passed over. The first
// person for whom a move proposal is recorded ends the check, and both rows
// are then recounted and written back, the short slot first.
#pragma once

#include <cstdint>

#include "db/staffing_row.h"
#include "optimise/assignment_row.h"

// Result 1 when a proposal was recorded, 0 otherwise. Both rows are the
// check's own copies.
int32_t Prf_UebBsz_Pers(BsmRow short_row, BsmRow surplus_row);

// Cursor over the movable assignments of the surplus slot (one process-wide
// handle). Read: 0 row, 100 end, -1 not open, else the native error.
int32_t Bdp_BszPnr_Open(const BsmRow& surplus_row);
int32_t Bdp_BszPnr_Read(BdpRow& row);
int32_t Bdp_BszPnr_Close();
