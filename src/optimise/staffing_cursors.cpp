#include "optimise/staffing_cursors.h"

#include <string>

#include "db/connection.h"
#include "db/sql_text.h"
#include "optimise/staffing_cursor.h"

namespace {

BsmCursor g_plg_short;
BsmCursor g_eso_short;
BsmCursor g_esa_short;
BsmCursor g_plg_surplus;
BsmCursor g_eso_surplus;
BsmCursor g_esa_surplus;

// " SELECT <columns> FROM %s.Kvt725Bsm <condition> "
std::string SelectFormat(bool with_optional, const char* condition) {
  return std::string(" SELECT ") + BsmColumnList(with_optional) + " FROM %s.Kvt725Bsm " +
         condition + " ";
}

// Opens `family` with the statement that `build(format)` formats.
template <class Build>
int32_t OpenFamily(BsmCursor& family, const char* condition, Build&& build) {
  return family.Open(
      [&](bool with_optional) { return build(SelectFormat(with_optional, condition)); });
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

int32_t Bsm_PlgUntC_Open(const char* plan_group, const char* day) {
  return OpenFamily(g_plg_short, kPlgShort, [&](const std::string& f) {
    return db::SqlText(f.c_str(), {db::Schema(), plan_group, day});
  });
}
int32_t Bsm_PlgUntC_Read(BsmRow& row) {
  return g_plg_short.Read(row);
}
int32_t Bsm_PlgUntC_Close() {
  return g_plg_short.Close();
}

int32_t Bsm_EsoUntC_Open(const char* plan_group, const char* location, const char* day) {
  return OpenFamily(g_eso_short, kEsoShort, [&](const std::string& f) {
    return db::SqlText(f.c_str(), {db::Schema(), plan_group, location, day});
  });
}
int32_t Bsm_EsoUntC_Read(BsmRow& row) {
  return g_eso_short.Read(row);
}
int32_t Bsm_EsoUntC_Close() {
  return g_eso_short.Close();
}

int32_t Bsm_EsaUntC_Open(const char* plan_group, const char* location, const char* deployment_type,
                         const char* day) {
  return OpenFamily(g_esa_short, kEsaShort, [&](const std::string& f) {
    return db::SqlText(f.c_str(), {db::Schema(), plan_group, location, deployment_type, day});
  });
}
int32_t Bsm_EsaUntC_Read(BsmRow& row) {
  return g_esa_short.Read(row);
}
int32_t Bsm_EsaUntC_Close() {
  return g_esa_short.Close();
}

int32_t Bsm_PlgUebC_Open(const BsmRow& s) {
  return OpenFamily(g_plg_surplus, kPlgSurplus, [&](const std::string& f) {
    return db::SqlText(f.c_str(), {db::Schema(), s.BsmPlg, s.BsmAsw, s.BsmBdt});
  });
}
int32_t Bsm_PlgUebC_Read(BsmRow& row) {
  return g_plg_surplus.Read(row);
}
int32_t Bsm_PlgUebC_Close() {
  return g_plg_surplus.Close();
}

int32_t Bsm_EsoUebC_Open(const BsmRow& s) {
  return OpenFamily(g_eso_surplus, kEsoSurplus, [&](const std::string& f) {
    return db::SqlText(f.c_str(), {db::Schema(), s.BsmPlg, s.BsmEso, s.BsmAsw, s.BsmBdt});
  });
}
int32_t Bsm_EsoUebC_Read(BsmRow& row) {
  return g_eso_surplus.Read(row);
}
int32_t Bsm_EsoUebC_Close() {
  return g_eso_surplus.Close();
}

int32_t Bsm_EsaUebC_Open(const BsmRow& s) {
  return OpenFamily(g_esa_surplus, kEsaSurplus, [&](const std::string& f) {
    return db::SqlText(f.c_str(), {db::Schema(), s.BsmPlg, s.BsmEso, s.BsmEsa, s.BsmBdt, s.BsmAsw});
  });
}
int32_t Bsm_EsaUebC_Read(BsmRow& row) {
  return g_esa_surplus.Read(row);
}
int32_t Bsm_EsaUebC_Close() {
  return g_esa_surplus.Close();
}
