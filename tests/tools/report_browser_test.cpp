// The report page as a browser shows it: headless Chromium renders it, its
// screenshot is not blank and its grid has one cell per staffing slot.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "report_format.h"
#include "support/scratch_dir.h"
#include "support/test_db.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kChromium = "/usr/bin/chromium";

ctl::ReportData SampleReport() {
  ctl::ReportData d;
  d.schema = "plexor";
  d.from = "20300107";
  d.to = "20300109";
  const char* days[] = {"20300107", "20300108", "20300109"};
  const long figures[] = {-166, -33, 0, 90, 190, -125};
  int n = 0;
  for (const char* plg : {"00001", "00002"}) {
    ctl::GroupSummary g;
    g.plg = plg;
    g.text = std::string("Station ") + plg;
    d.groups.push_back(g);
    for (const char* day : days) {
      for (const char* esa : {"PFL", "HLF"}) {
        for (long von : {360L, 840L}) {
          ctl::SlotCell c;
          c.plg = plg;
          c.day = day;
          c.slot = {"NST01", esa, von == 360 ? "FRU" : "SPA", von, von + 480};
          c.sol = 3;
          c.ist = 1 + n % 4;
          c.effective = c.ist;
          c.fkt = figures[n++ % 6];
          d.slots.push_back(c);
        }
      }
    }
  }
  ctl::ProposalLine p;
  p.plg = "00001";
  p.pnr = "10000001";
  p.day = "20300107";
  p.from = {"NST01", "HLF", "FRU", 360, 840};
  p.to = {"NST01", "PFL", "SPA", 840, 1320};
  p.fnr = 1531;
  d.proposals.push_back(p);
  return d;
}

class BrowserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(kChromium)) GTEST_SKIP() << kChromium << " is not installed";
  }
  int Chromium(const std::vector<std::string>& extra, const std::string& page, std::string* out) {
    std::vector<std::string> argv = {kChromium,
                                     "--headless",
                                     "--no-sandbox",
                                     "--disable-gpu",
                                     "--disable-background-networking",
                                     "--disable-component-update",
                                     "--no-first-run",
                                     "--user-data-dir=" + dir_ + "/profile",
                                     "--window-size=1280,900"};
    argv.insert(argv.end(), extra.begin(), extra.end());
    argv.push_back("file://" + page);
    return ts::RunProcess(argv, dir_, out, 120);
  }
  ts::ScratchDir scratch_{"plexorctl-browser"};
  const std::string dir_ = scratch_.path();
};

size_t Occurrences(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
  return n;
}

TEST_F(BrowserTest, GridHasOneCellPerSlotInTheRenderedPage) {
  const ctl::ReportData data = SampleReport();
  const std::string page = dir_ + "/report.html";
  ts::WriteFile(page, ctl::ReportHtml(data, ctl::Language::kGerman));
  std::string dom;
  ASSERT_EQ(Chromium({"--dump-dom"}, page, &dom), 0);
  EXPECT_EQ(Occurrences(dom, "<td class=\"slot "), data.slots.size()) << dom.substr(0, 2000);
  EXPECT_EQ(Occurrences(dom, "<table class=\"grid\">"), 2u);
  EXPECT_NE(dom.find("1531 Ruhezeit unterschritten"), std::string::npos);
}

TEST_F(BrowserTest, ScreenshotIsNotBlank) {
  const std::string page = dir_ + "/report.html";
  const std::string blank = dir_ + "/blank.html";
  ts::WriteFile(page, ctl::ReportHtml(SampleReport(), ctl::Language::kGerman));
  ts::WriteFile(blank,
                "<!DOCTYPE html><html><head><meta charset=\"utf-8\"></head><body></body></html>");
  std::string out;
  ASSERT_EQ(Chromium({"--screenshot=" + dir_ + "/report.png"}, page, &out), 0);
  ASSERT_EQ(Chromium({"--screenshot=" + dir_ + "/blank.png"}, blank, &out), 0);
  const std::string shot = ts::ReadFile(dir_ + "/report.png");
  const std::string empty = ts::ReadFile(dir_ + "/blank.png");
  ASSERT_GT(shot.size(), 24u);
  EXPECT_EQ(shot.substr(1, 3), "PNG");
  // A white page compresses to almost nothing; coloured cells and text do not.
  EXPECT_GT(shot.size(), empty.size() * 4 + 10000) << shot.size() << " vs " << empty.size();
}

}  // namespace
