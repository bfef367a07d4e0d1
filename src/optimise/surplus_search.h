// The search for a person to move into one short slot, at one of three
// levels: surplus slots of the same deployment type (Get_UebBszEsa), of the
// same location (Get_UebBszEso) or of the whole plan group (Get_UebBszPlg),
// always of the same day and assignment type, largest surplus first.
#pragma once

#include <cstdint>

#include "common/scope.h"
#include "db/staffing_row.h"

// Result 1 as soon as a move proposal was recorded for the short slot, 0
// otherwise (no surplus slot, nobody movable, or a failed read, logged).
// `level` is the scope the surplus slots share with the short slot.
int32_t Get_UebBsz(Scope level, const BsmRow& short_row);
int32_t Get_UebBszEsa(BsmRow short_row);
int32_t Get_UebBszEso(BsmRow short_row);
int32_t Get_UebBszPlg(BsmRow short_row);
