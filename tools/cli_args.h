// Command-line options of plexorctl's subcommands: "--name value",
// "--name=value" and "--flag"; everything else is positional. Options that
// a subcommand does not know, and value options without a value, are
// errors.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

namespace ctl {

struct ParsedArgs {
  std::vector<std::string> positional;
  std::map<std::string, std::string> values;  // by option name without "--"
  std::set<std::string> flags;
  bool help = false;  // --help or -h was given

  bool Has(const std::string& name) const { return values.count(name) != 0; }
  std::string Value(const std::string& name, const std::string& fallback = "") const;
};

// Parses args[begin..]. `value_options` take a value, `flag_options` do not.
// Returns false with `error` filled on an unknown option or a missing value.
bool ParseArgs(const std::vector<std::string>& args, size_t begin,
               const std::set<std::string>& value_options,
               const std::set<std::string>& flag_options, ParsedArgs& out, std::string& error);

// Parses a subcommand's options as ParseArgs does. On --help prints `help`
// and returns 0; on a bad option prints "plexorctl <command>: <error>" and
// `help` to standard error and returns 2; otherwise returns -1 (go on).
int ParseCommand(const char* command, const std::vector<std::string>& args,
                 const std::set<std::string>& value_options,
                 const std::set<std::string>& flag_options, const std::string& help,
                 ParsedArgs& out);

// Checks that every name in `required` was given; fills `error` otherwise.
bool RequireValues(const ParsedArgs& parsed, const std::vector<std::string>& required,
                   std::string& error);

// Strict decimal integer within [min, max].
bool ParseInt(const std::string& text, long min, long max, long& out);

}  // namespace ctl
