#include "config_connection.h"

#include <filesystem>

#include "config/config_file.h"
#include "config/config_writer.h"
#include "config/schema_name.h"
#include "schema_setup.h"

namespace ctl {

bool ReadJobSettings(const std::string& path, JobSettings& out, std::string& error) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    error = "no such file: " + path;
    return false;
  }
  // The same lookups as the job: empty section, number 0, by key.
  auto lookup = [&](const char* key) {
    Konfig_Lesen("", key, 0, path.c_str());
    return std::string(Konfig_Puffer().value.c_str());
  };
  out.dsn = lookup("DATABASE");
  const std::string schema_value = lookup("SCHEMA");
  out.login = lookup("LOGIN");
  out.password = lookup("PASS");
  Konfig_Puffer().value.clear();
  // The schema exactly as the job takes it over.
  const SchemaName schema = SchemaAusWert(schema_value);
  out.schema = schema.name;
  out.schema_refused = schema.refused;
  return true;
}

std::set<std::string> ConfiguredValueOptions() {
  std::set<std::string> names = ConnectValueOptions();
  names.insert({"config", "schema"});
  return names;
}

const char* const kConfiguredConnectHelp =
    "  --config FILE      the job's configuration file (data source, schema, login\n"
    "                     and password); or the options below with --schema\n"
    "  --schema S         schema of the job's tables\n";

bool OpenConfiguredDatabase(const ParsedArgs& args, OpenedDatabase& db, std::string& schema,
                            std::string& error) {
  if (!args.Has("config")) {
    schema = args.Value("schema");
    if (!args.Has("schema")) {
      error = "give --config FILE or --schema with the connection options";
      return false;
    }
    if (!ValidSchemaName(schema)) {
      error = "invalid schema name '" + schema + "'";
      return false;
    }
    return OpenDatabase(args, db, error);
  }
  for (const char* other : {"dsn", "database", "user", "password", "schema"}) {
    if (args.Has(other)) {
      error = std::string("--config and --") + other + " exclude each other";
      return false;
    }
  }
  JobSettings settings;
  if (!ReadJobSettings(args.Value("config"), settings, error)) return false;
  schema = settings.schema;
  if (!ValidSchemaName(schema)) {
    error = "the configuration file names no usable schema";
    return false;
  }
  if (!db.session.Connect(settings.dsn, settings.login, settings.password)) {
    error = "cannot connect to " + settings.dsn + ": " + db.session.error().Text();
    return false;
  }
  return true;
}

}  // namespace ctl
