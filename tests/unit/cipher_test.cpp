// The Blowfish cipher and the hexadecimal value encoding of configuration
// values.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "config/blowfish.h"
#include "config/value_cipher.h"

namespace {

std::vector<unsigned char> Bytes(const std::string& hex) {
  std::vector<unsigned char> out(hex.size() / 2);
  Hex_Wandeln(hex.c_str(), static_cast<int32_t>(hex.size()), out.data());
  return out;
}

uint32_t BigEndianWord(const std::vector<unsigned char>& b, std::size_t at) {
  return static_cast<uint32_t>(b[at]) << 24 | static_cast<uint32_t>(b[at + 1]) << 16 |
         static_cast<uint32_t>(b[at + 2]) << 8 | static_cast<uint32_t>(b[at + 3]);
}

struct Vector {
  const char* key;
  const char* plain;
  const char* cipher;
};

// Published electronic-codebook test vectors; blocks written big-endian.
const Vector kVectors[] = {
    {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
    {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
    {"3000000000000000", "1000000000000001", "7D856F9A613063F2"},
    {"1111111111111111", "1111111111111111", "2466DD878B963C9D"},
    {"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
    {"1111111111111111", "0123456789ABCDEF", "7D0CC630AFDA1EC7"},
    {"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
    {"7CA110454A1A6E57", "01A1D6D039776742", "59C68245EB05282B"},
    {"0131D9619DC1376E", "5CD54CA83DEF57DA", "B1B8CC0B250F09A0"},
    {"07A1133E4A0B2686", "0248D43806F67172", "1730E5778BEA1DA4"},
    {"0101010101010101", "0123456789ABCDEF", "FA34EC4847B268B2"},
    {"1F1F1F1F0E0E0E0E", "0123456789ABCDEF", "A790795108EA3CAE"},
    {"E0FEE0FEF1FEF1FE", "0123456789ABCDEF", "C39E072D9FAC631D"},
    {"FEDCBA9876543210", "FFFFFFFFFFFFFFFF", "6B5C5A9C5D9E0A5A"},
};

// Variable key length: the first n bytes of this key, plain FEDCBA9876543210.
const char kLongKey[] = "F0E1D2C3B4A5968778695A4B3C2D1E0F0011223344556677";
const char* const kByKeyLength[] = {
    "F9AD597C49DB005E", "E91D21C1D961A6D6", "E9C2B70A1BC65CF3", "BE1E639408640F05",
    "B39E44481BDB1E6E", "9457AA83B1928C0D", "8BB77032F960629D", "E87A244E2CC85E82",
    "15750E7A4F4EC577", "122BA70B3AB64AE0", "3A833C9AFFC537F6", "9409DA87A90F6BF2",
    "884F80625060B8B4", "1F85031C19E11968", "79D9373A714CA34F", "93142887EE3BE15C",
    "03429E838CE2D14B", "A4299E27469FF67B", "AFD5AED1C1BC96A8", "10851C0E3858DA9F",
    "E6F51ED79B9DB21F", "64A6E14AFD36B46F", "80C7D7D45A5479AD", "05044B62FA52D080",
};

TEST(BlowfishTest, PublishedVectorsEncryptAndDecrypt) {
  for (const Vector& v : kVectors) {
    SCOPED_TRACE(v.key);
    std::vector<unsigned char> key = Bytes(v.key);
    std::vector<unsigned char> plain = Bytes(v.plain);
    std::vector<unsigned char> cipher = Bytes(v.cipher);
    BlowfishState state;
    Blowfish_Init(state, key.data(), static_cast<int32_t>(key.size()));
    uint32_t l = BigEndianWord(plain, 0);
    uint32_t r = BigEndianWord(plain, 4);
    Blowfish_Encrypt(state, l, r);
    EXPECT_EQ(l, BigEndianWord(cipher, 0));
    EXPECT_EQ(r, BigEndianWord(cipher, 4));
    Blowfish_Decrypt(state, l, r);
    EXPECT_EQ(l, BigEndianWord(plain, 0));
    EXPECT_EQ(r, BigEndianWord(plain, 4));
  }
}

TEST(BlowfishTest, KeyBytesAreTakenCyclicallyFirstByteMostSignificant) {
  std::vector<unsigned char> key = Bytes(kLongKey);
  std::vector<unsigned char> plain = Bytes("FEDCBA9876543210");
  for (int n = 1; n <= 24; ++n) {
    SCOPED_TRACE(n);
    BlowfishState state;
    Blowfish_Init(state, key.data(), n);
    uint32_t l = BigEndianWord(plain, 0);
    uint32_t r = BigEndianWord(plain, 4);
    Blowfish_Encrypt(state, l, r);
    std::vector<unsigned char> cipher = Bytes(kByKeyLength[n - 1]);
    EXPECT_EQ(l, BigEndianWord(cipher, 0));
    EXPECT_EQ(r, BigEndianWord(cipher, 4));
  }
}

TEST(BlowfishTest, EmptyKeyStillGivesAWorkingSchedule) {
  BlowfishState state;
  Blowfish_Init(state, nullptr, 0);
  uint32_t l = 0x01234567, r = 0x89ABCDEF;
  Blowfish_Encrypt(state, l, r);
  EXPECT_FALSE(l == 0x01234567 && r == 0x89ABCDEF);
  Blowfish_Decrypt(state, l, r);
  EXPECT_EQ(l, 0x01234567u);
  EXPECT_EQ(r, 0x89ABCDEFu);
}

TEST(BlowfishTest, ClearZeroesTheWholeSchedule) {
  BlowfishState state;
  Blowfish_Init(state, reinterpret_cast<const unsigned char*>("KORVALD"), 7);
  Blowfish_Clear(state);
  for (uint32_t p : state.P) EXPECT_EQ(p, 0u);
  for (const auto& box : state.S)
    for (uint32_t s : box) ASSERT_EQ(s, 0u);
}

TEST(HexTest, UpperCaseDigitsAndLettersGiveTheirBytes) {
  std::vector<unsigned char> b = Bytes("00FF7A09");
  ASSERT_EQ(b.size(), 4u);
  EXPECT_EQ(b[0], 0x00);
  EXPECT_EQ(b[1], 0xFF);
  EXPECT_EQ(b[2], 0x7A);
  EXPECT_EQ(b[3], 0x09);
}

TEST(HexTest, LowerCaseAndOtherCharactersAreNotRejectedButDecodeDifferently) {
  // 'a' counts as 97 - 48 = 49, 'b' as 50: 49 * 16 + 50 = 834, modulo 256 = 66.
  EXPECT_EQ(Bytes("ab")[0], 66);
  EXPECT_NE(Bytes("ab")[0], Bytes("AB")[0]);
  // 'G' is not a hex letter: 71 - 48 = 23; 23 * 16 + 0 = 368 modulo 256 = 112.
  EXPECT_EQ(Bytes("G0")[0], 112);
}

// The job stores the two halves little-endian: the published vector with key
// 0123456789ABCDEF and plain 11..11 (cipher words 61F9C380, 2281B096) appears
// with each word's bytes reversed.
TEST(ValueCipherTest, BlockHalvesAreLittleEndian) {
  std::vector<unsigned char> key = Bytes("0123456789ABCDEF");
  std::string key_text(key.begin(), key.end());
  std::string plain(8, '\x11');
  EXPECT_EQ(Wert_Verschluesseln(plain, key_text), "80C3F96196B08122");
  std::string out;
  EXPECT_EQ(Wert_Entschluesseln("80C3F96196B08122", out, key_text), 1);
  EXPECT_EQ(out, plain);
}

TEST(ValueCipherTest, RoundTripWithTheConfigurationKey) {
  for (std::string plain : {"", "a", "DSN", "exactly8", "sixteen chars!!!", "seventeen chars!!",
                            "with ; and \n and \xC3\xA4"}) {
    SCOPED_TRACE(plain);
    std::string hex = Wert_Verschluesseln(plain, kKonfigSchluessel);
    EXPECT_EQ(hex.size() % 16, 0u);
    EXPECT_EQ(hex.size(), (plain.size() + 7) / 8 * 16);
    EXPECT_EQ(hex.find_first_not_of("0123456789ABCDEF"), std::string::npos);
    std::string back;
    Wert_Entschluesseln(hex, back, kKonfigSchluessel);
    EXPECT_EQ(back, plain);
  }
}

TEST(ValueCipherTest, BlocksAreEncipheredIndependently) {
  std::string hex = Wert_Verschluesseln("ABCDEFGHABCDEFGH", kKonfigSchluessel);
  ASSERT_EQ(hex.size(), 32u);
  EXPECT_EQ(hex.substr(0, 16), hex.substr(16, 16));
  std::string second_only;
  Wert_Entschluesseln(hex.substr(16), second_only, kKonfigSchluessel);
  EXPECT_EQ(second_only, "ABCDEFGH");
}

TEST(ValueCipherTest, PlainTextEndsAtTheFirstZeroByte) {
  std::string hex = Wert_Verschluesseln(std::string("abc\0def", 7), kKonfigSchluessel);
  std::string out;
  Wert_Entschluesseln(hex, out, kKonfigSchluessel);
  EXPECT_EQ(out, "abc");
  // Eight and sixteen characters fill their blocks completely and are kept.
  Wert_Entschluesseln(Wert_Verschluesseln("12345678", kKonfigSchluessel), out, kKonfigSchluessel);
  EXPECT_EQ(out, "12345678");
}

TEST(ValueCipherTest, OneBlockGivesAtMostEightCharacters) {
  std::string hex = Wert_Verschluesseln("0123456789", kKonfigSchluessel);
  std::string out;
  Wert_Entschluesseln(hex.substr(0, 16), out, kKonfigSchluessel);
  EXPECT_EQ(out, "01234567");
}

TEST(ValueCipherTest, WrongKeyOrPartialBlockDoesNotCrash) {
  std::string hex = Wert_Verschluesseln("secret", kKonfigSchluessel);
  std::string out;
  Wert_Entschluesseln(hex, out, "OTHER");
  EXPECT_NE(out, "secret");
  // A partial last block is filled up with '0' characters: same as padding.
  std::string padded;
  Wert_Entschluesseln(hex.substr(0, 10), out, kKonfigSchluessel);
  Wert_Entschluesseln(hex.substr(0, 10) + "000000", padded, kKonfigSchluessel);
  EXPECT_EQ(out, padded);
  EXPECT_LE(out.size(), 8u);
}

}  // namespace
