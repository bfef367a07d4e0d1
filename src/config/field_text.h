// Two text helpers for taking the semicolon-separated fields of a
// configuration line apart.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/fixed_text.h"

// Position (from 0) of the n-th occurrence of `c` in `text`; when the text
// holds fewer than n occurrences (or n is below 1), the position of the last
// one; -1 when there is none or the text is empty.
int32_t Zeichen_Suchen(std::string_view text, char c, int32_t n);

// Copies `length` characters of `text` from position `start` into `target`
// and terminates it. A length of 0 copies from `start` to the end of the
// text; a negative length copies nothing and leaves `target` as it was. A
// start before 0 counts as 0, a start past the end copies nothing (the
// target becomes empty); the copy never runs past the end of the text and is
// cut at the target's capacity (which includes the terminator).
void Feld_Kopieren(std::string_view text, int32_t start, int32_t length, char* target,
                   std::size_t capacity);

template <std::size_t N>
void Feld_Kopieren(std::string_view text, int32_t start, int32_t length, FixedText<N>& target) {
  Feld_Kopieren(text, start, length, target.data(), N);
}
