#include "optimise/neighbour_check.h"

#include <algorithm>
#include <string>

#include "common/int32_clamp.h"
#include "db/connection.h"
#include "db/sql_text.h"
#include "db/statement.h"
#include "log/run_log.h"
#include "optimise/slot_time.h"

namespace {

constexpr int64_t kDay = 1440;

// The cursor of the Bdp_VorNchBsz family.
db::Cursor g_bdp_vor_nch_bsz;

bool Later(const FixedText<15>& x, const FixedText<15>& y) {
  return x.view() > y.view();
}

}  // namespace

int32_t Ueberlappung_Minuten(int32_t a1_32, int32_t a2_32, int32_t b1_32, int32_t b2_32) {
  const int64_t a1 = a1_32, a2 = a2_32, b1 = b1_32, b2 = b2_32;
  if (b1 == b2) return 0;
  const int64_t start = std::max(a1, b1);
  int64_t end;
  if (a2 == b2) {
    end = a2;
  } else if (a2 == a1) {
    end = b1;
  } else if (a2 > a1) {
    end = b2 > b1 ? std::min(a2, b2) : a2;
  } else {
    end = b2 > b1 ? b2 : std::min(a2, b2);
  }
  int64_t minutes = end - start;
  if (end < start) minutes += kDay;
  return ClampToInt32(minutes);
}

int32_t TagArbZt_Brutto(PnrSatz& person) {
  const std::string sql = db::SqlText(
      "SELECT COALESCE(BdpAzt, 0) FROM %s.Kvt730Bdp WHERE BdpPnr = '%s' AND BdpBdt = "
      "convert(datetime, '%s', 112) AND BdpAkt <> 9999",
      {db::Schema(), person.pnr, person.date});
  return db::ReadLong(sql, person.day_minutes);
}

int32_t Bdp_VorNchBsz_Open(const PnrSatz& person) {
  const std::string format =
      std::string(BdpSelectList()) +
      " FROM %s.Kvt730Bdp WHERE BdpPnr = '%s' AND BdpBdt >= dateadd(dd, -1, convert(datetime, "
      "'%s', 112)) AND BdpBdt <= dateadd(dd, +1, convert(datetime, '%s', 112)) AND BdpAkt <> "
      "9999 AND BdpFc1 = '   ' AND BdpFc2 = '   ' AND BdpFc3 = '   ' AND BdpSts <> 'D' AND "
      "BdpSts <> 'O' ORDER BY BdpPnr, BdpBdt, BdpAkt";
  const std::string sql =
      db::SqlText(format.c_str(), {db::Schema(), person.pnr, person.date, person.date});
  const int32_t rc = g_bdp_vor_nch_bsz.Open(sql);
  return rc == SQL_SUCCESS_WITH_INFO ? 0 : rc;
}

int32_t Bdp_VorNchBsz_Read(BdpRow& row) {
  row = BdpRow{};
  BdpRow work;
  FixedText<20> dat_scratch;
  return g_bdp_vor_nch_bsz.Read([&](db::Columns& c) { BindBdpRow(c, work, dat_scratch); },
                                [&] { row = work; });
}

int32_t Bdp_VorNchBsz_Close() {
  return g_bdp_vor_nch_bsz.Close();
}

void Prefix_IndikatorPrf(PnrSatz& person, const BssSatz& target) {
  const int32_t brutto = TagArbZt_Brutto(person);
  if (brutto != 0 && brutto != 100) {
    runlog::Log_Printf("-Fehler: Prefix_IndikatorPrf->TagArbZt_Brutto() RC: %ld! PNR: %s DAT: %s",
                       static_cast<long>(brutto), person.pnr.c_str(), person.date.c_str());
  }

  int32_t target_begin = target.BssVon;
  int32_t target_end = target.BssBis;
  if (target.BssAsw == 3) {
    target_begin = 0;
    target_end = 0;
  }
  person.day_minutes = ClampToInt32(
      static_cast<int64_t>(person.day_minutes) +
      Ueberlappung_Minuten(target_begin, target_end, person.window_begin, person.window_end));

  FixedText<15> target_start;
  FixedText<15> target_finish;
  WindowDateTimesOnDay(person.date.c_str(), target_begin, target_end, target_start, target_finish);

  const int32_t opened = Bdp_VorNchBsz_Open(person);
  if (opened != 0) {
    runlog::Log_Printf(
        "-Fehler: Prefix_IndikatorPrf->Bdp_VorNchBsz_Open() RC: %ld! PNR: %s DAT: %s",
        static_cast<long>(opened), person.pnr.c_str(), person.date.c_str());
  }

  BdpRow row;
  int32_t rc;
  while ((rc = Bdp_VorNchBsz_Read(row)) == 0) {
    int32_t begin = row.BdpSzv;
    int32_t end = row.BdpSzb;
    if (row.BdpAwp == 3 && row.BdpAsw == 3) {
      begin = row.BdpOsv;
      end = row.BdpOsb;
    }
    FixedText<15> start;
    FixedText<15> finish;
    WindowDateTimesOnDay(row.BdpBdt.c_str(), begin, end, start, finish);

    if (Later(target_finish, start) && Later(finish, target_start)) person.overlap = 1;
    if (!Later(finish, target_start)) person.previous_end = finish;
    if (!Later(target_finish, start)) person.next_start = start;
  }
  if (rc != 100) {
    runlog::Log_Printf(
        "-Fehler: Prefix_IndikatorPrf->Bdp_VorNchBsz_Read() RC: %ld! PNR: %s DAT: %s",
        static_cast<long>(rc), person.pnr.c_str(), person.date.c_str());
  }
  Bdp_VorNchBsz_Close();
}
