// Random configuration files and random enciphered values: binary garbage,
// very long lines, no line breaks at all, nothing but ';'. A lookup must
// always end, leave at most the buffer's capacity in the value and never
// read or write outside it; deciphering takes any text.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "config/config_file.h"
#include "config/config_writer.h"
#include "config/value_cipher.h"
#include "support/scratch_dir.h"

namespace fs = std::filesystem;

namespace {

class ConfigStress : public ::testing::Test {
 protected:
  void Write(const std::string& content) {
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out << content;
  }

  // Looks the usual keys up, by key, section and number.
  void LookUpAll() {
    for (const char* key : {"DATABASE", "SCHEMA", "LOGIN", "PASS", "", ";"}) {
      Konfig_Lesen("", key, 0, path_.c_str());
      const KonfigPuffer& p = Konfig_Puffer();
      ASSERT_LT(p.value.length(), p.value.kCapacity);
      ASSERT_LT(p.key.length(), p.key.kCapacity);
      ASSERT_LT(p.section.length(), p.section.kCapacity);
    }
    Konfig_Lesen("PLEXOR", "", -1, path_.c_str());
    Konfig_Lesen("", "", INT32_MIN, path_.c_str());
    Konfig_Lesen("", "", INT32_MAX, path_.c_str());
    ++files_;
  }

  ts::ScratchDir scratch_{"plexor_config_stress"};
  const std::string dir_ = scratch_.path();
  const std::string path_ = dir_ + "/plexor.cfg";
  int files_ = 0;
};

std::string RandomBytes(std::mt19937& rng, size_t n, const std::string& alphabet = "") {
  std::string out(n, '\0');
  for (char& c : out) {
    c = alphabet.empty() ? static_cast<char>(rng() & 0xFF) : alphabet[rng() % alphabet.size()];
  }
  return out;
}

TEST_F(ConfigStress, RandomFilesAreReadToTheirEnd) {
  std::mt19937 rng(18456);
  const std::string config_chars = ";;;;\n\r0123456789ABCDEF-+ PASSLOGINDATABASE\t";
  for (int i = 0; i < 300; ++i) {
    const size_t n = rng() % 3000;
    switch (i % 4) {
      case 0:
        Write(RandomBytes(rng, n));
        break;
      case 1:
        Write(RandomBytes(rng, n, config_chars));
        break;
      case 2:
        Write(std::string(n, ';'));
        break;
      default:
        Write(RandomBytes(rng, n, "0123456789ABCDEF;"));  // no line break at all
        break;
    }
    LookUpAll();
  }
  for (size_t n : {199u, 200u, 201u, 398u, 399u, 400u, 401u, 100000u}) {
    Write(std::string(n, ';') + "\n" + std::string(n, 'F') + "\n" + std::string(n, '9') + ";PASS;" +
          std::string(n, 'A'));
    LookUpAll();
    Write(std::string(n, '\r'));
    LookUpAll();
  }
  // Written files with garbage appended still give their values.
  ASSERT_TRUE(Konfig_Schreiben(path_, "dsn", "dbo", "sa", "secret"));
  {
    std::ofstream out(path_, std::ios::binary | std::ios::app);
    out << RandomBytes(rng, 5000);
  }
  Konfig_Lesen("", "PASS", 0, path_.c_str());
  EXPECT_EQ(Konfig_Puffer().value.view(), "secret");
  EXPECT_GT(files_, 300);
}

TEST_F(ConfigStress, AFileLargerThanTheReadLimitEnds) {
  std::string big;
  for (int i = 0; i < 400000; ++i) big += "x;y;z\n2;K;00\n";  // 5.2 MB that never match
  Write(big + "x;S;z\n1;PASS;" + Wert_Verschluesseln("late", kKonfigSchluessel) + "\n");
  Konfig_Lesen("S", "PASS", 1, path_.c_str());
  EXPECT_TRUE(Konfig_Puffer().value.empty());
  Write("x;S;z\n1;PASS;" + Wert_Verschluesseln("early", kKonfigSchluessel) + "\n" + big);
  Konfig_Lesen("S", "PASS", 1, path_.c_str());
  EXPECT_EQ(Konfig_Puffer().value.view(), "early");
}

TEST_F(ConfigStress, PathsThatAreNoFilesGiveEmptyValues) {
  for (const std::string& path :
       {dir_, std::string("/dev/null"), dir_ + "/missing", std::string()}) {
    Konfig_Lesen("", "PASS", 0, path.c_str());
    EXPECT_TRUE(Konfig_Puffer().value.empty()) << path;
  }
  Konfig_Lesen("", "PASS", 0, nullptr);
  EXPECT_TRUE(Konfig_Puffer().value.empty());
}

TEST(ValueCipherStress, AnyTextDeciphersAndWrittenValuesComeBack) {
  std::mt19937 rng(8115);
  for (int i = 0; i < 5000; ++i) {
    std::string hex = RandomBytes(rng, rng() % 300);
    if (i % 2 == 0) {
      for (char& c : hex) c = "0123456789ABCDEFabcdef;\n"[static_cast<unsigned char>(c) % 24];
    }
    std::string plain = "previous";
    EXPECT_EQ(Wert_Entschluesseln(hex, plain, kKonfigSchluessel), 1);
    EXPECT_LE(plain.size(), (hex.size() + 15) / 16 * 8);
    const std::string key = RandomBytes(rng, rng() % 100);
    Wert_Entschluesseln(hex, plain, key);
    const std::string value = RandomBytes(rng, rng() % 64, "abcXYZ019;'\" ");
    std::string back;
    Wert_Entschluesseln(Wert_Verschluesseln(value, key), back, key);
    EXPECT_EQ(back, value);
  }
}

}  // namespace
