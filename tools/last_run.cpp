#include "last_run.h"

#include <ctime>

namespace ctl {
namespace {

constexpr std::size_t kStampLength = 19;  // "yyyy-mm-dd hh:mm:ss"
constexpr const char* kStartLine = "*** Programmstart Plexor ***";
constexpr const char* kEndLine = "*** Programmende Plexor ***";

// The message of a log line, or nullptr when the line has no time stamp.
const char* Message(const std::string& line) {
  if (line.size() < kStampLength + 2 || line.compare(kStampLength, 2, "  ") != 0) return nullptr;
  return line.c_str() + kStampLength + 2;
}

bool Matches(const std::string& text, const char* pattern) {
  // 'd' a digit, any other character itself.
  std::size_t i = 0;
  for (; pattern[i] != '\0'; ++i) {
    if (i >= text.size()) return false;
    const char c = text[i];
    if (pattern[i] == 'd' ? (c < '0' || c > '9') : c != pattern[i]) return false;
  }
  return i == text.size();
}

}  // namespace

int LastRun::ExitStatus() const {
  if (!found || ended.empty()) return 2;
  return errors.empty() ? 0 : 1;
}

LastRun FindLastRun(const std::vector<std::string>& lines, const std::string& since) {
  std::size_t start = lines.size();
  for (std::size_t i = lines.size(); i-- > 0;) {
    const char* message = Message(lines[i]);
    if (message != nullptr && std::string(message) == kStartLine) {
      start = i;
      break;
    }
  }
  LastRun run;
  if (start == lines.size()) return run;
  run.started = lines[start].substr(0, kStampLength);
  if (run.started < since) return run;
  run.found = true;
  for (std::size_t i = start; i < lines.size(); ++i) {
    const char* message = Message(lines[i]);
    if (message == nullptr) continue;
    run.last_line = lines[i];
    const std::string text = message;
    if (text.rfind("-Fehler", 0) == 0) run.errors.push_back(lines[i]);
    if (text == kEndLine) run.ended = lines[i].substr(0, kStampLength);
  }
  return run;
}

bool SinceStamp(const std::string& text, std::string& stamp) {
  if (text == "today") {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    char buffer[16];
    if (localtime_r(&now, &local) == nullptr ||
        std::strftime(buffer, sizeof buffer, "%Y-%m-%d", &local) == 0) {
      return false;
    }
    stamp = buffer;
    return true;
  }
  if (!Matches(text, "dddd-dd-dd") && !Matches(text, "dddd-dd-dd dd:dd") &&
      !Matches(text, "dddd-dd-dd dd:dd:dd")) {
    return false;
  }
  stamp = text;
  return true;
}

}  // namespace ctl
