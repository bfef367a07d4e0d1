#include "config_connection.h"

#include "schema_setup.h"

namespace ctl {

std::set<std::string> ConfiguredValueOptions() {
  std::set<std::string> names = ConnectValueOptions();
  names.insert("schema");
  return names;
}

const char* const kConfiguredConnectHelp =
    "  --schema S         schema of the job's tables (or taken from --config)\n";

bool OpenConfiguredDatabase(const ParsedArgs& args, OpenedDatabase& db, std::string& schema,
                            std::string& error) {
  ParsedArgs filled = args;
  if (!ApplyJobConfig(filled, error)) return false;
  if (!filled.Has("schema")) {
    error = "missing option --schema (or --config FILE)";
    return false;
  }
  schema = filled.Value("schema");
  if (!ValidSchemaName(schema)) {
    error = "--schema '" + schema + "': not a usable schema name (1 to 20 letters, digits or _)";
    return false;
  }
  return OpenDatabase(filled, db, error);
}

}  // namespace ctl
