-- Replaces the plan-group and staffing-matrix tables by their older layout
-- without PlgOpt, PlgOpl, BsmOva and BsmOve. Run after schema.sql.

DROP TABLE $(SCHEMA).Kvt701Plg
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
  PRIMARY KEY (PlgPlg)
)
GO

DROP TABLE $(SCHEMA).Kvt725Bsm
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
  PRIMARY KEY (BsmPlg, BsmEso, BsmEsa, BsmBdt, BsmSzv, BsmAsw)
)
GO

-- short and surplus slots of a plan group's day; error scan of a plan group
CREATE INDEX Kvt725Bsm_Day ON $(SCHEMA).Kvt725Bsm (BsmPlg, BsmBdt, BsmFkt)
GO

-- short and surplus slots of one location's day; error scan of a location
CREATE INDEX Kvt725Bsm_EsoDay ON $(SCHEMA).Kvt725Bsm (BsmPlg, BsmEso, BsmBdt, BsmFkt)
GO
