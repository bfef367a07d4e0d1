#include <cstdio>
#include <fstream>

#include "civil_date.h"
#include "commands.h"
#include "connect_options.h"
#include "report_format.h"
#include "schema_setup.h"

namespace ctl {

int RunReport(const std::vector<std::string>& args) {
  static const char* kHelp =
      "Usage: plexorctl report (--dsn NAME | --database DIR) --schema S [options]\n"
      "       plexorctl report --config FILE [options]\n"
      "\n"
      "Shows what the optimisation left behind: the open move proposals of the\n"
      "period with their verdicts, the staffing errors that remain per day and\n"
      "slot, and a count per plan group. Only reads the database.\n"
      "\n"
      "  --schema S         schema of the job's tables\n"
      "  --plan-group P     one plan group, or all (default)\n"
      "  --from yyyymmdd    first day (default today)\n"
      "  --to yyyymmdd      last day (default 27 days after the first)\n"
      "  --html FILE        also write the report as one HTML page with the\n"
      "                     staffing matrix as a day-by-slot grid\n"
      "  --lang de|en       language of the readings (default de)\n";
  std::set<std::string> values = ConnectValueOptions();
  values.insert({"schema", "plan-group", "from", "to", "html", "lang"});
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
  if (!ValidSchemaName(schema)) {
    error = "--schema '" + schema + "' is not a schema name (1 to 20 letters, digits or _)";
  } else if (plan_group.size() > 5) {
    error = "--plan-group '" + plan_group + "' is longer than 5 characters";
  } else if (to < from) {
    error = "--to " + Text8(to) + " lies before the first day " + Text8(from);
  } else if (lang != "de" && lang != "en") {
    error = "--lang '" + lang + "': give de or en";
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
  ReportData data;
  if (!ReadReport(db.session, schema, plan_group, Text8(from), Text8(to), data, error)) {
    std::fprintf(stderr, "plexorctl report: %s\n", error.c_str());
    return 1;
  }
  std::fputs(ReportText(data, language).c_str(), stdout);
  if (parsed.Has("html")) {
    const std::string path = parsed.Value("html");
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << ReportHtml(data, language);
    if (!out) {
      std::fprintf(stderr, "plexorctl report: cannot write %s\n", path.c_str());
      return 1;
    }
    std::printf("\nHTML: %s\n", path.c_str());
  }
  return 0;
}

}  // namespace ctl
