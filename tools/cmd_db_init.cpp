#include <cstdio>

#include "commands.h"
#include "connect_options.h"
#include "schema_setup.h"
#include "shipped_files.h"

namespace ctl {

int RunDbInit(const std::vector<std::string>& args) {
  static const char* kHelp =
      "Usage: plexorctl db init (--dsn NAME | --database DIR) --schema S [options]\n"
      "       plexorctl db init --config FILE [options]\n"
      "\n"
      "Creates the job's tables: the base calendar in schema KvtSystem and every\n"
      "other table in schema S, from sql/schema.sql.\n"
      "\n"
      "  --schema S         schema of the job's tables (1-20 letters, digits, _)\n"
      "  --without-optional older layout: plan groups without PlgOpt/PlgOpl and the\n"
      "                     staffing matrix without BsmOva/BsmOve\n"
      "  --sql-dir DIR      folder of the schema scripts\n";
  std::set<std::string> values = ConnectValueOptions();
  values.insert({"schema", "sql-dir"});
  ParsedArgs parsed;
  std::string error;
  const int parsed_rc = ParseCommand("db init", args, values, {"without-optional"},
                                     std::string(kHelp) + kConnectHelp, parsed);
  if (parsed_rc >= 0) return parsed_rc;
  if (!ApplyJobConfig(parsed, error)) {
    std::fprintf(stderr, "plexorctl db init: %s\n", error.c_str());
    return 1;
  }
  if (!parsed.positional.empty() || !RequireValues(parsed, {"schema"}, error)) {
    if (error.empty()) error = "unexpected argument " + parsed.positional.front();
    std::fprintf(stderr, "plexorctl db init: %s\n", error.c_str());
    return 2;
  }
  const std::string schema = parsed.Value("schema");
  if (!ValidSchemaName(schema)) {
    std::fprintf(stderr,
                 "plexorctl db init: --schema '%s' is not a schema name (1 to 20 letters, digits "
                 "or _, not starting with a digit)\n",
                 schema.c_str());
    return 2;
  }
  OpenedDatabase db;
  if (!OpenDatabase(parsed, db, error)) {
    std::fprintf(stderr, "plexorctl db init: %s\n", error.c_str());
    return 1;
  }
  int batches = 0;
  if (!CreateSchema(db.session, parsed.Value("sql-dir", DefaultSqlDir()), schema,
                    parsed.flags.count("without-optional") != 0, batches, error)) {
    std::fprintf(stderr, "plexorctl db init: %s\n", error.c_str());
    return 1;
  }
  std::printf("Schema %s created (%d statements).\n", schema.c_str(), batches);
  return 0;
}

}  // namespace ctl
