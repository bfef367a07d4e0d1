#include "app/progress.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace {

// Process-wide state of the progress line.
struct ProgressState {
  int terminal = -1;  // -1 not yet known, 0 no, 1 yes
  bool shown = false;
  char plg[6] = {};
  char date[9] = {};
  long proposals = 0;
};

ProgressState g_progress;

bool ToTerminal() {
  ProgressState& s = g_progress;
  if (s.terminal < 0) s.terminal = isatty(STDERR_FILENO) == 1 ? 1 : 0;
  return s.terminal == 1;
}

void CopyText(char* target, size_t capacity, const char* text) {
  if (text == nullptr) text = "";
  size_t n = std::strlen(text);
  if (n > capacity - 1) n = capacity - 1;
  std::memcpy(target, text, n);
  target[n] = '\0';
}

void Show() {
  if (!ToTerminal()) return;
  ProgressState& s = g_progress;
  // Carriage return, the line, then erase whatever an older, longer line left.
  std::fprintf(stderr, "\r%s\x1b[K", Progress_Text(s.plg, s.date, s.proposals).c_str());
  std::fflush(stderr);
  s.shown = true;
}

}  // namespace

std::string Progress_Text(const char* plg, const char* date, long proposals) {
  std::string line = "Plangruppe ";
  line += (plg != nullptr && *plg != '\0') ? plg : "-";
  line += "  Tag ";
  if (date != nullptr && std::strlen(date) >= 8) {
    line.append(date + 6, 2).append(".").append(date + 4, 2).append(".").append(date, 4);
  } else {
    line += "-";
  }
  line += "  Vorschlaege: " + std::to_string(proposals);
  return line;
}

void Progress_PlanGroup(const char* plg) {
  ProgressState& s = g_progress;
  CopyText(s.plg, sizeof s.plg, plg);
  s.date[0] = '\0';
  Show();
}

void Progress_Day(const char* date) {
  CopyText(g_progress.date, sizeof g_progress.date, date);
  Show();
}

void Progress_Proposal() {
  ++g_progress.proposals;
  Show();
}

void Progress_End() {
  ProgressState& s = g_progress;
  if (s.shown && ToTerminal()) {
    std::fputc('\n', stderr);
    std::fflush(stderr);
  }
  s.shown = false;
}
