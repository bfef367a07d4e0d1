// Looking values up in the configuration file, its field helpers, and the
// writer that produces files the job reads.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "config/config_file.h"
#include "config/config_writer.h"
#include "config/field_text.h"
#include "config/value_cipher.h"
#include "support/scratch_dir.h"

namespace fs = std::filesystem;

namespace {

std::string Enc(const std::string& plain) {
  return Wert_Verschluesseln(plain, kKonfigSchluessel);
}

class ConfigFileTest : public ::testing::Test {
 protected:
  void Write(const std::string& content) {
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out << content;
  }
  // The job's way of asking: empty section, number 0.
  std::string Lookup(const std::string& key) {
    Konfig_Lesen("", key, 0, path_.c_str());
    return std::string(Konfig_Puffer().value.view());
  }

  ts::ScratchDir scratch_{"plexor_config"};
  const std::string dir_ = scratch_.path();
  const std::string path_ = dir_ + "/plexor.cfg";
};

TEST_F(ConfigFileTest, WriterOutputIsReadBackByKey) {
  ASSERT_TRUE(Konfig_Schreiben(path_, "plexor_dsn", "dbo", "sa", "p;a\"ss'w0rd"));
  EXPECT_EQ(Lookup("DATABASE"), "plexor_dsn");
  EXPECT_EQ(Lookup("SCHEMA"), "dbo.");
  EXPECT_EQ(Lookup("LOGIN"), "sa");
  EXPECT_EQ(Lookup("PASS"), "p;a\"ss'w0rd");
  EXPECT_EQ(Lookup("OTHER"), "");
}

TEST_F(ConfigFileTest, WriterFormatIsHeaderAndNumberedEntries) {
  ASSERT_TRUE(Konfig_Schreiben(path_, "d", "s", "l", "p"));
  std::ifstream in(path_);
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, ";plexor;");
  std::getline(in, line);
  EXPECT_EQ(line, "1;DATABASE;" + Enc("d"));
  std::getline(in, line);
  std::getline(in, line);
  EXPECT_EQ(line, "2;SCHEMA;" + Enc("s."));
}

TEST_F(ConfigFileTest, WriterRefusesValuesTheJobCannotRead) {
  std::string longest(kKonfigMaxWert, 'x');
  EXPECT_TRUE(Konfig_Schreiben(path_, longest, "s", "l", "p"));
  EXPECT_EQ(Lookup("DATABASE"), longest);
  fs::remove(path_);
  EXPECT_FALSE(Konfig_Schreiben(path_, longest + "x", "s", "l", "p"));
  EXPECT_FALSE(fs::exists(path_));
  EXPECT_TRUE(Konfig_Schreiben(path_, "d", std::string(kKonfigMaxSchema, 's'), "l", "p"));
  EXPECT_FALSE(Konfig_Schreiben(path_, "d", std::string(kKonfigMaxSchema + 1, 's'), "l", "p"));
  EXPECT_FALSE(Konfig_Schreiben(path_, "d", "s", std::string("a\0b", 3), "p"));
  EXPECT_FALSE(Konfig_Schreiben(dir_ + "/missing/dir/x.cfg", "d", "s", "l", "p"));
}

TEST_F(ConfigFileTest, MissingFileOrEmptyPathGivesEmptyValue) {
  EXPECT_EQ(Lookup("DATABASE"), "");
  Konfig_Lesen("", "DATABASE", 0, nullptr);
  EXPECT_TRUE(Konfig_Puffer().value.empty());
  Konfig_Lesen("", "DATABASE", 0, "");
  EXPECT_TRUE(Konfig_Puffer().value.empty());
  Konfig_Lesen("", "DATABASE", 0, dir_.c_str());  // a directory
  EXPECT_TRUE(Konfig_Puffer().value.empty());
}

TEST_F(ConfigFileTest, EveryLookupClearsTheBuffersFirst) {
  ASSERT_TRUE(Konfig_Schreiben(path_, "d", "s", "l", "p"));
  EXPECT_EQ(Lookup("LOGIN"), "l");
  EXPECT_EQ(Lookup("NOPE"), "");
  EXPECT_TRUE(Konfig_Puffer().key.empty());
  EXPECT_TRUE(Konfig_Puffer().section.empty());
  EXPECT_EQ(Konfig_Puffer().number, 0);
}

TEST_F(ConfigFileTest, NumberZeroOrNoLeadingDigitsMatchesEveryLookup) {
  Write(";s;\n0;OTHER;" + Enc("zero") + "\n;s;\n1;DATABASE;" + Enc("db") + "\n");
  EXPECT_EQ(Lookup("DATABASE"), "zero");
  EXPECT_EQ(Lookup("PASS"), "zero");
  Write(";s;\nx7;OTHER;" + Enc("letters") + "\n;s;\n1;DATABASE;" + Enc("db") + "\n");
  EXPECT_EQ(Lookup("DATABASE"), "letters");
  Write(";s;\n  -0;OTHER;" + Enc("blanks") + "\n");
  EXPECT_EQ(Lookup("DATABASE"), "blanks");
  // Leading blanks and a sign are read; digits after other characters are not.
  Write(";s;\n 12abc;OTHER;" + Enc("twelve") + "\n");
  Konfig_Lesen("zzz", "zzz", 12, path_.c_str());
  EXPECT_EQ(Konfig_Puffer().value, "twelve");
}

TEST_F(ConfigFileTest, HeaderWithFewerThanTwoSemicolonsHasEmptySection) {
  Write("plexor\n5;OTHER;" + Enc("nosemi") + "\n");
  EXPECT_EQ(Lookup("DATABASE"), "nosemi");
  Write(";plexor\n5;OTHER;" + Enc("onesemi") + "\n");
  EXPECT_EQ(Lookup("DATABASE"), "onesemi");
}

TEST_F(ConfigFileTest, EmptySectionTakesTheRestOfTheHeaderLine) {
  Write("x;;rest\n5;OTHER;" + Enc("v") + "\n;s;\n1;DATABASE;" + Enc("db") + "\n");
  EXPECT_EQ(Lookup("DATABASE"), "db");
  Konfig_Lesen(";rest\n", "zzz", 99, path_.c_str());
  EXPECT_EQ(Konfig_Puffer().value, "v");
}

TEST_F(ConfigFileTest, EmptyKeyTakesTheRestOfTheEntryLine) {
  std::string hex = Enc("v");
  Write(";s;\n5;;" + hex + "\n");
  Konfig_Lesen("zzz", "", 99, path_.c_str());
  EXPECT_TRUE(Konfig_Puffer().value.empty());  // the key is ";<hex>\n", not empty
  Konfig_Lesen("zzz", ";" + hex + "\n", 99, path_.c_str());
  EXPECT_EQ(Konfig_Puffer().value, "v");
}

TEST_F(ConfigFileTest, EntryWithOneSemicolonHasEmptyKeyAndValueAfterIt) {
  Write(";s;\n5;" + Enc("one") + "\n");
  Konfig_Lesen("zzz", "", 99, path_.c_str());
  EXPECT_EQ(Konfig_Puffer().value, "one");
  Konfig_Lesen("zzz", "zzz", 5, path_.c_str());
  EXPECT_EQ(Konfig_Puffer().value, "one");
}

TEST_F(ConfigFileTest, EntryWithoutSemicolonNeverMatchesByNumber) {
  Write(";s;\n0\n;s;\n1;DATABASE;" + Enc("db") + "\n");
  EXPECT_EQ(Lookup("DATABASE"), "db");
  Write(";s;\nnothing here\n");
  Konfig_Lesen("zzz", "zzz", 0, path_.c_str());
  EXPECT_TRUE(Konfig_Puffer().value.empty());
}

TEST_F(ConfigFileTest, FirstMatchWins) {
  Write(";s;\n1;LOGIN;" + Enc("first") + "\n;s;\n2;LOGIN;" + Enc("second") + "\n");
  EXPECT_EQ(Lookup("LOGIN"), "first");
  Konfig_Lesen("zzz", "zzz", 2, path_.c_str());
  EXPECT_EQ(Konfig_Puffer().value, "second");
  Konfig_Lesen("s", "zzz", 2, path_.c_str());
  EXPECT_EQ(Konfig_Puffer().value, "first");
}

TEST_F(ConfigFileTest, KeysAndSectionsAreCaseSensitiveAndNotTrimmed) {
  Write(";s;\n1;login;" + Enc("lower") + "\n;s;\n2;LOGIN ;" + Enc("blank") + "\n");
  EXPECT_EQ(Lookup("LOGIN"), "");
  EXPECT_EQ(Lookup("login"), "lower");
  EXPECT_EQ(Lookup("LOGIN "), "blank");
}

TEST_F(ConfigFileTest, CarriageReturnBeforeLineBreakIsDropped) {
  Write(";plexor;\r\n1;DATABASE;" + Enc("crlf") + "\r\n;plexor;\r\n2;SCHEMA;" + Enc("dbo.") +
        "\r\n");
  EXPECT_EQ(Lookup("DATABASE"), "crlf");
  EXPECT_EQ(Lookup("SCHEMA"), "dbo.");
  Konfig_Lesen("plexor", "zzz", 99, path_.c_str());
  EXPECT_EQ(Konfig_Puffer().value, "crlf");
}

TEST_F(ConfigFileTest, LastLineWithoutLineBreakAndEmptyValue) {
  Write(";s;\n1;DATABASE;" + Enc("last"));
  EXPECT_EQ(Lookup("DATABASE"), "last");
  Write(";s;\n1;DATABASE;\n");
  EXPECT_EQ(Lookup("DATABASE"), "");
  Write(";s;\n");
  EXPECT_EQ(Lookup("DATABASE"), "");
}

TEST_F(ConfigFileTest, LowerCaseHexDecodesToOtherBytes) {
  std::string hex = Enc("value");
  std::string lower = hex;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  ASSERT_NE(lower, hex);
  Write(";s;\n1;DATABASE;" + lower + "\n");
  EXPECT_NE(Lookup("DATABASE"), "value");
}

TEST_F(ConfigFileTest, OverlongLinesAreSplitAndPutLaterRecordsOutOfStep) {
  // An entry line of 450 characters: its first 399 are the entry, the rest
  // becomes the next header, and the real next header becomes an entry.
  std::string key(440, 'K');
  Write(";s;\n7;" + key + ";00\n;s;\n1;DATABASE;" + Enc("db") + "\n");
  EXPECT_EQ(Lookup("DATABASE"), "");
  Konfig_Lesen("zzz", "zzz", 7, path_.c_str());
  // Key and value are cut to the 200-character buffers.
  EXPECT_EQ(Konfig_Puffer().key.length(), 0u);
  EXPECT_LE(Konfig_Puffer().value.length(), 200u);
  // A header of 250 characters is split too; nothing here may overflow.
  Write(std::string(250, ';') + "\n1;DATABASE;" + Enc("db") + "\n");
  Lookup("DATABASE");
  EXPECT_LE(Konfig_Puffer().section.length(), 200u);
}

TEST_F(ConfigFileTest, LongKeyIsCutToTheBuffer) {
  std::string key(300, 'K');
  Write(";s;\n7;" + key + ";" + Enc("v") + "\n");
  Konfig_Lesen("zzz", key.substr(0, 200), 99, path_.c_str());
  EXPECT_EQ(Konfig_Puffer().value, "v");
}

TEST_F(ConfigFileTest, EndlessInputIsNotReadForever) {
  Konfig_Lesen("", "DATABASE", 0, "/dev/zero");
  EXPECT_TRUE(Konfig_Puffer().value.empty());
}

// A named pipe that nobody writes to: opening it must not wait for a writer.
TEST_F(ConfigFileTest, PipeWithoutWriterIsAnEmptyFile) {
  const std::string fifo = dir_ + "/plexor.fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EXIT(
      {
        alarm(5);
        Konfig_Lesen("", "DATABASE", 0, fifo.c_str());
        std::_Exit(Konfig_Puffer().value.empty() ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST(FieldTextTest, ZeichenSuchen) {
  EXPECT_EQ(Zeichen_Suchen("a;b;c", ';', 1), 1);
  EXPECT_EQ(Zeichen_Suchen("a;b;c", ';', 2), 3);
  EXPECT_EQ(Zeichen_Suchen("a;b;c", ';', 3), 3);  // fewer than n: the last one
  EXPECT_EQ(Zeichen_Suchen("a;b;c", ';', 0), 3);
  EXPECT_EQ(Zeichen_Suchen("abc", ';', 1), -1);
  EXPECT_EQ(Zeichen_Suchen("", ';', 1), -1);
  EXPECT_EQ(Zeichen_Suchen(";", ';', 1), 0);
}

TEST(FieldTextTest, FeldKopieren) {
  FixedText<10> t;
  Feld_Kopieren("abcdef", 1, 3, t);
  EXPECT_EQ(t, "bcd");
  Feld_Kopieren("abcdef", 2, 0, t);  // 0: to the end
  EXPECT_EQ(t, "cdef");
  Feld_Kopieren("abcdef", 2, -1, t);  // negative: target unchanged
  EXPECT_EQ(t, "cdef");
  Feld_Kopieren("abcdef", 4, 10, t);  // never past the end of the text
  EXPECT_EQ(t, "ef");
  Feld_Kopieren("abcdef", 6, 0, t);
  EXPECT_EQ(t, "");
  Feld_Kopieren("abcdef", 99, 2, t);
  EXPECT_EQ(t, "");
  Feld_Kopieren("abcdef", -5, 2, t);
  EXPECT_EQ(t, "ab");
  Feld_Kopieren("0123456789abcdef", 0, 0, t);  // cut at the capacity
  EXPECT_EQ(t, "012345678");
}

}  // namespace
