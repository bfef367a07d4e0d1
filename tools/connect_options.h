// The connection options shared by the subcommands that talk to a database:
// either --dsn NAME (a configured data source) or --database DIR (a folder
// of the embedded driver, reached through a temporary data source), plus
// --user, --password and --driver (the embedded driver's library), or
// --config FILE, the job's configuration file, which supplies data source,
// schema, user and password where the command line gives none.
#pragma once

#include <memory>
#include <set>
#include <string>

#include "cli_args.h"
#include "embedded_dsn.h"
#include "odbc_session.h"

namespace ctl {

// Option names to add to a subcommand's value options.
const std::set<std::string>& ConnectValueOptions();
extern const char* const kConnectHelp;

struct OpenedDatabase {
  std::unique_ptr<EmbeddedDsn> temporary;  // only with --database
  OdbcSession session;
};

// Fills --dsn, --schema, --user and --password from --config FILE where they
// were not given (no --dsn when --database was). False with `error` when the
// file cannot be read or holds no records; true without --config.
bool ApplyJobConfig(ParsedArgs& args, std::string& error);

// Connects as the options say; false with `error` otherwise.
bool OpenDatabase(const ParsedArgs& args, OpenedDatabase& db, std::string& error);

}  // namespace ctl
