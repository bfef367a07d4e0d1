#include "db/staffing_cursor.h"

#include "db/datetime_text.h"

int32_t BsmCursor::Read(BsmRow& row) {
  BsmRow work = row;
  FixedText<20> dat_work;
  return cursor_.Read([&](db::Columns& c) { BindBsmRow(c, work, dat_work, with_optional_); },
                      [&] {
                        db::DatZeit_Kompakt(dat_work.c_str(), work.BsmDat);
                        row = work;
                      });
}
