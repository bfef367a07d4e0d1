#include "errlog/error_log.h"

#include <string>

#include "common/scope.h"
#include "db/connection.h"
#include "db/sql_text.h"
#include "db/statement.h"
#include "log/run_log.h"

namespace {

constexpr const char* kPlanErrorKind = "PLANO";
constexpr int32_t kLastRunningNumber = 9999;

bool IsStaffingError(int32_t error_number) {
  return error_number / 100 == 16;
}

void ClearPerErrorFields(ErrSatz& err) {
  err.ErrPnr.clear();
  err.ErrEso.clear();
  err.ErrEsa.clear();
  err.ErrKnz.clear();
  err.ErrBdt.clear();
  err.ErrZtv = 0;
  err.ErrZtb = 0;
  err.ErrFnr = 0;
}

}  // namespace

void Fill_ErrSatz(const char* plan_group, ErrSatz& err, const RunContext& ctx) {
  err = ErrSatz{};
  err.ErrPlg.set(plan_group);
  err.ErrKng.set(kPlanErrorKind);
  err.ErrLfn = 0;
  err.ErrFnr = 0;
  err.ErrErf = ctx.user;
  err.ErrJbd = ctx.job_text1;
  err.ErrJbk = ctx.job_text2;
}

void Err_Write(const BsmRow& row, int32_t error_number, ErrSatz& err) {
  if (IsStaffingError(error_number)) {
    err.ErrPnr.clear();
    err.ErrEso.set(row.BsmEso);
    err.ErrEsa.set(row.BsmEsa);
    err.ErrKnz.set(row.BsmBsz);
    err.ErrBdt.set(row.BsmBdt);
    err.ErrZtv = row.BsmSzv;
    err.ErrZtb = row.BsmSzb;
  }
  err.ErrLfn = err.ErrLfn + 1;
  err.ErrFnr = error_number;

  const int32_t rc = Err_Insert(err);
  if (rc != 0)
    runlog::Log_Printf("-Fehler: Err_Write->Err_Insert() RC: %ld!", static_cast<long>(rc));

  ClearPerErrorFields(err);
  if (err.ErrLfn == kLastRunningNumber) err.ErrLfn = 0;
}

int32_t Err_Insert(const ErrSatz& err) {
  return db::Write(db::SqlText(
      "INSERT INTO %s.Kvt746Err ( ErrPlg, ErrKng, ErrDat, ErrLfn, ErrPnr, ErrEso, ErrEsa, ErrKnz, "
      "ErrBdt, ErrZtv, ErrZtb, ErrFnr, ErrErf, ErrJbd, ErrJbk ) VALUES ( '%s', '%s', "
      "CURRENT_TIMESTAMP, %ld, '%s', '%s', '%s', '%s', convert(datetime, '%s', 112) , %ld, %ld, "
      "%ld, '%s', '%s', '%s' )",
      {db::Schema(), err.ErrPlg, err.ErrKng, err.ErrLfn, err.ErrPnr, err.ErrEso, err.ErrEsa,
       err.ErrKnz, err.ErrBdt, err.ErrZtv, err.ErrZtb, err.ErrFnr, err.ErrErf, err.ErrJbd,
       err.ErrJbk}));
}

int32_t ErrLog_Loeschen(const RunContext& ctx, const char* plan_group) {
  const int32_t rc = Err_Delete(ctx, plan_group, kPlanErrorKind);
  if (rc != 0 && rc != 100) {
    runlog::Log_Printf("-Fehler: ErrLog_Loeschen->Err_Delete() RC: %ld!", static_cast<long>(rc));
  }
  return rc;
}

int32_t Err_Delete(const RunContext& ctx, const char* plan_group, const char* kind) {
  const Scope scope = ScopeOf(ctx.location.view(), ctx.deployment_type.view());
  return db::Write(ForScope(
      scope,
      [&] {
        return db::SqlText(
            "DELETE FROM %s.Kvt746Err WHERE ErrPlg = '%s' AND ErrKng = '%s' AND ((ErrBdt >= "
            "convert(datetime, '%s', 112) AND ErrBdt <= convert(datetime, '%s', 112)) OR ErrBdt "
            "IS NULL OR ErrBdt < CURRENT_TIMESTAMP)",
            {db::Schema(), plan_group, kind, ctx.effective_begin, ctx.effective_end});
      },
      [&] {
        return db::SqlText(
            "DELETE FROM %s.Kvt746Err WHERE ErrPlg = '%s' AND ErrEso = '%s' AND ErrKng = '%s' "
            "AND ((ErrBdt >= convert(datetime, '%s', 112) AND ErrBdt <= convert(datetime, '%s', "
            "112)) OR ErrBdt IS NULL OR ErrBdt < CURRENT_TIMESTAMP)",
            {db::Schema(), plan_group, ctx.location, kind, ctx.effective_begin, ctx.effective_end});
      },
      [&] {
        return db::SqlText(
            "DELETE FROM %s.Kvt746Err WHERE ErrPlg = '%s' AND ErrKng = '%s' AND ErrEso = '%s' "
            "AND ErrEsa = '%s' AND ((ErrBdt >= convert(datetime, '%s', 112) AND ErrBdt <= "
            "convert(datetime, '%s', 112)) OR ErrBdt IS NULL OR ErrBdt < CURRENT_TIMESTAMP)",
            {db::Schema(), plan_group, kind, ctx.location, ctx.deployment_type, ctx.effective_begin,
             ctx.effective_end});
      }));
}
