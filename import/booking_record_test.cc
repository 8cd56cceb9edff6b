#include "import/booking_record.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/console_capture.h"
#include "tests/support/temp_dir.h"

namespace {

struct CleanupCase {
  const char* before;
  const char* after;
};

template <std::size_t N>
void expectCleanups(int (*cleanup)(char*), const CleanupCase (&cases)[N]) {
  for (const CleanupCase& c : cases) {
    char text[32];
    std::snprintf(text, sizeof text, "%s", c.before);
    EXPECT_EQ(cleanup(text), 0);
    EXPECT_STREQ(text, c.after) << '"' << c.before << '"';
  }
}

TEST(TrimTrailingSpace, CutsAtTheFirstWhiteSpaceAfterTheLastLetterOrDigit) {
  const CleanupCase cases[] = {
      {"ABC   ", "ABC"},
      {"ABC-", "ABC-"},
      {"12 -", "12"},
      {"A B", "A B"},
      {"     ", ""},
      {"", ""},
      {"  12345       ", "  12345"},  // leading blanks stay
      {"12\r\n", "12"},
      {"12\t\v\f", "12"},
      {"12 x-", "12 x-"},
      {"-- -", "--"},
      {"- -", "-"},
      {"12-\n", "12-"},
      {"12 \xF6", "12"},
      {"\xF6 ", "\xF6"},
      {"ab\x80", "ab\x80"},
  };
  expectCleanups(trimTrailingSpace, cases);
}

TEST(StripLeadingZeros, RemovesOnlyLeadingZeroCharacters) {
  const CleanupCase cases[] = {
      {"0001234", "1234"}, {"0000000", ""}, {"00 12", " 12"}, {"  0012", "  0012"},
      {"1020", "1020"},    {"", ""},        {"0", ""},        {"0a0", "a0"},
  };
  expectCleanups(stripLeadingZeros, cases);
}

TEST(TextCleanups, RefuseANullText) {
  EXPECT_EQ(trimTrailingSpace(nullptr), -1);
  EXPECT_EQ(stripLeadingZeros(nullptr), -1);
}

// Reads the whole file and returns the bookings with what was printed.
struct ReadResult {
  BookingArray bookings;
  std::string console;
};

ReadResult readFile(const std::string& bytes) {
  TempDir dir;
  const std::string path = dir.write("source", bytes);
  TextInput source;
  EXPECT_TRUE(source.open(path.c_str()));
  ConsoleCapture console;
  ReadResult result;
  while (readBookingRecord(source, result.bookings) == 0) {
  }
  result.console = console.take();
  return result;
}

TEST(ReadBookingRecord, ReadsOneRecordOfExactly32Bytes) {
  const ReadResult r = readFile(
      "150324081530"
      "  1234567890 "
      "0001234");
  ASSERT_EQ(r.bookings.bookingCount, 1);
  EXPECT_EQ(r.bookings.records.size(), 2u);  // the attempt at the end keeps its record
  const BookingRecord& b = r.bookings.records[0];
  EXPECT_STREQ(b.bookingDate.c_str(), "150324");
  EXPECT_STREQ(b.bookingTime.c_str(), "081530");
  EXPECT_STREQ(b.badgeNumber.c_str(), "  1234567890");
  EXPECT_STREQ(b.workstation.c_str(), "1234");
  EXPECT_TRUE(b.schemaName.empty() && b.personnelNumber.empty() && b.costCentre.empty());
  EXPECT_EQ(r.console, "[1]: <150324>, <081530>, <  1234567890>, <1234> eingelesen.\n");
}

TEST(ReadBookingRecord, ReadsLinesOf31CharactersWithAnyLineBreak) {
  for (const std::string lineBreak : {"\r\n", "\n", "\r"}) {
    const ReadResult r =
        readFile("010124070000AB12         000012" + lineBreak + "020124163000CD34         0099  " +
                 lineBreak + "030124120000EF56         7     " + lineBreak);
    ASSERT_EQ(r.bookings.bookingCount, 3) << "break " << lineBreak.size();
    EXPECT_EQ(r.console,
              "[1]: <010124>, <070000>, <AB12>, <12> eingelesen.\n"
              "[2]: <020124>, <163000>, <CD34>, <99> eingelesen.\n"
              "[3]: <030124>, <120000>, <EF56>, <7> eingelesen.\n");
  }
}

TEST(ReadBookingRecord, IgnoresATrailingIncompleteRecordSilently) {
  // The last line lacks its line break: 31 bytes are not a record.
  const ReadResult r = readFile(
      "010124070000AB12         000012\r\n"
      "020124163000CD34         000099");
  EXPECT_EQ(r.bookings.bookingCount, 1);
  EXPECT_EQ(r.console, "[1]: <010124>, <070000>, <AB12>, <12> eingelesen.\n");
}

TEST(ReadBookingRecord, ALongerLineShiftsTheFollowingRecords) {
  const ReadResult r = readFile(
      "010124070000AB12         0000123\r\n"
      "020124163000CD34         000099\r\n");
  ASSERT_EQ(r.bookings.bookingCount, 2);
  // The line break of the first line starts the second record.
  EXPECT_STREQ(r.bookings.records[1].bookingDate.c_str(), "\n02012");
}

TEST(ReadBookingRecord, StopsAtSub) {
  const ReadResult r =
      readFile(std::string("010124070000AB12         000012\n\x1A"
                           "020124163000CD34         000099\n"));
  EXPECT_EQ(r.bookings.bookingCount, 1);
}

TEST(ReadBookingRecord, AnEmptyFileHasNoRecord) {
  const ReadResult r = readFile("");
  EXPECT_EQ(r.bookings.bookingCount, 0);
  ASSERT_EQ(r.bookings.records.size(), 1u);
  EXPECT_TRUE(r.bookings.records[0].bookingDate.empty());
  EXPECT_EQ(r.console, "");
}

TEST(ReadBookingRecord, ANulByteEndsItsFieldOnly) {
  const ReadResult r =
      readFile(std::string("0101\0"
                           "4070000AB\0"
                           "2         0000\0"
                           "2\n",
                           32));
  ASSERT_EQ(r.bookings.bookingCount, 1);
  const BookingRecord& b = r.bookings.records[0];
  EXPECT_STREQ(b.bookingDate.c_str(), "0101");
  EXPECT_STREQ(b.bookingTime.c_str(), "070000");
  EXPECT_STREQ(b.badgeNumber.c_str(), "AB");
  EXPECT_STREQ(b.workstation.c_str(), "");  // "0000" before the NUL: all zeros
}

TEST(ReadBookingRecord, NumbersTraceLinesInFileOrder) {
  std::string bytes;
  for (int i = 0; i < 3; ++i) bytes += "010124070000AB12         000012\n";
  const ReadResult r = readFile(bytes);
  EXPECT_NE(r.console.find("[3]: <010124>"), std::string::npos);
}

// The block behind the array: records keep their bytes across the growths
// (which move the block), every new record starts zeroed even where the
// block held other bytes before, and copies and moves own their records.
BookingRecord numbered(int i) {
  BookingRecord record;
  record.badgeNumber.assign(std::to_string(i));
  record.costCentre.assign("KST" + std::to_string(i % 97));
  return record;
}

TEST(BookingBlock, KeepsEveryRecordAcrossGrowthAndZeroesNewOnes) {
  BookingBlock block;
  constexpr int kCount = 300000;  // well past the sizes a block is remapped at
  for (int i = 0; i < kCount; ++i) {
    BookingRecord& record = block.emplace_back();
    ASSERT_TRUE(record.badgeNumber.empty() && record.costCentre.empty() && record.bookingDate.empty()) << i;
    record = numbered(i);
  }
  ASSERT_EQ(block.size(), static_cast<std::size_t>(kCount));
  for (int i = 0; i < kCount; ++i) {
    ASSERT_EQ(block[i].badgeNumber.view(), std::to_string(i)) << i;
    ASSERT_EQ(block[i].costCentre.view(), "KST" + std::to_string(i % 97)) << i;
  }
  EXPECT_EQ(block.end() - block.begin(), kCount);
  EXPECT_EQ(&block.back(), &block[kCount - 1]);

  // A shorter assign over a used block, then growth into bytes used before.
  block.assign({numbered(7), numbered(8)});
  ASSERT_EQ(block.size(), 2u);
  EXPECT_EQ(block[1].badgeNumber.view(), "8");
  const BookingRecord& fresh = block.emplace_back();
  EXPECT_TRUE(fresh.badgeNumber.empty() && fresh.costCentre.empty());
}

TEST(BookingBlock, CopiesAndMovesOwnTheirRecords) {
  BookingBlock original{numbered(1), numbered(2), numbered(3)};
  BookingBlock copy = original;
  copy[0].badgeNumber.assign("changed");
  copy.emplace_back();
  EXPECT_EQ(original[0].badgeNumber.view(), "1");
  EXPECT_EQ(original.size(), 3u);
  ASSERT_EQ(copy.size(), 4u);
  EXPECT_EQ(copy[2].badgeNumber.view(), "3");

  copy = original;  // assignment over a larger block
  ASSERT_EQ(copy.size(), 3u);
  EXPECT_EQ(copy[0].badgeNumber.view(), "1");

  BookingBlock moved = std::move(copy);
  EXPECT_EQ(moved.size(), 3u);
  EXPECT_TRUE(copy.empty());  // NOLINT(bugprone-use-after-move): moved-from is empty
  EXPECT_EQ(copy.begin(), copy.end());
  copy.emplace_back();  // a moved-from block can grow again
  EXPECT_EQ(copy.size(), 1u);

  BookingArray bookings;
  bookings.records = BookingBlock{numbered(5)};
  bookings = BookingArray{};  // released as at the end of a run
  EXPECT_TRUE(bookings.records.empty());
}

}  // namespace
