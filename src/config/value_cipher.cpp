#include "config/value_cipher.h"

#include <cstring>

#include "config/blowfish.h"

namespace {

uint32_t LoadLittleEndian(const unsigned char* b) {
  return static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
         static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24;
}

void StoreLittleEndian(uint32_t w, unsigned char* b) {
  b[0] = static_cast<unsigned char>(w);
  b[1] = static_cast<unsigned char>(w >> 8);
  b[2] = static_cast<unsigned char>(w >> 16);
  b[3] = static_cast<unsigned char>(w >> 24);
}

unsigned char HexDigitValue(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  return static_cast<unsigned char>(u >= 'A' && u <= 'F' ? u - 55 : u - 48);
}

void InitWithKey(BlowfishState& state, std::string_view key) {
  Blowfish_Init(state, reinterpret_cast<const unsigned char*>(key.data()),
                static_cast<int32_t>(key.size() > 72 ? 72 : key.size()));
}

}  // namespace

void Hex_Wandeln(const char* text, int32_t count, unsigned char* target) {
  if (text == nullptr || target == nullptr) return;
  for (int32_t i = 0; i + 1 < count; i += 2) {
    target[i / 2] =
        static_cast<unsigned char>(HexDigitValue(text[i]) * 16 + HexDigitValue(text[i + 1]));
  }
}

int32_t Wert_Entschluesseln(std::string_view hex, std::string& target, std::string_view key) {
  BlowfishState state;
  InitWithKey(state, key);
  std::string plain;
  plain.reserve(hex.size() / 2 + 8);
  for (std::size_t b = 0; 16 * b < hex.size(); ++b) {
    char block_text[16];
    std::memset(block_text, '0', sizeof block_text);
    std::string_view piece = hex.substr(16 * b, 16);
    std::memcpy(block_text, piece.data(), piece.size());
    unsigned char block[8];
    Hex_Wandeln(block_text, 16, block);
    uint32_t left = LoadLittleEndian(block);
    uint32_t right = LoadLittleEndian(block + 4);
    Blowfish_Decrypt(state, left, right);
    StoreLittleEndian(left, block);
    StoreLittleEndian(right, block + 4);
    plain.append(reinterpret_cast<const char*>(block), sizeof block);
  }
  Blowfish_Clear(state);
  std::size_t nul = plain.find('\0');
  if (nul != std::string::npos) plain.resize(nul);
  target = plain;
  std::fill(plain.begin(), plain.end(), '\0');
  return 1;
}

std::string Wert_Verschluesseln(std::string_view plain, std::string_view key) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  BlowfishState state;
  InitWithKey(state, key);
  std::string hex;
  for (std::size_t pos = 0; pos < plain.size(); pos += 8) {
    unsigned char block[8] = {};
    std::string_view piece = plain.substr(pos, 8);
    std::memcpy(block, piece.data(), piece.size());
    uint32_t left = LoadLittleEndian(block);
    uint32_t right = LoadLittleEndian(block + 4);
    Blowfish_Encrypt(state, left, right);
    StoreLittleEndian(left, block);
    StoreLittleEndian(right, block + 4);
    for (unsigned char byte : block) {
      hex += kDigits[byte >> 4];
      hex += kDigits[byte & 0x0F];
    }
  }
  Blowfish_Clear(state);
  return hex;
}
