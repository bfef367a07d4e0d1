#include "config/blowfish.h"

#include <cstring>

uint32_t Blowfish_F(const BlowfishState& state, uint32_t x) {
  uint32_t a = (x >> 24) & 0xFF;
  uint32_t b = (x >> 16) & 0xFF;
  uint32_t c = (x >> 8) & 0xFF;
  uint32_t d = x & 0xFF;
  return ((state.S[0][a] + state.S[1][b]) ^ state.S[2][c]) + state.S[3][d];
}

void Blowfish_Encrypt(const BlowfishState& state, uint32_t& left, uint32_t& right) {
  uint32_t l = left;
  uint32_t r = right;
  for (int i = 0; i < 16; ++i) {
    l ^= state.P[i];
    r ^= Blowfish_F(state, l);
    uint32_t t = l;
    l = r;
    r = t;
  }
  uint32_t t = l;
  l = r;
  r = t;
  r ^= state.P[16];
  l ^= state.P[17];
  left = l;
  right = r;
}

void Blowfish_Decrypt(const BlowfishState& state, uint32_t& left, uint32_t& right) {
  uint32_t l = left;
  uint32_t r = right;
  for (int i = 17; i > 1; --i) {
    l ^= state.P[i];
    r ^= Blowfish_F(state, l);
    uint32_t t = l;
    l = r;
    r = t;
  }
  uint32_t t = l;
  l = r;
  r = t;
  r ^= state.P[1];
  l ^= state.P[0];
  left = l;
  right = r;
}

void Blowfish_Init(BlowfishState& state, const unsigned char* key, int32_t key_length) {
  std::memcpy(state.S, blowfish_detail::kInitS, sizeof state.S);
  int32_t k = 0;
  for (int i = 0; i < 18; ++i) {
    uint32_t word = 0;
    if (key != nullptr && key_length > 0) {
      for (int j = 0; j < 4; ++j) {
        word = (word << 8) | key[k];
        k = (k + 1) % key_length;
      }
    }
    state.P[i] = blowfish_detail::kInitP[i] ^ word;
  }
  uint32_t l = 0;
  uint32_t r = 0;
  for (int i = 0; i < 18; i += 2) {
    Blowfish_Encrypt(state, l, r);
    state.P[i] = l;
    state.P[i + 1] = r;
  }
  for (auto& box : state.S) {
    for (int j = 0; j < 256; j += 2) {
      Blowfish_Encrypt(state, l, r);
      box[j] = l;
      box[j + 1] = r;
    }
  }
}

void Blowfish_Clear(BlowfishState& state) {
  volatile unsigned char* p = reinterpret_cast<volatile unsigned char*>(&state);
  for (std::size_t i = 0; i < sizeof state; ++i) p[i] = 0;
}
