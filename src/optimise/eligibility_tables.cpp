#include "optimise/eligibility_tables.h"

#include <string>

#include "db/connection.h"
#include "db/sql_text.h"
#include "db/statement.h"

namespace {

// The cursors of the Qea_Qlf2Esa and Ers_AzvZtg families.
db::Cursor g_qea_qlf2esa;
db::Cursor g_ers_azv_ztg;

}  // namespace

int32_t Qea_Qlf2Esa_Open(const char* deployment_type) {
  return g_qea_qlf2esa.Open(db::SqlText("SELECT QeaQfk FROM %s.Kvt717Qea WHERE QeaEsa = '%s'",
                                        {db::Schema(), deployment_type}));
}

int32_t Qea_Qlf2Esa_Read(FixedText<6>& qualification) {
  FixedText<6> work = qualification;
  return g_qea_qlf2esa.Read([&](db::Columns& c) { c.Text(work); }, [&] { qualification = work; });
}

int32_t Qea_Qlf2Esa_Close() {
  return g_qea_qlf2esa.Close();
}

int32_t Qzp_PnrQfk_Read(const char* pnr, const char* qualification, const char* date) {
  FixedText<9> pnr_scratch;
  FixedText<6> qualification_scratch;
  const std::string sql = db::SqlText(
      "SELECT QzpPnr, QzpQfk FROM %s.Kvt716Qzp WHERE QzpPnr = '%s' AND QzpVon <= "
      "convert(datetime, '%s', 112) AND (QzpBis >= convert(datetime, '%s', 112) OR QzpBis IS "
      "NULL) AND QzpQfk = '%s'",
      {db::Schema(), pnr, date, date, qualification});
  return db::ReadOne(
      sql, [&](db::Columns& c) { c.Text(pnr_scratch).Text(qualification_scratch); }, [] {});
}

int32_t Ers_AzvZtg_Open(const PnrSatz& person) {
  const char* schema = db::Schema();
  return g_ers_azv_ztg.Open(db::SqlText(
      "SELECT ErsAze, AzvKev, AzvKeb, AzvGlv, AzvGlb FROM %s.Kvt329Ztg, %s.Kvt140Azv, "
      "%s.Kvt162Ers WHERE ZtgPnr = '%s' AND ZtgVon = convert(datetime, '%s', 112) AND ZtgAgr = "
      "ErsAgr AND ZtgAzt = ErsAzt AND ErsAze = AzvNum AND AzvSol <> 0 AND ZtgVon >= AzvGvo AND "
      "(ZtgVon <= AzvGbi OR AzvGbi IS NULL)",
      {schema, schema, schema, person.pnr, person.date}));
}

int32_t Ers_AzvZtg_Read(PnrSatz& person) {
  PnrSatz work = person;
  int32_t model_scratch = 0;
  return g_ers_azv_ztg.Read(
      [&](db::Columns& c) {
        c.Long(model_scratch).Long(work.AzvKev).Long(work.AzvKeb).Long(work.AzvGlv);
        c.Long(work.AzvGlb);
      },
      [&] { person = work; });
}

int32_t Ers_AzvZtg_Close() {
  return g_ers_azv_ztg.Close();
}
