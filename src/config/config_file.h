// The configuration file: two-line records, a header line
// "<any>;<section>;<any>" followed by an entry line "<number>;<key>;<value>",
// the value enciphered (see value_cipher.h) with the fixed key
// kKonfigSchluessel.
//
// Konfig_Lesen reads the file from its beginning and stops at the first record
// whose section, key or number equals the one asked for (any one of the three
// suffices). Its process-wide buffers are reused by every lookup: afterwards
// the value buffer holds the deciphered value of the matching record, or
// empty text when the file cannot be opened or no record matches. Nothing is
// reported. Lines are read like text-mode lines of at most 199 (header) and
// 399 (entry) characters including the line break; a carriage return before
// the line break is dropped; a longer line is split and its remainder read as
// the next line. An entry line without any ";" has no number and never
// matches by number. The line break never belongs to the value.
#pragma once

#include <cstdint>
#include <string_view>

#include "common/fixed_text.h"

// The record under examination; after a lookup, `value` holds the result.
struct KonfigPuffer {
  FixedText<201> section;
  FixedText<201> key;
  FixedText<201> value;
  int32_t number = 0;
};

KonfigPuffer& Konfig_Puffer();

void Konfig_Lesen(std::string_view section, std::string_view key, int32_t number, const char* path);
