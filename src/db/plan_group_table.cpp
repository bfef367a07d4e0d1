#include "db/plan_group_table.h"

#include <string>

#include "db/connection.h"
#include "db/datetime_text.h"
#include "db/sql_text.h"
#include "db/statement.h"

namespace {

// The cursor of the Plg_Cur family.
db::Cursor g_plg_cur;

std::string CursorSql(bool full) {
  return db::SqlText(full ? "SELECT PlgPlg, PlgTxt, PlgKal, PlgHzt, PlgSta, convert(char(19), "
                            "PlgDat, 120), PlgErf, convert(char(19), PlgPdt, 120), PlgPlr, "
                            "PlgOpt, PlgOpl FROM %s.Kvt701Plg ORDER BY PlgPlg"
                          : "SELECT PlgPlg, PlgTxt, PlgKal, PlgHzt, PlgSta, convert(char(19), "
                            "PlgDat, 120), PlgErf, convert(char(19), PlgPdt, 120), PlgPlr FROM "
                            "%s.Kvt701Plg ORDER BY PlgPlg",
                     {db::Schema()});
}

// The SQL expression for a date-time held in the internal form: the style-120
// literal, or NULL for an empty field (an empty literal would be stored as
// 1900-01-01 and corrupt the row).
std::string DateTimeValue(const FixedText<15>& compact) {
  if (compact.empty()) return "NULL";
  FixedText<20> text;
  db::DatZeit_Sql(compact.c_str(), text);
  return db::SqlText("convert(datetime, '%s', 120)", {text});
}

std::string PKeyReadSql(const char* plan_group, int32_t switch_set, bool full) {
  const std::string n = std::to_string(switch_set);
  std::string columns =
      "SELECT PlgPlg, PlgTxt, PlgKal, PlgHzt, PlgSta, convert(char(19), PlgDat, 120), PlgErf, "
      "convert(char(19), PlgPdt, 120), PlgPlr, convert(char(19), PlgBeg, 120), PlgUsr, PlgPgm, "
      "PlgFts, PlgQu" +
      n + ", PlgAr" + n + ", PlgRu" + n + ", PlgMe" + n + ", PlgAm" + n + ", PlgRe" + n;
  if (full) columns += ", PlgOpt, PlgOpl";
  columns += " FROM %s.Kvt701Plg WHERE PlgPlg = '%s'";
  return db::SqlText(columns.c_str(), {db::Schema(), plan_group});
}

}  // namespace

int32_t Plg_Cur_Open() {
  g_plg_cur.Close();
  return db::WithOptionalColumns(db::PlgOptionalColumns(),
                                 [](bool full) { return g_plg_cur.Open(CursorSql(full)); });
}

int32_t Plg_Cur_Read(PlgRow& row) {
  PlgRow work = row;
  FixedText<20> dat;
  FixedText<20> pdt;
  const bool full = db::PlgOptionalColumns().present;
  return g_plg_cur.Read(
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
  return g_plg_cur.Close();
}

int32_t Plg_PKey_Read(PlgRow& row, int32_t switch_set) {
  return db::WithOptionalColumns(db::PlgOptionalColumns(), [&](bool full) {
    PlgRow work = row;
    FixedText<20> dat;
    FixedText<20> pdt;
    FixedText<20> beg;
    return db::ReadOne(
        PKeyReadSql(row.PlgPlg.c_str(), switch_set, full),
        [&](db::Columns& c) {
          c.Text(work.PlgPlg).Text(work.PlgTxt).Text(work.PlgKal).Long(work.PlgHzt);
          c.Long(work.PlgSta).Text(dat).Text(work.PlgErf).Text(pdt).Text(work.PlgPlr);
          c.Text(beg).Text(work.PlgUsr).Text(work.PlgPgm).Long(work.PlgFts);
          c.Long(work.PlgQu).Long(work.PlgAr).Long(work.PlgRu);
          c.Long(work.PlgMe).Long(work.PlgAm).Long(work.PlgRe);
          if (full) c.Long(work.PlgOpt).Long(work.PlgOpl);
        },
        [&] {
          db::DatZeit_Kompakt(dat.c_str(), work.PlgDat);
          db::DatZeit_Kompakt(pdt.c_str(), work.PlgPdt);
          db::DatZeit_Kompakt(beg.c_str(), work.PlgBeg);
          row = work;
        });
  });
}

int32_t Plg_PKey_Upd(const PlgRow& row) {
  const std::string sql =
      db::SqlText(
          "UPDATE %s.Kvt701Plg SET PlgTxt = '%s', PlgKal = '%s', PlgHzt = %ld, PlgSta = %ld, "
          "PlgDat = ",
          {db::Schema(), row.PlgTxt, row.PlgKal, row.PlgHzt, row.PlgSta}) +
      DateTimeValue(row.PlgDat) + db::SqlText(", PlgErf = '%s', PlgPdt = ", {row.PlgErf}) +
      DateTimeValue(row.PlgPdt) + db::SqlText(", PlgPlr = '%s', PlgBeg = ", {row.PlgPlr}) +
      DateTimeValue(row.PlgBeg) +
      db::SqlText(", PlgUsr = '%s', PlgPgm = '%s', PlgFts = %ld WHERE PlgPlg = '%s'",
                  {row.PlgUsr, row.PlgPgm, row.PlgFts, row.PlgPlg});
  return db::Write(sql);
}

int32_t Plg_Hzt_Read(const char* plan_group, int32_t& horizon) {
  const std::string sql = db::SqlText("SELECT PlgHzt FROM %s.Kvt701Plg WHERE PlgPlg = '%s'",
                                      {db::Schema(), plan_group});
  db::ReadRules rules;
  rules.exec_zero = db::ZeroNative::kMinusOne;
  rules.fetch_diagnostics = false;
  return db::ReadLong(sql, horizon, rules);
}
