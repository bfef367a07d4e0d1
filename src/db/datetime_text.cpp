#include "db/datetime_text.h"

#include <cstring>

namespace db {

void DatZeit_Kompakt(const char* style120, FixedText<15>& target) {
  static constexpr int kPositions[14] = {0, 1, 2, 3, 5, 6, 8, 9, 11, 12, 14, 15, 17, 18};
  target.clear();
  if (style120 == nullptr) return;
  std::size_t len = strnlen(style120, 19);
  int out = 0;
  for (int pos : kPositions) {
    if (static_cast<std::size_t>(pos) >= len) break;
    target.buf[out++] = style120[pos];
  }
  target.buf[out] = '\0';
}

void DatZeit_Sql(const char* compact, FixedText<20>& target) {
  target.clear();
  if (compact == nullptr) return;
  std::size_t len = strnlen(compact, 14);
  int out = 0;
  for (std::size_t i = 0; i < len; ++i) {
    target.buf[out++] = compact[i];
    if (i == 3 || i == 5) target.buf[out++] = '-';
    if (i == 7) target.buf[out++] = ' ';
    if (i == 9 || i == 11) target.buf[out++] = ':';
  }
  target.buf[out > 19 ? 19 : out] = '\0';
}

}  // namespace db
