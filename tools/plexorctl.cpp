// plexorctl: administration tool of the roster optimisation job. Creates the
// database schema, writes and shows the job's configuration file, checks a
// set-up, reports on the last run, builds a demo database, reports what a run
// left behind and acts on move proposals. The commands are listed in
// command_table.cpp.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "commands.h"

namespace {

// The usage: every command, or only those of one group.
std::string Usage(const char* group) {
  std::string text = group == nullptr
                         ? "Usage: plexorctl COMMAND [options]   (plexorctl COMMAND --help for "
                           "details)\n\n"
                         : std::string("Usage: plexorctl ") + group +
                               " SUBCOMMAND [options]   (plexorctl " + group +
                               " SUBCOMMAND --help for details)\n\n";
  for (const ctl::Command& c : ctl::Commands()) {
    if (group != nullptr && (c.group == nullptr || std::strcmp(c.group, group) != 0)) continue;
    std::string name = c.group == nullptr ? c.name : std::string(c.group) + " " + c.name;
    name.resize(std::max<std::size_t>(name.size(), 14), ' ');
    text += "  " + name + " " + c.summary + "\n";
  }
  return text;
}

bool IsHelp(const std::string& arg) {
  return arg == "--help" || arg == "-h" || arg == "help";
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty() || IsHelp(args[0])) {
    std::fputs(Usage(nullptr).c_str(), args.empty() ? stderr : stdout);
    return args.empty() ? 2 : 0;
  }
  if (args[0] == "--version") {
    std::printf("plexorctl %s\n", PLEXOR_VERSION);
    return 0;
  }
  const std::string& command = args[0];
  bool is_group = false;
  for (const ctl::Command& c : ctl::Commands()) {
    if (c.group == nullptr && command == c.name) {
      return c.run(std::vector<std::string>(args.begin() + 1, args.end()));
    }
    if (c.group != nullptr && command == c.group) {
      is_group = true;
      if (args.size() > 1 && args[1] == c.name) {
        return c.run(std::vector<std::string>(args.begin() + 2, args.end()));
      }
    }
  }
  if (is_group) {
    const std::string usage = Usage(command.c_str());
    if (args.size() > 1 && IsHelp(args[1])) {
      std::fputs(usage.c_str(), stdout);
      return 0;
    }
    if (args.size() == 1) {
      std::fprintf(stderr, "plexorctl %s: missing subcommand\n%s", command.c_str(), usage.c_str());
    } else {
      std::fprintf(stderr, "plexorctl %s: unknown subcommand '%s'\n%s", command.c_str(),
                   args[1].c_str(), usage.c_str());
    }
    return 2;
  }
  std::fprintf(stderr, "plexorctl: unknown command '%s'\n%s", command.c_str(),
               Usage(nullptr).c_str());
  return 2;
}
