#include "config/field_text.h"

#include <cstring>

int32_t Zeichen_Suchen(std::string_view text, char c, int32_t n) {
  int32_t found = -1;
  int32_t count = 0;
  for (std::size_t i = 0; i < text.size() && i <= INT32_MAX; ++i) {
    if (text[i] != c) continue;
    found = static_cast<int32_t>(i);
    if (++count == n) break;
  }
  return found;
}

void Feld_Kopieren(std::string_view text, int32_t start, int32_t length, char* target,
                   std::size_t capacity) {
  if (length < 0 || target == nullptr || capacity == 0) return;
  std::size_t from = start < 0 ? 0 : static_cast<std::size_t>(start);
  std::size_t n = 0;
  if (from < text.size()) {
    std::size_t rest = text.size() - from;
    n = (length == 0 || static_cast<std::size_t>(length) > rest) ? rest
                                                                 : static_cast<std::size_t>(length);
  }
  if (n > capacity - 1) n = capacity - 1;
  if (n > 0) std::memmove(target, text.data() + from, n);
  target[n] = '\0';
}
