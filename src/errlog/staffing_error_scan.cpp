#include "errlog/staffing_error_scan.h"

#include <string>

#include "db/connection.h"
#include "db/sql_text.h"
#include "db/staffing_cursor.h"
#include "errlog/error_log.h"
#include "errlog/slot_error.h"
#include "log/run_log.h"

namespace {

// The statement handles of the three families.
BsmCursor g_bsm_plg_von_bis;
BsmCursor g_bsm_eso_von_bis;
BsmCursor g_bsm_esa_von_bis;

BsmCursor& Family(Scope scope) {
  return ForScope(
      scope, []() -> BsmCursor& { return g_bsm_plg_von_bis; },
      []() -> BsmCursor& { return g_bsm_eso_von_bis; },
      []() -> BsmCursor& { return g_bsm_esa_von_bis; });
}

// "SELECT <columns> FROM %s.Kvt725Bsm <condition> ORDER By ..." as a format
// text; the column list holds no '%'.
std::string ScanFormat(bool full, const char* condition) {
  return std::string("SELECT ") + BsmColumnList(full) + " FROM %s.Kvt725Bsm " + condition +
         " ORDER By BsmBdt, BsmEso, BsmEsa, BsmSzv";
}

}  // namespace

int32_t Bsm_VonBis_Open(Scope scope, const char* plan_group, const char* location,
                        const char* deployment_type, const char* begin, const char* end) {
  return Family(scope).Open([&](bool full) {
    return ForScope(
        scope,
        [&] {
          return db::SqlText(ScanFormat(full,
                                        "WHERE BsmPlg = '%s' AND BsmBdt >= convert(datetime, "
                                        "'%s', 112) AND BsmBdt <= convert(datetime, '%s', 112)")
                                 .c_str(),
                             {db::Schema(), plan_group, begin, end});
        },
        [&] {
          return db::SqlText(
              ScanFormat(full,
                         "WHERE BsmPlg = '%s' AND BsmEso = '%s' AND BsmBdt >= convert(datetime, "
                         "'%s', 112) AND BsmBdt <= convert(datetime, '%s', 112)")
                  .c_str(),
              {db::Schema(), plan_group, location, begin, end});
        },
        [&] {
          return db::SqlText(
              ScanFormat(full,
                         "WHERE BsmPlg = '%s' AND BsmEso = '%s' AND BsmEsa = '%s' AND BsmBdt >= "
                         "convert(datetime, '%s', 112) AND BsmBdt <= convert(datetime, '%s', 112)")
                  .c_str(),
              {db::Schema(), plan_group, location, deployment_type, begin, end});
        });
  });
}
int32_t Bsm_VonBis_Read(Scope scope, BsmRow& row) {
  return Family(scope).Read(row);
}
int32_t Bsm_VonBis_Close(Scope scope) {
  return Family(scope).Close();
}

int32_t Bsm_PlgVonBis_Open(const char* plan_group, const char* begin, const char* end) {
  return Bsm_VonBis_Open(Scope::kPlanGroup, plan_group, "", "", begin, end);
}
int32_t Bsm_PlgVonBis_Read(BsmRow& row) {
  return Bsm_VonBis_Read(Scope::kPlanGroup, row);
}
int32_t Bsm_PlgVonBis_Close() {
  return Bsm_VonBis_Close(Scope::kPlanGroup);
}

int32_t Bsm_EsoVonBis_Open(const char* plan_group, const char* location, const char* begin,
                           const char* end) {
  return Bsm_VonBis_Open(Scope::kLocation, plan_group, location, "", begin, end);
}
int32_t Bsm_EsoVonBis_Read(BsmRow& row) {
  return Bsm_VonBis_Read(Scope::kLocation, row);
}
int32_t Bsm_EsoVonBis_Close() {
  return Bsm_VonBis_Close(Scope::kLocation);
}

int32_t Bsm_EsaVonBis_Open(const char* plan_group, const char* location,
                           const char* deployment_type, const char* begin, const char* end) {
  return Bsm_VonBis_Open(Scope::kLocationType, plan_group, location, deployment_type, begin, end);
}
int32_t Bsm_EsaVonBis_Read(BsmRow& row) {
  return Bsm_VonBis_Read(Scope::kLocationType, row);
}
int32_t Bsm_EsaVonBis_Close() {
  return Bsm_VonBis_Close(Scope::kLocationType);
}

int32_t Prf_BsmSatz(const BsmRow& row, ErrSatz& err) {
  const int32_t error_number = SlotErrorNumber(row);
  if (error_number == 0) return 0;
  Err_Write(row, error_number, err);
  return 1;
}

void BsmError_Work(const RunContext& ctx, const char* plan_group, ErrSatz& err) {
  const Scope scope = ScopeOf(ctx.location.view(), ctx.deployment_type.view());
  const char* begin = ctx.effective_begin.c_str();
  const char* end = ctx.effective_end.c_str();
  BsmRow row;
  int32_t rc = 0;

  // A failed open leaves the cursor closed; the first read then gives -1.
  Bsm_VonBis_Open(scope, plan_group, ctx.location.c_str(), ctx.deployment_type.c_str(), begin, end);
  while ((rc = Bsm_VonBis_Read(scope, row)) == 0) Prf_BsmSatz(row, err);
  Bsm_VonBis_Close(scope);
  if (rc != 100) {
    runlog::Log_Printf(
        "-Fehler: BsmError_Work->Bsm_%sVonBis_Read() RC: %ld! PLG: %s%s VON: %s BIS: %s",
        ScopeTag(scope), static_cast<long>(rc), plan_group,
        ScopeKeys(scope, ctx.location.view(), ctx.deployment_type.view()).c_str(), begin, end);
  }
}
