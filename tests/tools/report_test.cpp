// plexorctl report on a small database with known content.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "report_format.h"
#include "support/test_db.h"

namespace fs = std::filesystem;

namespace {

int Ctl(const std::vector<std::string>& args, std::string* out) {
  std::vector<std::string> argv = {PLEXORCTL_BIN};
  argv.insert(argv.end(), args.begin(), args.end());
  return ts::RunProcess(argv, "/tmp", out, 120);
}

void Slot(ts::TestDb& db, const char* plg, const char* day, const char* eso, const char* esa,
          const char* bsz, int von, int bis, int sol, int ist, int fkt) {
  db.Exec(std::string("INSERT INTO plexor.Kvt725Bsm (BsmPlg, BsmBdt, BsmEso, BsmEsa, BsmBsz, "
                      "BsmSzv, BsmSzb, BsmSol, BsmMin, BsmMax, BsmIst, BsmHtg, BsmHtv, BsmHtn, "
                      "BsmFkt, BsmAsw, BsmOva, BsmOve) VALUES ('") +
          plg + "', convert(datetime, '" + day + "', 112), '" + eso + "', '" + esa + "', '" + bsz +
          "', " + std::to_string(von) + ", " + std::to_string(bis) + ", " + std::to_string(sol) +
          ", 1, 3, " + std::to_string(ist) + ", 0, 0, 0, " + std::to_string(fkt) + ", 1, 0, 0)");
}

void Proposal(ts::TestDb& db, const char* key, const char* plg, const char* day, const char* pnr,
              int sta, int fnr) {
  db.Exec(std::string("INSERT INTO plexor.Kvt735Bdk (BdkKey, BdkPlg, BdkBdt, BdkPnr, BdkEso, "
                      "BdkEsa, BdkBsz, BdkSzv, BdkSzb, BdkOso, BdkOsa, BdkOsz, BdkOsv, BdkOsb, "
                      "BdkSta, BdkFnr, BdkErf) VALUES ('") +
          key + "', '" + plg + "', convert(datetime, '" + day + "', 112), '" + pnr +
          "', 'NST01', 'HLF', 'FRU', 360, 840, 'NST01', 'PFL', 'SPA', 840, 1320, " +
          std::to_string(sta) + ", " + std::to_string(fnr) + ", 'OPTIMIERUNG')");
}

void Error(ts::TestDb& db, const char* plg, const char* kind, const char* day, int fnr) {
  db.Exec(std::string("INSERT INTO plexor.Kvt746Err (ErrPlg, ErrKng, ErrDat, ErrLfn, ErrEso, "
                      "ErrEsa, ErrKnz, ErrBdt, ErrZtv, ErrZtb, ErrFnr) VALUES ('") +
          plg + "', '" + kind +
          "', CURRENT_TIMESTAMP, 1, 'NST01', 'PFL', 'SPA', convert(datetime, '" + day +
          "', 112), 840, 1320, " + std::to_string(fnr) + ")");
}

// Two plan groups; rows outside the period, closed proposals and errors of
// another kind that the report must leave out.
class ReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db_.Exec(
        "INSERT INTO plexor.Kvt701Plg (PlgPlg, PlgTxt, PlgOpl) VALUES ('00010', "
        "'Station <A> & Co', 2)");
    db_.Exec(
        "INSERT INTO plexor.Kvt701Plg (PlgPlg, PlgTxt, PlgOpl) VALUES ('00020', 'Station B', 1)");
    Slot(db_, "00010", "20300107", "NST01", "HLF", "FRU", 360, 840, 2, 4, 190);
    Slot(db_, "00010", "20300107", "NST01", "PFL", "SPA", 840, 1320, 3, 1, -133);
    Slot(db_, "00010", "20300108", "NST01", "PFL", "SPA", 840, 1320, 3, 3, 0);
    Slot(db_, "00020", "20300108", "SST01", "PFL", "NAC", 1320, 360, 2, 3, 90);
    Slot(db_, "00010", "20300110", "NST01", "PFL", "SPA", 840, 1320, 3, 0, -166);
    Proposal(db_, "OPTVS1", "00010", "20300107", "10000001", 9, 1531);
    Proposal(db_, "OPTVS2", "00010", "20300107", "10000002", 9, 1511);
    Proposal(db_, "OPTVS3", "00010", "20300107", "10000003", 1, 0);     // closed
    Proposal(db_, "OPTVS4", "00010", "20300110", "10000004", 9, 1541);  // after the period
    Proposal(db_, "OPTVS5", "00020", "20300108", "20000001", 9, 0);
    Error(db_, "00010", "PLANO", "20300107", 1602);
    Error(db_, "00010", "OTHER", "20300107", 1601);
    Error(db_, "00020", "PLANO", "20300108", 1604);
  }
  std::vector<std::string> Args(std::vector<std::string> extra) {
    std::vector<std::string> a = {"report",     "--dsn",  db_.dsn(),  "--user", "plexor",
                                  "--password", "secret", "--schema", "plexor", "--from",
                                  "20300107",   "--to",   "20300108"};
    a.insert(a.end(), extra.begin(), extra.end());
    return a;
  }
  ts::TestDb db_;
};

TEST_F(ReportTest, TextListsOpenProposalsRemainingErrorsAndCountsPerPlanGroup) {
  std::string out;
  ASSERT_EQ(Ctl(Args({}), &out), 0) << out;
  EXPECT_EQ(out,
            "Plexor - Bericht des Optimierungslaufs\n"
            "Schema: plexor   Plangruppe: alle   Zeitraum: 07.01.2030 - 08.01.2030\n"
            "\n"
            "Offene Umbesetzungsvorschläge (3)\n"
            "Plangr.  Tag         Person    von                         nach                  "
            "      Befund\n"
            "00010    07.01.2030  10000001  NST01/HLF FRU 06:00-14:00   NST01/PFL SPA 14:00-22:00 "
            "  1531 Ruhezeit unterschritten\n"
            "00010    07.01.2030  10000002  NST01/HLF FRU 06:00-14:00   NST01/PFL SPA 14:00-22:00 "
            "  1511 Qualifikation fehlt\n"
            "00020    08.01.2030  20000001  NST01/HLF FRU 06:00-14:00   NST01/PFL SPA 14:00-22:00 "
            "  0 keine Einwände\n"
            "\n"
            "Verbleibende Besetzungsfehler (2)\n"
            "Plangr.  Tag         Dienst                      Fehler\n"
            "00010    07.01.2030  NST01/PFL SPA 14:00-22:00   1602 unterbesetzt, unter "
            "Mindestbesetzung\n"
            "00020    08.01.2030  NST01/PFL SPA 14:00-22:00   1604 überbesetzt\n"
            "\n"
            "Je Plangruppe\n"
            "Plangr.  Bezeichnung                     unterb.  überb.   Vorschl.  Befunde        "
            "Fehler  Fehlernummern\n"
            "00010    Station <A> & Co                1/1      1/1      2         1511:1 1531:1  "
            "1       1602:1\n"
            "00020    Station B                       0/0      1/1      1         0:1            "
            "1       1604:1\n"
            "unterb., überb.: Dienste unter dem Soll (1601-1603), über dem Soll (1604-1605);\n"
            "  jetzt/nach Annahme der offenen Vorschläge\n"
            "Vorschl.: offene Vorschläge; Befunde: davon je Befund (Befund:Anzahl)\n"
            "Fehler: Fehlerzeilen; Fehlernummern: davon je Fehlernummer (Nummer:Anzahl)\n");
}

TEST_F(ReportTest, OnePlanGroupAndEnglishReadings) {
  std::string out;
  ASSERT_EQ(Ctl(Args({"--plan-group", "00020", "--lang", "en"}), &out), 0) << out;
  EXPECT_NE(out.find("Plan group: 00020"), std::string::npos) << out;
  EXPECT_NE(out.find("0 no objection"), std::string::npos) << out;
  EXPECT_NE(out.find("1604 surplus staff, within the maximum"), std::string::npos) << out;
  EXPECT_EQ(out.find("00010"), std::string::npos) << out;
}

TEST_F(ReportTest, RejectsBadArgumentsBeforeConnecting) {
  std::string out;
  EXPECT_EQ(Ctl(Args({"--plan-group", "123456"}), &out), 2);
  EXPECT_EQ(Ctl(Args({"--lang", "fr"}), &out), 2);
  EXPECT_EQ(Ctl({"report", "--dsn", db_.dsn(), "--schema", "x;drop"}, &out), 2);
  EXPECT_EQ(Ctl({"report", "--dsn", db_.dsn(), "--schema", "plexor", "--from", "20301332"}, &out),
            2);
  EXPECT_EQ(Ctl({"report", "--schema", "plexor"}, &out), 1);  // neither --dsn nor --database
}

// The quote in the plan-group code cannot change the statement.
TEST_F(ReportTest, PlanGroupCodeIsQuotedIntoTheStatements) {
  std::string out;
  ASSERT_EQ(Ctl(Args({"--plan-group", "0' OR"}), &out), 0) << out;
  EXPECT_NE(out.find("Offene Umbesetzungsvorschläge (0)"), std::string::npos) << out;
}

TEST_F(ReportTest, HtmlPageHasOneGridCellPerSlotAndEscapesTexts) {
  const std::string page = db_.dir() + "/report.html";
  std::string out;
  ASSERT_EQ(Ctl(Args({"--html", page}), &out), 0) << out;
  const std::string html = ts::ReadFile(page);
  size_t cells = 0;
  for (size_t p = html.find("class=\"slot "); p != std::string::npos;
       p = html.find("class=\"slot ", p + 1)) {
    ++cells;
  }
  EXPECT_EQ(cells, 4u);
  EXPECT_NE(html.find("Station &lt;A&gt; &amp; Co"), std::string::npos);
  EXPECT_EQ(html.find("<A>"), std::string::npos);
  EXPECT_NE(html.find("class=\"slot short-hard\""), std::string::npos);
  EXPECT_NE(html.find("class=\"slot surplus-hard\""), std::string::npos);
  EXPECT_EQ(html.find("http"), std::string::npos) << "the page must not need the network";
  EXPECT_EQ(html.find("<script"), std::string::npos);
}

TEST(DeviationClass, BoundariesOfTheColours) {
  EXPECT_STREQ(ctl::DeviationClass(-166), "short-hard");
  EXPECT_STREQ(ctl::DeviationClass(-100), "short-hard");
  EXPECT_STREQ(ctl::DeviationClass(-99), "short");
  EXPECT_STREQ(ctl::DeviationClass(-1), "short");
  EXPECT_STREQ(ctl::DeviationClass(0), "target");
  EXPECT_STREQ(ctl::DeviationClass(90), "surplus");
  EXPECT_STREQ(ctl::DeviationClass(190), "surplus-hard");
}

}  // namespace

namespace {

TEST(ReportOlderLayout, ReadsTheStaffingMatrixWithoutTheProposalCounts) {
  ts::TestDb db(false);
  db.Exec("INSERT INTO plexor.Kvt701Plg (PlgPlg, PlgTxt) VALUES ('00010', 'Alt')");
  db.Exec(
      "INSERT INTO plexor.Kvt725Bsm (BsmPlg, BsmBdt, BsmEso, BsmEsa, BsmBsz, BsmSzv, BsmSzb, "
      "BsmSol, BsmMin, BsmMax, BsmIst, BsmHtg, BsmHtv, BsmHtn, BsmFkt, BsmAsw) VALUES ('00010', "
      "convert(datetime, '20300107', 112), 'NST01', 'PFL', 'FRU', 360, 840, 2, 1, 3, 0, 0, 0, 0, "
      "-150, 1)");
  const std::string page = db.dir() + "/old.html";
  std::string out;
  ASSERT_EQ(Ctl({"report", "--dsn", db.dsn(), "--user", "plexor", "--password", "secret",
                 "--schema", "plexor", "--from", "20300107", "--to", "20300107", "--html", page},
                &out),
            0)
      << out;
  EXPECT_NE(
      out.find("00010    Alt                             1/1      0/0      0         -        0"),
      std::string::npos)
      << out;
  EXPECT_NE(ts::ReadFile(page).find("class=\"slot short-hard\""), std::string::npos);
}

}  // namespace

namespace {

// Each count pair reads now/if accepted, and a long verdict list widens its
// column instead of pushing the error counts out of line.
TEST(ReportTextSummary, CountsNowThenIfAcceptedInAlignedColumns) {
  ctl::ReportData d;
  d.groups.resize(2);
  d.groups[0].plg = "00001";
  d.groups[0].short_slots = 3, d.groups[0].short_after = 1;
  d.groups[0].surplus_slots = 0, d.groups[0].surplus_after = 2;
  d.groups[0].by_verdict = {{0, 4}, {1511, 2}, {1531, 1}, {1541, 12}};
  d.groups[0].errors = 5, d.groups[0].errors_by_number = {{1602, 3}, {1604, 2}};
  d.groups[1].plg = "00002";
  const std::string text = ctl::ReportText(d, ctl::Language::kEnglish);
  const size_t first = text.find("\n00001"), second = text.find("\n00002");
  ASSERT_NE(second, std::string::npos) << text;
  EXPECT_EQ(text.substr(first + 42, 18), "3/1      0/2      ") << text;
  const std::string line = text.substr(first + 1, text.find('\n', first + 1) - first - 1);
  EXPECT_EQ(line.substr(line.find("0:4")), "0:4 1511:2 1531:1 1541:12  5       1602:3 1604:2");
  const std::string other = text.substr(second + 1, text.find('\n', second + 1) - second - 1);
  EXPECT_EQ(other.substr(line.find("0:4")), "-                          0       -") << text;
}

}  // namespace
