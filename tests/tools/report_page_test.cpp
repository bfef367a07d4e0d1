// The report page in headless Chromium at 1024 and 1400 px: the proposal
// tables are not cut, the grid stays inside the page, the error filter
// works; the page needs nothing from outside. Also the slot states that
// the page marks, the proposal commands, the text report's umlauts and the
// proposal status option.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "report_format.h"
#include "report_machine.h"
#include "report_slots.h"
#include "support/scratch_dir.h"
#include "support/test_db.h"

namespace {

constexpr const char* kChromium = "/usr/bin/chromium";

// Plan group 00001 with 24 slot columns and six long proposals, 00002 small;
// error rows in both groups on two days.
ctl::ReportData WideReport() {
  ctl::ReportData d;
  d.schema = "plexor";
  d.from = "20300107";
  d.to = "20300108";
  for (const char* plg : {"00001", "00002"}) {
    d.groups.push_back({});
    d.groups.back().plg = plg;
    d.groups.back().text = std::string("Klinikum ") + plg;
    const int locations = plg[4] == '1' ? 4 : 1;
    for (const char* day : {"20300107", "20300108"}) {
      for (int l = 0; l < locations; ++l) {
        for (const char* esa : {"PFL", "HLF"}) {
          for (long von : {360L, 840L, 1320L}) {
            ctl::SlotCell c;
            c.plg = plg;
            c.day = day;
            c.slot = {"STA0" + std::to_string(l), esa, "SPA", von, (von + 480) % 1440, 1};
            c.sol = 3, c.min = 2, c.max = 4, c.ist = c.effective = (von / 360 + l) % 6;
            c.joining = 1;
            d.slots.push_back(c);
          }
        }
      }
    }
  }
  for (int i = 0; i < 6; ++i) {
    ctl::ProposalLine p;
    p.key = "OPTVS2147483647214748364" + std::to_string(i);
    p.plg = "00001";
    p.pnr = "1000000" + std::to_string(i);
    p.day = "20300107";
    p.from = {"STA03", "HLF", "SPA", 840, 1320, 1};
    p.to = {"STA02", "PFL", "NAC", 1320, 360, 1};
    p.fnr = i == 0 ? 0 : 1541;
    p.status = i == 5 ? ctl::kProposalRejected : ctl::kProposalOpen;
    d.proposals.push_back(p);
  }
  const std::tuple<const char*, const char*, long> errors[] = {{"00001", "20300107", 1602},
                                                               {"00001", "20300108", 1604},
                                                               {"00001", "20300107", 1604},
                                                               {"00002", "20300107", 1602},
                                                               {"00002", "20300108", 1602}};
  for (const auto& [plg, day, fnr] : errors) {
    ctl::ErrorLine e;
    e.plg = plg;
    e.day = day;
    e.slot = {"STA01", "PFL", "SPA", 840, 1320};
    e.fnr = fnr;
    e.user = "planer";
    d.errors.push_back(e);
  }
  d.status = ctl::kAnyStatus;
  ctl::Summarise({}, d);
  return d;
}

// Measures the laid-out page and drives the filter; writes "RESULT ... END".
constexpr const char* kProbe = R"(<script>
const width = document.documentElement.clientWidth;
const outside = sel => [...document.querySelectorAll(sel)].filter(e => {
  const b = e.getBoundingClientRect(); return b.left < 0 || b.right > width + 0.5; }).length;
const shown = () => [...document.querySelectorAll('table.errors tbody tr')]
  .filter(r => getComputedStyle(r).display !== 'none').length;
const pick = (id, text) => { const s = document.getElementById(id);
  s.value = [...s.options].find(o => o.text.startsWith(text)).value; };
const r = ['cut=' + outside('table.proposals'), 'grid=' + outside('.gridwrap'),
  'wide=' + (document.documentElement.scrollWidth > width), 'all=' + shown()];
pick('f-n', '1602'); r.push('n=' + shown());
pick('f-g', '00002'); r.push('gn=' + shown());
pick('f-d', '08.01.2030'); r.push('gnd=' + shown());
pick('f-n', document.documentElement.lang === 'de' ? 'alle' : 'all'); r.push('gd=' + shown());
const out = document.createElement('pre'); out.textContent = 'RESULT ' + r.join(' ') + ' END';
document.body.appendChild(out);
</script>)";

TEST(ReportPage, ProposalsFitAt1024And1400AndTheErrorFilterWorks) {
  if (!std::filesystem::exists(kChromium)) GTEST_SKIP() << kChromium << " is not installed";
  const ts::ScratchDir dir{"plexorctl-page"};
  const std::string html = ctl::ReportHtml(WideReport(), ctl::Language::kGerman);
  for (const char* external : {"://", "src=", "url(", "@import", "<link", "<script"}) {
    EXPECT_EQ(html.find(external), std::string::npos) << external;
  }
  std::string page = html;
  page.insert(page.rfind("</body>"), kProbe);
  ts::WriteFile(dir.path() + "/page.html", page);
  for (const char* size : {"1024,768", "1400,900"}) {
    std::string dom;
    ASSERT_EQ(ts::RunProcess({kChromium, "--headless", "--no-sandbox", "--disable-gpu",
                              "--disable-background-networking", "--no-first-run",
                              "--user-data-dir=" + dir.path() + "/profile",
                              std::string("--window-size=") + size, "--dump-dom",
                              "file://" + dir.path() + "/page.html"},
                             dir.path(), &dom, 120),
              0);
    const size_t at = dom.find("<pre>RESULT ") + 5;
    ASSERT_NE(at, std::string::npos + 5) << size;
    EXPECT_EQ(dom.substr(at, dom.find(" END", at) - at),
              "RESULT cut=0 grid=0 wide=false all=5 n=3 gn=2 gnd=1 gd=1")
        << size;
  }
}

TEST(ReportPage, MarksGapsClosedOnlyByObjectionsAndOffersCommandsForOpenProposals) {
  ctl::SlotCell c;
  c.sol = 3, c.min = 2, c.max = 4;
  struct Case {
    long ist, joining, leaving, objections;
    int now, after;
    bool marked;
  } cases[] = {
      {1, 2, 0, 2, 1602, 0, true},               // both joining proposals have objections
      {1, 2, 0, 1, 1602, 0, true},               // the clean one alone reaches the minimum only
      {2, 1, 0, 0, 1603, 0, false},              // a clean proposal closes it
      {1, 1, 0, 1, 1602, 1603, false},           // still short after acceptance
      {3, 1, 1, 1, 0, 0, false},                 // not short now
      {0, 0, 0, 0, 1601, 1601, false},           // unstaffed, nothing proposed
      {5, 0, 2, 0, 1605, 0, false},              // surplus taken away
      {2147483647, 1, 0, 0, 1605, 1605, false},  // no overflow at the top
  };
  for (const Case& k : cases) {
    c.ist = c.effective = k.ist;
    c.joining = k.joining, c.leaving = k.leaving, c.objections_in = k.objections;
    EXPECT_EQ(ctl::SlotClassNow(c), k.now) << k.ist << " +" << k.joining;
    EXPECT_EQ(ctl::SlotClassIfAccepted(c), k.after) << k.ist << " +" << k.joining;
    EXPECT_EQ(ctl::ClosedOnlyByObjections(c), k.marked) << k.ist << " +" << k.joining;
  }
  EXPECT_EQ(ctl::ProposalCommand("accept", "OPTVS12-3"), "plexorctl proposals accept OPTVS12-3");
  EXPECT_EQ(ctl::ProposalCommand("reject", "a b'c"), "plexorctl proposals reject 'a b'\\''c'");
  const std::string html = ctl::ReportHtml(WideReport(), ctl::Language::kEnglish);
  EXPECT_NE(html.find("plexorctl proposals accept OPTVS21474836472147483640"), std::string::npos);
  EXPECT_EQ(html.find("proposals reject OPTVS21474836472147483645"), std::string::npos)
      << "a rejected proposal offers no command";
  EXPECT_EQ(ctl::ValidUtf8("a\xc3\xa4\xff\xe2\x82"),
            "a\xc3\xa4\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd");
}

// Proposal status numbers: 9 open, 1 accepted, 2 rejected; the summary
// counts the open ones whatever is listed. German text with umlauts in a
// file, English text unchanged.
TEST(ReportStatus, ListsTheProposalsOfTheStatusAskedFor) {
  ts::TestDb db;
  db.Exec("INSERT INTO plexor.Kvt701Plg (PlgPlg, PlgTxt) VALUES ('00010', 'Süd')");
  int n = 0;
  for (int sta : {9, 1, 2, 2, 7}) {
    db.Exec(
        "INSERT INTO plexor.Kvt735Bdk (BdkKey, BdkPlg, BdkBdt, BdkPnr, BdkSta, BdkFnr, "
        "BdkOso, BdkOsa, BdkOsv, BdkOsw) VALUES ('K" +
        std::to_string(++n) + "', '00010', convert(datetime, '20300107', 112), 'P', " +
        std::to_string(sta) + ", 1531, 'A', 'B', 360, 1)");
  }
  auto Report = [&](std::vector<std::string> extra, int status = 0) {
    std::vector<std::string> argv = {PLEXORCTL_BIN, "report",     "--dsn",  db.dsn(),   "--user",
                                     "plexor",      "--password", "secret", "--schema", "plexor",
                                     "--from",      "20300107",   "--to",   "20300107"};
    argv.insert(argv.end(), extra.begin(), extra.end());
    std::string out;
    EXPECT_EQ(ts::RunProcess(argv, "/tmp", &out, 60), status) << out;
    return out;
  };
  auto Keys = [](const std::string& csv) {
    std::string keys;
    for (size_t p = csv.find("\nK"); p != std::string::npos; p = csv.find("\nK", p + 1)) {
      keys += csv.substr(p + 1, csv.find(',', p) - p - 1) + " ";
    }
    return keys;
  };
  EXPECT_EQ(Keys(Report({"--format", "csv"})), "K1 ");
  EXPECT_EQ(Keys(Report({"--format", "csv", "--status", "rejected"})), "K3 K4 ");
  const std::string all = Report({"--format", "csv", "--status", "all"});
  EXPECT_EQ(Keys(all), "K1 K2 K3 K4 K5 ");
  EXPECT_NE(all.find("\n00010,Süd,,0,0,0,0,0,0,1,1531:1,0,\r\n"), std::string::npos) << all;
  Report({"--status", "closed"}, 2);

  const std::string file = db.dir() + "/report.txt";
  Report({"--out", file});
  EXPECT_NE(ts::ReadFile(file).find("Offene Umbesetzungsvorschläge (1)"), std::string::npos);
  EXPECT_EQ(Report({}), ts::ReadFile(file));
  EXPECT_NE(Report({"--charset", "ascii"}).find("Offene Umbesetzungsvorschlaege (1)"),
            std::string::npos);
  EXPECT_EQ(Report({"--lang", "en", "--charset", "utf-8"}), Report({"--lang", "en"}));
}

}  // namespace
