#include "calendar/calendar.h"

#include "db/connection.h"
#include "db/sql_text.h"
#include "db/statement.h"

int32_t Bak_Tag_Read(BakDay& day) {
  BakDay work = day;
  const std::string sql = db::SqlText(
      "SELECT convert(char(8), BakDtm, 112), BakJhr, BakMon, BakTag, BakWch, BakWtg, BakJtg "
      "FROM KvtSystem.Kvt133Bak WHERE BakDtm = dateadd(d, %ld, convert(datetime, '%s', 112))",
      {day.offset, day.BakDtm});
  return db::ReadOne(
      sql,
      [&](db::Columns& c) {
        c.Text(work.BakDtm).Long(work.BakJhr).Long(work.BakMon).Long(work.BakTag);
        c.Long(work.BakWch).Long(work.BakWtg).Long(work.BakJtg);
      },
      [&] {
        work.offset = day.offset;
        day = work;
      });
}

int32_t Bak_MaxDtm_Read(FixedText<9>& result) {
  FixedText<9> work;
  const std::string sql =
      db::SqlText("SELECT convert(char(8), MAX(BakDtm), 112) FROM KvtSystem.Kvt133Bak", {});
  // An empty calendar yields one row with a NULL maximum: the work field
  // stays empty and so does the result.
  return db::ReadOne(
      sql, [&](db::Columns& c) { c.Text(work); }, [&] { result = work; });
}

int32_t Bak_Wtg_Read(const char* date, int32_t& weekday) {
  const std::string sql = db::SqlText(
      "SELECT BakWtg FROM KvtSystem.Kvt133Bak WHERE BakDtm = convert(datetime, '%s', 112)", {date});
  return db::ReadLong(sql, weekday);
}

int32_t Pka_Tag_Read(const char* plan_group, const char* date, FixedText<4>& day_type,
                     int32_t& number) {
  FixedText<4> type_work = day_type;
  int32_t number_work = number;
  const std::string sql = db::SqlText(
      "SELECT PkaTtp, PkaGwt FROM %s.Kvt755Pka, %s.Kvt701Plg WHERE PlgPlg = '%s' AND PlgPlg = "
      "PkaPlg AND PlgKal = PkaNum AND PkaDtm = convert(datetime, '%s', 112)",
      {db::Schema(), db::Schema(), plan_group, date});
  return db::ReadOne(
      sql, [&](db::Columns& c) { c.Text(type_work).Long(number_work); },
      [&] {
        day_type = type_work;
        number = number_work;
      });
}
