// The Blowfish block cipher: 64-bit blocks as two 32-bit halves, 16 rounds,
// the standard initial P-array and S-boxes and the standard key schedule.
// Key bytes enter the P-array cyclically, four per word, first byte most
// significant. The state is the whole key schedule; callers that hold a
// secret in it wipe it with Blowfish_Clear when they are done.
#pragma once

#include <cstdint>

struct BlowfishState {
  uint32_t P[18];
  uint32_t S[4][256];
};

namespace blowfish_detail {
extern const uint32_t kInitP[18];
extern const uint32_t kInitS[4][256];
}  // namespace blowfish_detail

// Builds the key schedule from `key_length` bytes of `key`. A key of length 0
// (or a null key) leaves the P-array unmixed, which is still a valid schedule.
void Blowfish_Init(BlowfishState& state, const unsigned char* key, int32_t key_length);

void Blowfish_Encrypt(const BlowfishState& state, uint32_t& left, uint32_t& right);
void Blowfish_Decrypt(const BlowfishState& state, uint32_t& left, uint32_t& right);

// The round function.
uint32_t Blowfish_F(const BlowfishState& state, uint32_t x);

// Overwrites the whole key schedule with zeros (not optimised away).
void Blowfish_Clear(BlowfishState& state);
