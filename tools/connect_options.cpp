#include "connect_options.h"

#include <filesystem>

#include "job_settings.h"
#include "shipped_files.h"

namespace ctl {

const std::set<std::string>& ConnectValueOptions() {
  static const std::set<std::string> names = {"dsn",      "database", "user",
                                              "password", "driver",   "config"};
  return names;
}

const char* const kConnectHelp =
    "  --dsn NAME         ODBC data source (as configured for the driver manager)\n"
    "  --database DIR     or: a folder of the embedded driver, reached without any\n"
    "                     configured data source\n"
    "  --user U           database user (default empty)\n"
    "  --password P       password (default empty)\n"
    "  --driver LIB       embedded driver library for --database\n"
    "  --config FILE      take data source, schema, user and password from the\n"
    "                     job's configuration file (options given win)\n";

bool ApplyJobConfig(ParsedArgs& args, std::string& error) {
  if (!args.Has("config")) return true;
  const std::string path = args.Value("config");
  JobSettings settings;
  if (!ReadJobSettings(path, settings, error)) {
    error = "--config: " + error;
    return false;
  }
  if (settings.Empty()) {
    error = "--config: " + path + " holds no configuration records";
    return false;
  }
  auto fill = [&](const char* name, const std::string& value) {
    if (!args.Has(name)) args.values[name] = value;
  };
  if (!args.Has("database")) fill("dsn", settings.dsn);
  fill("schema", settings.schema);
  fill("user", settings.login);
  fill("password", settings.pass);
  return true;
}

bool OpenDatabase(const ParsedArgs& args, OpenedDatabase& db, std::string& error) {
  std::string dsn = args.Value("dsn");
  if (args.Has("database") && !dsn.empty()) {
    error = "--dsn and --database exclude each other: give one of them";
    return false;
  }
  if (!args.Has("database") && dsn.empty()) {
    error = "missing option --dsn (or --database or --config)";
    return false;
  }
  if (args.Has("database")) {
    const std::string dir = args.Value("database");
    if (!std::filesystem::is_directory(dir)) {
      error = "--database " + dir + ": no such folder";
      return false;
    }
    db.temporary = std::make_unique<EmbeddedDsn>();
    if (!db.temporary->Create(dir, args.Value("driver", DefaultEmbeddedDriver()), error)) {
      return false;
    }
    dsn = db.temporary->name();
  }
  if (!db.session.Connect(dsn, args.Value("user"), args.Value("password"))) {
    error = "cannot connect to " + dsn + ": " + db.session.error().Text();
    return false;
  }
  return true;
}

}  // namespace ctl
