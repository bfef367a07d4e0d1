// Every routine on the plan-group table Kvt701Plg: the cursor over all plan
// groups, the read and update of one row by key, and the read of one plan
// group's planning horizon. The cursor and the key read use the optional
// columns PlgOpt/PlgOpl while the table has them (see WithOptionalColumns).
#pragma once

#include <cstdint>

#include "db/plan_group_row.h"

// Every plan group in PlgPlg order, no filter. The cursor has one
// process-wide statement handle: Open closes a previous one first, Read
// delivers one row into the caller's row (0 row, 100 end, -1 not open, else
// the native error), Close releases it and returns 0.
int32_t Plg_Cur_Open();
int32_t Plg_Cur_Read(PlgRow& row);
int32_t Plg_Cur_Close();

// Reads the row whose PlgPlg is already in `row`; `switch_set` picks the six
// check-switch columns ending in that digit.
int32_t Plg_PKey_Read(PlgRow& row, int32_t switch_set);
// Writes the row's descriptive and marking columns back by PlgPlg; an empty
// date-time is written as NULL.
int32_t Plg_PKey_Upd(const PlgRow& row);

// PlgHzt of the plan group. A failed execution without a native error gives
// -1; a failed fetch gives its ODBC result without diagnostics.
int32_t Plg_Hzt_Read(const char* plan_group, int32_t& horizon);
