// plexorctl report --format json|csv on the demo roster after a job run:
// every slot's two states against a recount from the tables and the error
// rows the job wrote, the summary against the tables, the JSON against the
// shipped schema and the CSV tables against the JSON.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "support/scratch_dir.h"
#include "support/test_db.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

Rows Sql(const std::string& file, const std::string& sql) {
  Rows rows;
  sqlite3* db = nullptr;
  sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  char* message = nullptr;
  auto collect = [](void* out, int n, char** values, char**) {
    static_cast<Rows*>(out)->emplace_back(values, values + n);
    return 0;
  };
  if (sqlite3_exec(db, sql.c_str(), collect, &rows, &message) != SQLITE_OK) {
    ADD_FAILURE() << (message ? message : "?") << " in " << sql;
  }
  sqlite3_free(message);
  sqlite3_close(db);
  return rows;
}

// Header line first; quoted fields may hold commas, quotes and line breaks.
Rows Csv(const std::string& text) {
  Rows rows(1);
  std::string field;
  bool quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        field += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',' || c == '\n') {
      rows.back().push_back(field);
      field.clear();
      if (c == '\n') rows.emplace_back();
    } else if (c != '\r') {
      field += c;
    }
  }
  rows.pop_back();  // after the last line end
  return rows;
}

// The error scan's rule for an effective count.
int ScanClass(long count, long sol, long min, long max) {
  if (count == 0 && sol > 0) return 1601;
  if (count < sol) return count >= min ? 1603 : 1602;
  if (count > sol) return count > max ? 1605 : 1604;
  return 0;
}

class ReportDemo : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = std::make_unique<ts::ScratchDir>("plexorctl-report-demo");
    const std::string d = dir_->path();
    for (const char* sub : {"/work", "/corvina_php/log", "/odbc", "/csv"}) {
      std::filesystem::create_directories(d + sub);
    }
    ts::WriteFile(d + "/odbc/odbcinst.ini", "[E]\nDriver = " PLEXOR_DRIVER_LIB "\n");
    ts::WriteFile(d + "/odbc/odbc.ini", "[demo]\nDriver = E\nDatabase = " + d + "/db\n");
    setenv("ODBCSYSINI", (d + "/odbc").c_str(), 1);
    setenv("ODBCINI", (d + "/odbc/odbc.ini").c_str(), 1);
    std::string out;
    const std::vector<std::vector<std::string>> steps = {
        {PLEXORCTL_BIN, "demo", d + "/db", "--seed", "1"},
        {PLEXORCTL_BIN, "konfig", "write", d + "/plexor.cfg", "--dsn", "demo", "--schema", "plexor",
         "--login", "demo", "--pass", "demo"},
        {PLEXOR_BIN, d + "/plexor.cfg", "planer", "00000000", "00000000", "PLG", "NACHT",
         "Optimierung Test", "00000", "00000", "00000", "PLAN_OPTIM"},
        {PLEXORCTL_BIN, "report", "--dsn", "demo", "--schema", "plexor", "--format", "json",
         "--out", d + "/report.json"},
        {PLEXORCTL_BIN, "report", "--dsn", "demo", "--schema", "plexor", "--format", "csv", "--out",
         d + "/csv"}};
    for (const auto& argv : steps) {
      ASSERT_EQ(ts::RunProcess(argv, d + "/work", &out, 300), 0) << argv[1] << ": " << out;
    }
  }
  static void TearDownTestSuite() { dir_.reset(); }

  static std::string Db() { return dir_->path() + "/db/plexor.sqlite"; }
  // A CSV table as rows of name -> value.
  static std::vector<std::map<std::string, std::string>> Table(const std::string& name) {
    const Rows rows = Csv(ts::ReadFile(dir_->path() + "/csv/" + name + ".csv"));
    std::vector<std::map<std::string, std::string>> out;
    for (size_t r = 1; r < rows.size(); ++r) {
      auto& m = out.emplace_back();
      for (size_t c = 0; c < rows[0].size() && c < rows[r].size(); ++c) m[rows[0][c]] = rows[r][c];
    }
    return out;
  }
  static std::unique_ptr<ts::ScratchDir> dir_;
};

std::unique_ptr<ts::ScratchDir> ReportDemo::dir_;

TEST_F(ReportDemo, SlotStatesMatchTheTablesTheErrorRowsAndTheSummary) {
  // Staffing rows with the open proposals leaving and joining, counted here.
  const Rows bsm = Sql(
      Db(),
      "SELECT BsmPlg, substr(BsmBdt, 1, 10), BsmEso, BsmEsa, BsmSzv, BsmAsw, BsmSol, BsmMin, "
      "BsmMax, BsmIst - BsmHtg - min(BsmHtv, BsmHtn), (SELECT count(*) FROM Kvt735Bdk WHERE "
      "BdkSta = 9 AND BdkErf = 'OPTIMIERUNG' AND BdkEso = BsmEso AND BdkEsa = BsmEsa AND BdkBdt = "
      "BsmBdt AND BdkSzv = BsmSzv AND BdkAsw = BsmAsw), (SELECT count(*) FROM Kvt735Bdk WHERE "
      "BdkSta = 9 AND BdkOso = BsmEso AND BdkOsa = BsmEsa AND BdkBdt = BsmBdt AND BdkOsv = BsmSzv "
      "AND BdkOsw = BsmAsw) FROM Kvt725Bsm ORDER BY BsmBdt");
  std::map<std::tuple<std::string, std::string, std::string, std::string, std::string>, std::string>
      error_of;
  std::set<std::pair<std::string, std::string>> scanned;  // plan group, day
  for (const auto& e : Sql(Db(),
                           "SELECT ErrPlg, substr(ErrBdt, 1, 10), ErrEso, ErrEsa, ErrZtv, ErrFnr "
                           "FROM Kvt746Err WHERE ErrKng = 'PLANO'")) {
    error_of[{e[0], e[1], e[2], e[3], e[4]}] = e[5];
    scanned.insert({e[0], e[1]});
  }
  std::map<std::vector<std::string>, std::map<std::string, std::string>> slots;
  for (auto& s : Table("slots")) {
    slots[{s["plan_group"], s["date"], s["location"], s["type"], s["begin"], s["asw"]}] = s;
  }
  // The default period ends at the last day with staffing rows.
  ASSERT_FALSE(bsm.empty());
  EXPECT_EQ(slots.size(), bsm.size());
  EXPECT_NE(ts::ReadFile(dir_->path() + "/report.json").find("\"to\": \"" + bsm.back()[1] + "\""),
            std::string::npos);
  std::map<std::string, std::map<std::string, long>> expected;  // plan group -> figure
  long changed = 0, compared = 0;
  for (const auto& b : bsm) {
    const long count = std::stol(b[9]), out = std::stol(b[10]), in = std::stol(b[11]);
    const long sol = std::stol(b[6]), min = std::stol(b[7]), max = std::stol(b[8]);
    const int now = ScanClass(count, sol, min, max);
    const int after = ScanClass(count + in - out, sol, min, max);
    auto it = slots.find({b[0], b[1], b[2], b[3], b[4], b[5]});
    ASSERT_NE(it, slots.end()) << b[0] << " " << b[1] << " " << b[2] << b[3] << b[4];
    auto& s = it->second;
    EXPECT_EQ(s["count_now"], std::to_string(count));
    EXPECT_EQ(s["class_now"], std::to_string(now)) << b[1] << " " << b[2] << b[3] << b[4];
    EXPECT_EQ(s["open_out"], std::to_string(out));
    EXPECT_EQ(s["open_in"], std::to_string(in));
    EXPECT_EQ(s["count_if_accepted"], std::to_string(count + in - out));
    EXPECT_EQ(s["class_if_accepted"], std::to_string(after));
    if (scanned.count({b[0], b[1]}) != 0) {  // a day the job's scan covered
      auto e = error_of.find({b[0], b[1], b[2], b[3], b[4]});
      EXPECT_EQ(s["class_now"], e == error_of.end() ? "0" : e->second) << b[1] << b[2] << b[4];
      ++compared;
    }
    changed += now != after;
    auto& g = expected[b[0]];
    ++g["slots"];
    g["short_now"] += now >= 1601 && now <= 1603;
    g["surplus_now"] += now >= 1604;
    g["short_if_accepted"] += after >= 1601 && after <= 1603;
    g["surplus_if_accepted"] += after >= 1604;
  }
  EXPECT_GT(changed, 10) << "the demo should have proposals that change slot states";
  EXPECT_GT(compared, 100);

  // Open proposals per verdict and error rows per number in the period.
  const std::string period = " BETWEEN '" + bsm.front()[1] + "' AND '" + bsm.back()[1] + " 23:59'";
  std::map<std::string, std::map<std::string, std::string>> lists;  // plan group -> figure
  for (const auto& [figure, sql] : std::map<std::string, std::string>{
           {"open_proposals",
            "SELECT BdkPlg, BdkFnr, count(*) FROM Kvt735Bdk WHERE BdkSta = 9 "
            "AND BdkBdt" +
                period + " GROUP BY 1, 2 ORDER BY 1, 2"},
           {"error_rows",
            "SELECT ErrPlg, ErrFnr, count(*) FROM Kvt746Err WHERE ErrKng = "
            "'PLANO' AND ErrBdt" +
                period + " GROUP BY 1, 2 ORDER BY 1, 2"}}) {
    for (const auto& r : Sql(Db(), sql)) {
      expected[r[0]][figure] += std::stol(r[2]);
      std::string& list =
          lists[r[0]][figure + (figure == "error_rows" ? "_by_number" : "_by_verdict")];
      list += (list.empty() ? "" : " ") + r[1] + ":" + r[2];
    }
  }
  const auto summary = Table("summary");
  ASSERT_EQ(summary.size(), expected.size());
  for (auto s : summary) {
    for (const auto& [figure, value] : expected[s["plan_group"]]) {
      EXPECT_EQ(s[figure], std::to_string(value)) << s["plan_group"] << " " << figure;
    }
    for (const auto& [figure, value] : lists[s["plan_group"]]) {
      EXPECT_EQ(s[figure], value) << s["plan_group"] << " " << figure;
    }
  }
}

// The JSON validates against the schema in the repository and holds the
// same rows as the CSV tables.
TEST_F(ReportDemo, JsonValidatesAgainstTheSchemaAndCsvHasTheSameRows) {
  static const char* kCheck = R"(
import csv, json, sys, jsonschema
doc = json.load(open(sys.argv[1], encoding='utf-8'))
jsonschema.validate(doc, json.load(open(sys.argv[2])), cls=jsonschema.Draft202012Validator)
def flat(o, prefix=''):
    out = {}
    for k, v in o.items():
        if isinstance(v, dict): out.update(flat(v, k + '_'))
        elif isinstance(v, list): out[k] = ' '.join('%d:%d' % tuple(x.values()) for x in v)
        else: out[prefix + k] = '' if v is None else str(v)
    return out
for name in ('slots', 'proposals', 'errors', 'summary'):
    rows = list(csv.DictReader(open(sys.argv[3] + '/' + name + '.csv', newline='', encoding='utf-8')))
    want = [flat(o) for o in doc[name]]
    if not want or rows != want: sys.exit(name + ': the CSV rows differ from the JSON')
print('same')
)";
  std::string out;
  if (ts::RunProcess({"/usr/bin/python3", "-c", "import jsonschema"}, "/tmp", &out, 60) != 0) {
    GTEST_SKIP() << "python3-jsonschema is not installed (scripts/install-deps.sh)";
  }
  const std::string d = dir_->path();
  EXPECT_EQ(ts::RunProcess({"/usr/bin/python3", "-c", kCheck, d + "/report.json",
                            PLEXOR_SOURCE_DIR "/tools/report.schema.json", d + "/csv"},
                           "/tmp", &out, 120),
            0)
      << out;
  EXPECT_EQ(out, "same\n");
}

}  // namespace
