#include "optimise/staffing_cursors.h"

#include <string>

#include "db/connection.h"
#include "db/datetime_text.h"
#include "db/sql_text.h"
#include "db/statement.h"

namespace {

// One family: its statement handle and whether it was opened with the
// optional columns (its reads bind exactly the columns its select lists).
struct BsmFamily {
  db::Cursor cursor;
  bool with_optional = true;
};

BsmFamily g_plg_short;
BsmFamily g_eso_short;
BsmFamily g_esa_short;
BsmFamily g_plg_surplus;
BsmFamily g_eso_surplus;
BsmFamily g_esa_surplus;

// " SELECT <columns> FROM %s.Kvt725Bsm <condition> "
std::string SelectFormat(bool with_optional, const char* condition) {
  return std::string(" SELECT ") + BsmColumnList(with_optional) + " FROM %s.Kvt725Bsm " +
         condition + " ";
}

// Opens `family` with the statement that `build(format)` formats, in the
// full form while the columns are present, else in the short form.
template <class Build>
int32_t OpenFamily(BsmFamily& family, const char* condition, Build&& build) {
  family.cursor.Close();
  return db::WithOptionalColumns(db::BsmOptionalColumns(), [&](bool with_optional) {
    family.with_optional = with_optional;
    return family.cursor.Open(build(SelectFormat(with_optional, condition)));
  });
}

int32_t ReadFamily(BsmFamily& family, BsmRow& row) {
  BsmRow work = row;
  FixedText<20> dat_work;
  return family.cursor.Read(
      [&](db::Columns& c) { BindBsmRow(c, work, dat_work, family.with_optional); },
      [&] {
        db::DatZeit_Kompakt(dat_work.c_str(), work.BsmDat);
        row = work;
      });
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
  return ReadFamily(g_plg_short, row);
}
int32_t Bsm_PlgUntC_Close() {
  return g_plg_short.cursor.Close();
}

int32_t Bsm_EsoUntC_Open(const char* plan_group, const char* location, const char* day) {
  return OpenFamily(g_eso_short, kEsoShort, [&](const std::string& f) {
    return db::SqlText(f.c_str(), {db::Schema(), plan_group, location, day});
  });
}
int32_t Bsm_EsoUntC_Read(BsmRow& row) {
  return ReadFamily(g_eso_short, row);
}
int32_t Bsm_EsoUntC_Close() {
  return g_eso_short.cursor.Close();
}

int32_t Bsm_EsaUntC_Open(const char* plan_group, const char* location, const char* deployment_type,
                         const char* day) {
  return OpenFamily(g_esa_short, kEsaShort, [&](const std::string& f) {
    return db::SqlText(f.c_str(), {db::Schema(), plan_group, location, deployment_type, day});
  });
}
int32_t Bsm_EsaUntC_Read(BsmRow& row) {
  return ReadFamily(g_esa_short, row);
}
int32_t Bsm_EsaUntC_Close() {
  return g_esa_short.cursor.Close();
}

int32_t Bsm_PlgUebC_Open(const BsmRow& s) {
  return OpenFamily(g_plg_surplus, kPlgSurplus, [&](const std::string& f) {
    return db::SqlText(f.c_str(), {db::Schema(), s.BsmPlg, s.BsmAsw, s.BsmBdt});
  });
}
int32_t Bsm_PlgUebC_Read(BsmRow& row) {
  return ReadFamily(g_plg_surplus, row);
}
int32_t Bsm_PlgUebC_Close() {
  return g_plg_surplus.cursor.Close();
}

int32_t Bsm_EsoUebC_Open(const BsmRow& s) {
  return OpenFamily(g_eso_surplus, kEsoSurplus, [&](const std::string& f) {
    return db::SqlText(f.c_str(), {db::Schema(), s.BsmPlg, s.BsmEso, s.BsmAsw, s.BsmBdt});
  });
}
int32_t Bsm_EsoUebC_Read(BsmRow& row) {
  return ReadFamily(g_eso_surplus, row);
}
int32_t Bsm_EsoUebC_Close() {
  return g_eso_surplus.cursor.Close();
}

int32_t Bsm_EsaUebC_Open(const BsmRow& s) {
  return OpenFamily(g_esa_surplus, kEsaSurplus, [&](const std::string& f) {
    return db::SqlText(f.c_str(), {db::Schema(), s.BsmPlg, s.BsmEso, s.BsmEsa, s.BsmBdt, s.BsmAsw});
  });
}
int32_t Bsm_EsaUebC_Read(BsmRow& row) {
  return ReadFamily(g_esa_surplus, row);
}
int32_t Bsm_EsaUebC_Close() {
  return g_esa_surplus.cursor.Close();
}
