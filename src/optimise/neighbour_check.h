// The figures of a person's neighbouring assignments that the eligibility
// tests judge, prepared in the person record for one target slot:
//   day_minutes   booked working time of the day plus the part of the target
//                 that falls into the working window (a quick figure)
//   overlap       1 when an assignment from the day before to the day after
//                 overlaps the target in time
//   previous_end  end of the last assignment (in reading order) that ends no
//                 later than the target begins
//   next_start    start of the last assignment (in reading order) that begins
//                 no earlier than the target ends
// Date-times are yyyymmddhhmmss texts; empty means none.
#pragma once

#include <cstdint>

#include "optimise/assignment_row.h"
#include "optimise/person_record.h"

// Minutes shared by window a1-a2 and window b1-b2 (minutes since midnight, an
// end below its begin crossing midnight). Exact for two same-day windows that
// share time; otherwise: an empty second window gives 0, equal ends give the
// stretch from the later begin to that end, an empty first window the stretch
// from the later begin to b1, a first window crossing midnight with a
// same-day second the stretch to b2, and a same-day first with a second
// crossing midnight the stretch to a2; wrapped onto the clock when negative.
// (a1, a2, a1, a2) is the length of the window.
int32_t Ueberlappung_Minuten(int32_t a1, int32_t a2, int32_t b1, int32_t b2);

// Fills day_minutes, overlap, previous_end and next_start; it only adds to,
// sets or overwrites them (the caller clears the record beforehand).
// Failures are logged and the work goes on with what was gathered.
void Prefix_IndikatorPrf(PnrSatz& person, const BssSatz& target);

// Booked working time of the person's day (first live assignment row read)
// into day_minutes. 0 read; 100 no row (unchanged); -1 no statement handle;
// otherwise the native error code or the ODBC result.
int32_t TagArbZt_Brutto(PnrSatz& person);

// Cursor over the person's live assignments from the day before the date to
// the day after, without function codes and without status 'D' or 'O', by
// date and BdpAkt. Open: 0 opened (also with information), otherwise the
// failure's code and the cursor stays closed. Read clears `row` and fetches
// the next one: 0, 100 at the end, -1 not open, else the failure's code.
int32_t Bdp_VorNchBsz_Open(const PnrSatz& person);
int32_t Bdp_VorNchBsz_Read(BdpRow& row);
int32_t Bdp_VorNchBsz_Close();
