#include "errlog/staffing_error_scan.h"

#include <string>

#include "db/connection.h"
#include "db/sql_text.h"
#include "errlog/error_log.h"
#include "errlog/slot_error.h"
#include "log/run_log.h"
#include "optimise/staffing_cursor.h"

namespace {

BsmCursor g_plg_cursor;
BsmCursor g_eso_cursor;
BsmCursor g_esa_cursor;

// "SELECT <columns> FROM %s.Kvt725Bsm <condition> ORDER By ..." as a format
// text; the column list holds no '%'.
std::string ScanFormat(bool full, const char* condition) {
  return std::string("SELECT ") + BsmColumnList(full) + " FROM %s.Kvt725Bsm " + condition +
         " ORDER By BsmBdt, BsmEso, BsmEsa, BsmSzv";
}

}  // namespace

int32_t Bsm_PlgVonBis_Open(const char* plan_group, const char* begin, const char* end) {
  return g_plg_cursor.Open([&](bool full) {
    return db::SqlText(ScanFormat(full,
                                  "WHERE BsmPlg = '%s' AND BsmBdt >= convert(datetime, '%s', "
                                  "112) AND BsmBdt <= convert(datetime, '%s', 112)")
                           .c_str(),
                       {db::Schema(), plan_group, begin, end});
  });
}
int32_t Bsm_PlgVonBis_Read(BsmRow& row) {
  return g_plg_cursor.Read(row);
}
int32_t Bsm_PlgVonBis_Close() {
  return g_plg_cursor.Close();
}

int32_t Bsm_EsoVonBis_Open(const char* plan_group, const char* location, const char* begin,
                           const char* end) {
  return g_eso_cursor.Open([&](bool full) {
    return db::SqlText(
        ScanFormat(full,
                   "WHERE BsmPlg = '%s' AND BsmEso = '%s' AND BsmBdt >= convert(datetime, '%s', "
                   "112) AND BsmBdt <= convert(datetime, '%s', 112)")
            .c_str(),
        {db::Schema(), plan_group, location, begin, end});
  });
}
int32_t Bsm_EsoVonBis_Read(BsmRow& row) {
  return g_eso_cursor.Read(row);
}
int32_t Bsm_EsoVonBis_Close() {
  return g_eso_cursor.Close();
}

int32_t Bsm_EsaVonBis_Open(const char* plan_group, const char* location,
                           const char* deployment_type, const char* begin, const char* end) {
  return g_esa_cursor.Open([&](bool full) {
    return db::SqlText(
        ScanFormat(full,
                   "WHERE BsmPlg = '%s' AND BsmEso = '%s' AND BsmEsa = '%s' AND BsmBdt >= "
                   "convert(datetime, '%s', 112) AND BsmBdt <= convert(datetime, '%s', 112)")
            .c_str(),
        {db::Schema(), plan_group, location, deployment_type, begin, end});
  });
}
int32_t Bsm_EsaVonBis_Read(BsmRow& row) {
  return g_esa_cursor.Read(row);
}
int32_t Bsm_EsaVonBis_Close() {
  return g_esa_cursor.Close();
}

int32_t Prf_BsmSatz(const BsmRow& row, ErrSatz& err) {
  const int32_t error_number = SlotErrorNumber(row);
  if (error_number == 0) return 0;
  Err_Write(row, error_number, err);
  return 1;
}

void BsmError_Work(const RunContext& ctx, const char* plan_group, ErrSatz& err) {
  const char* begin = ctx.effective_begin.c_str();
  const char* end = ctx.effective_end.c_str();
  BsmRow row;
  int32_t rc = 0;

  // A failed open leaves the cursor closed; the first read then gives -1.
  if (ctx.location.empty()) {
    Bsm_PlgVonBis_Open(plan_group, begin, end);
    while ((rc = Bsm_PlgVonBis_Read(row)) == 0) Prf_BsmSatz(row, err);
    Bsm_PlgVonBis_Close();
    if (rc != 100) {
      runlog::Log_Printf(
          "-Fehler: BsmError_Work->Bsm_PlgVonBis_Read() RC: %ld! PLG: %s VON: %s "
          "BIS: %s",
          static_cast<long>(rc), plan_group, begin, end);
    }
  } else if (ctx.deployment_type.empty()) {
    const char* location = ctx.location.c_str();
    Bsm_EsoVonBis_Open(plan_group, location, begin, end);
    while ((rc = Bsm_EsoVonBis_Read(row)) == 0) Prf_BsmSatz(row, err);
    Bsm_EsoVonBis_Close();
    if (rc != 100) {
      runlog::Log_Printf(
          "-Fehler: BsmError_Work->Bsm_EsoVonBis_Read() RC: %ld! PLG: %s ESO: %s "
          "VON: %s BIS: %s",
          static_cast<long>(rc), plan_group, location, begin, end);
    }
  } else {
    const char* location = ctx.location.c_str();
    const char* type = ctx.deployment_type.c_str();
    Bsm_EsaVonBis_Open(plan_group, location, type, begin, end);
    while ((rc = Bsm_EsaVonBis_Read(row)) == 0) Prf_BsmSatz(row, err);
    Bsm_EsaVonBis_Close();
    if (rc != 100) {
      runlog::Log_Printf(
          "-Fehler: BsmError_Work->Bsm_EsaVonBis_Read() RC: %ld! PLG: %s ESO: %s "
          "ESA: %s VON: %s BIS: %s",
          static_cast<long>(rc), plan_group, location, type, begin, end);
    }
  }
}
