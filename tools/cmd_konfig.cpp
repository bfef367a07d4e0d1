#include <cstdio>
#include <filesystem>
#include <iostream>

#include "cli_args.h"
#include "commands.h"
#include "config/config_file.h"
#include "config/config_writer.h"
#include "config_connection.h"
#include "schema_setup.h"

namespace ctl {
namespace {

// "-" reads the value from the first line of standard input, so that a
// password need not appear on a command line.
std::string ValueOrStdin(const std::string& value) {
  if (value != "-") return value;
  std::string line;
  std::getline(std::cin, line);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

}  // namespace

int RunKonfigWrite(const std::vector<std::string>& args) {
  static const char* kHelp =
      "Usage: plexorctl konfig write FILE --dsn NAME --schema S --login U --pass P\n"
      "\n"
      "Writes the job's configuration file with the four connection settings,\n"
      "each enciphered. A value of - is read from standard input.\n";
  ParsedArgs parsed;
  std::string error;
  const int parsed_rc =
      ParseCommand("konfig write", args, {"dsn", "schema", "login", "pass"}, {}, kHelp, parsed);
  if (parsed_rc >= 0) return parsed_rc;
  if (parsed.positional.size() != 1 ||
      !RequireValues(parsed, {"dsn", "schema", "login", "pass"}, error)) {
    std::fprintf(stderr, "plexorctl konfig write: %s\n%s",
                 error.empty() ? "give exactly one FILE" : error.c_str(), kHelp);
    return 2;
  }
  const std::string schema = parsed.Value("schema");
  if (!ValidSchemaName(schema)) {
    std::fprintf(stderr, "plexorctl konfig write: invalid schema name '%s'\n", schema.c_str());
    return 2;
  }
  const std::string& path = parsed.positional.front();
  if (!Konfig_Schreiben(path, ValueOrStdin(parsed.Value("dsn")), schema,
                        ValueOrStdin(parsed.Value("login")), ValueOrStdin(parsed.Value("pass")))) {
    std::fprintf(stderr,
                 "plexorctl konfig write: cannot write %s (values up to %zu characters, no zero "
                 "bytes)\n",
                 path.c_str(), kKonfigMaxWert);
    return 1;
  }
  std::printf("Configuration written to %s\n", path.c_str());
  return 0;
}

int RunKonfigShow(const std::vector<std::string>& args) {
  static const char* kHelp =
      "Usage: plexorctl konfig show FILE [--reveal]\n"
      "\n"
      "Deciphers the job's configuration file and prints the values the job takes\n"
      "over. The password is masked unless --reveal is given.\n";
  ParsedArgs parsed;
  const int parsed_rc = ParseCommand("konfig show", args, {}, {"reveal"}, kHelp, parsed);
  if (parsed_rc >= 0) return parsed_rc;
  if (parsed.positional.size() != 1) {
    std::fprintf(stderr, "plexorctl konfig show: give exactly one FILE\n%s", kHelp);
    return 2;
  }
  JobSettings settings;
  std::string error;
  if (!ReadJobSettings(parsed.positional.front(), settings, error)) {
    std::fprintf(stderr, "plexorctl konfig show: %s\n", error.c_str());
    return 1;
  }
  const std::string& dsn = settings.dsn;
  const std::string& login = settings.login;
  const std::string& pass = settings.password;
  std::printf("DATABASE: %s\n", dsn.c_str());
  if (settings.schema_refused) {
    std::printf("SCHEMA:   (refused by the job: only letters, digits and _ are allowed)\n");
  } else {
    std::printf("SCHEMA:   %s\n", settings.schema.c_str());
  }
  std::printf("LOGIN:    %s\n", login.c_str());
  std::printf("PASS:     %s\n", parsed.flags.count("reveal") != 0 ? pass.c_str()
                                : pass.empty()                    ? ""
                                                                  : "********");
  return 0;
}

}  // namespace ctl
