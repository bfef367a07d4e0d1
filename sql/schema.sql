-- Tables of the roster optimisation job.
-- Run with sqlcmd -v SCHEMA=<name> -i sql/schema.sql, or through plexorctl db init.
-- One statement per batch; batches end with a line holding only GO.
-- The base calendar lives in the shared schema KvtSystem, every other table in $(SCHEMA).

CREATE SCHEMA KvtSystem
GO

CREATE SCHEMA $(SCHEMA)
GO

CREATE TABLE KvtSystem.Kvt133Bak (
  BakDtm datetime NOT NULL,
  BakJhr int NULL,
  BakMon int NULL,
  BakTag int NULL,
  BakWch int NULL,
  BakWtg int NULL,
  BakJtg int NULL,
  PRIMARY KEY (BakDtm)
)
GO

CREATE TABLE $(SCHEMA).Kvt133Ka2 (
  Ka2Num varchar(3) NOT NULL,
  Ka2Dtm datetime NOT NULL,
  Ka2Ttp varchar(3) NULL,
  Ka2Ptp varchar(3) NULL,
  Ka2Gwt int NULL,
  PRIMARY KEY (Ka2Num, Ka2Dtm)
)
GO

CREATE TABLE $(SCHEMA).Kvt755Pka (
  PkaPlg varchar(5) NOT NULL,
  PkaNum varchar(3) NOT NULL,
  PkaDtm datetime NOT NULL,
  PkaTtp varchar(3) NULL,
  PkaGwt int NULL,
  PRIMARY KEY (PkaPlg, PkaNum, PkaDtm)
)
GO

CREATE TABLE $(SCHEMA).Kvt701Plg (
  PlgPlg varchar(5) NOT NULL,
  PlgTxt varchar(50) NULL,
  PlgKal varchar(3) NULL,
  PlgHzt int NULL,
  PlgSta int NULL,
  PlgDat datetime NULL,
  PlgErf varchar(50) NULL,
  PlgPdt datetime NULL,
  PlgPlr varchar(50) NULL,
  PlgBeg datetime NULL,
  PlgUsr varchar(50) NULL,
  PlgPgm varchar(10) NULL,
  PlgFts int NULL,
  PlgQu1 int NULL,
  PlgAr1 int NULL,
  PlgRu1 int NULL,
  PlgMe1 int NULL,
  PlgAm1 int NULL,
  PlgRe1 int NULL,
  PlgQu2 int NULL,
  PlgAr2 int NULL,
  PlgRu2 int NULL,
  PlgMe2 int NULL,
  PlgAm2 int NULL,
  PlgRe2 int NULL,
  PlgQu3 int NULL,
  PlgAr3 int NULL,
  PlgRu3 int NULL,
  PlgMe3 int NULL,
  PlgAm3 int NULL,
  PlgRe3 int NULL,
  PlgOpt int NULL,
  PlgOpl int NULL,
  PRIMARY KEY (PlgPlg)
)
GO

CREATE TABLE $(SCHEMA).Kvt329Ztg (
  ZtgPnr varchar(8) NULL,
  ZtgVon datetime NULL,
  ZtgAzt varchar(5) NULL,
  ZtgKst varchar(10) NULL,
  ZtgAgr varchar(5) NULL
)
GO

CREATE TABLE $(SCHEMA).Kvt140Azv (
  AzvNum int NULL,
  AzvKev int NULL,
  AzvKeb int NULL,
  AzvGlv int NULL,
  AzvGlb int NULL,
  AzvGvo datetime NULL,
  AzvGbi datetime NULL,
  AzvSol int NULL
)
GO

CREATE TABLE $(SCHEMA).Kvt162Ers (
  ErsAgr varchar(5) NULL,
  ErsAzt varchar(5) NULL,
  ErsAze int NULL
)
GO

CREATE TABLE $(SCHEMA).Kvt708Pss (
  PssKss varchar(20) NULL,
  PssGvo datetime NULL,
  PssGbi datetime NULL,
  PssWrt float NULL
)
GO

CREATE TABLE $(SCHEMA).Kvt710Pbv (
  PbvPnr varchar(8) NULL,
  PbvGvo datetime NULL,
  PbvGbi datetime NULL,
  PbvZrm int NULL,
  PbvEso varchar(5) NULL,
  PbvEsa varchar(5) NULL,
  PbvAwp int NULL,
  PbvSst varchar(10) NULL
)
GO

CREATE TABLE $(SCHEMA).Kvt712Pgz (
  PgzPlg varchar(5) NOT NULL,
  PgzEso varchar(5) NOT NULL,
  PgzEsa varchar(5) NOT NULL,
  PgzAzk int NULL,
  PgzRzk int NULL,
  PRIMARY KEY (PgzPlg, PgzEso, PgzEsa)
)
GO

CREATE TABLE $(SCHEMA).Kvt716Qzp (
  QzpPnr varchar(8) NULL,
  QzpQfk varchar(5) NULL,
  QzpVon datetime NULL,
  QzpBis datetime NULL
)
GO

CREATE TABLE $(SCHEMA).Kvt717Qea (
  QeaEsa varchar(5) NULL,
  QeaQfk varchar(5) NULL
)
GO

CREATE TABLE $(SCHEMA).Kvt720Bss (
  BssPlg varchar(5) NOT NULL,
  BssEso varchar(5) NOT NULL,
  BssEsa varchar(5) NOT NULL,
  BssTtp varchar(3) NOT NULL,
  BssBsz varchar(3) NULL,
  BssVon int NOT NULL,
  BssBis int NULL,
  BssTxt varchar(50) NULL,
  BssSol int NULL,
  BssMin int NULL,
  BssMax int NULL,
  BssMwt float NULL,
  BssVtg int NULL,
  BssAtg int NULL,
  BssKgw int NULL,
  BssKmw int NULL,
  BssAsw int NOT NULL,
  PRIMARY KEY (BssPlg, BssEso, BssEsa, BssTtp, BssVon, BssAsw)
)
GO

CREATE TABLE $(SCHEMA).Kvt725Bsm (
  BsmBdt datetime NOT NULL,
  BsmEso varchar(5) NOT NULL,
  BsmEsa varchar(5) NOT NULL,
  BsmBsz varchar(3) NULL,
  BsmSzv int NOT NULL,
  BsmSzb int NULL,
  BsmJhr int NULL,
  BsmMon int NULL,
  BsmWoc int NULL,
  BsmJwc int NULL,
  BsmTag int NULL,
  BsmTtp varchar(3) NULL,
  BsmSol int NULL,
  BsmMin int NULL,
  BsmMax int NULL,
  BsmIst int NULL,
  BsmPlg varchar(5) NOT NULL,
  BsmHtg int NULL,
  BsmHtv int NULL,
  BsmHtn int NULL,
  BsmKng int NULL,
  BsmFkt int NULL,
  BsmAsw int NOT NULL,
  BsmSta int NULL,
  BsmDat datetime NULL,
  BsmErf varchar(50) NULL,
  BsmId1 int NULL,
  BsmId2 int NULL,
  BsmId3 int NULL,
  BsmId4 int NULL,
  BsmId5 int NULL,
  BsmId6 int NULL,
  BsmId7 int NULL,
  BsmId8 int NULL,
  BsmKor int NULL,
  BsmKos float NULL,
  BsmKo2 float NULL,
  BsmOva int NULL,
  BsmOve int NULL,
  PRIMARY KEY (BsmPlg, BsmEso, BsmEsa, BsmBdt, BsmSzv, BsmAsw)
)
GO

CREATE TABLE $(SCHEMA).Kvt730Bdp (
  BdpPnr varchar(8) NULL,
  BdpBdt datetime NULL,
  BdpEso varchar(5) NULL,
  BdpEsa varchar(5) NULL,
  BdpBsz varchar(3) NULL,
  BdpSzv int NULL,
  BdpSzb int NULL,
  BdpJhr int NULL,
  BdpMon int NULL,
  BdpWoc int NULL,
  BdpJwc int NULL,
  BdpTag int NULL,
  BdpTtp varchar(3) NULL,
  BdpZtv int NULL,
  BdpZtb int NULL,
  BdpKst varchar(10) NULL,
  BdpFc1 varchar(3) NULL,
  BdpFc2 varchar(3) NULL,
  BdpFc3 varchar(3) NULL,
  BdpOso varchar(5) NULL,
  BdpOsa varchar(5) NULL,
  BdpOsv int NULL,
  BdpOsb int NULL,
  BdpOsz varchar(3) NULL,
  BdpPlg varchar(5) NULL,
  BdpAsw int NULL,
  BdpSts varchar(1) NULL,
  BdpFnr int NULL,
  BdpSta int NULL,
  BdpDat datetime NULL,
  BdpTxt varchar(60) NULL,
  BdpErf varchar(50) NULL,
  BdpAzt int NULL,
  BdpId1 int NULL,
  BdpId2 int NULL,
  BdpId3 int NULL,
  BdpId4 int NULL,
  BdpId5 int NULL,
  BdpId6 int NULL,
  BdpId7 int NULL,
  BdpId8 int NULL,
  BdpRnd int NULL,
  BdpAkt int NULL,
  BdpBnr int NULL,
  BdpAwp int NULL,
  BdpPau int NULL,
  BdpBzt int NULL,
  BdpOsw int NULL,
  BdpKos float NULL
)
GO

CREATE TABLE $(SCHEMA).Kvt735Bdk (
  BdkKey varchar(35) NULL,
  BdkLfd int NULL,
  BdkPnr varchar(8) NULL,
  BdkBdt datetime NULL,
  BdkEso varchar(5) NULL,
  BdkEsa varchar(5) NULL,
  BdkBsz varchar(3) NULL,
  BdkSzv int NULL,
  BdkSzb int NULL,
  BdkJhr int NULL,
  BdkMon int NULL,
  BdkWoc int NULL,
  BdkJwc int NULL,
  BdkTag int NULL,
  BdkTtp varchar(3) NULL,
  BdkZtv int NULL,
  BdkZtb int NULL,
  BdkKst varchar(10) NULL,
  BdkFc1 varchar(3) NULL,
  BdkFc2 varchar(3) NULL,
  BdkFc3 varchar(3) NULL,
  BdkOso varchar(5) NULL,
  BdkOsa varchar(5) NULL,
  BdkOsv int NULL,
  BdkOsb int NULL,
  BdkOsz varchar(3) NULL,
  BdkPlg varchar(5) NULL,
  BdkAsw int NULL,
  BdkSts varchar(1) NULL,
  BdkFnr int NULL,
  BdkSta int NULL,
  BdkDat datetime NULL,
  BdkTxt varchar(60) NULL,
  BdkErf varchar(50) NULL,
  BdkAzt int NULL,
  BdkId1 int NULL,
  BdkId2 int NULL,
  BdkId3 int NULL,
  BdkId4 int NULL,
  BdkId5 int NULL,
  BdkId6 int NULL,
  BdkId7 int NULL,
  BdkId8 int NULL,
  BdkAkt int NULL,
  BdkRnd int NULL,
  BdkOsw int NULL,
  BdkZvo varchar(8) NULL,
  BdkZbi varchar(8) NULL
)
GO

CREATE TABLE $(SCHEMA).Kvt746Err (
  ErrPlg varchar(5) NULL,
  ErrKng varchar(5) NULL,
  ErrDat datetime NULL,
  ErrLfn int NULL,
  ErrPnr varchar(8) NULL,
  ErrEso varchar(5) NULL,
  ErrEsa varchar(5) NULL,
  ErrKnz varchar(5) NULL,
  ErrBdt datetime NULL,
  ErrZtv int NULL,
  ErrZtb int NULL,
  ErrFnr int NULL,
  ErrErf varchar(50) NULL,
  ErrJbd varchar(14) NULL,
  ErrJbk varchar(32) NULL
)
GO

-- short and surplus slots of a plan group's day; error scan of a plan group
CREATE INDEX Kvt725Bsm_Day ON $(SCHEMA).Kvt725Bsm (BsmPlg, BsmBdt, BsmFkt)
GO

-- short and surplus slots of one location's day; error scan of a location
CREATE INDEX Kvt725Bsm_EsoDay ON $(SCHEMA).Kvt725Bsm (BsmPlg, BsmEso, BsmBdt, BsmFkt)
GO

-- recount of a slot and the movable persons of a slot
CREATE INDEX Kvt730Bdp_Slot ON $(SCHEMA).Kvt730Bdp (BdpPlg, BdpEso, BdpEsa, BdpBdt, BdpSzv, BdpAsw)
GO

-- a person's day, its working time and the neighbouring days
CREATE INDEX Kvt730Bdp_PnrDay ON $(SCHEMA).Kvt730Bdp (BdpPnr, BdpBdt)
GO

-- proposal key
CREATE UNIQUE INDEX Kvt735Bdk_Key ON $(SCHEMA).Kvt735Bdk (BdkKey)
GO

-- open proposal of an assignment
CREATE INDEX Kvt735Bdk_PnrDay ON $(SCHEMA).Kvt735Bdk (BdkPnr, BdkBdt, BdkSzv)
GO

-- open proposals leaving a slot
CREATE INDEX Kvt735Bdk_From ON $(SCHEMA).Kvt735Bdk (BdkEso, BdkEsa, BdkBdt, BdkSzv)
GO

-- open proposals joining a slot
CREATE INDEX Kvt735Bdk_To ON $(SCHEMA).Kvt735Bdk (BdkOso, BdkOsa, BdkBdt, BdkOsv)
GO

-- deletes of a plan group's errors
CREATE INDEX Kvt746Err_Plg ON $(SCHEMA).Kvt746Err (ErrPlg, ErrKng, ErrBdt)
GO

-- a person's day
CREATE INDEX Kvt329Ztg_PnrDay ON $(SCHEMA).Kvt329Ztg (ZtgPnr, ZtgVon)
GO

-- working-time model by number
CREATE INDEX Kvt140Azv_Num ON $(SCHEMA).Kvt140Azv (AzvNum)
GO

-- substitute models of a group and model
CREATE INDEX Kvt162Ers_Model ON $(SCHEMA).Kvt162Ers (ErsAgr, ErsAzt)
GO

-- dated value by key
CREATE INDEX Kvt708Pss_Key ON $(SCHEMA).Kvt708Pss (PssKss, PssGvo)
GO

-- a person's assignment rules
CREATE INDEX Kvt710Pbv_Pnr ON $(SCHEMA).Kvt710Pbv (PbvPnr, PbvGvo)
GO

-- qualification held by a person
CREATE INDEX Kvt716Qzp_PnrQfk ON $(SCHEMA).Kvt716Qzp (QzpPnr, QzpQfk)
GO

-- qualifications required by a deployment type
CREATE INDEX Kvt717Qea_Esa ON $(SCHEMA).Kvt717Qea (QeaEsa)
GO
