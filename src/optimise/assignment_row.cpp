#include "optimise/assignment_row.h"

const char* BdpSelectList() {
  return "SELECT BdpPnr, convert(char(8), BdpBdt, 112), BdpEso, BdpEsa, BdpBsz, BdpSzv, BdpSzb, "
         "BdpJhr, BdpMon, BdpWoc, BdpJwc, BdpTag, BdpTtp, BdpZtv, BdpZtb, BdpKst, BdpFc1, BdpFc2, "
         "BdpFc3, BdpOso, BdpOsa, BdpOsv, BdpOsb, BdpOsz, BdpPlg, BdpAsw, BdpSts, BdpFnr, BdpSta, "
         "convert(char(19), BdpDat, 120), BdpTxt, BdpErf, BdpAzt, BdpId1, BdpId2, BdpId3, BdpId4, "
         "BdpId5, BdpId6, BdpId7, BdpId8, BdpRnd, BdpAkt, BdpBnr, BdpAwp, BdpPau, BdpBzt, BdpOsw, "
         "BdpKos";
}

void BindBdpRow(db::Columns& c, BdpRow& r, FixedText<20>& dat_work) {
  c.Text(r.BdpPnr).Text(r.BdpBdt).Text(r.BdpEso).Text(r.BdpEsa).Text(r.BdpBsz);
  c.Long(r.BdpSzv).Long(r.BdpSzb).Long(r.BdpJhr).Long(r.BdpMon).Long(r.BdpWoc).Long(r.BdpJwc);
  c.Long(r.BdpTag).Text(r.BdpTtp).Long(r.BdpZtv).Long(r.BdpZtb).Text(r.BdpKst);
  c.Text(r.BdpFc1).Text(r.BdpFc2).Text(r.BdpFc3).Text(r.BdpOso).Text(r.BdpOsa);
  c.Long(r.BdpOsv).Long(r.BdpOsb).Text(r.BdpOsz).Text(r.BdpPlg).Long(r.BdpAsw).Text(r.BdpSts);
  c.Long(r.BdpFnr).Long(r.BdpSta).Text(dat_work).Text(r.BdpTxt).Text(r.BdpErf).Long(r.BdpAzt);
  c.Long(r.BdpId1).Long(r.BdpId2).Long(r.BdpId3).Long(r.BdpId4);
  c.Long(r.BdpId5).Long(r.BdpId6).Long(r.BdpId7).Long(r.BdpId8);
  c.Long(r.BdpRnd).Long(r.BdpAkt).Long(r.BdpBnr).Long(r.BdpAwp).Long(r.BdpPau).Long(r.BdpBzt);
  c.Long(r.BdpOsw).Double(r.BdpKos);
}
