#include "platform/text_stream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace {

std::string readAll(const std::string& path, std::size_t chunk) {
  TextInput input;
  EXPECT_TRUE(input.open(path.c_str()));
  std::string delivered;
  std::vector<char> buffer(chunk);
  for (;;) {
    const std::size_t got = input.read(buffer.data(), chunk);
    delivered.append(buffer.data(), got);
    if (got < chunk) break;
  }
  return delivered;
}

struct ReadCase {
  const char* name;
  std::string stored;
  std::string delivered;
  friend void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }
};

class TextInputTranslation : public testing::TestWithParam<ReadCase> {};

TEST_P(TextInputTranslation, DeliversTranslatedBytes) {
  TempDir dir;
  const std::string path = dir.write("in", GetParam().stored);
  // Chunk sizes 1 and 7 cut through CR LF pairs; 4096 reads in one go.
  for (const std::size_t chunk : {1u, 7u, 4096u}) {
    EXPECT_EQ(readAll(path, chunk), GetParam().delivered) << "chunk " << chunk;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, TextInputTranslation,
                         testing::Values(ReadCase{"CrLfBecomesLf", "a\r\nb\r\n", "a\nb\n"},
                                         ReadCase{"LoneCrStays", "a\rb\r", "a\rb\r"},
                                         ReadCase{"CrCrLf", "a\r\r\nb", "a\r\nb"},
                                         ReadCase{"LfAloneStays", "a\nb", "a\nb"},
                                         ReadCase{"SubEndsInput",
                                                  std::string("ab\x1A"
                                                              "cd\r\n",
                                                              7),
                                                  "ab"},
                                         ReadCase{"SubRightAfterCr",
                                                  std::string("ab\r\x1A"
                                                              "cd",
                                                              6),
                                                  "ab\r"},
                                         ReadCase{"SubFirst",
                                                  std::string("\x1A"
                                                              "abc",
                                                              4),
                                                  ""},
                                         ReadCase{"NulAndHighBytesPass", std::string("a\0\xF6\xFF", 4),
                                                  std::string("a\0\xF6\xFF", 4)},
                                         ReadCase{"Empty", "", ""}),
                         [](const testing::TestParamInfo<ReadCase>& info) { return info.param.name; });

TEST(TextInput, ReadLineWorksLikeFgets) {
  TempDir dir;
  const std::string path = dir.write("in", "first\r\nsecond line\nlast");
  TextInput input;
  ASSERT_TRUE(input.open(path.c_str()));
  char line[8];
  ASSERT_TRUE(input.readLine(line, sizeof line));
  EXPECT_STREQ(line, "first\n");
  ASSERT_TRUE(input.readLine(line, sizeof line));
  EXPECT_STREQ(line, "second ");  // cut at size - 1 characters
  ASSERT_TRUE(input.readLine(line, sizeof line));
  EXPECT_STREQ(line, "line\n");
  ASSERT_TRUE(input.readLine(line, sizeof line));
  EXPECT_STREQ(line, "last");
  line[0] = 'x';
  EXPECT_FALSE(input.readLine(line, sizeof line));
  EXPECT_EQ(line[0], 'x');
}

TEST(TextInput, RefusesMissingFilesAndFolders) {
  TempDir dir;
  TextInput input;
  EXPECT_FALSE(input.open(dir.file("missing").c_str()));
  EXPECT_FALSE(input.open(dir.path().c_str()));
}

TEST(TextOutput, StoresLfAsCrLfAndAppends) {
  TempDir dir;
  const std::string path = dir.write("out", "old\r\n");
  TextOutput output;
  ASSERT_TRUE(output.openForAppend(path.c_str()));
  output.write("a\nb\r\n");
  output.write(std::string(70000, 'x') + "\n");  // more than one buffer
  ASSERT_TRUE(output.close());
  EXPECT_EQ(readFileBytes(path), "old\r\na\r\nb\r\r\n" + std::string(70000, 'x') + "\r\n");
}

TEST(TextOutput, CreatesAMissingFile) {
  TempDir dir;
  TextOutput output;
  ASSERT_TRUE(output.openForAppend(dir.file("new").c_str()));
  EXPECT_TRUE(output.close());
  EXPECT_TRUE(fileExists(dir.file("new")));
  EXPECT_EQ(readFileBytes(dir.file("new")), "");
}

TEST(TextOutput, ReportsAWriteThatDidNotReachTheFile) {
  TextOutput output;
  ASSERT_TRUE(output.openForAppend("/dev/full"));
  output.write("line\n");
  EXPECT_FALSE(output.close());
}

TEST(TextOutput, RefusesFolders) {
  TempDir dir;
  TextOutput output;
  EXPECT_FALSE(output.openForAppend(dir.path().c_str()));
}

}  // namespace
