// The loop over every plan group and its cursor over Kvt701Plg.
#pragma once

#include <cstdint>

#include "app/run_context.h"
#include "errlog/error_record.h"
#include "optimise/plan_group_row.h"

void Plangruppen_Ermitteln(RunContext& ctx, ErrSatz& err);

int32_t Plg_Cur_Open();
int32_t Plg_Cur_Read(PlgRow& row);
int32_t Plg_Cur_Close();
