// The last run in a run log: the lines from the last start line on. The log's
// lines read "yyyy-mm-dd hh:mm:ss  <message>"; a run starts with
// "*** Programmstart Plexor ***" and, when it got to its end, ends with
// "*** Programmende Plexor ***". Runs of the same schema that overlap in time
// share the log, so their lines cannot be told apart.
#pragma once

#include <string>
#include <vector>

namespace ctl {

struct LastRun {
  bool found = false;               // a start line at or after `since`
  std::string started;              // time stamp of the start line
  std::string ended;                // time stamp of the end line, empty without one
  std::string last_line;            // the run's last line
  std::vector<std::string> errors;  // its "-Fehler" lines, whole

  // 0 ended without error lines, 1 ended with error lines, 2 no end line
  // or no run.
  int ExitStatus() const;
};

// `lines` in log order (backup first); `since` a time stamp prefix such as
// "2025-06-15" or "2025-06-15 02:00" (empty: any run).
LastRun FindLastRun(const std::vector<std::string>& lines, const std::string& since);

// A --since value: "today" (the local date), or yyyy-mm-dd with an optional
// " hh:mm" or " hh:mm:ss". False when the text is neither.
bool SinceStamp(const std::string& text, std::string& stamp);

}  // namespace ctl
