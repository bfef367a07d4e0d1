// The loop over every plan group and its cursor over Kvt701Plg (in PlgPlg
// order, no filter: each pass decides from PlgOpl whether there is work).
#include "app/plan_group_loop.h"

#include <string>

#include "db/connection.h"
#include "db/datetime_text.h"
#include "db/sql_text.h"
#include "db/statement.h"
#include "log/run_log.h"
#include "optimise/plan_group_pass.h"

namespace {

db::Cursor g_plg_cursor;

std::string CursorSql(bool full) {
  return db::SqlText(full ? "SELECT PlgPlg, PlgTxt, PlgKal, PlgHzt, PlgSta, convert(char(19), "
                            "PlgDat, 120), PlgErf, convert(char(19), PlgPdt, 120), PlgPlr, "
                            "PlgOpt, PlgOpl FROM %s.Kvt701Plg ORDER BY PlgPlg"
                          : "SELECT PlgPlg, PlgTxt, PlgKal, PlgHzt, PlgSta, convert(char(19), "
                            "PlgDat, 120), PlgErf, convert(char(19), PlgPdt, 120), PlgPlr FROM "
                            "%s.Kvt701Plg ORDER BY PlgPlg",
                     {db::Schema()});
}

}  // namespace

int32_t Plg_Cur_Open() {
  g_plg_cursor.Close();
  return db::WithOptionalColumns(db::PlgOptionalColumns(),
                                 [](bool full) { return g_plg_cursor.Open(CursorSql(full)); });
}

int32_t Plg_Cur_Read(PlgRow& row) {
  PlgRow work = row;
  FixedText<20> dat;
  FixedText<20> pdt;
  const bool full = db::PlgOptionalColumns().present;
  return g_plg_cursor.Read(
      [&](db::Columns& c) {
        c.Text(work.PlgPlg).Text(work.PlgTxt).Text(work.PlgKal).Long(work.PlgHzt);
        c.Long(work.PlgSta).Text(dat).Text(work.PlgErf).Text(pdt).Text(work.PlgPlr);
        if (full) c.Long(work.PlgOpt).Long(work.PlgOpl);
      },
      [&] {
        db::DatZeit_Kompakt(dat.c_str(), work.PlgDat);
        db::DatZeit_Kompakt(pdt.c_str(), work.PlgPdt);
        row = work;
      });
}

int32_t Plg_Cur_Close() {
  return g_plg_cursor.Close();
}

void Plangruppen_Ermitteln(RunContext& ctx, ErrSatz& err) {
  // A failed open leaves the cursor closed; the first read then gives -1.
  Plg_Cur_Open();
  PlgRow row;
  int32_t rc = 0;
  while ((rc = Plg_Cur_Read(row)) == 0) {
    Einsatzplan_Optimieren(ctx, row.PlgPlg.c_str(), "", "", err);
  }
  Plg_Cur_Close();
  if (rc != 100) {
    runlog::Log_Printf("-Fehler: Plangruppen_Ermitteln()->Plg_Cur_Read() RC: %ld!",
                       static_cast<long>(rc));
  }
}
