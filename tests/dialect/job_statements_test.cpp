// The statements the job sends, exactly as it formats them, on a schema
// created through the dialect's own DDL translation.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialect_db.h"

namespace tsq::testing {
namespace {

const char* const kSchema[] = {
    "CREATE TABLE KvtSystem.Kvt133Bak (BakDtm date NOT NULL PRIMARY KEY, BakJhr int, "
    "BakMon int, BakTag int, BakWch int, BakWtg int, BakJtg int)",
    "CREATE TABLE plexor.Kvt755Pka (PkaPlg varchar(5), PkaNum varchar(3), PkaDtm date, "
    "PkaTtp varchar(3), PkaGwt int)",
    "CREATE TABLE plexor.Kvt133Ka2 (Ka2Num varchar(3), Ka2Dtm date, Ka2Ttp varchar(3), "
    "Ka2Ptp varchar(3), Ka2Gwt int)",
    "CREATE TABLE plexor.Kvt701Plg (PlgPlg varchar(5) NOT NULL, PlgTxt varchar(50), "
    "PlgKal varchar(3), PlgHzt int, PlgSta int, PlgDat datetime, PlgErf varchar(50), "
    "PlgPdt datetime, PlgPlr varchar(50), PlgBeg datetime, PlgUsr varchar(50), "
    "PlgPgm varchar(10), PlgFts int, PlgQu1 int, PlgAr1 int, PlgRu1 int, PlgMe1 int, "
    "PlgAm1 int, PlgRe1 int, PlgQu2 int, PlgAr2 int, PlgRu2 int, PlgMe2 int, PlgAm2 int, "
    "PlgRe2 int, PlgQu3 int, PlgAr3 int, PlgRu3 int, PlgMe3 int, PlgAm3 int, PlgRe3 int, "
    "PlgOpt int, PlgOpl int, CONSTRAINT PK_Kvt701Plg PRIMARY KEY (PlgPlg))",
    "CREATE TABLE plexor.Kvt329Ztg (ZtgPnr varchar(8), ZtgVon date, ZtgAzt varchar(5), "
    "ZtgKst varchar(10), ZtgAgr varchar(5))",
    "CREATE TABLE plexor.Kvt140Azv (AzvNum int, AzvKev int, AzvKeb int, AzvGlv int, "
    "AzvGlb int, AzvGvo date, AzvGbi date, AzvSol int)",
    "CREATE TABLE plexor.Kvt162Ers (ErsAgr varchar(5), ErsAzt varchar(5), ErsAze int)",
    "CREATE TABLE plexor.Kvt710Pbv (PbvPnr varchar(8), PbvGvo date, PbvGbi date, PbvZrm int, "
    "PbvEso varchar(5), PbvEsa varchar(5), PbvAwp int, PbvSst varchar(10))",
    "CREATE TABLE plexor.Kvt712Pgz (PgzPlg varchar(5), PgzEso varchar(5), PgzEsa varchar(5), "
    "PgzAzk int, PgzRzk int)",
    "CREATE TABLE plexor.Kvt716Qzp (QzpPnr varchar(8), QzpQfk varchar(5), QzpVon date, "
    "QzpBis date)",
    "CREATE TABLE plexor.Kvt717Qea (QeaEsa varchar(5), QeaQfk varchar(5))",
    "CREATE TABLE plexor.Kvt720Bss (BssPlg varchar(5), BssEso varchar(5), BssEsa varchar(5), "
    "BssTtp varchar(3), BssBsz varchar(3), BssVon int, BssBis int, BssTxt varchar(50), "
    "BssSol int, BssMin int, BssMax int, BssMwt float, BssVtg int, BssAtg int, BssKgw int, "
    "BssKmw int, BssAsw int)",
    "CREATE TABLE plexor.Kvt725Bsm (BsmBdt date NOT NULL, BsmEso varchar(5) NOT NULL, "
    "BsmEsa varchar(5) NOT NULL, BsmBsz varchar(3), BsmSzv int NOT NULL, BsmSzb int, "
    "BsmJhr int, BsmMon int, BsmWoc int, BsmJwc int, BsmTag int, BsmTtp varchar(3), "
    "BsmSol int, BsmMin int, BsmMax int, BsmIst int, BsmPlg varchar(5) NOT NULL, BsmHtg int, "
    "BsmHtv int, BsmHtn int, BsmKng int, BsmFkt int, BsmAsw int NOT NULL, BsmSta int, "
    "BsmDat datetime, BsmErf varchar(50), BsmId1 int, BsmId2 int, BsmId3 int, BsmId4 int, "
    "BsmId5 int, BsmId6 int, BsmId7 int, BsmId8 int, BsmKor int, BsmKos float, BsmKo2 float, "
    "BsmOva int, BsmOve int, PRIMARY KEY (BsmPlg, BsmEso, BsmEsa, BsmBdt, BsmSzv, BsmAsw))",
    "CREATE TABLE plexor.Kvt730Bdp (BdpPnr varchar(8), BdpBdt date, BdpEso varchar(5), "
    "BdpEsa varchar(5), BdpBsz varchar(3), BdpSzv int, BdpSzb int, BdpJhr int, BdpMon int, "
    "BdpWoc int, BdpJwc int, BdpTag int, BdpTtp varchar(3), BdpZtv int, BdpZtb int, "
    "BdpKst varchar(10), BdpFc1 varchar(3), BdpFc2 varchar(3), BdpFc3 varchar(3), "
    "BdpOso varchar(5), BdpOsa varchar(5), BdpOsv int, BdpOsb int, BdpOsz varchar(3), "
    "BdpPlg varchar(5), BdpAsw int, BdpSts varchar(1), BdpFnr int, BdpSta int, "
    "BdpDat datetime, BdpTxt varchar(60), BdpErf varchar(50), BdpAzt int, BdpId1 int, "
    "BdpId2 int, BdpId3 int, BdpId4 int, BdpId5 int, BdpId6 int, BdpId7 int, BdpId8 int, "
    "BdpRnd int, BdpAkt int, BdpBnr int, BdpAwp int, BdpPau int, BdpBzt int, BdpOsw int, "
    "BdpKos float)",
    "CREATE TABLE plexor.Kvt735Bdk (BdkKey varchar(35) NOT NULL, BdkLfd int, "
    "BdkPnr varchar(8), BdkBdt date, BdkEso varchar(5), BdkEsa varchar(5), BdkSzv int, "
    "BdkSzb int, BdkBsz varchar(3), BdkJhr int, BdkMon int, BdkWoc int, BdkJwc int, "
    "BdkTtp varchar(3), BdkTag int, BdkZtv int, BdkZtb int, BdkKst varchar(10), "
    "BdkFc1 varchar(3), BdkFc2 varchar(3), BdkFc3 varchar(3), BdkOso varchar(5), "
    "BdkOsa varchar(5), BdkOsv int, BdkOsb int, BdkOsz varchar(3), BdkPlg varchar(5), "
    "BdkAsw int, BdkSts varchar(1), BdkFnr int, BdkSta int, BdkDat datetime, "
    "BdkTxt varchar(60), BdkErf varchar(50), BdkAzt int, BdkId1 int, BdkId2 int, BdkId3 int, "
    "BdkId4 int, BdkId5 int, BdkId6 int, BdkId7 int, BdkId8 int, BdkAkt int, BdkRnd int, "
    "BdkOsw int, BdkZvo varchar(8), BdkZbi varchar(8))",
    "CREATE UNIQUE INDEX IX_Kvt735Bdk_Key ON plexor.Kvt735Bdk (BdkKey)",
    "CREATE TABLE plexor.Kvt746Err (ErrPlg varchar(5), ErrKng varchar(5), ErrDat datetime, "
    "ErrLfn int, ErrPnr varchar(8), ErrEso varchar(5), ErrEsa varchar(5), ErrKnz varchar(5), "
    "ErrBdt date, ErrZtv int, ErrZtb int, ErrFnr int, ErrErf varchar(50), ErrJbd varchar(14), "
    "ErrJbk varchar(32))",
    "CREATE INDEX IX_Kvt730Bdp_Slot ON plexor.Kvt730Bdp (BdpPlg, BdpEso, BdpEsa, BdpBdt, "
    "BdpSzv, BdpAsw)",
};

// A short slot (ES1/EA1) and a surplus slot (ES2/EA2) on 2024-02-29, two
// assignments in the surplus slot, one of them excluded by BdpAkt 9999,
// and two old error rows of the plan group.
const char* const kRows[] = {
    "INSERT INTO KvtSystem.Kvt133Bak VALUES (convert(datetime, '20240228', 112), 2024, 2, 28, 9, "
    "3, 59)",
    "INSERT INTO KvtSystem.Kvt133Bak VALUES (convert(datetime, '20240229', 112), 2024, 2, 29, 9, "
    "4, 60)",
    "INSERT INTO KvtSystem.Kvt133Bak VALUES (convert(datetime, '20240301', 112), 2024, 3, 1, 9, 5, "
    "61)",
    "INSERT INTO plexor.Kvt701Plg (PlgPlg, PlgTxt, PlgKal, PlgHzt, PlgSta, PlgDat, PlgOpt, PlgOpl) "
    "VALUES ('00001', 'group', '001', 30, 0, convert(datetime, '2024-01-02 03:04:05', 120), 0, 2)",
    "INSERT INTO plexor.Kvt755Pka VALUES ('00001', '001', convert(datetime, '20240229', 112), "
    "'WT', 1)",
    "INSERT INTO plexor.Kvt725Bsm (BsmBdt, BsmEso, BsmEsa, BsmSzv, BsmSzb, BsmPlg, BsmFkt, BsmAsw, "
    "BsmTtp) "
    "VALUES (convert(datetime, '20240229', 112), 'ES1', 'EA1', 480, 960, '00001', -1, 1, 'WT')",
    "INSERT INTO plexor.Kvt725Bsm (BsmBdt, BsmEso, BsmEsa, BsmSzv, BsmSzb, BsmPlg, BsmFkt, BsmAsw, "
    "BsmTtp) "
    "VALUES (convert(datetime, '20240229', 112), 'ES2', 'EA2', 480, 960, '00001', 2, 1, 'WT')",
    "INSERT INTO plexor.Kvt730Bdp (BdpPnr, BdpBdt, BdpEso, BdpEsa, BdpSzv, BdpSzb, BdpZtv, BdpZtb, "
    "BdpFc1, BdpFc2, BdpFc3, BdpPlg, BdpAsw, BdpSts, BdpSta, BdpAzt, BdpAkt, BdpRnd, BdpKos) "
    "VALUES "
    "('12345678', convert(datetime, '20240229', 112), 'ES2', 'EA2', 480, 960, 480, 960, '', '', "
    "'', "
    "'00001', 1, ' ', 0, 480, 1, 1, 2.5)",
    "INSERT INTO plexor.Kvt730Bdp (BdpPnr, BdpBdt, BdpEso, BdpEsa, BdpSzv, BdpSzb, BdpZtv, BdpZtb, "
    "BdpFc1, BdpFc2, BdpFc3, BdpPlg, BdpAsw, BdpSts, BdpSta, BdpAzt, BdpAkt, BdpRnd, BdpKos) "
    "VALUES "
    "('87654321', convert(datetime, '20240229', 112), 'ES2', 'EA2', 480, 900, 480, 900, 'X', '', "
    "'', "
    "'00001', 1, 'U', 0, NULL, 9999, 2, 1.25)",
    "INSERT INTO plexor.Kvt746Err (ErrPlg, ErrKng, ErrBdt) VALUES ('00001', 'PLANO', "
    "convert(datetime, '20240229', 112))",
    "INSERT INTO plexor.Kvt746Err (ErrPlg, ErrKng, ErrBdt) VALUES ('00001', 'PLANO', NULL)",
};

struct JobStatement {
  const char* name;
  const char* format;
  std::vector<std::string> values;
};

const JobStatement kStatements[] = {
    {"Plg_Cur_Full",
     "SELECT PlgPlg, PlgTxt, PlgKal, PlgHzt, PlgSta, convert(char(19), PlgDat, 120), PlgErf, "
     "convert(char(19), PlgPdt, 120), PlgPlr, PlgOpt, PlgOpl FROM %s.Kvt701Plg ORDER BY PlgPlg",
     {"plexor"}},
    {"Plg_Cur_Short",
     "SELECT PlgPlg, PlgTxt, PlgKal, PlgHzt, PlgSta, convert(char(19), PlgDat, 120), PlgErf, "
     "convert(char(19), PlgPdt, 120), PlgPlr FROM %s.Kvt701Plg ORDER BY PlgPlg",
     {"plexor"}},
    {"Bak_Tag_Read",
     "SELECT convert(char(8), BakDtm, 112), BakJhr, BakMon, BakTag, BakWch, BakWtg, BakJtg FROM "
     "KvtSystem.Kvt133Bak WHERE BakDtm = dateadd(d, %ld, convert(datetime, '%s', 112))",
     {"1", "20240229"}},
    {"Bak_MaxDtm_Read", "SELECT convert(char(8), MAX(BakDtm), 112) FROM KvtSystem.Kvt133Bak", {}},
    {"Bak_Wtg_Read",
     "SELECT BakWtg FROM KvtSystem.Kvt133Bak WHERE BakDtm = convert(datetime, '%s', 112)",
     {"20240229"}},
    {"Pka_Tag_Read",
     "SELECT PkaTtp, PkaGwt FROM %s.Kvt755Pka, %s.Kvt701Plg WHERE PlgPlg = '%s' AND PlgPlg = "
     "PkaPlg AND PlgKal = PkaNum AND PkaDtm = convert(datetime, '%s', 112)",
     {"plexor", "plexor", "00001", "20240229"}},
    {"Plg_Hzt_Read", "SELECT PlgHzt FROM %s.Kvt701Plg WHERE PlgPlg = '%s'", {"plexor", "00001"}},
    {"Plg_PKey_Read",
     "SELECT PlgPlg, PlgTxt, PlgKal, PlgHzt, PlgSta, convert(char(19), PlgDat, 120), PlgErf, "
     "convert(char(19), PlgPdt, 120), PlgPlr, convert(char(19), PlgBeg, 120), PlgUsr, PlgPgm, "
     "PlgFts, PlgQu2, PlgAr2, PlgRu2, PlgMe2, PlgAm2, PlgRe2, PlgOpt, PlgOpl FROM %s.Kvt701Plg "
     "WHERE PlgPlg = '%s'",
     {"plexor", "00001"}},
    {"Plg_PKey_Upd",
     "UPDATE %s.Kvt701Plg SET PlgTxt = '%s', PlgKal = '%s', PlgHzt = %ld, PlgSta = %ld, PlgDat = "
     "convert(datetime, '%s', 120), PlgErf = '%s', PlgPdt = convert(datetime, '%s', 120), PlgPlr = "
     "'%s', PlgBeg = convert(datetime, '%s', 120), PlgUsr = '%s', PlgPgm = '%s', PlgFts = %ld "
     "WHERE PlgPlg = '%s'",
     {"plexor", "text", "001", "30", "9", "2024-02-29 10:00:00", "OPTIMIERUNG",
      "2024-02-29 10:00:00", "planer", "2024-02-29 10:00:00", "user", "plexor", "0", "00001"}},
    {"Bsm_PlgUntC",
     " SELECT convert(char(8), BsmBdt, 112), BsmEso, BsmEsa, BsmBsz, BsmSzv, BsmSzb, BsmJhr, "
     "BsmMon, BsmWoc, BsmJwc, BsmTag, BsmTtp, BsmSol, BsmMin, BsmMax, BsmIst, BsmPlg, BsmHtg, "
     "BsmHtv, BsmHtn, BsmKng, BsmFkt, BsmAsw, BsmSta, convert(char(19), BsmDat,120), BsmErf, "
     "BsmId1, BsmId2, BsmId3, BsmId4, BsmId5, BsmId6, BsmId7, BsmId8, BsmKor, BsmKos, BsmKo2, "
     "BsmOva, BsmOve FROM %s.Kvt725Bsm WHERE BsmPlg = '%s' AND BsmBdt = convert(datetime, '%s', "
     "112) AND BsmFkt < 0 ORDER By BsmFkt",
     {"plexor", "00001", "20240229"}},
    {"Bsm_EsoUntC",
     " SELECT convert(char(8), BsmBdt, 112), BsmEso, BsmEsa, BsmBsz, BsmSzv, BsmSzb, BsmJhr, "
     "BsmMon, BsmWoc, BsmJwc, BsmTag, BsmTtp, BsmSol, BsmMin, BsmMax, BsmIst, BsmPlg, BsmHtg, "
     "BsmHtv, BsmHtn, BsmKng, BsmFkt, BsmAsw, BsmSta, convert(char(19), BsmDat,120), BsmErf, "
     "BsmId1, BsmId2, BsmId3, BsmId4, BsmId5, BsmId6, BsmId7, BsmId8, BsmKor, BsmKos, BsmKo2, "
     "BsmOva, BsmOve FROM %s.Kvt725Bsm WHERE BsmPlg = '%s' AND BsmEso = '%s ' AND BsmBdt = "
     "convert(datetime, '%s', 112) AND BsmFkt < 0 ORDER By BsmFkt",
     {"plexor", "00001", "ES1", "20240229"}},
    {"Bsm_EsaUntC",
     " SELECT convert(char(8), BsmBdt, 112), BsmEso, BsmEsa, BsmBsz, BsmSzv, BsmSzb, BsmJhr, "
     "BsmMon, BsmWoc, BsmJwc, BsmTag, BsmTtp, BsmSol, BsmMin, BsmMax, BsmIst, BsmPlg, BsmHtg, "
     "BsmHtv, BsmHtn, BsmKng, BsmFkt, BsmAsw, BsmSta, convert(char(19), BsmDat,120), BsmErf, "
     "BsmId1, BsmId2, BsmId3, BsmId4, BsmId5, BsmId6, BsmId7, BsmId8, BsmKor, BsmKos, BsmKo2, "
     "BsmOva, BsmOve FROM %s.Kvt725Bsm WHERE BsmPlg = '%s' AND BsmEso = '%s ' AND BsmEsa = '%s' "
     "AND BsmBdt = convert(datetime, '%s', 112) AND BsmFkt < 0 ORDER By BsmFkt",
     {"plexor", "00001", "ES1", "EA1", "20240229"}},
    {"Bsm_PlgUebC",
     " SELECT convert(char(8), BsmBdt, 112), BsmEso, BsmEsa, BsmBsz, BsmSzv, BsmSzb, BsmJhr, "
     "BsmMon, BsmWoc, BsmJwc, BsmTag, BsmTtp, BsmSol, BsmMin, BsmMax, BsmIst, BsmPlg, BsmHtg, "
     "BsmHtv, BsmHtn, BsmKng, BsmFkt, BsmAsw, BsmSta, convert(char(19), BsmDat,120), BsmErf, "
     "BsmId1, BsmId2, BsmId3, BsmId4, BsmId5, BsmId6, BsmId7, BsmId8, BsmKor, BsmKos, BsmKo2, "
     "BsmOva, BsmOve FROM %s.Kvt725Bsm WHERE BsmPlg = '%s' AND BsmAsw = %ld AND BsmBdt = "
     "convert(datetime, '%s', 112) AND BsmFkt > 0 ORDER By BsmFkt DESC",
     {"plexor", "00001", "1", "20240229"}},
    {"Bsm_EsoUebC",
     " SELECT convert(char(8), BsmBdt, 112), BsmEso, BsmEsa, BsmBsz, BsmSzv, BsmSzb, BsmJhr, "
     "BsmMon, BsmWoc, BsmJwc, BsmTag, BsmTtp, BsmSol, BsmMin, BsmMax, BsmIst, BsmPlg, BsmHtg, "
     "BsmHtv, BsmHtn, BsmKng, BsmFkt, BsmAsw, BsmSta, convert(char(19), BsmDat,120), BsmErf, "
     "BsmId1, BsmId2, BsmId3, BsmId4, BsmId5, BsmId6, BsmId7, BsmId8, BsmKor, BsmKos, BsmKo2, "
     "BsmOva, BsmOve FROM %s.Kvt725Bsm WHERE BsmPlg = '%s' AND BsmEso = '%s' AND BsmAsw = %ld AND "
     "BsmBdt = convert(datetime, '%s', 112) AND BsmFkt > 0 ORDER By BsmFkt DESC",
     {"plexor", "00001", "ES1", "1", "20240229"}},
    {"Bsm_EsaUebC",
     " SELECT convert(char(8), BsmBdt, 112), BsmEso, BsmEsa, BsmBsz, BsmSzv, BsmSzb, BsmJhr, "
     "BsmMon, BsmWoc, BsmJwc, BsmTag, BsmTtp, BsmSol, BsmMin, BsmMax, BsmIst, BsmPlg, BsmHtg, "
     "BsmHtv, BsmHtn, BsmKng, BsmFkt, BsmAsw, BsmSta, convert(char(19), BsmDat,120), BsmErf, "
     "BsmId1, BsmId2, BsmId3, BsmId4, BsmId5, BsmId6, BsmId7, BsmId8, BsmKor, BsmKos, BsmKo2, "
     "BsmOva, BsmOve FROM %s.Kvt725Bsm WHERE BsmPlg = '%s' AND BsmEso = '%s' AND BsmEsa = '%s' AND "
     "BsmBdt = convert(datetime, '%s', 112) AND BsmAsw = %ld AND BsmFkt > 0 ORDER By BsmFkt DESC",
     {"plexor", "00001", "ES1", "EA1", "20240229", "1"}},
    {"Bsm_PlgUntC_Verbatim",
     " SELECT convert(char(8), BsmBdt, 112), BsmEso, BsmEsa, BsmBsz, BsmSzv, BsmSzb, BsmJhr, "
     "BsmMon, BsmWoc, BsmJwc, BsmTag, BsmTtp, BsmSol, BsmMin, BsmMax, BsmIst, BsmPlg, BsmHtg, "
     "BsmHtv, BsmHtn, BsmKng, BsmFkt, BsmAsw, BsmSta, convert(char(19), BsmDat,120), BsmErf, "
     "BsmId1, BsmId2, BsmId3, BsmId4, BsmId5, BsmId6, BsmId7, BsmId8, BsmKor, BsmKos, BsmKo2, "
     "BsmOva, BsmOve FROM %s.Kvt725Bsm WHERE BsmPlg = '%s' AND BsmBdt = convert(datetime, '%s', "
     "112) AND BsmFkt < 0 ORDER By BsmFkt ",
     {"plexor", "00001", "20240229"}},
    {"Bdp_BszPnr_Open",
     "SELECT BdpPnr, convert(char(8), BdpBdt, 112), BdpEso, BdpEsa, BdpBsz, BdpSzv, BdpSzb, "
     "BdpJhr, BdpMon, BdpWoc, BdpJwc, BdpTag, BdpTtp, BdpZtv, BdpZtb, BdpKst, BdpFc1, BdpFc2, "
     "BdpFc3, BdpOso, BdpOsa, BdpOsv, BdpOsb, BdpOsz, BdpPlg, BdpAsw, BdpSts, BdpFnr, BdpSta, "
     "convert(char(19), BdpDat, 120), BdpTxt, BdpErf, BdpAzt, BdpId1, BdpId2, BdpId3, BdpId4, "
     "BdpId5, BdpId6, BdpId7, BdpId8, BdpRnd, BdpAkt, BdpBnr, BdpAwp, BdpPau, BdpBzt, BdpOsw, "
     "BdpKos FROM %s.Kvt730Bdp WHERE BdpPlg = '%s' AND BdpEso = '%s' AND BdpEsa = '%s' AND BdpBdt "
     "= convert(datetime, '%s', 112) AND BdpSzv = %ld AND BdpAkt <> 9999 AND BdpAsw = %ld AND "
     "BdpSts = ' ' AND BdpSta = 0 AND BdpFc1 = '   ' AND BdpFc2 = '   ' AND BdpFc3 = '   ' ORDER "
     "BY BdpBdt, BdpEso, BdpEsa, BdpSzv, BdpRnd",
     {"plexor", "00001", "ES1", "EA1", "20240229", "480", "1"}},
    {"Bdk_isPnrVerplant",
     "SELECT count(*) FROM %s.Kvt735Bdk WHERE BdkSta = 9 AND BdkPnr = '%s' AND BdkEso = '%s' AND "
     "BdkEsa = '%s' AND BdkBdt = convert(datetime, '%s', 112) AND BdkSzv = %ld ",
     {"plexor", "12345678", "ES1", "EA1", "20240229", "480"}},
    {"Bdk_Insert",
     "INSERT INTO %s.Kvt735Bdk (BdkKey, BdkLfd, BdkPnr, BdkBdt, BdkEso, BdkEsa, BdkSzv, BdkSzb, "
     "BdkBsz, BdkJhr, BdkMon, BdkWoc, BdkJwc, BdkTtp, BdkTag, BdkZtv, BdkZtb, BdkKst, BdkFc1, "
     "BdkFc2, BdkFc3, BdkOso, BdkOsa, BdkOsv, BdkOsb, BdkOsz, BdkPlg, BdkAsw, BdkSts, BdkFnr, "
     "BdkSta, BdkDat, BdkTxt, BdkErf, BdkAzt, BdkId1, BdkId2, BdkId3, BdkId4, BdkId5, BdkId6, "
     "BdkId7, BdkId8, BdkAkt, BdkRnd, BdkOsw, BdkZvo, BdkZbi ) VALUES ('%s', %ld , '%s', "
     "convert(datetime, '%s', 112), '%s', '%s', %ld , %ld , '%s', %ld , %ld , %ld , %ld , '%s', "
     "%ld , %ld , %ld , '%s', '%s', '%s', '%s', '%s', '%s', %ld , %ld , '%s', '%s', %ld , '%s', "
     "%ld , %ld , CURRENT_TIMESTAMP, '%s', '%s', %ld , %ld , %ld , %ld , %ld , %ld , %ld , %ld , "
     "%ld , %ld , %ld , %ld , '%s', '%s' ) ",
     {"plexor", "K1", "1",    "12345678",    "20240229", "ES1", "EA1",    "480",   "960", "B1",
      "0",      "0",  "0",    "0",           "WT",       "0",   "480",    "960",   "KST", "",
      "",       "",   "ES2",  "EA2",         "480",      "960", "B1",     "00001", "1",   " ",
      "0",      "9",  "text", "OPTIMIERUNG", "0",        "0",   "0",      "0",     "0",   "0",
      "0",      "0",  "0",    "0",           "0",        "0",   "080000", "160000"}},
    {"Qea_Qlf2Esa_Open", "SELECT QeaQfk FROM %s.Kvt717Qea WHERE QeaEsa = '%s'", {"plexor", "EA1"}},
    {"Qzp_PnrQfk_Read",
     "SELECT QzpPnr, QzpQfk FROM %s.Kvt716Qzp WHERE QzpPnr = '%s' AND QzpVon <= convert(datetime, "
     "'%s', 112) AND (QzpBis >= convert(datetime, '%s', 112) OR QzpBis IS NULL) AND QzpQfk = '%s'",
     {"plexor", "12345678", "20240229", "20240229", "Q1"}},
    {"Ers_AzvZtg_Open",
     "SELECT ErsAze, AzvKev, AzvKeb, AzvGlv, AzvGlb FROM %s.Kvt329Ztg, %s.Kvt140Azv, %s.Kvt162Ers "
     "WHERE ZtgPnr = '%s' AND ZtgVon = convert(datetime, '%s', 112) AND ZtgAgr = ErsAgr AND ZtgAzt "
     "= ErsAzt AND ErsAze = AzvNum AND AzvSol <> 0 AND ZtgVon >= AzvGvo AND (ZtgVon <= AzvGbi OR "
     "AzvGbi IS NULL)",
     {"plexor", "plexor", "plexor", "12345678", "20240229"}},
    {"TagArbZt_Brutto",
     "SELECT COALESCE(BdpAzt, 0) FROM %s.Kvt730Bdp WHERE BdpPnr = '%s' AND BdpBdt = "
     "convert(datetime, '%s', 112) AND BdpAkt <> 9999",
     {"plexor", "12345678", "20240229"}},
    {"Bdp_VorNchBsz_Open",
     "SELECT BdpPnr, convert(char(8), BdpBdt, 112), BdpEso, BdpEsa, BdpBsz, BdpSzv, BdpSzb, "
     "BdpJhr, BdpMon, BdpWoc, BdpJwc, BdpTag, BdpTtp, BdpZtv, BdpZtb, BdpKst, BdpFc1, BdpFc2, "
     "BdpFc3, BdpOso, BdpOsa, BdpOsv, BdpOsb, BdpOsz, BdpPlg, BdpAsw, BdpSts, BdpFnr, BdpSta, "
     "convert(char(19), BdpDat, 120), BdpTxt, BdpErf, BdpAzt, BdpId1, BdpId2, BdpId3, BdpId4, "
     "BdpId5, BdpId6, BdpId7, BdpId8, BdpRnd, BdpAkt, BdpBnr, BdpAwp, BdpPau, BdpBzt, BdpOsw, "
     "BdpKos FROM %s.Kvt730Bdp WHERE BdpPnr = '%s' AND BdpBdt >= dateadd(dd, -1, convert(datetime, "
     "'%s', 112)) AND BdpBdt <= dateadd(dd, +1, convert(datetime, '%s', 112)) AND BdpAkt <> 9999 "
     "AND BdpFc1 = '   ' AND BdpFc2 = '   ' AND BdpFc3 = '   ' AND BdpSts <> 'D' AND BdpSts <> 'O' "
     "ORDER BY BdpPnr, BdpBdt, BdpAkt",
     {"plexor", "12345678", "20240229", "20240229"}},
    {"Bss_PKeyRead",
     "SELECT BssPlg, BssEso, BssEsa, BssTtp, BssBsz, BssVon, BssBis, BssTxt, BssSol, BssMin, "
     "BssMax, BssMwt, BssVtg, BssAtg, BssKgw, BssKmw, BssAsw FROM %s.Kvt720Bss WHERE BssPlg = '%s' "
     "AND BssEso = '%s' AND BssEsa = '%s' AND BssTtp = '%s' AND BssVon = %ld AND BssAsw = %ld",
     {"plexor", "00001", "ES1", "EA1", "WT", "480", "1"}},
    {"Komplett_PnrSatz_1",
     "SELECT PbvZrm, PbvEso, PbvEsa, PbvAwp, PbvSst FROM %s.Kvt710Pbv WHERE PbvPnr = '%s' AND "
     "PbvGvo <= convert(datetime, '%s', 112) AND (PbvGbi IS NULL OR PbvGbi >= convert(datetime, "
     "'%s', 112))",
     {"plexor", "12345678", "20240229", "20240229"}},
    {"Komplett_PnrSatz_2",
     "SELECT PgzAzk, PgzRzk FROM %s.Kvt712Pgz WHERE PgzPlg = '%s' AND PgzEso = '%s' AND PgzEsa = "
     "'%s'",
     {"plexor", "00001", "ES1", "EA1"}},
    {"Ztg_AbzTag_Read",
     "SELECT ZtgAzt, ZtgKst, Ka2Ttp, Ka2Ptp, Ka2Gwt, AzvKev, AzvKeb, AzvGlv, AzvGlb FROM "
     "%s.Kvt329Ztg, %s.Kvt140Azv, %s.Kvt133Ka2, %s.Kvt701Plg WHERE ZtgPnr = '%s' AND ZtgVon = "
     "convert(datetime, '%s', 112) AND ZtgAzt = AzvNum AND AzvGvo <= ZtgVon AND (AzvGbi >= ZtgVon "
     "OR AzvGbi is NULL) AND PlgPlg = '%s' AND PlgKal = Ka2Num AND Ka2Dtm = ZtgVon",
     {"plexor", "plexor", "plexor", "plexor", "12345678", "20240229", "00001"}},
    {"Bdp_PnrTag_Open",
     "SELECT BdpPnr, convert(char(8), BdpBdt, 112), BdpEso, BdpEsa, BdpBsz, BdpSzv, BdpSzb, "
     "BdpJhr, BdpMon, BdpWoc, BdpJwc, BdpTag, BdpTtp, BdpZtv, BdpZtb, BdpKst, BdpFc1, BdpFc2, "
     "BdpFc3, BdpOso, BdpOsa, BdpOsv, BdpOsb, BdpOsz, BdpPlg, BdpAsw, BdpSts, BdpFnr, BdpSta, "
     "convert(char(19), BdpDat, 120), BdpTxt, BdpErf, BdpAzt, BdpId1, BdpId2, BdpId3, BdpId4, "
     "BdpId5, BdpId6, BdpId7, BdpId8, BdpRnd, BdpAkt, BdpBnr, BdpAwp, BdpPau, BdpBzt, BdpOsw, "
     "BdpKos FROM %s.Kvt730Bdp WHERE BdpPnr = '%s' AND BdpBdt = convert(datetime, '%s', 112) AND "
     "BdpAkt <> 9999 AND BdpSts <> 'O' AND BdpSts <> 'D' ORDER BY BdpPnr, BdpBdt, BdpSzv, BdpSzb",
     {"plexor", "12345678", "20240229"}},
    {"Bsm_Ist_Ermitteln",
     "SELECT (SELECT COUNT(*) from %s.kvt730bdp where BdpPlg = tab.bdpplg and BdpEso = tab.bdpeso "
     "and BdpEsa = tab.bdpesa and BdpBdt = tab.bdpbdt and BdpSzv = tab.bdpszv and BdpAsw = "
     "tab.bdpasw and (BdpSts = 'U' or BdpSts = 'M')) as ANZKOR, (SELECT COUNT(*) from %s.kvt730bdp "
     "where Bdpplg = tab.bdpplg and BdpEso = tab.bdpeso and BdpEsa = tab.bdpesa and BdpBdt = "
     "tab.bdpbdt and BdpSzv = tab.bdpszv and BdpAsw = tab.bdpasw and BdpZtv = %ld and BdpZtb = %ld "
     "and BdpSts <> 'O' and BdpSts <> 'D') as ANZAZTEQ, (SELECT COUNT(*) from %s.kvt730bdp where "
     "BdpPlg = tab.bdpplg and BdpEso = tab.bdpeso and BdpEsa = tab.bdpesa and BdpBdt = tab.bdpbdt "
     "and BdpSzv = tab.bdpszv and BdpAsw = tab.bdpasw and (BdpZtv <> %ld or BdpZtb <> %ld) and "
     "BdpSts <> 'O' and BdpSts <> 'D') as ANZAZTOL, (SELECT COUNT(*) from %s.kvt730bdp where "
     "BdpPlg = tab.bdpplg and BdpEso = tab.bdpeso and BdpEsa = tab.bdpesa and BdpBdt = tab.bdpbdt "
     "and BdpSzv = tab.bdpszv and BdpAsw = tab.bdpasw and BdpSts <> 'O' and BdpSts <> 'D' and "
     "BdpFc1 <> '   ') as ANZHTG, (SELECT COUNT(*) from %s.kvt730bdp where BdpPlg = tab.bdpplg and "
     "BdpEso = tab.bdpeso and BdpEsa = tab.bdpesa and BdpBdt = tab.bdpbdt and BdpSzv = tab.bdpszv "
     "and BdpAsw = tab.bdpasw and BdpSts <> 'O' and BdpSts <> 'D' and BdpFc2 <> '   ') as ANZHTV, "
     "(SELECT COUNT(*) from %s.kvt730bdp where BdpPlg = tab.bdpplg and BdpEso = tab.bdpeso and "
     "BdpEsa = tab.bdpesa and BdpBdt = tab.bdpbdt and BdpSzv = tab.bdpszv and BdpAsw = tab.bdpasw "
     "and BdpSts <> 'O' and BdpSts <> 'D' and BdpFc3 <> '   ') as ANZHTN, (SELECT Count(*) from "
     "%s.kvt730bdp where BdpPlg = tab.bdpplg and BdpEso = tab.bdpeso and BdpEsa = tab.bdpesa and "
     "BdpBdt = tab.bdpbdt and BdpSzv = tab.bdpszv and BdpAsw = tab.bdpasw and BdpSts <> 'O' and "
     "BdpSts <> 'D' and BdpKos > 0.0) as ANZSST, (SELECT COALESCE(SUM(BdpKos),0.0) from "
     "%s.kvt730bdp where BdpPlg = tab.bdpplg and BdpEso = tab.bdpeso and BdpEsa = tab.bdpesa and "
     "BdpBdt = tab.bdpbdt and BdpSzv = tab.bdpszv and BdpAsw = tab.bdpasw and BdpSts <> 'O' and "
     "BdpSts <> 'D' and BdpFc1 = '   ' and BdpFc2 = '   ' and BdpFc3 = '   ') as SUMKOS, (SELECT "
     "COALESCE(SUM(BdpKos),0.0) from %s.kvt730bdp where BdpPlg = tab.bdpplg and BdpEso = "
     "tab.bdpeso and BdpEsa = tab.bdpesa and BdpBdt = tab.bdpbdt and BdpSzv = tab.bdpszv and "
     "BdpAsw = tab.bdpasw and BdpSts <> 'D' and BdpSts <> 'M') as SUMKO2 FROM (SELECT DISTINCT "
     "BDPPLG, BDPESO, BDPESA, BDPBDT, BDPSZV, BDPASW FROM %s.Kvt730bdp WHERE BdpPlg = '%s' AND "
     "BdpEso = '%s' AND BdpEsa = '%s' AND BdpBdt = convert(datetime, '%s', 112) AND BdpSzv = %ld "
     "AND BdpAsw = %ld) tab",
     {"plexor", "plexor", "480",    "960",      "plexor", "480",    "960",
      "plexor", "plexor", "plexor", "plexor",   "plexor", "plexor", "plexor",
      "00001",  "ES1",    "EA1",    "20240229", "480",    "1"}},
    {"Count_Opt_Leaving",
     "SELECT count(*) FROM %s.Kvt735Bdk WHERE BdkSta = 9 AND BdkEso = '%s' AND BdkEsa = '%s' AND "
     "BdkBdt = convert(datetime, '%s', 112) AND BdkSzv = %ld AND BdkAsw = %ld AND BdkErf = "
     "'OPTIMIERUNG'",
     {"plexor", "ES1", "EA1", "20240229", "480", "1"}},
    {"Count_Opt_Joining",
     "SELECT count(*) FROM %s.Kvt735Bdk WHERE BdkSta = 9 AND BdkOso = '%s' AND BdkOsa = '%s' AND "
     "BdkBdt = convert(datetime, '%s', 112) AND BdkOsv = %ld AND BdkOsw = %ld",
     {"plexor", "ES2", "EA2", "20240229", "480", "0"}},
    {"Bsm_PKeyUpd_Full",
     "UPDATE %s.Kvt725Bsm SET BsmBsz = '%s', BsmSzb = %ld, BsmJhr = %ld, BsmMon = %ld, BsmWoc = "
     "%ld, BsmJwc = %ld, BsmTag = %ld, BsmTtp = '%s', BsmSol = %ld, BsmMin = %ld, BsmMax = %ld, "
     "BsmIst = %ld, BsmPlg = '%s', BsmHtg = %ld, BsmHtv = %ld, BsmHtn = %ld, BsmKng = %ld, BsmFkt "
     "= %ld, BsmAsw = %ld, BsmSta = %ld, BsmDat = CURRENT_TIMESTAMP, BsmErf = '%s', BsmId1 = %ld, "
     "BsmId2 = %ld, BsmId3 = %ld, BsmId4 = %ld, BsmId5 = %ld, BsmId6 = %ld, BsmId7 = %ld, BsmId8 = "
     "%ld, BsmKor = %ld, BsmKos = %f , BsmKo2 = %f , BsmOva = %ld, BsmOve = %ld WHERE BsmPlg = "
     "'%s' AND BsmEso = '%s' AND BsmEsa = '%s' AND BsmBdt = convert(datetime, '%s', 112) AND "
     "BsmSzv = %ld AND BsmAsw = %ld",
     {"plexor", "B1",  "960",      "0",           "0",        "0",        "0", "0", "WT",
      "0",      "0",   "0",        "0",           "00001",    "0",        "0", "0", "0",
      "0",      "1",   "9",        "OPTIMIERUNG", "0",        "0",        "0", "0", "0",
      "0",      "0",   "0",        "0",           "1.500000", "1.500000", "0", "0", "00001",
      "ES1",    "EA1", "20240229", "480",         "1"}},
    {"Bsm_PKeyUpd_Short",
     "UPDATE %s.Kvt725Bsm SET BsmBsz = '%s', BsmSzb = %ld, BsmJhr = %ld, BsmMon = %ld, BsmWoc = "
     "%ld, BsmJwc = %ld, BsmTag = %ld, BsmTtp = '%s', BsmSol = %ld, BsmMin = %ld, BsmMax = %ld, "
     "BsmIst = %ld, BsmPlg = '%s', BsmHtg = %ld, BsmHtv = %ld, BsmHtn = %ld, BsmKng = %ld, BsmFkt "
     "= %ld, BsmAsw = %ld, BsmSta = %ld, BsmDat = CURRENT_TIMESTAMP, BsmErf = '%s', BsmId1 = %ld, "
     "BsmId2 = %ld, BsmId3 = %ld, BsmId4 = %ld, BsmId5 = %ld, BsmId6 = %ld, BsmId7 = %ld, BsmId8 = "
     "%ld, BsmKor = %ld, BsmKos = %f , BsmKo2 = %f  WHERE BsmPlg = '%s' AND BsmEso = '%s' AND "
     "BsmEsa = '%s' AND BsmBdt = convert(datetime, '%s', 112) AND BsmSzv = %ld AND BsmAsw = %ld",
     {"plexor", "B1",          "960",      "0",     "0",   "0",   "0",        "0",   "WT", "0",
      "0",      "0",           "0",        "00001", "0",   "0",   "0",        "0",   "0",  "1",
      "9",      "OPTIMIERUNG", "0",        "0",     "0",   "0",   "0",        "0",   "0",  "0",
      "0",      "1.500000",    "1.500000", "00001", "ES1", "EA1", "20240229", "480", "1"}},
    {"Err_Insert",
     "INSERT INTO %s.Kvt746Err ( ErrPlg, ErrKng, ErrDat, ErrLfn, ErrPnr, ErrEso, ErrEsa, ErrKnz, "
     "ErrBdt, ErrZtv, ErrZtb, ErrFnr, ErrErf, ErrJbd, ErrJbk ) VALUES ( '%s', '%s', "
     "CURRENT_TIMESTAMP, %ld, '%s', '%s', '%s', '%s', convert(datetime, '%s', 112) , %ld, %ld, "
     "%ld, '%s', '%s', '%s' )",
     {"plexor", "00001", "PLANO", "0", "12345678", "ES1", "EA1", "K", "20240229", "480", "960", "0",
      "OPTIMIERUNG", "job", "jobtext"}},
    {"Err_Delete_Plg",
     "DELETE FROM %s.Kvt746Err WHERE ErrPlg = '%s' AND ErrKng = '%s' AND ((ErrBdt >= "
     "convert(datetime, '%s', 112) AND ErrBdt <= convert(datetime, '%s', 112)) OR ErrBdt IS NULL "
     "OR ErrBdt < CURRENT_TIMESTAMP)",
     {"plexor", "00001", "PLANO", "20240229", "20240229"}},
    {"Err_Delete_Eso",
     "DELETE FROM %s.Kvt746Err WHERE ErrPlg = '%s' AND ErrEso = '%s' AND ErrKng = '%s' AND "
     "((ErrBdt >= convert(datetime, '%s', 112) AND ErrBdt <= convert(datetime, '%s', 112)) OR "
     "ErrBdt IS NULL OR ErrBdt < CURRENT_TIMESTAMP)",
     {"plexor", "00001", "ES1", "PLANO", "20240229", "20240229"}},
    {"Err_Delete_Esa",
     "DELETE FROM %s.Kvt746Err WHERE ErrPlg = '%s' AND ErrKng = '%s' AND ErrEso = '%s' AND ErrEsa "
     "= '%s' AND ((ErrBdt >= convert(datetime, '%s', 112) AND ErrBdt <= convert(datetime, '%s', "
     "112)) OR ErrBdt IS NULL OR ErrBdt < CURRENT_TIMESTAMP)",
     {"plexor", "00001", "PLANO", "ES1", "EA1", "20240229", "20240229"}},
    {"Bsm_Scan_Plg_Full",
     "SELECT convert(char(8), BsmBdt, 112), BsmEso, BsmEsa, BsmBsz, BsmSzv, BsmSzb, BsmJhr, "
     "BsmMon, BsmWoc, BsmJwc, BsmTag, BsmTtp, BsmSol, BsmMin, BsmMax, BsmIst, BsmPlg, BsmHtg, "
     "BsmHtv, BsmHtn, BsmKng, BsmFkt, BsmAsw, BsmSta, convert(char(19), BsmDat,120), BsmErf, "
     "BsmId1, BsmId2, BsmId3, BsmId4, BsmId5, BsmId6, BsmId7, BsmId8, BsmKor, BsmKos, BsmKo2, "
     "BsmOva, BsmOve FROM %s.Kvt725Bsm WHERE BsmPlg = '%s' AND BsmBdt >= convert(datetime, '%s', "
     "112) AND BsmBdt <= convert(datetime, '%s', 112) ORDER By BsmBdt, BsmEso, BsmEsa, BsmSzv",
     {"plexor", "00001", "20240229", "20240229"}},
    {"Bsm_Scan_Plg_Short",
     "SELECT convert(char(8), BsmBdt, 112), BsmEso, BsmEsa, BsmBsz, BsmSzv, BsmSzb, BsmJhr, "
     "BsmMon, BsmWoc, BsmJwc, BsmTag, BsmTtp, BsmSol, BsmMin, BsmMax, BsmIst, BsmPlg, BsmHtg, "
     "BsmHtv, BsmHtn, BsmKng, BsmFkt, BsmAsw, BsmSta, convert(char(19), BsmDat,120), BsmErf, "
     "BsmId1, BsmId2, BsmId3, BsmId4, BsmId5, BsmId6, BsmId7, BsmId8, BsmKor, BsmKos, BsmKo2 FROM "
     "%s.Kvt725Bsm WHERE BsmPlg = '%s' AND BsmBdt >= convert(datetime, '%s', 112) AND BsmBdt <= "
     "convert(datetime, '%s', 112) ORDER By BsmBdt, BsmEso, BsmEsa, BsmSzv",
     {"plexor", "00001", "20240229", "20240229"}},
    {"Bsm_Scan_Eso_Full",
     "SELECT convert(char(8), BsmBdt, 112), BsmEso, BsmEsa, BsmBsz, BsmSzv, BsmSzb, BsmJhr, "
     "BsmMon, BsmWoc, BsmJwc, BsmTag, BsmTtp, BsmSol, BsmMin, BsmMax, BsmIst, BsmPlg, BsmHtg, "
     "BsmHtv, BsmHtn, BsmKng, BsmFkt, BsmAsw, BsmSta, convert(char(19), BsmDat,120), BsmErf, "
     "BsmId1, BsmId2, BsmId3, BsmId4, BsmId5, BsmId6, BsmId7, BsmId8, BsmKor, BsmKos, BsmKo2, "
     "BsmOva, BsmOve FROM %s.Kvt725Bsm WHERE BsmPlg = '%s' AND BsmEso = '%s' AND BsmBdt >= "
     "convert(datetime, '%s', 112) AND BsmBdt <= convert(datetime, '%s', 112) ORDER By BsmBdt, "
     "BsmEso, BsmEsa, BsmSzv",
     {"plexor", "00001", "ES1", "20240229", "20240229"}},
    {"Bsm_Scan_Eso_Short",
     "SELECT convert(char(8), BsmBdt, 112), BsmEso, BsmEsa, BsmBsz, BsmSzv, BsmSzb, BsmJhr, "
     "BsmMon, BsmWoc, BsmJwc, BsmTag, BsmTtp, BsmSol, BsmMin, BsmMax, BsmIst, BsmPlg, BsmHtg, "
     "BsmHtv, BsmHtn, BsmKng, BsmFkt, BsmAsw, BsmSta, convert(char(19), BsmDat,120), BsmErf, "
     "BsmId1, BsmId2, BsmId3, BsmId4, BsmId5, BsmId6, BsmId7, BsmId8, BsmKor, BsmKos, BsmKo2 FROM "
     "%s.Kvt725Bsm WHERE BsmPlg = '%s' AND BsmEso = '%s' AND BsmBdt >= convert(datetime, '%s', "
     "112) AND BsmBdt <= convert(datetime, '%s', 112) ORDER By BsmBdt, BsmEso, BsmEsa, BsmSzv",
     {"plexor", "00001", "ES1", "20240229", "20240229"}},
    {"Bsm_Scan_Esa_Full",
     "SELECT convert(char(8), BsmBdt, 112), BsmEso, BsmEsa, BsmBsz, BsmSzv, BsmSzb, BsmJhr, "
     "BsmMon, BsmWoc, BsmJwc, BsmTag, BsmTtp, BsmSol, BsmMin, BsmMax, BsmIst, BsmPlg, BsmHtg, "
     "BsmHtv, BsmHtn, BsmKng, BsmFkt, BsmAsw, BsmSta, convert(char(19), BsmDat,120), BsmErf, "
     "BsmId1, BsmId2, BsmId3, BsmId4, BsmId5, BsmId6, BsmId7, BsmId8, BsmKor, BsmKos, BsmKo2, "
     "BsmOva, BsmOve FROM %s.Kvt725Bsm WHERE BsmPlg = '%s' AND BsmEso = '%s' AND BsmEsa = '%s' AND "
     "BsmBdt >= convert(datetime, '%s', 112) AND BsmBdt <= convert(datetime, '%s', 112) ORDER By "
     "BsmBdt, BsmEso, BsmEsa, BsmSzv",
     {"plexor", "00001", "ES1", "EA1", "20240229", "20240229"}},
    {"Bsm_Scan_Esa_Short",
     "SELECT convert(char(8), BsmBdt, 112), BsmEso, BsmEsa, BsmBsz, BsmSzv, BsmSzb, BsmJhr, "
     "BsmMon, BsmWoc, BsmJwc, BsmTag, BsmTtp, BsmSol, BsmMin, BsmMax, BsmIst, BsmPlg, BsmHtg, "
     "BsmHtv, BsmHtn, BsmKng, BsmFkt, BsmAsw, BsmSta, convert(char(19), BsmDat,120), BsmErf, "
     "BsmId1, BsmId2, BsmId3, BsmId4, BsmId5, BsmId6, BsmId7, BsmId8, BsmKor, BsmKos, BsmKo2 FROM "
     "%s.Kvt725Bsm WHERE BsmPlg = '%s' AND BsmEso = '%s' AND BsmEsa = '%s' AND BsmBdt >= "
     "convert(datetime, '%s', 112) AND BsmBdt <= convert(datetime, '%s', 112) ORDER By BsmBdt, "
     "BsmEso, BsmEsa, BsmSzv",
     {"plexor", "00001", "ES1", "EA1", "20240229", "20240229"}},
};

class JobStatements : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* sql : kSchema) db.Must(sql);
    for (const char* sql : kRows) db.Must(sql);
  }
  static std::string Statement(const char* name) {
    for (const JobStatement& s : kStatements) {
      if (std::string(s.name) != name) continue;
      std::string out = s.format;
      for (const std::string& value : s.values) {
        const size_t at = out.find('%');
        const size_t width = out.compare(at, 3, "%ld") == 0 ? 3 : 2;
        std::string quoted;
        for (char c : value) quoted += c == '\'' ? std::string("''") : std::string(1, c);
        out.replace(at, width, quoted);
      }
      return out;
    }
    ADD_FAILURE() << "no statement " << name;
    return {};
  }
  DialectDb db;
};

TEST_F(JobStatements, EveryStatementTranslatesAndRuns) {
  for (const JobStatement& s : kStatements) {
    const std::string sql = Statement(s.name);
    EXPECT_EQ(sql.find('%'), std::string::npos) << s.name;
    const Translation t = Translate(sql);
    ASSERT_TRUE(t.ok) << s.name << ": " << t.error.message;
    const bool query = sql.find("SELECT") < 2;
    EXPECT_EQ(t.kind, query ? StatementKind::kQuery : StatementKind::kModify) << s.name;
    const Outcome outcome = db.Run(sql);
    EXPECT_TRUE(outcome.ok) << s.name << ": " << outcome.error.native << " "
                            << outcome.error.message << "\n"
                            << t.sqlite_sql;
  }
}

TEST_F(JobStatements, CalendarReads) {
  Rows rows = db.Must(Statement("Bak_Tag_Read"));  // offset +1 from 2024-02-29
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][0], "20240301");
  EXPECT_EQ(db.Value(Statement("Bak_MaxDtm_Read")), "20240301");
  EXPECT_EQ(db.Value(Statement("Bak_Wtg_Read")), "4");
  EXPECT_EQ(db.Must(Statement("Pka_Tag_Read")), (Rows{{"WT", "1"}}));
  EXPECT_EQ(db.Value(Statement("Plg_Hzt_Read")), "30");
}

TEST_F(JobStatements, PlanGroupReadsGiveStyle120Texts) {
  const Rows rows = db.Must(Statement("Plg_Cur_Full"));
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][5], "2024-01-02 03:04:05");
  EXPECT_EQ(rows[0][7], kNull);
  EXPECT_EQ(rows[0][10], "2");
  EXPECT_EQ(db.Must(Statement("Plg_PKey_Upd")).size(), 0u);
  EXPECT_EQ(db.Must(Statement("Plg_PKey_Read"))[0][9], "2024-02-29 10:00:00");
}

TEST_F(JobStatements, SweepCursorsFindTheSlotsWithBlanksAfterTheLocation) {
  for (const char* name : {"Bsm_PlgUntC", "Bsm_EsoUntC", "Bsm_EsaUntC", "Bsm_PlgUntC_Verbatim"}) {
    const Rows rows = db.Must(Statement(name));
    ASSERT_EQ(rows.size(), 1u) << name;
    EXPECT_EQ(rows[0][0], "20240229");
    EXPECT_EQ(rows[0][1], "ES1");
  }
  // The surplus cursors filled with the short row's location find nothing else.
  EXPECT_EQ(db.Must(Statement("Bsm_PlgUebC")).size(), 1u);
  EXPECT_EQ(db.Must(Statement("Bsm_EsoUebC")).size(), 0u);
}

TEST_F(JobStatements, AssignmentCursorsMatchEmptyCodesWithBlanks) {
  std::string sql = Statement("Bdp_BszPnr_Open");
  sql.replace(sql.find("'ES1'"), 5, "'ES2'");
  sql.replace(sql.find("'EA1'"), 5, "'EA2'");
  const Rows rows = db.Must(sql);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][0], "12345678");
  EXPECT_EQ(db.Must(Statement("Bdp_PnrTag_Open")).size(), 1u);
  EXPECT_EQ(db.Must(Statement("Bdp_VorNchBsz_Open")).size(), 1u);
  EXPECT_EQ(db.Value(Statement("TagArbZt_Brutto")), "480");
}

TEST_F(JobStatements, RecountCountsTheSlotsAssignments) {
  std::string sql = Statement("Bsm_Ist_Ermitteln");
  sql.replace(sql.find("'ES1'"), 5, "'ES2'");
  sql.replace(sql.find("'EA1'"), 5, "'EA2'");
  const Rows rows = db.Must(sql);
  ASSERT_EQ(rows.size(), 1u);  // the derived table holds one distinct slot
  // ANZKOR, ANZAZTEQ, ANZAZTOL, ANZHTG, ANZHTV, ANZHTN, ANZSST, SUMKOS, SUMKO2
  EXPECT_EQ(rows[0], (std::vector<std::string>{"1", "1", "1", "1", "0", "0", "2", "2.5", "3.75"}));
}

TEST_F(JobStatements, WritesTakeEffect) {
  db.Must(Statement("Bdk_Insert"));
  EXPECT_EQ(db.Value(Statement("Bdk_isPnrVerplant")), "1");
  EXPECT_EQ(db.Value(Statement("Count_Opt_Leaving")), "1");
  EXPECT_EQ(db.Value(Statement("Count_Opt_Joining")), "1");
  EXPECT_EQ(db.Error(Statement("Bdk_Insert")).native, 2601);  // the key is unique

  const Outcome update = db.Run(Statement("Bsm_PKeyUpd_Full"));
  EXPECT_TRUE(update.ok);
  EXPECT_EQ(update.changes, 1);
  EXPECT_EQ(db.Value("SELECT count(*) FROM plexor.Kvt725Bsm WHERE BsmDat >= "
                     "dateadd(mi, -5, CURRENT_TIMESTAMP) AND BsmKos = 1.5"),
            "1");

  db.Must(Statement("Err_Insert"));
  const Outcome removed = db.Run(Statement("Err_Delete_Plg"));
  EXPECT_EQ(removed.changes, 3);  // the period's row, the undated one and the new one
}

TEST_F(JobStatements, ShortFormsServeTablesWithoutTheOptionalColumns) {
  db.Must("DROP TABLE plexor.Kvt701Plg");
  db.Must(
      "CREATE TABLE plexor.Kvt701Plg (PlgPlg varchar(5), PlgTxt varchar(50), PlgKal varchar(3), "
      "PlgHzt int, PlgSta int, PlgDat datetime, PlgErf varchar(50), PlgPdt datetime, "
      "PlgPlr varchar(50))");
  const SqlError e = db.Error(Statement("Plg_Cur_Full"));
  EXPECT_EQ(e.native, 207);
  EXPECT_EQ(e.sqlstate, "42S22");
  EXPECT_EQ(e.message, "Invalid column name 'PlgOpt'.");
  db.Must(Statement("Plg_Cur_Short"));
}

}  // namespace
}  // namespace tsq::testing
