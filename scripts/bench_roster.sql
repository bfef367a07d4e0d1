-- A benchmark roster, written straight into the files of the embedded
-- database (main: the job's schema, KvtSystem attached). Reads its size from
-- the temporary table bench(persons, locations, types, days, start, seed),
-- start as 'yyyy-mm-dd'. One plan group 00001 at level 1 with the checks of
-- switch set 2 on; per location and deployment type an early, a late and a
-- night slot; every person works one slot of one location five days in
-- seven; each day a third of the slots is short, a third on target and a
-- third in surplus. The same sizes, start and seed give the same rows.
BEGIN;

CREATE TEMP TABLE n(i INTEGER PRIMARY KEY);
WITH RECURSIVE c(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM c WHERE i < 1999)
INSERT INTO n SELECT i FROM c;

CREATE TEMP VIEW d AS
SELECT n.i - 400 AS k, datetime(b.start, (n.i - 400) || ' days') AS dtm FROM n, bench b
WHERE n.i < 1500;

-- Calendar: a year back, two years ahead.
INSERT INTO KvtSystem.Kvt133Bak (BakDtm, BakJhr, BakMon, BakTag, BakWch, BakWtg, BakJtg)
SELECT dtm, CAST(strftime('%Y', dtm) AS INTEGER), CAST(strftime('%m', dtm) AS INTEGER),
       CAST(strftime('%d', dtm) AS INTEGER),
       MAX(1, MIN(52, (CAST(strftime('%j', dtm) AS INTEGER) - ((CAST(strftime('%w', dtm) AS INTEGER) + 6) % 7 + 1) + 10) / 7)),
       (CAST(strftime('%w', dtm) AS INTEGER) + 6) % 7 + 1, CAST(strftime('%j', dtm) AS INTEGER)
FROM d WHERE k BETWEEN -365 AND 730;

CREATE TEMP VIEW day_type AS
SELECT k, dtm, CASE WHEN strftime('%w', dtm) IN ('0', '6') THEN 'WE' ELSE 'AT' END AS ttp,
       CASE WHEN strftime('%w', dtm) IN ('0', '6') THEN 0 ELSE 1 END AS gwt FROM d;

INSERT INTO Kvt701Plg (PlgPlg, PlgTxt, PlgKal, PlgHzt, PlgSta, PlgDat, PlgErf, PlgPdt, PlgPlr,
                       PlgBeg, PlgUsr, PlgPgm, PlgFts, PlgQu1, PlgAr1, PlgRu1, PlgMe1, PlgAm1,
                       PlgRe1, PlgQu2, PlgAr2, PlgRu2, PlgMe2, PlgAm2, PlgRe2, PlgQu3, PlgAr3,
                       PlgRu3, PlgMe3, PlgAm3, PlgRe3, PlgOpt, PlgOpl)
SELECT '00001', 'Benchmark', '001', 1, 1, datetime(start, '-60 days', '+8 hours'), 'BENCH',
       datetime(start, '-1 days', '+18 hours'), 'Dienstplanung', datetime(start, '-7 days'), '',
       '', 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1
FROM bench;

INSERT INTO Kvt133Ka2 (Ka2Num, Ka2Dtm, Ka2Ttp, Ka2Ptp, Ka2Gwt)
SELECT '001', dtm, ttp, 'N', gwt FROM day_type, bench WHERE k BETWEEN -7 AND bench.days + 62;
INSERT INTO Kvt755Pka (PkaPlg, PkaNum, PkaDtm, PkaTtp, PkaGwt)
SELECT '00001', '001', dtm, ttp, gwt FROM day_type, bench WHERE k BETWEEN -7 AND bench.days + 62;

INSERT INTO Kvt140Azv (AzvNum, AzvKev, AzvKeb, AzvGlv, AzvGlb, AzvGvo, AzvGbi, AzvSol)
SELECT m.column1, m.column2, m.column3, m.column4, m.column5, datetime(b.start, m.column6),
       CASE WHEN m.column7 IS NULL THEN NULL ELSE datetime(b.start, m.column7) END, m.column8
FROM (VALUES (1, 0, 0, 0, 0, '-365 days', NULL, 1), (2, 420, 1200, 360, 1320, '-365 days', NULL, 1),
             (6, 1320, 360, 1320, 360, '-365 days', NULL, 1)) m, bench b;
INSERT INTO Kvt162Ers (ErsAgr, ErsAzt, ErsAze) VALUES ('STD', '6', 1);

-- Locations, deployment types, slots.
CREATE TEMP TABLE loc AS SELECT i, printf('L%04d', i + 1) AS eso FROM n, bench WHERE i < locations;
CREATE TEMP TABLE typ AS SELECT i, printf('T%02d', i + 1) AS esa, printf('Q%02d', i + 1) AS qfk
FROM n, bench WHERE i < types;
CREATE TEMP TABLE slot(i INTEGER PRIMARY KEY, bsz TEXT, von INTEGER, bis INTEGER, txt TEXT);
INSERT INTO slot VALUES (0, 'FRU', 360, 840, 'Fruehdienst'), (1, 'SPA', 840, 1320, 'Spaetdienst'),
                        (2, 'NAC', 1320, 360, 'Nachtdienst');

INSERT INTO Kvt712Pgz (PgzPlg, PgzEso, PgzEsa, PgzAzk, PgzRzk)
SELECT '00001', eso, esa, 10, 11 FROM loc, typ;
INSERT INTO Kvt717Qea (QeaEsa, QeaQfk) SELECT esa, qfk FROM typ;
INSERT INTO Kvt720Bss (BssPlg, BssEso, BssEsa, BssTtp, BssBsz, BssVon, BssBis, BssTxt, BssSol,
                       BssMin, BssMax, BssMwt, BssVtg, BssAtg, BssKgw, BssKmw, BssAsw)
SELECT '00001', eso, esa, t.ttp, bsz, von, bis, txt, 2, 1, 3, 8.0, 0, 0, 0, 0, 1
FROM loc, typ, slot, (SELECT 'AT' AS ttp UNION ALL SELECT 'WE') t;

-- Persons: location, type and slot spread evenly, drawn from the seed.
CREATE TEMP TABLE person AS
SELECT n.i, printf('%08d', 10000001 + n.i) AS pnr,
       (n.i + b.seed) % b.locations AS loc, (n.i / b.locations + b.seed) % b.types AS typ,
       (n.i / (b.locations * b.types) + n.i + b.seed) % 3 AS slot,
       (n.i * 7 + b.seed) % 10 AS profile, (n.i * 3 + b.seed * 5) % 7 AS rota
FROM n, bench b WHERE n.i < b.persons;

-- Profile 0: strict rest rule; 1: flexitime; 2: not movable; others flexible.
INSERT INTO Kvt710Pbv (PbvPnr, PbvGvo, PbvGbi, PbvZrm, PbvEso, PbvEsa, PbvAwp, PbvSst)
SELECT pnr, datetime(b.start, '-365 days'), NULL, CASE profile WHEN 1 THEN 2 ELSE 1 END, loc.eso,
       typ.esa, CASE profile WHEN 0 THEN 1 WHEN 2 THEN 3 ELSE 2 END, ''
FROM person p JOIN loc ON loc.i = p.loc JOIN typ ON typ.i = p.typ, bench b;

-- Everybody holds the own type's qualification, every fifth also the next type's.
INSERT INTO Kvt716Qzp (QzpPnr, QzpQfk, QzpVon, QzpBis)
SELECT pnr, typ.qfk, datetime(b.start, '-900 days'), NULL
FROM person p JOIN typ ON typ.i = p.typ, bench b;
INSERT INTO Kvt716Qzp (QzpPnr, QzpQfk, QzpVon, QzpBis)
SELECT pnr, typ.qfk, datetime(b.start, '-400 days'), NULL
FROM person p JOIN typ ON typ.i = (p.typ + 1) % b.types, bench b WHERE p.i % 5 = 0;

-- Assignments: five days in seven, from the start day on.
CREATE TEMP TABLE work AS
SELECT p.*, d.k, d.dtm FROM person p, d, bench b
WHERE d.k BETWEEN 0 AND b.days - 1 AND (d.k + p.rota) % 7 < 5;

INSERT INTO Kvt329Ztg (ZtgPnr, ZtgVon, ZtgAzt, ZtgKst, ZtgAgr)
SELECT pnr, dtm, CASE profile WHEN 1 THEN '2' WHEN 0 THEN CASE slot WHEN 2 THEN '6' ELSE '1' END
                 ELSE '1' END, 'KST' || loc.eso, 'STD'
FROM work w JOIN loc ON loc.i = w.loc;

INSERT INTO Kvt730Bdp
SELECT pnr, dtm, loc.eso, typ.esa, s.bsz, s.von, s.bis, CAST(strftime('%Y', dtm) AS INTEGER),
       CAST(strftime('%m', dtm) AS INTEGER), bak.BakWch,
       CAST(strftime('%Y', dtm) AS INTEGER) * 100 + bak.BakWch, CAST(strftime('%d', dtm) AS INTEGER),
       CASE WHEN strftime('%w', dtm) IN ('0', '6') THEN 'WE' ELSE 'AT' END, s.von, s.bis,
       'KST' || loc.eso, '   ', '   ', '   ', '', '', 0, 0, '', '00001', 1, ' ', 0, 0,
       datetime(b.start, '-14 days', '+9 hours'), '', 'BENCH', 480, 0, 0, 0, 0, 0, 0, 0, 0,
       (w.i * 31 + w.k) % 1000, s.von, 0, 0, 30, 450, 0, 8.0
FROM work w JOIN loc ON loc.i = w.loc JOIN typ ON typ.i = w.typ JOIN slot s ON s.i = w.slot
     JOIN KvtSystem.Kvt133Bak bak ON bak.BakDtm = w.dtm, bench b;

-- The staffing matrix, counted from the assignments; the target makes a
-- third of each day's slots short, a third on target, a third in surplus.
CREATE TEMP TABLE counted AS
SELECT k, loc, typ, slot, count(*) AS ist FROM work GROUP BY k, loc, typ, slot;
CREATE INDEX temp.counted_key ON counted(k, loc, typ, slot);
CREATE TEMP TABLE staffing AS
SELECT d.dtm, loc.i AS li, loc.eso, typ.i AS ti, typ.esa, s.i AS si, s.bsz, s.von, s.bis,
       coalesce(c.ist, 0) AS ist,
       (loc.i + typ.i + s.i + d.k) % 3 AS kind, bak.BakWch AS wch
FROM d JOIN bench b JOIN loc JOIN typ JOIN slot s
     JOIN KvtSystem.Kvt133Bak bak ON bak.BakDtm = d.dtm
     LEFT JOIN counted c ON c.k = d.k AND c.loc = loc.i AND c.typ = typ.i AND c.slot = s.i
WHERE d.k BETWEEN 0 AND b.days - 1;

CREATE TEMP VIEW target AS
SELECT *, CASE kind WHEN 0 THEN ist + 1 WHEN 1 THEN ist ELSE MAX(ist - 1, 0) END AS sol FROM staffing;

INSERT INTO Kvt725Bsm
SELECT dtm, eso, esa, bsz, von, bis, CAST(strftime('%Y', dtm) AS INTEGER),
       CAST(strftime('%m', dtm) AS INTEGER), wch, CAST(strftime('%Y', dtm) AS INTEGER) * 100 + wch,
       CAST(strftime('%d', dtm) AS INTEGER),
       CASE WHEN strftime('%w', dtm) IN ('0', '6') THEN 'WE' ELSE 'AT' END,
       sol, MAX(sol - 1, 0), sol + 1, ist, '00001', 0, 0, 0, 0,
       CASE WHEN ist = sol THEN 0
            WHEN ist + 1 < sol THEN (ist + 1 - sol) * 100 / sol - 100
            WHEN ist < sol THEN (ist - sol) * 100 / (sol + 1)
            WHEN ist <= sol + 1 THEN 90 ELSE 190 END,
       1, 0, datetime(b.start, '-14 days', '+9 hours'), 'BENCH', 0, 0, 0, 0, 0, 0, 0, 0,
       0, ist * 8.0, ist * 8.0, 0, 0
FROM target, bench b;

COMMIT;
