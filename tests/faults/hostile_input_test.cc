// Hostile bytes in every place a value enters the program: the source
// file's fields, the command line, the values looked up in the database and
// the configuration file. Whatever they hold, the statements stay as they
// were written: the rows that land hold exactly the values given.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "import/booking_record.h"
#include "import/parameter_file.h"
#include "platform/console.h"
#include "platform/text_stream.h"
#include "tests/support/fixtures.h"
#include "tests/support/import_run.h"
#include "tests/support/process.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_database.h"

namespace {

using namespace std::string_literals;

// A text as an SQL literal for the test connection (latin1, backslash
// escapes on), NUL bytes included.
std::string literal(const std::string& text) {
  std::string out = "'";
  for (char c : text) {
    if (c == '\0') {
      out += "\\0";
      continue;
    }
    if (c == '\'' || c == '\\') out += '\\';
    out += c;
  }
  return out + "'";
}

std::string apostrophesToQuotes(std::string text) {
  for (char& c : text) {
    if (c == '\'') c = '"';
  }
  return text;
}

using HostileInput = ImportRunTest;

// Each case puts its hostile texts into the source file (badge and
// workstation), the database (personnel number, tenant schema, cost centre,
// error text) and the command line (designator, paths). The same booking is
// given twice, so the run shows both an inserted row and a log row.
TEST_F(HostileInput, ValuesLandExactlyAsGivenWhateverTheyHold) {
  const struct {
    const char* name;
    std::string sourceBadge, badge;  // in the file / as the program holds it
    std::string sourceWorkstation, workstation;
    std::string storedPnr, pnr;  // in the database / as the program holds it
    std::string schema, costCentre, errorText, designator, fileName;
  } cases[] = {
      {"apostrophes", "O'B'", "O'B'", "1'2", "1'2", "P'1", "P'1", "Q'S", "K'S'T", "it's", "K'S'W", "a'b"},
      {"backslashes", "B\\1\\", "B\\1\\", "\\12", "\\12", "P\\\\", "P\\\\", "Q\\", "C:\\KST\\", "\\n\\'",
       "\\", "a\\b"},
      {"percent signs", "B%1", "B%1", "%", "%", "%", "%", "100%", "100%", "%%", "%%", "50%"},
      {"format directives", "%s%s%n", "%s%s%n", "%d%n", "%d%n", "%s%n", "%s%n", "%s%s%s%s%s", "%s%p%n%x",
       "%s%n%s%n", "%s%n%s%n", "%s%n"},
      {"statement text", "'OR''='", "'OR''='", "1;--", "1;--", "1'--", "1'--", "x;DROP", "x'); DROP T--",
       "'); COMMIT; --", "'); COMMIT; --", "x';--"},
      {"zero bytes", "B1\0XYZ"s, "B1",
       "12\0"
       "34"s,
       "12", "P\0Q"s, "P", "Q", "KST", "T", "KSW", "plain"},
      {"control bytes", "B\x01\x7f", "B\x01\x7f",
       "\x1b"
       "12",
       "\x1b"
       "12",
       "P-1", "P-1", "Q\x03", "\x1a\x7f", "\x1a", "\x1a\x01", "c\x01"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    db->resetSchema();
    db->exec("INSERT INTO QVSYSTEM.Qvs301Asw VALUES (" + literal(c.badge) + ", '2020-01-01', NULL, 0, " +
             literal(c.storedPnr) + ", 'L1', 'M1')");
    db->exec("INSERT INTO QVSYSTEM.Qvs112Mnd VALUES ('L1', 'M1', 0, 0, " + literal(c.schema) + ")");
    db->exec("INSERT INTO qvs_test.O1003KSTSTELLE VALUES (" + literal(c.workstation) + ", 0, " +
             literal(c.costCentre) + ")");
    db->exec("INSERT INTO QVSYSTEM.Qvs102Whl VALUES (8, 1065, 1, " + literal(c.errorText) + ")");
    const std::string source =
        dir.write(c.fileName, bookingLine("150324", "081510", c.sourceBadge, c.sourceWorkstation) +
                                  bookingLine("150324", "081520", c.sourceBadge, c.sourceWorkstation));
    const ProcessResult result =
        runProcess({ZARNIK_BINARY, ini, source, parameterFile, c.designator}, testServerEnvironment());
    EXPECT_EQ(result.exitCode, 0);
    const std::string record = "<" + c.badge + ">, <" + c.workstation +
                               "> eingelesen.\n"
                               "Personalnummer: <" +
                               c.pnr + ">\nKostenstelle: <" + c.costCentre + ">\n";
    EXPECT_EQ(result.output.substr(0, result.output.find("Fehler beim Einfuegen")),
              "zarnik: Start.\nKostenstellenwechsel-Bezeichner: <" + c.designator +
                  ">\n"
                  "[1]: <150324>, <081510>, " +
                  record + "[2]: <150324>, <081520>, " + record + "Sortierte Liste:\n" + c.pnr +
                  ",15.03.2024\n" + c.pnr + ",15.03.2024\n");
    EXPECT_EQ(db->rowsText("SELECT BchPnr, BchUhr, BchFcd, BchKst FROM qvs_test.QVS321BCH"),
              c.pnr + "|2024-03-15 08:15:00|" + c.designator + "|" + c.costCentre + "\n");
    const std::string duplicate = "Duplicate entry '" + c.pnr + "-2024-03-15 08:15:00-25' for key 'PRIMARY'";
    EXPECT_EQ(db->rowsText("SELECT LogPrm, LogPnr, LogTTxt, LogSErr, LogSTxt FROM QVSYSTEM.Qvs001Log"),
              ini + " " + source + " " + parameterFile + " " + c.designator + "|" + c.pnr + "|" +
                  c.errorText + "|1062|" + apostrophesToQuotes(duplicate) + "\n");
    EXPECT_NE(result.output.find("- Text  : " + duplicate + "\n- Number: -1062\n"), std::string::npos);
    char expectedLine[64];
    std::snprintf(expectedLine, sizeof expectedLine, "%-20s,%-8s,15.03.2024\r\n", c.schema.c_str(),
                  c.pnr.c_str());
    EXPECT_EQ(readFileBytes(parameterFile), expectedLine);
    std::remove(parameterFile.c_str());
  }
}

// The byte 0x1A ends the source file wherever it stands, also inside a
// field: the records before it are imported, nothing from it on.
TEST_F(HostileInput, AnEndMarkInsideAFieldEndsTheSourceThere) {
  db->exec(standardFixtureSql());
  const std::string second = bookingLine("160324", "081500",
                                         "B1\x1a"
                                         "00",
                                         "12");
  const std::string source = dir.write("ksw.txt", bookingLine("150324", "081500", "B100", "12") + second +
                                                      bookingLine("170324", "081500", "B100", "12"));
  const ProcessResult result =
      runProcess({ZARNIK_BINARY, ini, source, parameterFile}, testServerEnvironment());
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.output,
            "zarnik: Start.\n"
            "[1]: <150324>, <081500>, <B100>, <12> eingelesen.\n"
            "Personalnummer: <1001>\n"
            "Kostenstelle: <KST-4711>\n"
            "Sortierte Liste:\n"
            "1001,15.03.2024\n"
            "zarnik: Ende.\n");
  EXPECT_EQ(db->rowsText("SELECT BchPnr, BchUhr FROM qvs_test.QVS321BCH"), "1001|2024-03-15 08:15:00\n");
}

// Configuration files that are not what the program expects end the run
// with a message before any statement is sent.
TEST_F(HostileInput, BrokenConfigurationFilesEndTheRunBeforeTheConnection) {
  const std::string entryHead = ";DATENBANK;\r\n1;NET8;";
  // Digits that decipher to bytes that name no host.
  std::string junkDigits;
  for (int i = 0; i < 48; ++i) junkDigits += "0123456789ABCDEF"[(i * 7 + 3) % 16];
  const struct {
    const char* name;
    std::string config;
    std::string output;
  } cases[] = {
      {"value of 201 digits", entryHead + std::string(201, 'A') + "\r\n",
       "Konfigurationswert zu lang: NET8\n"},
      {"value line of 450 characters", entryHead + std::string(450 - 7, 'A') + "\r\n",
       "Konfigurationswert zu lang: NET8\n"},
      {"a value that deciphers to junk", entryHead + junkDigits + "\r\n", "dbConnect_Error: 2005\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string config = dir.write("ORVANTIS.INI", c.config);
    const std::string source = dir.write("ksw.txt", bookingLine("150324", "081500", "B100", "12"));
    const ProcessResult result =
        runProcess({ZARNIK_BINARY, config, source, parameterFile}, testServerEnvironment());
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.output, "zarnik: Start.\n" + c.output);
    EXPECT_FALSE(fileExists(parameterFile));
  }
}

// A configuration file of binary junk still pairs its lines into entries;
// what it then connects with depends on the client library's defaults for
// empty values, so only the orderly end of the run is checked.
TEST_F(HostileInput, AConfigurationFileOfBinaryJunkDoesNotCrashTheRun) {
  std::string junk;
  for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 131 + 17) % 256);
  const std::string config = dir.write("ORVANTIS.INI", junk);
  const std::string source = dir.write("ksw.txt", bookingLine("150324", "081500", "B100", "12"));
  const ProcessResult result =
      runProcess({ZARNIK_BINARY, config, source, parameterFile}, testServerEnvironment());
  EXPECT_TRUE(result.exitCode == 0 || result.exitCode == 1) << result.exitCode;
  EXPECT_EQ(result.output.substr(0, 15), "zarnik: Start.\n");
}

// The connection uses the client library's default character set
// (utf8mb4); the tables hold latin1. Bytes 0x80 to 0xFF from the source
// file or the command line are therefore not valid text to the server:
// a statement carrying one as a value to store is refused (1366), which the
// run reports like any failed insert, and the run goes on. Values looked up
// in the database come back in UTF-8, two bytes for each such character,
// and reach the console and the parameter file that way.
TEST_F(HostileInput, BytesAbove0x7FAreStoredAndComparedAsTheyAre) {
  // The server runs with single-byte texts (latin1 whatever the client
  // asks for), as a production server must: bytes 0x80 to 0xFF of the source
  // file, of the arguments and of looked-up values pass unchanged.
  db->exec(standardFixtureSql());
  db->exec(
      "INSERT INTO qvs_test.O1003KSTSTELLE VALUES ('14', 0, 'S\xFC"
      "d')");
  db->exec("INSERT INTO QVSYSTEM.Qvs301Asw VALUES ('B\xE4r', '2020-01-01', NULL, 0, '10\xF6', 'L1', 'M1')");
  db->exec("UPDATE QVSYSTEM.Qvs112Mnd SET MndSch = 'M\xE4rz'");
  const std::string source = dir.write("ksw.txt", bookingLine("150324", "081500", "B100", "14") +
                                                      bookingLine("160324", "081500", "B\xE4r", "12") +
                                                      bookingLine("160324", "081500", "B\xE4r", "12"));
  const ProcessResult result =
      runProcess({ZARNIK_BINARY, ini, source, parameterFile, "K\xE4W"}, testServerEnvironment());
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_NE(result.output.find("[1]: <150324>, <081500>, <B100>, <14> eingelesen.\n"
                               "Personalnummer: <1001>\n"
                               "Kostenstelle: <S\xFC"
                               "d>\n"
                               "[2]: <160324>, <081500>, <B\xE4r>, <12> eingelesen.\n"
                               "Personalnummer: <10\xF6>\n"),
            std::string::npos)
      << result.output;
  EXPECT_EQ(db->rowsText("SELECT BchPnr, BchFcd, BchKst FROM qvs_test.QVS321BCH ORDER BY BchPnr"),
            "1001|K\xE4W|S\xFC"
            "d\n10\xF6|K\xE4W|KST-4711\n");
  // The duplicate's log row carries the bytes too.
  EXPECT_EQ(db->rowsText("SELECT LogPnr, right(LogPrm, 4) FROM QVSYSTEM.Qvs001Log"), "10\xF6| K\xE4W\n");
  EXPECT_EQ(readFileBytes(parameterFile),
            "M\xE4rz                ,1001    ,15.03.2024\r\n"
            "M\xE4rz                ,10\xF6     ,16.03.2024\r\n");
}

// A source file of a million records through the reader and the sort, in
// the process: every record is read, the sort orders all of them.
TEST(LargeSource, AMillionRecordsAreReadAndSorted) {
  TempDir dir;
  constexpr int kRecords = 1000000;
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(kRecords) * 32);
  char record[40];
  for (int i = 0; i < kRecords; ++i) {
    const int day = 1 + (i * 7) % 28;
    std::snprintf(record, sizeof record, "%02d0324%06d%-13lld%-6d\n", day, i % 240000,
                  static_cast<long long>(i) * 7919 % 1000003, i % 97);
    bytes.append(record, 32);
  }
  const std::string path = dir.write("big.txt", bytes);
  FILE* quiet = std::fopen("/dev/null", "w");
  consoleSetStream(quiet);
  TextInput source;
  ASSERT_TRUE(source.open(path.c_str()));
  BookingArray bookings;
  while (readBookingRecord(source, bookings) == 0) {
  }
  consoleSetStream(nullptr);
  std::fclose(quiet);
  ASSERT_EQ(bookings.bookingCount, kRecords);
  EXPECT_EQ(bookings.records[kRecords - 1].badgeNumber.view(), std::to_string((999999LL * 7919) % 1000003));
  // The badge stands in for the personnel number that the lookup would give.
  for (int i = 0; i < kRecords; ++i) {
    bookings.records[i].personnelNumber.assign(bookings.records[i].badgeNumber.view().substr(0, 8));
  }
  sortBookings(bookings);
  for (int i = 1; i < kRecords; ++i) {
    ASSERT_LE(compareBookings(bookings.records[i - 1], bookings.records[i]), 0) << "at " << i;
  }
}

}  // namespace
