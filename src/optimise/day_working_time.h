// Working time of a person's day: the minutes covered by the union of the
// person's live assignments on the date and the working window of the day
// plan, overlapping stretches counted once.
//
// The assignments are read in order of slot start; the working window is
// placed before the first assignment that begins after it (or last), and the
// list holds at most 20 intervals: further assignments are not counted, and
// the window only when it was placed among the 20.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/fixed_text.h"
#include "optimise/assignment_row.h"
#include "optimise/person_record.h"

struct DayInterval {
  FixedText<15> start;  // yyyymmddhhmmss
  FixedText<15> end;
  int32_t begin_minute = 0;
  int32_t end_minute = 0;
};

// The interval list of one day, built in reading order.
class DayIntervalList {
 public:
  static constexpr std::size_t kCapacity = 20;

  // `date` is the person's day, `next_date` the calendar day after it (used
  // for intervals crossing midnight); the working window is begin-end.
  DayIntervalList(const char* date, const char* next_date, int32_t window_begin,
                  int32_t window_end);

  // Takes the next assignment in reading order, interval begin-end. Returns
  // false once the list is full; no further rows are to be offered then.
  bool AddAssignment(int32_t begin, int32_t end);

  // After the last row: appends the working window when it is not in the
  // list yet and there is room.
  void Finish();

  std::size_t size() const { return size_; }
  const DayInterval& at(std::size_t i) const { return items_[i]; }
  bool full() const { return size_ == kCapacity; }

 private:
  bool Append(int32_t begin, int32_t end);

  FixedText<9> date_;
  FixedText<9> next_date_;
  int32_t window_begin_;
  int32_t window_end_;
  bool window_listed_ = false;
  int32_t previous_row_begin_ = 0;
  DayInterval items_[kCapacity];
  std::size_t size_ = 0;
};

// Total minutes of the list, merging intervals in list order: an interval
// starting at or after the current block's end closes the block and starts a
// new one, otherwise it extends the block's end. A block's length is taken
// from the hhmm of its start and end on the 1440-minute clock.
int32_t MergedMinutes(const DayIntervalList& list);

// Recomputes the person's day_minutes from the day's assignments; a total of
// 0 leaves them as they were. Nothing is logged: a failed read ends the
// reading like the end of the rows.
void TagArbZt_Ermitteln(PnrSatz& person);

// Cursor over the person's live assignments on the date (not status 'D' or
// 'O', BdpAkt not 9999), by slot start and end. Open: the execution's ODBC
// result, or the failure's code (cursor closed). Read fills `row` with the
// next row (unbound fields keep their values): 0, 100 at the end, -1 not open,
// otherwise the failure's code.
int32_t Bdp_PnrTag_Open(const char* pnr, const char* date);
int32_t Bdp_PnrTag_Read(BdpRow& row);
int32_t Bdp_PnrTag_Close();
