// One cursor family over the staffing matrix Kvt725Bsm: a statement handle
// and the column form it was opened with.
//
// Open closes a previous handle first and runs the statement that
// build(with_optional) returns: the full column list while the table has
// BsmOva/BsmOve, else (after the first 207, which clears the shared flag)
// the short one in the same call. Read binds exactly the columns of the
// form the family was opened with and delivers one row into the caller's
// row (0 row, 100 end, -1 not open, else the native error); the short form
// leaves BsmOva/BsmOve as the caller's row held them. Close releases the
// handle and returns 0.
#pragma once

#include <cstdint>
#include <string>

#include "db/staffing_row.h"
#include "db/statement.h"

class BsmCursor {
 public:
  template <class Build>
  int32_t Open(Build&& build) {
    cursor_.Close();
    return db::WithOptionalColumns(db::BsmOptionalColumns(), [&](bool with_optional) {
      with_optional_ = with_optional;
      return cursor_.Open(build(with_optional));
    });
  }
  int32_t Read(BsmRow& row);
  int32_t Close() { return cursor_.Close(); }

 private:
  db::Cursor cursor_;
  bool with_optional_ = true;
};
