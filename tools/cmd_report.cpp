#include <cstdio>

#include "civil_date.h"
#include "commands.h"
#include "connect_options.h"
#include "report_format.h"
#include "report_machine.h"
#include "report_output.h"
#include "schema_setup.h"

namespace ctl {
int RunReport(const std::vector<std::string>& args) {
  static const char* kHelp =
      "Usage: plexorctl report (--dsn NAME | --database DIR) --schema S [options]\n"
      "       plexorctl report --config FILE [options]\n"
      "\n"
      "Shows what the optimisation left behind: the move proposals of the\n"
      "period with their verdicts, each slot now and if the open proposals are\n"
      "accepted, the staffing errors that remain, and a summary per plan group.\n"
      "Only reads the database.\n"
      "\n"
      "  --schema S         schema of the job's tables\n"
      "  --plan-group P     one plan group, or all (default)\n"
      "  --from yyyymmdd    first day (default today)\n"
      "  --to yyyymmdd      last day (default the last day with staffing rows,\n"
      "                     at most 27 days after the first)\n"
      "  --status S         proposals listed: open (default), accepted, rejected\n"
      "                     or all (BdkSta 9 open, 1 accepted, 2 rejected)\n"
      "  --format F         text (default), json or csv\n"
      "  --out PATH         write to this file (csv: this folder, one file per\n"
      "                     table) instead of standard output\n"
      "  --html FILE        also write the report as one HTML page with the\n"
      "                     staffing matrix as a day-by-slot grid\n"
      "  --lang de|en       language of the readings (default de)\n"
      "  --charset C        German text: utf-8 (umlauts, default) or ascii (\"ae\")\n"
      "                     for terminals that cannot show umlauts\n";
  std::set<std::string> values = ConnectValueOptions();
  values.insert(
      {"schema", "plan-group", "from", "to", "html", "lang", "status", "format", "out", "charset"});
  ParsedArgs parsed;
  std::string error;
  const int parsed_rc =
      ParseCommand("report", args, values, {}, std::string(kHelp) + kConnectHelp, parsed);
  if (parsed_rc >= 0) return parsed_rc;
  if (!ApplyJobConfig(parsed, error)) {
    std::fprintf(stderr, "plexorctl report: %s\n", error.c_str());
    return 1;
  }
  if (!parsed.positional.empty() || !RequireValues(parsed, {"schema"}, error)) {
    if (error.empty()) error = "unexpected argument " + parsed.positional.front();
    std::fprintf(stderr, "plexorctl report: %s\n", error.c_str());
    return 2;
  }
  const std::string schema = parsed.Value("schema");
  std::string plan_group = parsed.Value("plan-group", "all");
  if (plan_group == "all") plan_group.clear();
  long from = LocalToday(), to = 0;
  if (parsed.Has("from") && !ParseText8(parsed.Value("from"), from)) {
    std::fprintf(stderr, "plexorctl report: --from '%s' is not a date yyyymmdd\n",
                 parsed.Value("from").c_str());
    return 2;
  }
  to = from + 27;
  if (parsed.Has("to") && !ParseText8(parsed.Value("to"), to)) {
    std::fprintf(stderr, "plexorctl report: --to '%s' is not a date yyyymmdd\n",
                 parsed.Value("to").c_str());
    return 2;
  }
  const std::string lang = parsed.Value("lang", "de");
  const std::string format = parsed.Value("format", "text");
  const std::string charset = parsed.Value("charset", "utf-8");
  const std::string out_path = parsed.Value("out");
  long status = kProposalOpen;
  if (!ValidSchemaName(schema)) {
    error = "--schema '" + schema + "' is not a schema name (1 to 20 letters, digits or _)";
  } else if (plan_group.size() > 5) {
    error = "--plan-group '" + plan_group + "' is longer than 5 characters";
  } else if (to < from) {
    error = "--to " + Text8(to) + " lies before the first day " + Text8(from);
  } else if (lang != "de" && lang != "en") {
    error = "--lang '" + lang + "': give de or en";
  } else if (!ProposalStatusOf(parsed.Value("status", "open"), status)) {
    error = "--status '" + parsed.Value("status") + "': give open, accepted, rejected or all";
  } else if (format != "text" && format != "json" && format != "csv") {
    error = "--format '" + format + "': give text, json or csv";
  } else if (charset != "utf-8" && charset != "ascii") {
    error = "--charset '" + charset + "': give utf-8 or ascii";
  } else if (parsed.Has("out") && out_path.empty()) {
    error = "--out: give a file (or a folder for csv)";
  } else if (parsed.Has("html") && parsed.Value("html").empty()) {
    error = "--html: give a file";
  }
  if (!error.empty()) {
    std::fprintf(stderr, "plexorctl report: %s\n", error.c_str());
    return 2;
  }
  const Language language = lang == "de" ? Language::kGerman : Language::kEnglish;
  OpenedDatabase db;
  if (!OpenDatabase(parsed, db, error)) {
    std::fprintf(stderr, "plexorctl report: %s\n", error.c_str());
    return 1;
  }
  std::string last = Text8(to);
  if (!parsed.Has("to") &&
      !LastStaffedDay(db.session, schema, plan_group, Text8(from), Text8(to), last, error)) {
    std::fprintf(stderr, "plexorctl report: %s\n", error.c_str());
    return 1;
  }
  ReportData data;
  if (!ReadReport(db.session, schema, plan_group, Text8(from), last, data, error, status)) {
    std::fprintf(stderr, "plexorctl report: %s\n", error.c_str());
    return 1;
  }
  data.generated = GenerationTime();
  bool written = true;
  if (format == "json") {
    written = WriteOutput(out_path, ReportJson(data, language), error);
  } else if (format == "csv") {
    written = WriteTables(out_path, ReportCsv(data, language), error);
  } else {
    written = WriteOutput(out_path, ReportText(data, language, charset == "utf-8"), error);
  }
  if (written && parsed.Has("html")) {
    const std::string path = parsed.Value("html");
    written = WriteOutput(path, ReportHtml(data, language), error);
    if (written && format == "text" && out_path.empty()) std::printf("\nHTML: %s\n", path.c_str());
  }
  if (!written) {
    std::fprintf(stderr, "plexorctl report: %s\n", error.c_str());
    return 1;
  }
  return 0;
}

}  // namespace ctl
