// Conversions between the database's style-120 date-time text
// "yyyy-mm-dd hh:mm:ss" and the job's internal 14-digit form
// "yyyymmddhhmmss". Neither validates its input.
#pragma once

#include "common/fixed_text.h"

namespace db {

// Characters 1-4, 6-7, 9-10, 12-13, 15-16 and 18-19 of `style120`, in this
// order. A source shorter than 19 characters gives only the characters it
// has (an empty source gives an empty target).
void DatZeit_Kompakt(const char* style120, FixedText<15>& target);

// The 14 digits with "-" after year and month, a blank after the day and ":"
// after hour and minute. An empty source gives an empty target (a NULL
// date-time stays NULL instead of becoming an empty style-120 literal).
void DatZeit_Sql(const char* compact, FixedText<20>& target);

}  // namespace db
