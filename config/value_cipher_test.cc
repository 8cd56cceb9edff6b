#include "config/value_cipher.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

// Heap copy of a text with nothing after its NUL, so that AddressSanitizer
// reports any read past the end of the hexadecimal value.
std::vector<char> exactText(const std::string& text) {
  return std::vector<char>(text.c_str(), text.c_str() + text.size() + 1);
}

std::string decrypt(const std::string& hex, const char* keyText = kConfigKeyText) {
  std::vector<char> input = exactText(hex);
  std::vector<char> output(8 * (hex.size() / 16) + 1, '\x5A');
  EXPECT_EQ(decryptConfigValue(input.data(), output.data(), output.size(), keyText), 1);
  return std::string(output.data());
}

std::string encrypt(const std::string& plain, const char* keyText = kConfigKeyText) {
  std::vector<char> input = exactText(plain);
  std::vector<char> output(16 * ((plain.size() + 7) / 8) + 1, '\x5A');
  EXPECT_EQ(encryptConfigValue(input.data(), output.data(), output.size(), keyText), 1);
  return std::string(output.data());
}

uint32_t bigEndianWord(const std::string& hex) { return static_cast<uint32_t>(std::stoul(hex, nullptr, 16)); }

// Published Blowfish vectors, halves taken big-endian as the algorithm states
// them: they pin down the initial tables, the round function and the key
// schedule independently of this program's byte layout.
struct BlockVector {
  const char* key;
  const char* plain;
  const char* cipher;
};

const BlockVector kPublishedVectors[] = {
    {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
    {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
    {"3000000000000000", "1000000000000001", "7D856F9A613063F2"},
    {"1111111111111111", "1111111111111111", "2466DD878B963C9D"},
    {"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
    {"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
};

TEST(BlowfishBlockTest, PublishedVectorsEncryptAndDecrypt) {
  for (const BlockVector& vector : kPublishedVectors) {
    SCOPED_TRACE(std::string("key ") + vector.key + " plain " + vector.plain);
    unsigned char key[8];
    hexToBytes(vector.key, 16, key);
    BlowfishContext context{};
    blowfishInit(context, key, sizeof key);

    const std::string plain = vector.plain;
    const std::string cipher = vector.cipher;
    uint32_t left = bigEndianWord(plain.substr(0, 8));
    uint32_t right = bigEndianWord(plain.substr(8, 8));
    blowfishEncryptBlock(context, left, right);
    EXPECT_EQ(left, bigEndianWord(cipher.substr(0, 8)));
    EXPECT_EQ(right, bigEndianWord(cipher.substr(8, 8)));

    blowfishDecryptBlock(context, left, right);
    EXPECT_EQ(left, bigEndianWord(plain.substr(0, 8)));
    EXPECT_EQ(right, bigEndianWord(plain.substr(8, 8)));
  }
}

// The same published vectors through the configuration value functions: each
// 4-byte half is byte-reversed against the big-endian spelling above.
struct LayoutCase {
  const char* keyText;
  const char* hex;
  const char* plain;
};

const LayoutCase kLayoutCases[] = {
    {"\x01\x23\x45\x67\x89\xAB\xCD\xEF", "80C3F96196B08122", "\x11\x11\x11\x11\x11\x11\x11\x11"},
    {"\xFE\xDC\xBA\x98\x76\x54\x32\x10", "0FABCE0A8DA2A0C6", "\x67\x45\x23\x01\xEF\xCD\xAB\x89"},
    // Key text bytes above 0x7F must enter the schedule as unsigned values.
    {"\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF", "D56F86518ACB5EB8", "\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF"},
};

TEST(ConfigValueLayoutTest, HalvesAreLittleEndianInsideEachBlock) {
  for (const LayoutCase& c : kLayoutCases) {
    SCOPED_TRACE(c.hex);
    EXPECT_EQ(decrypt(c.hex, c.keyText), c.plain);
    EXPECT_EQ(encrypt(c.plain, c.keyText), c.hex);
  }
  // The big-endian spelling of the first vector's cipher is a different block.
  EXPECT_NE(decrypt("61F9C3802281B096", kLayoutCases[0].keyText), kLayoutCases[0].plain);
}

// The values of tests/data/sample.ini, enciphered by an independent
// implementation under the built-in key.
struct SampleValue {
  const char* key;
  const char* hex;
  const char* plain;
};

const SampleValue kSampleValues[] = {
    {"NET8", "40B82169D703CF72E01C1998DA81B150", "localhost"},
    {"SCHEMA", "E3EB4EFE00CB139F4C04774B903F630A", "qvs_demo;"},
    {"LOGIN", "D2E44EBD2D5A7B4A", "zarnik"},
    {"PASS", "BFBCC67EE9A6E92246CF60B2F248B1C5", "Kst'Wechsel\\2026"},
    {"TITEL", "1620C28D10E232AA2EA3831D4C14449A3BD787048D7F020E", "Kostenstellenwechsel"},
    {"ACHT", "D27FB4ACA98C09DA", "12345678"},
};

TEST(ConfigValueCipherTest, SampleFileValuesDecipherToTheirPlainTexts) {
  for (const SampleValue& value : kSampleValues) {
    SCOPED_TRACE(value.key);
    EXPECT_EQ(decrypt(value.hex), value.plain);
  }
}

TEST(ConfigValueCipherTest, EncipheringSamplePlainTextsGivesTheFileValues) {
  // Zero padding and upper-case digits must match what the file holds.
  for (const SampleValue& value : kSampleValues) {
    SCOPED_TRACE(value.key);
    EXPECT_EQ(encrypt(value.plain), value.hex);
  }
}

TEST(ConfigValueCipherTest, GroupsDecipherIndependentlyAndAZeroByteEndsTheText) {
  // ACHT, LOGIN, ACHT: "12345678", "zarnik\0\0", "12345678".
  const std::string hex =
      "D27FB4ACA98C09DA"
      "D2E44EBD2D5A7B4A"
      "D27FB4ACA98C09DA";
  std::vector<char> input = exactText(hex);
  std::vector<char> output(25, '\x5A');
  ASSERT_EQ(decryptConfigValue(input.data(), output.data(), output.size(), kConfigKeyText), 1);

  EXPECT_EQ(std::string(output.data(), 8), "12345678");
  EXPECT_EQ(std::string(output.data() + 8, 8), std::string("zarnik\0\0", 8));
  EXPECT_EQ(std::string(output.data() + 16, 8), "12345678");
  EXPECT_EQ(output[24], '\0');
  EXPECT_EQ(std::string(output.data()), "12345678zarnik");
}

TEST(ConfigValueCipherTest, OnlyWholeGroupsOfSixteenDigitsAreDeciphered) {
  struct Case {
    std::string hex;
    std::string plain;
  };
  const std::string acht = "D27FB4ACA98C09DA";
  const Case cases[] = {
      {"", ""},
      {acht.substr(0, 15), ""},
      {acht + "F", "12345678"},
      {acht + acht.substr(0, 15), "12345678"},
      {acht + acht, "1234567812345678"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("digits: " + std::to_string(c.hex.size()));
    // Room to spare, so that only the digit count can stop a partial group.
    std::vector<char> input = exactText(c.hex);
    std::vector<char> output(64, '\x5A');
    EXPECT_EQ(decryptConfigValue(input.data(), output.data(), output.size(), kConfigKeyText), 1);
    EXPECT_EQ(std::string(output.data()), c.plain);
    EXPECT_EQ(output[c.plain.size()], '\0');
  }
}

TEST(ConfigValueCipherTest, DecipheringNeverWritesPastTheOutputSize) {
  // TITEL has three blocks; a block is written only with room for the NUL
  // after it.
  const std::string hex = kSampleValues[4].hex;
  struct Case {
    std::size_t outputSize;
    std::string plain;
  };
  const Case cases[] = {
      {0, ""},
      {1, ""},
      {8, ""},
      {9, "Kostenst"},
      {16, "Kostenst"},
      {17, "Kostenstellenwec"},
      {24, "Kostenstellenwec"},
      {25, "Kostenstellenwechsel"},
  };
  constexpr char kGuard = '\x5A';
  for (const Case& c : cases) {
    SCOPED_TRACE("output size " + std::to_string(c.outputSize));
    std::vector<char> input = exactText(hex);
    std::vector<char> buffer(c.outputSize + 16, kGuard);
    EXPECT_EQ(decryptConfigValue(input.data(), buffer.data(), c.outputSize, kConfigKeyText), 1);
    for (std::size_t i = c.outputSize; i < buffer.size(); ++i) {
      ASSERT_EQ(buffer[i], kGuard) << "byte " << i << " written";
    }
    if (c.outputSize == 0) continue;
    EXPECT_EQ(std::string(buffer.data()), c.plain);
  }
}

TEST(ConfigValueCipherTest, EncipheringRoundTripsThroughDeciphering) {
  const std::string plains[] = {
      "",
      "x",
      "Kst'Wec",
      "ab\\cd'ef",
      "\x80\x81\xFE\xFF\x90\xA0\xB0\xC0\xD0",
      "O'Brien\\\xE4\xF6\xFC\xDF\x80\xFF\x01z",
  };
  for (const std::string& plain : plains) {
    SCOPED_TRACE("length " + std::to_string(plain.size()));
    const std::string hex = encrypt(plain);
    EXPECT_EQ(hex.size(), 16 * ((plain.size() + 7) / 8));
    EXPECT_EQ(hex.find_first_not_of("0123456789ABCDEF"), std::string::npos) << hex;
    EXPECT_EQ(decrypt(hex), plain);
  }
}

TEST(ConfigValueCipherTest, EncipheringIntoTooSmallAnOutputFailsWithoutOverrun) {
  const char plain[] = "Kostenstellenwechsel";  // three blocks: 48 digits and the NUL
  struct Case {
    std::size_t outputSize;
    int result;
  };
  const Case cases[] = {{0, 0}, {1, 0}, {33, 0}, {48, 0}, {49, 1}};
  constexpr char kGuard = '\x5A';
  for (const Case& c : cases) {
    SCOPED_TRACE("output size " + std::to_string(c.outputSize));
    std::vector<char> buffer(c.outputSize + 16, kGuard);
    EXPECT_EQ(encryptConfigValue(plain, buffer.data(), c.outputSize, kConfigKeyText), c.result);
    for (std::size_t i = c.outputSize; i < buffer.size(); ++i) {
      ASSERT_EQ(buffer[i], kGuard) << "byte " << i << " written";
    }
    if (c.outputSize == 0) continue;
    EXPECT_EQ(std::string(buffer.data()), c.result == 1 ? kSampleValues[4].hex : "");
  }
}

TEST(ConfigValueCipherTest, ProcessContextHoldsOnlyZerosAfterEveryCall) {
  char output[64];
  struct Case {
    const char* name;
    std::function<void()> call;
  };
  const Case cases[] = {
      {"decrypt", [&] { decryptConfigValue(kSampleValues[0].hex, output, sizeof output, kConfigKeyText); }},
      {"decrypt empty", [&] { decryptConfigValue("", output, sizeof output, kConfigKeyText); }},
      {"decrypt partial group",
       [&] { decryptConfigValue("0123456789ABCDE", output, sizeof output, kConfigKeyText); }},
      {"decrypt cut by output size",
       [&] { decryptConfigValue(kSampleValues[4].hex, output, 10, kConfigKeyText); }},
      {"encrypt", [&] { encryptConfigValue("localhost", output, sizeof output, kConfigKeyText); }},
      {"encrypt too large", [&] { encryptConfigValue("localhost", output, 20, kConfigKeyText); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // Leftovers from an earlier caller must not survive either.
    blowfishInit(blowfishProcessContext(), reinterpret_cast<const unsigned char*>("K"), 1);
    c.call();
    EXPECT_TRUE(blowfishContextIsClear());
  }
}

TEST(HexToBytesTest, MapsDigitsWithWrappingArithmetic) {
  struct Case {
    std::string digits;
    std::size_t count;
    std::vector<unsigned char> bytes;
  };
  const Case cases[] = {
      {"0123456789ABCDEF", 16, {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}},
      {"00FF", 4, {0x00, 0xFF}},
      {"a0", 2, {0x10}},  // lower case is not hexadecimal: 'a' counts as 0x31
      {"0a", 2, {0x31}},
      {"ff", 2, {0x96}},
      {"G0", 2, {0x70}},     // just past 'F' takes the digit branch
      {"0@", 2, {0x10}},     // just before 'A' likewise
      {"/0", 2, {0xF0}},     // below '0' wraps
      {"0\xC3", 2, {0x93}},  // bytes above 0x7F are digits like any other
      {"ABC", 3, {0xAB}},    // an odd count drops the last digit
      {"ABCD", 3, {0xAB}},   // the count, not the text, decides
      {"A", 1, {}},
      {"AB", 0, {}},
  };
  constexpr unsigned char kGuard = 0x5A;
  for (const Case& c : cases) {
    SCOPED_TRACE("\"" + c.digits + "\" count " + std::to_string(c.count));
    std::vector<unsigned char> output(c.bytes.size() + 4, kGuard);
    hexToBytes(c.digits.c_str(), c.count, output.data());
    EXPECT_EQ(std::vector<unsigned char>(output.begin(), output.begin() + c.bytes.size()), c.bytes);
    for (std::size_t i = c.bytes.size(); i < output.size(); ++i) {
      EXPECT_EQ(output[i], kGuard) << "byte " << i << " written";
    }
  }
}

}  // namespace
