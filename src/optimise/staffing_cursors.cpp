#include "optimise/staffing_cursors.h"

#include <string>

#include "db/connection.h"
#include "db/sql_text.h"
#include "db/staffing_cursor.h"

namespace {

// The statement handles of the families.
BsmCursor g_bsm_plg_untc;
BsmCursor g_bsm_eso_untc;
BsmCursor g_bsm_esa_untc;
BsmCursor g_bsm_plg_uebc;
BsmCursor g_bsm_eso_uebc;
BsmCursor g_bsm_esa_uebc;

BsmCursor& ShortFamily(Scope scope) {
  return ForScope(
      scope, []() -> BsmCursor& { return g_bsm_plg_untc; },
      []() -> BsmCursor& { return g_bsm_eso_untc; }, []() -> BsmCursor& { return g_bsm_esa_untc; });
}

BsmCursor& SurplusFamily(Scope scope) {
  return ForScope(
      scope, []() -> BsmCursor& { return g_bsm_plg_uebc; },
      []() -> BsmCursor& { return g_bsm_eso_uebc; }, []() -> BsmCursor& { return g_bsm_esa_uebc; });
}

// " SELECT <columns> FROM %s.Kvt725Bsm <condition> "
std::string SelectFormat(bool with_optional, const char* condition) {
  return std::string(" SELECT ") + BsmColumnList(with_optional) + " FROM %s.Kvt725Bsm " +
         condition + " ";
}

constexpr const char* kPlgShort =
    "WHERE BsmPlg = '%s' AND BsmBdt = convert(datetime, '%s', 112) AND BsmFkt < 0 "
    "ORDER By BsmFkt";
constexpr const char* kEsoShort =
    "WHERE BsmPlg = '%s' AND BsmEso = '%s ' AND BsmBdt = convert(datetime, '%s', 112) "
    "AND BsmFkt < 0 ORDER By BsmFkt";
constexpr const char* kEsaShort =
    "WHERE BsmPlg = '%s' AND BsmEso = '%s ' AND BsmEsa = '%s' AND BsmBdt = convert(datetime, "
    "'%s', 112) AND BsmFkt < 0 ORDER By BsmFkt";
constexpr const char* kPlgSurplus =
    "WHERE BsmPlg = '%s' AND BsmAsw = %ld AND BsmBdt = convert(datetime, '%s', 112) "
    "AND BsmFkt > 0 ORDER By BsmFkt DESC";
constexpr const char* kEsoSurplus =
    "WHERE BsmPlg = '%s' AND BsmEso = '%s' AND BsmAsw = %ld AND BsmBdt = convert(datetime, "
    "'%s', 112) AND BsmFkt > 0 ORDER By BsmFkt DESC";
constexpr const char* kEsaSurplus =
    "WHERE BsmPlg = '%s' AND BsmEso = '%s' AND BsmEsa = '%s' AND BsmBdt = convert(datetime, "
    "'%s', 112) AND BsmAsw = %ld AND BsmFkt > 0 ORDER By BsmFkt DESC";

}  // namespace

int32_t Bsm_UntC_Open(Scope scope, const char* plan_group, const char* location,
                      const char* deployment_type, const char* day) {
  return ShortFamily(scope).Open([&](bool full) {
    return ForScope(
        scope,
        [&] {
          return db::SqlText(SelectFormat(full, kPlgShort).c_str(),
                             {db::Schema(), plan_group, day});
        },
        [&] {
          return db::SqlText(SelectFormat(full, kEsoShort).c_str(),
                             {db::Schema(), plan_group, location, day});
        },
        [&] {
          return db::SqlText(SelectFormat(full, kEsaShort).c_str(),
                             {db::Schema(), plan_group, location, deployment_type, day});
        });
  });
}
int32_t Bsm_UntC_Read(Scope scope, BsmRow& row) {
  return ShortFamily(scope).Read(row);
}
int32_t Bsm_UntC_Close(Scope scope) {
  return ShortFamily(scope).Close();
}

int32_t Bsm_UebC_Open(Scope scope, const BsmRow& s) {
  return SurplusFamily(scope).Open([&](bool full) {
    return ForScope(
        scope,
        [&] {
          return db::SqlText(SelectFormat(full, kPlgSurplus).c_str(),
                             {db::Schema(), s.BsmPlg, s.BsmAsw, s.BsmBdt});
        },
        [&] {
          return db::SqlText(SelectFormat(full, kEsoSurplus).c_str(),
                             {db::Schema(), s.BsmPlg, s.BsmEso, s.BsmAsw, s.BsmBdt});
        },
        [&] {
          return db::SqlText(SelectFormat(full, kEsaSurplus).c_str(),
                             {db::Schema(), s.BsmPlg, s.BsmEso, s.BsmEsa, s.BsmBdt, s.BsmAsw});
        });
  });
}
int32_t Bsm_UebC_Read(Scope scope, BsmRow& row) {
  return SurplusFamily(scope).Read(row);
}
int32_t Bsm_UebC_Close(Scope scope) {
  return SurplusFamily(scope).Close();
}
