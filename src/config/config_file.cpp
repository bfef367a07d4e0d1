#include "config/config_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "config/field_text.h"
#include "config/value_cipher.h"

namespace {

KonfigPuffer g_puffer;

constexpr int kHeaderPiece = 200;  // 199 characters and the terminator
constexpr int kEntryPiece = 400;   // 399 characters and the terminator
// A lookup reads at most this much of a file, so that a path naming a device
// or an endless stream cannot hold the job up.
constexpr long kMaxBytesRead = 4L * 1024 * 1024;

// Reads one line of at most size-1 characters into `buf`, including its line
// break; "\r\n" is read as "\n". Returns false when nothing could be read.
// The line as text ends at its first zero byte.
bool ReadLine(std::FILE* f, char* buf, int size, long& budget) {
  int n = 0;
  while (n < size - 1 && budget > 0) {
    int c = std::getc(f);
    if (c == EOF) break;
    --budget;
    if (c == '\r') {
      int next = std::getc(f);
      if (next == '\n') {
        --budget;
        c = '\n';
      } else if (next != EOF) {
        std::ungetc(next, f);
      }
    }
    buf[n++] = static_cast<char>(c);
    if (c == '\n') break;
  }
  buf[n] = '\0';
  return n > 0;
}

int32_t LenientNumber(const char* text) {
  long v = std::strtol(text, nullptr, 10);
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(v);
}

void ClearRecord() {
  g_puffer.section.clear();
  g_puffer.key.clear();
  g_puffer.value.clear();
  g_puffer.number = 0;
}

// Opens `path` for reading without waiting: a named pipe that nobody writes
// to opens at once and reads as empty instead of blocking the open forever.
std::FILE* OpenForReading(const char* path) {
  int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  std::FILE* f = ::fdopen(fd, "r");
  if (f == nullptr) ::close(fd);
  return f;
}

}  // namespace

KonfigPuffer& Konfig_Puffer() {
  return g_puffer;
}

void Konfig_Lesen(std::string_view section, std::string_view key, int32_t number,
                  const char* path) {
  ClearRecord();
  if (path == nullptr || *path == '\0') return;
  std::FILE* f = OpenForReading(path);
  if (f == nullptr) return;
  long budget = kMaxBytesRead;
  char header_buf[kHeaderPiece];
  char entry_buf[kEntryPiece];
  char number_buf[kEntryPiece];
  for (;;) {
    ReadLine(f, header_buf, kHeaderPiece, budget);
    if (!ReadLine(f, entry_buf, kEntryPiece, budget)) break;
    std::string_view header(header_buf);
    std::string_view entry(entry_buf);

    int32_t h1 = Zeichen_Suchen(header, ';', 1);
    int32_t h2 = Zeichen_Suchen(header, ';', 2);
    Feld_Kopieren(header, h1 + 1, h2 - h1 - 1, g_puffer.section);

    int32_t e1 = Zeichen_Suchen(entry, ';', 1);
    int32_t e2 = Zeichen_Suchen(entry, ';', 2);
    bool has_number = e1 >= 0;
    if (has_number) {
      number_buf[0] = '\0';
      Feld_Kopieren(entry, 0, e1, number_buf, sizeof number_buf);
      g_puffer.number = LenientNumber(number_buf);
    }
    Feld_Kopieren(entry, e1 + 1, e2 - e1 - 1, g_puffer.key);

    int32_t line_break = Zeichen_Suchen(entry, '\n', 1);
    std::string_view without_break = line_break >= 0 ? entry.substr(0, line_break) : entry;
    Feld_Kopieren(without_break, e2 + 1, 0, g_puffer.value);

    bool match = g_puffer.section == section || g_puffer.key == key ||
                 (has_number && g_puffer.number == number);
    if (match) {
      std::string plain;
      Wert_Entschluesseln(g_puffer.value.view(), plain, kKonfigSchluessel);
      g_puffer.value.set(plain);
      std::fill(plain.begin(), plain.end(), '\0');
      std::fclose(f);
      return;
    }
    ClearRecord();
  }
  std::fclose(f);
}
