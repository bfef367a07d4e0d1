#include "db/staffing_row.h"

const char* BsmColumnList(bool with_optional) {
  static constexpr const char* kFull =
      "convert(char(8), BsmBdt, 112), BsmEso, BsmEsa, BsmBsz, BsmSzv, BsmSzb, BsmJhr, "
      "BsmMon, BsmWoc, BsmJwc, BsmTag, BsmTtp, BsmSol, BsmMin, BsmMax, BsmIst, BsmPlg, BsmHtg, "
      "BsmHtv, BsmHtn, BsmKng, BsmFkt, BsmAsw, BsmSta, convert(char(19), BsmDat,120), BsmErf, "
      "BsmId1, BsmId2, BsmId3, BsmId4, BsmId5, BsmId6, BsmId7, BsmId8, BsmKor, BsmKos, BsmKo2, "
      "BsmOva, BsmOve";
  static constexpr const char* kShort =
      "convert(char(8), BsmBdt, 112), BsmEso, BsmEsa, BsmBsz, BsmSzv, BsmSzb, BsmJhr, "
      "BsmMon, BsmWoc, BsmJwc, BsmTag, BsmTtp, BsmSol, BsmMin, BsmMax, BsmIst, BsmPlg, BsmHtg, "
      "BsmHtv, BsmHtn, BsmKng, BsmFkt, BsmAsw, BsmSta, convert(char(19), BsmDat,120), BsmErf, "
      "BsmId1, BsmId2, BsmId3, BsmId4, BsmId5, BsmId6, BsmId7, BsmId8, BsmKor, BsmKos, BsmKo2";
  return with_optional ? kFull : kShort;
}

void BindBsmRow(db::Columns& c, BsmRow& r, FixedText<20>& dat_work, bool with_optional) {
  c.Text(r.BsmBdt).Text(r.BsmEso).Text(r.BsmEsa).Text(r.BsmBsz);
  c.Long(r.BsmSzv).Long(r.BsmSzb).Long(r.BsmJhr).Long(r.BsmMon).Long(r.BsmWoc).Long(r.BsmJwc);
  c.Long(r.BsmTag).Text(r.BsmTtp);
  c.Long(r.BsmSol).Long(r.BsmMin).Long(r.BsmMax).Long(r.BsmIst).Text(r.BsmPlg);
  c.Long(r.BsmHtg).Long(r.BsmHtv).Long(r.BsmHtn).Long(r.BsmKng).Long(r.BsmFkt).Long(r.BsmAsw);
  c.Long(r.BsmSta).Text(dat_work).Text(r.BsmErf);
  c.Long(r.BsmId1).Long(r.BsmId2).Long(r.BsmId3).Long(r.BsmId4);
  c.Long(r.BsmId5).Long(r.BsmId6).Long(r.BsmId7).Long(r.BsmId8);
  c.Long(r.BsmKor).Double(r.BsmKos).Double(r.BsmKo2);
  if (with_optional) c.Long(r.BsmOva).Long(r.BsmOve);
}
