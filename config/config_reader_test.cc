#include "config/config_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/value_cipher.h"
#include "tests/support/temp_dir.h"

namespace {

std::string hexOf(const std::string& plain) {
  std::vector<char> hex(16 * (plain.size() / 8 + 1) + 1);
  EXPECT_EQ(encryptConfigValue(plain.c_str(), hex.data(), hex.size(), kConfigKeyText), 1);
  return hex.data();
}

const std::string kHexAbc = hexOf("abc");

ConfigEntry lookUp(const std::string& fileBytes, const char* group, const char* key, int32_t number) {
  TempDir dir;
  const std::string path = dir.write("zarnik.ini", fileBytes);
  ConfigEntry entry;
  entry.number = 99;
  entry.key.assign("stale");
  readConfigValue(group, key, number, path.c_str(), entry);
  return entry;
}

void expectReset(const ConfigEntry& entry) {
  EXPECT_EQ(entry.number, 0);
  EXPECT_TRUE(entry.group.empty());
  EXPECT_TRUE(entry.key.empty());
  EXPECT_TRUE(entry.value.empty());
  EXPECT_FALSE(entry.valueTooLong);
}

TEST(FindCharPosition, FindsTheNthOrTheLastOccurrence) {
  const struct {
    const char* text;
    int n;
    int position;
  } cases[] = {
      {"a;b;c", 1, 1}, {"a;b;c", 2, 3}, {";;", 2, 1}, {"a;b", 2, 1}, {"abc", 1, -1}, {"", 1, -1}, {";", 1, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(findCharPosition(c.text, ';', c.n), c.position) << c.text << " " << c.n;
}

TEST(CopyFieldText, CopiesALengthOrTheRestAndIgnoresANegativeLength) {
  const struct {
    int start, length;
    const char* result;
    bool fits;
  } cases[] = {
      {2, 3, "cde", true},         {2, 0, "cdefghij", true},
      {1, 0, "bcdefghij", true},   {2, -1, "kept", true},
      {10, 0, "", true},           {0, 0, "abcdefghi", false},  // ten characters, cut to the field's nine
      {0, 12, "abcdefghi", false},                              // kept within the source, then cut
  };
  for (const auto& c : cases) {
    FixedText<10> field;
    field.assign("kept");
    EXPECT_EQ(copyFieldText("abcdefghij", c.start, c.length, field), c.fits) << c.start << "," << c.length;
    EXPECT_STREQ(field.c_str(), c.result) << c.start << "," << c.length;
  }
}

TEST(ReadConfigValue, DeciphersTheEntriesOfTheSampleFile) {
  const std::string path = ZARNIK_SOURCE_DIR "/tests/data/sample.ini";
  const struct {
    const char* key;
    int32_t number;
    const char* group;
    const char* plain;
  } cases[] = {
      {"NET8", 1, "DATENBANK", "localhost"},
      {"SCHEMA", 2, "DATENBANK", "qvs_demo;"},
      {"LOGIN", 3, "DATENBANK", "zarnik"},
      {"PASS", 4, "DATENBANK", "Kst'Wechsel\\2026"},
      {"TITEL", 5, "ANZEIGE", "Kostenstellenwechsel"},
      {"ACHT", 6, "ANZEIGE", "12345678"},
  };
  for (const auto& c : cases) {
    ConfigEntry entry;
    readConfigValue("", c.key, 0, path.c_str(), entry);
    EXPECT_STREQ(entry.value.c_str(), c.plain) << c.key;
    EXPECT_STREQ(entry.key.c_str(), c.key);
    EXPECT_EQ(entry.number, c.number);
    EXPECT_STREQ(entry.group.c_str(), c.group) << c.key;
  }
}

// The group of a pair, for every shape of group line; the pair is taken by
// its key.
TEST(ReadConfigValue, TakesTheGroupFromTheGroupLineShapes) {
  const struct {
    const char* groupLine;
    const char* group;
  } cases[] = {
      {";DATENBANK;", "DATENBANK"}, {"x;G1;rest;more", "G1"},
      {"x;;rest", ";rest\n"},  // adjacent semicolons: the rest, line feed included
      {";only one semicolon", ""},  {"[section]", ""},
  };
  for (const auto& c : cases) {
    const ConfigEntry entry =
        lookUp(std::string(c.groupLine) + "\r\n7;K;" + kHexAbc + "\r\n", "unused", "K", 55);
    EXPECT_STREQ(entry.group.c_str(), c.group) << c.groupLine;
    EXPECT_STREQ(entry.value.c_str(), "abc") << c.groupLine;
  }
}

// Number, key and value for every shape of value line; the pair is taken by
// its group.
TEST(ReadConfigValue, SplitsTheValueLineShapes) {
  const struct {
    std::string valueLine;
    int32_t number;
    std::string key;
    const char* value;
  } cases[] = {
      {"12;KEY;" + kHexAbc, 12, "KEY", "abc"},
      {"12;;" + kHexAbc, 12, ";" + kHexAbc + "\n", "abc"},  // key: the rest of the line
      {"12;KEY;", 12, "KEY", ""},                           // value: a lone line feed
      {"12;" + kHexAbc, 12, "", "abc"},                     // one semicolon: no key
      {kHexAbc, 0, "", "abc"},                              // none: the whole line
      {";KEY;" + kHexAbc, 0, "KEY", "abc"},                 // number text is the line
      {" -3x;KEY;" + kHexAbc, -3, "KEY", "abc"},
      {"00000000000000000042;KEY;" + kHexAbc, 42, "KEY", "abc"},  // a long number text
  };
  for (const auto& c : cases) {
    const ConfigEntry entry = lookUp(";G;\r\n" + c.valueLine + "\r\n", "G", "unused", 55);
    EXPECT_EQ(entry.number, c.number) << c.valueLine;
    EXPECT_EQ(entry.key.view(), c.key) << c.valueLine;
    EXPECT_STREQ(entry.value.c_str(), c.value) << c.valueLine;
  }
}

TEST(ReadConfigValue, TakesTheFirstEntryThatMatchesGroupKeyOrNumber) {
  const std::string file = ";A;\r\n1;NET8;" + hexOf("first") +
                           "\r\n"
                           ";A;\r\n2;NET8;" +
                           hexOf("second") +
                           "\r\n"
                           ";B;\r\n3;LOGIN;" +
                           hexOf("user") + "\r\n";
  EXPECT_STREQ(lookUp(file, "", "NET8", 0).value.c_str(), "first");
  EXPECT_STREQ(lookUp(file, "B", "", 0).value.c_str(), "user");
  EXPECT_STREQ(lookUp(file, "", "", 2).value.c_str(), "second");
  // Exact, case-sensitive keys.
  expectReset(lookUp(file, "", " NET8", 0));
  expectReset(lookUp(file, "", "net8", 0));
}

TEST(ReadConfigValue, EntriesWithAnEmptyGroupOrNumberZeroAreTakenForEveryKey) {
  const std::string net8 = ";A;\r\n1;NET8;" + hexOf("host") + "\r\n";
  EXPECT_STREQ(lookUp("[section]\r\n5;TITEL;" + hexOf("x") + "\r\n" + net8, "", "NET8", 0).value.c_str(),
               "x");
  EXPECT_STREQ(lookUp(";A;\r\nnull;TITEL;" + hexOf("y") + "\r\n" + net8, "", "NET8", 0).value.c_str(), "y");
  // With any other request neither is taken by group or number.
  EXPECT_STREQ(lookUp("[section]\r\n5;TITEL;" + hexOf("x") + "\r\n" + net8, "Z", "NET8", 9).value.c_str(),
               "host");
}

TEST(ReadConfigValue, TakesNothingFromEmptyOrUnpairedFiles) {
  expectReset(lookUp("", "", "NET8", 0));
  expectReset(lookUp(";G;\r\n", "", "NET8", 0));
  // An odd last line is never examined.
  expectReset(lookUp(";A;\r\n1;X;" + kHexAbc + "\r\n1;NET8;" + kHexAbc + "\r\n", "", "NET8", 0));
  ConfigEntry entry;
  entry.value.assign("stale");
  readConfigValue("", "NET8", 0, "/no/such/zarnik.ini", entry);
  expectReset(entry);
}

TEST(ReadConfigValue, ReadsALastLineWithoutLineEndAndLfLineEnds) {
  EXPECT_STREQ(lookUp(";A;\n1;NET8;" + kHexAbc, "", "NET8", 0).value.c_str(), "abc");
}

TEST(ReadConfigValue, AGroupLineOver199CharactersShiftsThePairing) {
  // The group line's remainder becomes the value line; the real value line
  // is then read as the next group line.
  const std::string longGroup = ";A;" + std::string(196, 'x') + "1;NET8;" + kHexAbc;  // 199 + the rest
  const std::string file = longGroup + "\r\n2;NET8;" + hexOf("wrong") + "\r\n;B;\r\n";
  const ConfigEntry entry = lookUp(file, "", "NET8", 0);
  EXPECT_EQ(entry.number, 1);
  EXPECT_STREQ(entry.value.c_str(), "abc");
  EXPECT_STREQ(entry.group.c_str(), "A");
}

TEST(ReadConfigValue, AValueTooLongForTheReaderIsFlaggedNotCut) {
  // 208 digits do not fit the 200-character value field.
  const std::string longValue = ";A;\r\n1;NET8;" + std::string(208, '0') + "\r\n";
  ConfigEntry entry = lookUp(longValue, "", "NET8", 0);
  EXPECT_TRUE(entry.valueTooLong);
  EXPECT_TRUE(entry.value.empty());
  // A value line of more than 398 characters is cut by the reader.
  entry = lookUp(";A;\r\n1;NET8;" + kHexAbc + std::string(400, ' ') + "\r\n", "", "NET8", 0);
  EXPECT_TRUE(entry.valueTooLong);
  // Untaken entries do not matter.
  entry = lookUp(longValue + ";B;\r\n2;PASS;" + kHexAbc + "\r\n", "", "PASS", 0);
  EXPECT_FALSE(entry.valueTooLong);
  EXPECT_STREQ(entry.value.c_str(), "abc");
}

TEST(ReadConfigValue, ALookupThatTakesNothingClearsTheEntry) {
  TempDir dir;
  const std::string path = dir.write("zarnik.ini", ";A;\r\n1;NET8;" + kHexAbc + "\r\n");
  ConfigEntry entry;
  readConfigValue("", "NET8", 0, path.c_str(), entry);
  ASSERT_STREQ(entry.value.c_str(), "abc");
  readConfigValue("X", "PASS", 9, path.c_str(), entry);
  expectReset(entry);
}

}  // namespace
