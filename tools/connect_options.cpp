#include "connect_options.h"

#include <filesystem>

namespace ctl {

const std::set<std::string>& ConnectValueOptions() {
  static const std::set<std::string> names = {"dsn", "database", "user", "password", "driver"};
  return names;
}

const char* const kConnectHelp =
    "  --dsn NAME         ODBC data source (as configured for the driver manager)\n"
    "  --database DIR     or: a folder of the embedded driver, reached without any\n"
    "                     configured data source\n"
    "  --user U           database user (default empty)\n"
    "  --password P       password (default empty)\n"
    "  --driver LIB       embedded driver library for --database\n";

bool OpenDatabase(const ParsedArgs& args, OpenedDatabase& db, std::string& error) {
  std::string dsn = args.Value("dsn");
  if (args.Has("database") == !dsn.empty()) {
    error = "give either --dsn or --database";
    return false;
  }
  if (args.Has("database")) {
    const std::string dir = args.Value("database");
    if (!std::filesystem::is_directory(dir)) {
      error = "no such folder: " + dir;
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
