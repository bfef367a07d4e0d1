#include "optimise/day_working_time.h"

#include <string>

#include "calendar/planning_period.h"
#include "calendar/time_arith.h"
#include "db/connection.h"
#include "db/sql_text.h"
#include "db/statement.h"
#include "optimise/neighbour_check.h"
#include "optimise/slot_time.h"

namespace {

// The cursor of the Bdp_PnrTag family.
db::Cursor g_bdp_pnr_tag;

// Minutes since midnight of the hhmm part of a 14-digit date-time.
int32_t ClockMinutes(const FixedText<15>& date_time) {
  if (date_time.length() < 12) return 0;
  return Zeit_Minuten(date_time.c_str() + 8);
}

int32_t BlockLength(const FixedText<15>& start, const FixedText<15>& end) {
  const int32_t x = ClockMinutes(start);
  const int32_t y = ClockMinutes(end);
  return Ueberlappung_Minuten(x, y, x, y);
}

}  // namespace

DayIntervalList::DayIntervalList(const char* date, const char* next_date, int32_t window_begin,
                                 int32_t window_end)
    : window_begin_(window_begin), window_end_(window_end) {
  date_.set(date);
  next_date_.set(next_date);
}

bool DayIntervalList::Append(int32_t begin, int32_t end) {
  if (full()) return false;
  DayInterval& item = items_[size_++];
  WindowDateTimes(date_.c_str(), next_date_.c_str(), begin, end, item.start, item.end);
  item.begin_minute = begin;
  item.end_minute = end;
  return true;
}

bool DayIntervalList::AddAssignment(int32_t begin, int32_t end) {
  if (full()) return false;
  // The window goes before the first row that begins after it. It is listed
  // once only, even when rows out of begin order would place it again.
  if (!window_listed_ && window_begin_ < begin && window_begin_ >= previous_row_begin_) {
    Append(window_begin_, window_end_);
    window_listed_ = true;
    if (full()) return false;
  }
  Append(begin, end);
  previous_row_begin_ = begin;
  return !full();
}

void DayIntervalList::Finish() {
  if (!window_listed_ && Append(window_begin_, window_end_)) window_listed_ = true;
}

int32_t MergedMinutes(const DayIntervalList& list) {
  int64_t total = 0;
  FixedText<15> block_start;
  FixedText<15> block_end;
  for (std::size_t i = 0; i < list.size(); ++i) {
    const DayInterval& item = list.at(i);
    if (item.start.view() >= block_end.view()) {
      if (!block_start.empty() && !block_end.empty()) total += BlockLength(block_start, block_end);
      block_start = item.start;
      block_end = item.end;
    } else if (item.end.view() > block_end.view()) {
      block_end = item.end;
    }
  }
  if (!block_start.empty() || !block_end.empty()) total += BlockLength(block_start, block_end);
  return total > INT32_MAX ? INT32_MAX : static_cast<int32_t>(total);
}

int32_t Bdp_PnrTag_Open(const char* pnr, const char* date) {
  const std::string format =
      std::string(BdpSelectList()) +
      " FROM %s.Kvt730Bdp WHERE BdpPnr = '%s' AND BdpBdt = convert(datetime, '%s', 112) AND "
      "BdpAkt <> 9999 AND BdpSts <> 'O' AND BdpSts <> 'D' ORDER BY BdpPnr, BdpBdt, BdpSzv, BdpSzb";
  return g_bdp_pnr_tag.Open(db::SqlText(format.c_str(), {db::Schema(), pnr, date}));
}

int32_t Bdp_PnrTag_Read(BdpRow& row) {
  BdpRow work = row;
  FixedText<20> dat_scratch;
  return g_bdp_pnr_tag.Read([&](db::Columns& c) { BindBdpRow(c, work, dat_scratch); },
                            [&] { row = work; });
}

int32_t Bdp_PnrTag_Close() {
  return g_bdp_pnr_tag.Close();
}

void TagArbZt_Ermitteln(PnrSatz& person) {
  FixedText<9> next_date;
  Kalendertag_Ermitteln(person.date.c_str(), 1, next_date);
  DayIntervalList list(person.date.c_str(), next_date.c_str(), person.window_begin,
                       person.window_end);

  Bdp_PnrTag_Open(person.pnr.c_str(), person.date.c_str());
  BdpRow row;
  while (Bdp_PnrTag_Read(row) == 0) {
    const bool other_slot = row.BdpAsw == 3;
    const int32_t begin = other_slot ? row.BdpOsv : row.BdpSzv;
    const int32_t end = other_slot ? row.BdpOsb : row.BdpSzb;
    if (!list.AddAssignment(begin, end)) break;
  }
  Bdp_PnrTag_Close();
  list.Finish();

  const int32_t total = MergedMinutes(list);
  if (total > 0) person.day_minutes = total;
}
