// plexorctl's subcommands. Each takes the arguments after its name, prints
// its own --help, and returns the process exit status: 0 done, 1 failed,
// 2 wrong usage (lastrun and check give their own meaning to 1 and 2).
#pragma once

#include <string>
#include <vector>

namespace ctl {

using CommandFunction = int (*)(const std::vector<std::string>& args);

// One row of plexorctl's command table: a command, or a group ("db",
// "konfig") with its subcommand.
struct Command {
  const char* group;  // nullptr for a command of its own
  const char* name;
  CommandFunction run;
  const char* summary;
};

// Every command, in the order the usage lists them.
const std::vector<Command>& Commands();

int RunDbInit(const std::vector<std::string>& args);
int RunKonfigWrite(const std::vector<std::string>& args);
int RunKonfigShow(const std::vector<std::string>& args);
int RunDemo(const std::vector<std::string>& args);
int RunReport(const std::vector<std::string>& args);
int RunProposals(const std::vector<std::string>& args);
int RunCheck(const std::vector<std::string>& args);
int RunLastRun(const std::vector<std::string>& args);

}  // namespace ctl
