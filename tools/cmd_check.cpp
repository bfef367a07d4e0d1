// plexorctl check: the pre-flight check of a job set-up, one line per check.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "cli_args.h"
#include "commands.h"
#include "job_settings.h"
#include "log/run_log.h"
#include "odbc_session.h"
#include "odbc_sources.h"
#include "verdicts.h"

namespace ctl {
namespace {

namespace fs = std::filesystem;

// The tables the job reads and writes; the base calendar lives in KvtSystem.
constexpr const char* kJobTables[] = {"Kvt133Ka2", "Kvt140Azv", "Kvt162Ers", "Kvt329Ztg",
                                      "Kvt701Plg", "Kvt710Pbv", "Kvt712Pgz", "Kvt716Qzp",
                                      "Kvt717Qea", "Kvt720Bss", "Kvt725Bsm", "Kvt730Bdp",
                                      "Kvt735Bdk", "Kvt746Err", "Kvt755Pka"};

enum class Status { kOk, kWarning, kMissing };

struct Lines {
  Language language;
  int failures = 0;

  void Add(Status status, const std::string& german, const std::string& english) {
    static const char* kTags[2][3] = {{"ok", "WARNUNG", "FEHLT"}, {"ok", "WARNING", "FAILED"}};
    const bool de = language == Language::kGerman;
    std::printf("%-8s %s\n", kTags[de ? 0 : 1][static_cast<int>(status)],
                (de ? german : english).c_str());
    if (status == Status::kMissing) ++failures;
  }
};

// "Mode 0644": the permission bits as octal text.
std::string ModeText(mode_t mode) {
  char text[8];
  std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
  return text;
}

void CheckConfigFile(const std::string& path, const JobSettings& settings, Lines& out) {
  out.Add(Status::kOk,
          "Konfigurationsdatei " + path + ": DATABASE " + settings.dsn + ", LOGIN " +
              settings.login + ", PASS " + (settings.pass.empty() ? "leer" : "gesetzt"),
          "configuration file " + path + ": DATABASE " + settings.dsn + ", LOGIN " +
              settings.login + ", PASS " + (settings.pass.empty() ? "empty" : "set"));
  struct stat st {};
  if (stat(path.c_str(), &st) == 0 && (st.st_mode & (S_IRGRP | S_IROTH)) != 0) {
    const std::string mode = ModeText(st.st_mode);
    out.Add(Status::kWarning,
            path + " ist fuer andere Benutzer lesbar (Modus " + mode +
                "), das Passwort damit auch: chmod 600 " + path,
            path + " can be read by other users (mode " + mode +
                "), and so can the password: chmod 600 " + path);
  }
}

bool CheckDataSource(const std::string& dsn, Lines& out) {
  const SourceInfo info = LookUpDataSource(dsn);
  if (!info.source_found) {
    out.Add(Status::kMissing,
            "Datenquelle '" + dsn + "' ist dem ODBC-Treibermanager unbekannt (odbcinst -j zeigt " +
                "die Dateien, odbcinst -q -s die Datenquellen)",
            "data source '" + dsn + "' is unknown to the ODBC driver manager (odbcinst -j shows " +
                "the files in use, odbcinst -q -s the data sources)");
    return false;
  }
  if (!info.driver_found) {
    out.Add(Status::kMissing,
            "Treiber '" + info.driver + "' der Datenquelle '" + dsn +
                "' ist nicht registriert (odbcinst -q -d)",
            "driver '" + info.driver + "' of data source '" + dsn +
                "' is not registered (odbcinst -q -d)");
    return false;
  }
  std::error_code ec;
  if (info.library.empty() || !fs::exists(info.library, ec)) {
    out.Add(Status::kMissing,
            "Bibliothek '" + info.library + "' des Treibers '" + info.driver + "' fehlt",
            "library '" + info.library + "' of driver '" + info.driver + "' does not exist");
    return false;
  }
  out.Add(Status::kOk,
          "Datenquelle " + dsn + ": Treiber " + info.driver + " (" + info.library + ")",
          "data source " + dsn + ": driver " + info.driver + " (" + info.library + ")");
  return true;
}

void CheckTables(OdbcSession& session, const std::string& schema, Lines& out) {
  std::vector<Row> rows;
  int present = 0;
  auto probe = [&](const std::string& table, const std::string& columns) {
    return session.Query("SELECT " + columns + " FROM " + table + " WHERE 1 = 0", rows);
  };
  std::vector<std::string> tables = {"KvtSystem.Kvt133Bak"};
  for (const char* t : kJobTables) tables.push_back(schema + "." + t);
  for (const std::string& table : tables) {
    if (probe(table, "COUNT(*)")) {
      ++present;
    } else {
      const std::string why = session.error().Text();
      out.Add(Status::kMissing, "Tabelle " + table + " fehlt: " + why,
              "table " + table + " is missing: " + why);
    }
  }
  if (present == static_cast<int>(tables.size())) {
    out.Add(Status::kOk, std::to_string(present) + " Tabellen des Jobs vorhanden",
            std::to_string(present) + " tables of the job present");
  }
  const struct {
    const char* table;
    const char* columns;
  } optional[] = {{"Kvt701Plg", "PlgOpt, PlgOpl"}, {"Kvt725Bsm", "BsmOva, BsmOve"}};
  for (const auto& o : optional) {
    const std::string table = schema + "." + o.table;
    if (!probe(table, "COUNT(*)")) continue;
    if (probe(table, o.columns)) {
      out.Add(Status::kOk, table + " mit " + o.columns, table + " with " + o.columns);
    } else {
      out.Add(Status::kWarning,
              table + " ohne " + o.columns + ": der Job nimmt die kurzen Anweisungsformen",
              table + " without " + o.columns + ": the job uses the short statement forms");
    }
  }
}

void CheckRunLog(const std::string& given_workdir, const std::string& schema, Lines& out) {
  std::error_code ec;
  std::string workdir = fs::absolute(given_workdir, ec).lexically_normal().string();
  if (workdir.size() > 1 && workdir.back() == '/') workdir.pop_back();
  if (!fs::is_directory(workdir, ec)) {
    out.Add(Status::kMissing, "Arbeitsverzeichnis " + workdir + " fehlt",
            "working directory " + workdir + " does not exist");
    return;
  }
  runlog::SetPaths(schema);
  const fs::path log = (fs::path(workdir) / runlog::LogPath()).lexically_normal();
  const fs::path folder = log.parent_path();
  if (!fs::is_directory(folder, ec)) {
    out.Add(Status::kMissing,
            "Ordner des Laufprotokolls " + folder.string() + " fehlt (von " + workdir +
                " aus gesehen); ohne ihn schreibt der Job kein Protokoll: mkdir -p " +
                folder.string(),
            "run log folder " + folder.string() + " does not exist (as seen from " + workdir +
                "); without it the job writes no log: mkdir -p " + folder.string());
    return;
  }
  const bool folder_ok = access(folder.c_str(), W_OK | X_OK) == 0;
  const bool file_ok = !fs::exists(log, ec) || access(log.c_str(), W_OK) == 0;
  if (!folder_ok || !file_ok) {
    const std::string what = folder_ok ? log.string() : folder.string();
    out.Add(Status::kMissing, "Laufprotokoll: " + what + " ist nicht beschreibbar",
            "run log: " + what + " is not writable");
    return;
  }
  out.Add(Status::kOk, "Laufprotokoll " + log.string(), "run log " + log.string());
}

}  // namespace

int RunCheck(const std::vector<std::string>& args) {
  static const char* kHelp =
      "Usage: plexorctl check --config FILE [--workdir DIR] [--lang de|en]\n"
      "\n"
      "Checks a job set-up before the first run, with the configuration file, the\n"
      "environment (ODBCSYSINI, ODBCINI) and the working directory the scheduler\n"
      "will use: the configuration (the password is never shown) and who can read\n"
      "it, the schema name, the data source and its driver, the connect with the\n"
      "configured user, the job's tables and optional columns, and the run log's\n"
      "folder. One line per check: ok, FEHLT (failed) or WARNUNG (warning).\n"
      "Exit status 0 when the job can run, 1 otherwise.\n"
      "\n"
      "  --config FILE   the job's configuration file (its first argument)\n"
      "  --workdir DIR   the job's working directory (default the current one)\n"
      "  --lang de|en    language of the lines (default de)\n";
  ParsedArgs parsed;
  const int parsed_rc =
      ParseCommand("check", args, {"config", "workdir", "lang"}, {}, kHelp, parsed);
  if (parsed_rc >= 0) return parsed_rc;
  std::string error;
  if (!parsed.positional.empty()) error = "unexpected argument " + parsed.positional.front();
  if (error.empty()) RequireValues(parsed, {"config"}, error);
  const std::string lang = parsed.Value("lang", "de");
  if (error.empty() && lang != "de" && lang != "en") {
    error = "--lang '" + lang + "': give de or en";
  }
  if (!error.empty()) {
    std::fprintf(stderr, "plexorctl check: %s\n", error.c_str());
    return 2;
  }
  Lines out{lang == "de" ? Language::kGerman : Language::kEnglish};
  const std::string path = parsed.Value("config");
  JobSettings settings;
  if (!ReadJobSettings(path, settings, error) || settings.Empty()) {
    if (error.empty()) error = path + " holds no configuration records";
    out.Add(Status::kMissing, "Konfigurationsdatei: " + error, "configuration file: " + error);
    return 1;
  }
  CheckConfigFile(path, settings, out);
  // The schema as the job takes it over; an empty one leaves every
  // statement without a valid schema.
  const bool schema_ok = !settings.schema.empty();
  const std::string& stored = settings.schema_value;
  if (schema_ok) {
    out.Add(Status::kOk, "Schema " + settings.schema, "schema " + settings.schema);
  } else if (settings.schema_refused) {
    const std::string name = stored.substr(0, stored.size() - 1);
    out.Add(Status::kMissing,
            "Schema '" + name + "' lehnt der Job ab: nur Buchstaben, Ziffern und _ erlaubt",
            "schema '" + name + "' is refused by the job: only letters, digits and _ are allowed");
  } else {
    const std::string why = std::to_string(stored.size()) + " characters stored, 2 to 21 needed";
    out.Add(Status::kMissing, "Schema leer (" + why + ")", "schema empty (" + why + ")");
  }
  if (CheckDataSource(settings.dsn, out)) {
    OdbcSession session;
    if (!session.Connect(settings.dsn, settings.login, settings.pass)) {
      const OdbcError& e = session.error();
      std::string hint;
      if (e.sqlstate == "IM002") hint = " (IM002: data source or driver name unknown)";
      if (e.sqlstate == "28000") hint = " (28000: user or password wrong)";
      out.Add(Status::kMissing, "Connect als " + settings.login + ": " + e.Text() + hint,
              "connect as " + settings.login + ": " + e.Text() + hint);
    } else {
      out.Add(Status::kOk, "Connect als " + settings.login, "connect as " + settings.login);
      if (schema_ok) CheckTables(session, settings.schema, out);
    }
  }
  CheckRunLog(parsed.Value("workdir", "."), settings.schema, out);
  return out.failures == 0 ? 0 : 1;
}

}  // namespace ctl
