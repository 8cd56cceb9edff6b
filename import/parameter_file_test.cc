#include "import/parameter_file.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/console_capture.h"
#include "tests/support/temp_dir.h"

namespace {

BookingRecord booking(const char* personnelNumber, const char* date, const char* schema = "") {
  BookingRecord record;
  record.personnelNumber.assign(personnelNumber);
  record.bookingDate.assign(date);
  record.schemaName.assign(schema);
  return record;
}

BookingArray arrayOf(std::initializer_list<BookingRecord> records) {
  BookingArray bookings;
  bookings.records.assign(records);
  bookings.bookingCount = static_cast<int>(bookings.records.size());
  bookings.records.emplace_back();  // the uncounted record of the last attempt
  return bookings;
}

TEST(CompareBookings, OrdersByPersonnelNumberThenDateAsUnsignedText) {
  const struct {
    BookingRecord a, b;
    int order;
  } cases[] = {
      {booking("10", "010124"), booking("9", "010124"), -1},  // text, not number
      {booking("1", "010124"), booking("10", "010124"), -1},  // a beginning is smaller
      {booking("", "311299"), booking("0", "010100"), -1},    // empty sorts first
      {booking("7", "010224"), booking("7", "020123"), -1},   // DDMMYY text order
      {booking("7", "010224"), booking("7", "010224"), 0},
      {booking("\xF6", "010124"), booking("z", "010124"), 1},  // unsigned bytes
      {booking("7", "020123"), booking("7", "010224"), 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(compareBookings(c.a, c.b), c.order)
        << c.a.personnelNumber.c_str() << " " << c.a.bookingDate.c_str();
    EXPECT_EQ(compareBookings(c.b, c.a), -c.order);
  }
}

TEST(SortBookings, SortsOnlyTheCountedRecords) {
  BookingArray bookings = arrayOf({booking("9", "010124"), booking("10", "020124"), booking("10", "010124")});
  bookings.records.back().personnelNumber.assign("0");  // must stay last
  sortBookings(bookings);
  EXPECT_STREQ(bookings.records[0].bookingDate.c_str(), "010124");
  EXPECT_STREQ(bookings.records[0].personnelNumber.c_str(), "10");
  EXPECT_STREQ(bookings.records[1].bookingDate.c_str(), "020124");
  EXPECT_STREQ(bookings.records[2].personnelNumber.c_str(), "9");
  EXPECT_STREQ(bookings.records[3].personnelNumber.c_str(), "0");
}

TEST(FormatBookingDate, TakesThePairsFromTheirFixedPositions) {
  const struct {
    const char* date;
    const char* text;
  } cases[] = {
      {"150324", "15.03.2024"}, {"010100", "01.01.2000"}, {"", "..20"}, {"1", "1..20"}, {"1503", "15.03.20"},
      {"15032", "15.03.202"},   {"ab cd!", "ab. c.20d!"},
  };
  for (const auto& c : cases) EXPECT_STREQ(formatBookingDate(c.date).c_str(), c.text) << c.date;
}

TEST(PrintSortedList, ListsEveryRecordAlsoWithoutPersonnelNumber) {
  ConsoleCapture console;
  printSortedList(arrayOf({booking("", "010124"), booking("4711", "150324")}));
  EXPECT_EQ(console.take(), "Sortierte Liste:\n,01.01.2024\n4711,15.03.2024\n");
  printSortedList(arrayOf({}));
  EXPECT_EQ(console.take(), "Sortierte Liste:\n");
}

TEST(WriteParameterFile, WritesOneLinePerPersonAndDayWithCrLf) {
  TempDir dir;
  const std::string path = dir.file("wkr.prm");
  const BookingArray bookings = arrayOf({
      booking("", "010124", "QVS_A"),                                      // no personnel number: skipped
      booking("10", "010124", "QVS_A"), booking("10", "010124", "QVS_A"),  // same person and day: once
      booking("10", "010124", "QVS_A"), booking("10", "020124", "QVS_A"),
      booking("12345678", "150324", "SCHEMA_OF_TWENTY_CHR"), booking("9", "", "QVS_A"),  // no date: skipped
      booking("9", "150324", ""),  // no schema: blank columns
  });
  ConsoleCapture console;
  ASSERT_EQ(writeParameterFile(path.c_str(), bookings), kParameterFileWritten);
  EXPECT_EQ(console.take(), "");
  EXPECT_EQ(readFileBytes(path),
            "QVS_A               ,10      ,01.01.2024\r\n"
            "QVS_A               ,10      ,02.01.2024\r\n"
            "SCHEMA_OF_TWENTY_CHR,12345678,15.03.2024\r\n"
            "                    ,9       ,15.03.2024\r\n");
}

TEST(WriteParameterFile, WritesAGroupFromItsFirstRecord) {
  TempDir dir;
  const std::string path = dir.file("wkr.prm");
  ASSERT_EQ(
      writeParameterFile(path.c_str(), arrayOf({booking("5", "010124", "A"), booking("5", "010124", "B")})),
      kParameterFileWritten);
  EXPECT_EQ(readFileBytes(path), "A                   ,5       ,01.01.2024\r\n");
}

TEST(WriteParameterFile, AppendsAndCreatesWithoutRecords) {
  TempDir dir;
  const std::string path = dir.write("wkr.prm", "earlier line\r\n");
  ASSERT_EQ(writeParameterFile(path.c_str(), arrayOf({})), kParameterFileWritten);
  EXPECT_EQ(readFileBytes(path), "earlier line\r\n");
  ASSERT_EQ(writeParameterFile(path.c_str(), arrayOf({booking("1", "010124", "S")})), kParameterFileWritten);
  ASSERT_EQ(writeParameterFile(path.c_str(), arrayOf({booking("1", "010124", "S")})), kParameterFileWritten);
  EXPECT_EQ(readFileBytes(path),
            "earlier line\r\n"
            "S                   ,1       ,01.01.2024\r\n"
            "S                   ,1       ,01.01.2024\r\n");

  const std::string created = dir.file("new.prm");
  ASSERT_EQ(writeParameterFile(created.c_str(), arrayOf({})), kParameterFileWritten);
  EXPECT_TRUE(fileExists(created));
}

TEST(WriteParameterFile, ReportsAFileThatCannotBeOpenedOrWritten) {
  TempDir dir;
  ConsoleCapture console;
  const std::string missingFolder = dir.file("no/such/folder/wkr.prm");
  EXPECT_EQ(writeParameterFile(missingFolder.c_str(), arrayOf({})), kParameterFileNotOpened);
  EXPECT_EQ(console.take(), "Fehler beim oeffnen der Datei: " + missingFolder + "\n");

  EXPECT_EQ(writeParameterFile("/dev/full", arrayOf({booking("1", "010124", "S")})),
            kParameterFileNotWritten);
  EXPECT_EQ(console.take(), "Fehler beim schreiben der Datei: /dev/full\n");
}

}  // namespace
