// plexorctl's subcommands. Each takes the arguments after its name, prints
// its own --help, and returns the process exit status: 0 done, 1 failed,
// 2 wrong usage.
#pragma once

#include <string>
#include <vector>

namespace ctl {

int RunDbInit(const std::vector<std::string>& args);
int RunKonfigWrite(const std::vector<std::string>& args);
int RunKonfigShow(const std::vector<std::string>& args);
int RunDemo(const std::vector<std::string>& args);
int RunReport(const std::vector<std::string>& args);
int RunProposals(const std::vector<std::string>& args);

}  // namespace ctl
