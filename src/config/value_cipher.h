// Enciphered configuration values: hexadecimal text (two characters per
// byte, high half first, upper-case A-F), each 16 characters one Blowfish
// block, every block on its own (no chaining). Within a block the first four
// bytes are the left half and the last four the right half, each a
// little-endian word.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The key every configuration value is enciphered with.
inline constexpr std::string_view kKonfigSchluessel = "KORVALD";

// Converts `count` characters of `text` (pairs, high half first) into
// count / 2 bytes of `target`. A character from 'A' to 'F' counts as c - 55,
// any other as c - 48, modulo 256; so lower-case letters and other
// characters are not rejected but give other byte values.
void Hex_Wandeln(const char* text, int32_t count, unsigned char* target);

// Deciphers `hex` block by block with `key` and leaves the plain text in
// `target`: the deciphered bytes up to the first zero byte, or all of them
// (8 per block) when there is none. A last block of fewer than 16 characters
// is filled up with '0' characters. The key schedule is wiped before the
// routine returns. Result 1.
int32_t Wert_Entschluesseln(std::string_view hex, std::string& target, std::string_view key);

// The inverse for writing configuration files: `plain` padded with zero
// bytes to whole blocks (a text of exactly 8 * n bytes gets no extra block,
// an empty text gives an empty result), enciphered and written as upper-case
// hexadecimal text.
std::string Wert_Verschluesseln(std::string_view plain, std::string_view key);
