// The connection of a subcommand that works on the job's tables: either the
// job's own configuration file (--config FILE: data source, schema, login
// and password, deciphered by the job's reader) or the usual connection
// options (connect_options.h) together with --schema.
#pragma once

#include <set>
#include <string>

#include "cli_args.h"
#include "connect_options.h"

namespace ctl {

// The four settings of a configuration file as the job takes them over (the
// schema without its stored trailing character).
struct JobSettings {
  std::string dsn;
  std::string schema;           // empty when the job would refuse it
  bool schema_refused = false;  // the value held a character the job refuses
  std::string login;
  std::string password;
};

// Reads `path` with the job's reader. False with `error` when the file is
// missing; missing keys give empty values, as in the job.
bool ReadJobSettings(const std::string& path, JobSettings& out, std::string& error);

// The value options of ConnectValueOptions() plus "config" and "schema".
std::set<std::string> ConfiguredValueOptions();
extern const char* const kConfiguredConnectHelp;

// Connects as --config or the connection options say and names the schema;
// false with `error` otherwise (also for a schema the job could not use).
bool OpenConfiguredDatabase(const ParsedArgs& args, OpenedDatabase& db, std::string& schema,
                            std::string& error);

}  // namespace ctl
