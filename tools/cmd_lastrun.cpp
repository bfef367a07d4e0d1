// plexorctl lastrun: how the last run in a run log went, as an exit status a
// scheduler can act on (the job itself always exits 0).
#include <cstdio>
#include <fstream>

#include "cli_args.h"
#include "commands.h"
#include "last_run.h"

namespace ctl {
namespace {

constexpr std::size_t kShownErrors = 20;

bool ReadLines(const std::string& path, std::vector<std::string>& lines) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return true;
}

// plexor_<schema>.log -> plexor_<schema>.bak
std::string BackupOf(const std::string& log) {
  const std::string suffix = ".log";
  if (log.size() > suffix.size() &&
      log.compare(log.size() - suffix.size(), suffix.size(), suffix) == 0) {
    return log.substr(0, log.size() - suffix.size()) + ".bak";
  }
  return log + ".bak";
}

}  // namespace

int RunLastRun(const std::vector<std::string>& args) {
  static const char* kHelp =
      "Usage: plexorctl lastrun --log FILE [--since TIME] [--quiet]\n"
      "\n"
      "Reports the last run in the job's run log FILE (and in its .bak when the\n"
      "run started there): start and end time, whether the end line is there, and\n"
      "the run's -Fehler lines. Runs of the same schema at the same time share the\n"
      "log and cannot be told apart.\n"
      "\n"
      "  --log FILE     the run log, ../corvina_php/log/plexor_<schema>.log as seen\n"
      "                 from the job's working directory\n"
      "  --since TIME   only a run started at or after TIME: today, yyyy-mm-dd,\n"
      "                 'yyyy-mm-dd hh:mm' or 'yyyy-mm-dd hh:mm:ss' (local time)\n"
      "  --quiet        print nothing when the run ended without error lines\n"
      "\n"
      "Exit status: 0 the run ended with its end line and without -Fehler lines;\n"
      "1 it ended but logged -Fehler lines; 2 it has no end line (failed connect,\n"
      "short command line, crash, kill, or still running), or no run was found.\n";
  ParsedArgs parsed;
  const int parsed_rc = ParseCommand("lastrun", args, {"log", "since"}, {"quiet"}, kHelp, parsed);
  if (parsed_rc >= 0) return parsed_rc;
  std::string error, since;
  if (!parsed.positional.empty()) error = "unexpected argument " + parsed.positional.front();
  if (error.empty()) RequireValues(parsed, {"log"}, error);
  if (error.empty() && parsed.Has("since") && !SinceStamp(parsed.Value("since"), since)) {
    error = "--since '" + parsed.Value("since") +
            "': give today, yyyy-mm-dd, 'yyyy-mm-dd hh:mm' or 'yyyy-mm-dd hh:mm:ss'";
  }
  if (!error.empty()) {
    std::fprintf(stderr, "plexorctl lastrun: %s\n", error.c_str());
    return 2;
  }
  const std::string log = parsed.Value("log");
  std::vector<std::string> lines;
  if (!ReadLines(log, lines)) {
    std::printf("no run: cannot read the run log %s\n", log.c_str());
    return 2;
  }
  LastRun run = FindLastRun(lines, "");
  if (!run.found) {
    // Rotated while the run was writing: its start line is in the backup.
    std::vector<std::string> both;
    if (ReadLines(BackupOf(log), both)) {
      both.insert(both.end(), lines.begin(), lines.end());
      lines.swap(both);
    }
  }
  run = FindLastRun(lines, since);
  const int status = run.ExitStatus();
  if (status == 0 && parsed.flags.count("quiet") != 0) return 0;
  if (!run.found) {
    std::printf("no run%s%s in %s\n", since.empty() ? "" : " since ", since.c_str(), log.c_str());
    return status;
  }
  std::printf("run log:     %s\n", log.c_str());
  std::printf("started:     %s\n", run.started.c_str());
  if (run.ended.empty()) {
    std::printf("ended:       no end line; last line: %s\n", run.last_line.c_str());
  } else {
    std::printf("ended:       %s\n", run.ended.c_str());
  }
  std::printf("error lines: %zu\n", run.errors.size());
  for (std::size_t i = 0; i < run.errors.size() && i < kShownErrors; ++i) {
    std::printf("  %s\n", run.errors[i].c_str());
  }
  if (run.errors.size() > kShownErrors) {
    std::printf("  ... and %zu more\n", run.errors.size() - kShownErrors);
  }
  return status;
}

}  // namespace ctl
