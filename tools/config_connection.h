// The connection of a subcommand that works on the job's tables: the usual
// connection options (connect_options.h, --config FILE among them) together
// with the schema, given as --schema or taken from the configuration file.
#pragma once

#include <set>
#include <string>

#include "cli_args.h"
#include "connect_options.h"

namespace ctl {

// The value options of ConnectValueOptions() plus "schema".
std::set<std::string> ConfiguredValueOptions();
extern const char* const kConfiguredConnectHelp;

// Connects as --config or the connection options say and names the schema;
// false with `error` otherwise (also for a schema the job could not use).
bool OpenConfiguredDatabase(const ParsedArgs& args, OpenedDatabase& db, std::string& schema,
                            std::string& error);

}  // namespace ctl
