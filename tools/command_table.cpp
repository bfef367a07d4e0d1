#include "commands.h"

namespace ctl {

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      {"db", "init", RunDbInit, "create the job's tables through ODBC"},
      {"konfig", "write", RunKonfigWrite, "write the job's configuration file (values enciphered)"},
      {"konfig", "show", RunKonfigShow, "decipher and print a configuration file"},
      {nullptr, "check", RunCheck, "check a job set-up before the first run"},
      {nullptr, "lastrun", RunLastRun, "how the last run in a run log went (exit status 0/1/2)"},
      {nullptr, "demo", RunDemo, "create a demo database for the embedded driver"},
      {nullptr, "report", RunReport,
       "open proposals, remaining staffing errors, counts per plan group"},
      {nullptr, "proposals", RunProposals, "list, accept or reject the job's move proposals"},
  };
  return commands;
}

}  // namespace ctl
