#include "runlog/error_report.h"

#include <gtest/gtest.h>

#include <string>

#include "db/db_session.h"
#include "db/statements.h"
#include "runlog/run_log.h"
#include "tests/support/console_capture.h"
#include "tests/support/fixtures.h"
#include "tests/support/test_database.h"

namespace {

const char kDuplicate[] = "Duplicate entry '1001-2024-03-15 08:15:00-25' for key 'PRIMARY'";
const char kLogColumns[] =
    "SELECT LogPrg, LogPrm, LogSch, LogPnr, LogDtm, LogMod, LogFkt, LogTErr, LogTTxt, LogSErr, LogSTxt, "
    "LogMsg, LogTyp, length(LogStz), LogDat IS NOT NULL FROM QVSYSTEM.Qvs001Log ORDER BY LogId";

class ErrorReport : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    db->exec(standardFixtureSql());
    const char* arguments[] = {"C:\\Orvantis\\zarnik.exe", "C:\\ini\\ORVANTIS.INI", "C:\\daten\\ksw.txt",
                               "C:\\daten\\wkr.prm"};
    initRunLog(4, arguments, "ZARNIK", processRunLog());
  }

  // Makes the booking insert fail as a duplicate, as the run would see it.
  static void failAnInsert(const char* date = "150324") {
    BookingRecord record;
    record.personnelNumber.assign("1001");
    record.bookingDate.assign(date);
    record.bookingTime.assign("081500");
    Designator designator;
    designator.assign("KSW");
    ASSERT_EQ(SQLInsertQvs321Bch(record, designator), 0);
    ASSERT_NE(SQLInsertQvs321Bch(record, designator), 0);
  }
};

TEST_F(ErrorReport, PrintsTheErrorAndWritesTheLogRow) {
  failAnInsert();
  ConsoleCapture console;
  reportError("Qvs321Bch", "1001", 150324, 1065, "SQLInsertQvs321Bch", 1);
  EXPECT_EQ(console.take(), std::string("\n\nError in function: SQLInsertQvs321Bch\n"
                                        "  Pnr: 1001, Datum: 150324, ErrNr: 1065\n"
                                        "  sqlcode: 1062, sqlmsg: ") +
                                kDuplicate +
                                "\n\n"
                                "Message:\n- Text  : " +
                                kDuplicate + "\n- Number: -1062\n- Code  : Qvs321Bch\n");
  ASSERT_EQ(dbCommit(), 1);
  EXPECT_EQ(db->rowsText(kLogColumns),
            "zarnik.exe|C:\\ini\\ORVANTIS.INI C:\\daten\\ksw.txt C:\\daten\\wkr.prm||1001|2015-03-24|ZARNIK|"
            "SQLInsertQvs321Bch|1065|Fehler beim Einfuegen der Buchung|1062|"
            "Duplicate entry \"1001-2024-03-15 08:15:00-25\" for key \"PRIMARY\"|Qvs321Bch|1|14|1\n");
}

TEST_F(ErrorReport, LeavesTheSqlcodeLineOutWithoutADatabaseError) {
  QueryCursor ok("SELECT 1");
  ASSERT_EQ(dbExecute(ok), 0);
  dbFreeResult(ok);
  ConsoleCapture console;
  reportError("Qvs321Bch", "", 10203, 0, "SQLInsertQvs321Bch", 1);
  EXPECT_EQ(console.take(),
            "\n\nError in function: SQLInsertQvs321Bch\n"
            "  Pnr: , Datum: 10203, ErrNr: 0\n"
            "Message:\n- Text  : \n- Number: 0\n- Code  : Qvs321Bch\n");
  ASSERT_EQ(dbCommit(), 1);
  // No text number: no text looked up. The day below 10 lost its zero.
  EXPECT_EQ(db->rowsText("SELECT LogPnr, LogDtm, LogTErr, LogTTxt, LogSErr, LogSTxt FROM QVSYSTEM.Qvs001Log"),
            "|2001-02-03|0||0|\n");
}

TEST_F(ErrorReport, WritesTheLogRowOfADateTheServerCannotReadWithoutLogDate) {
  failAnInsert("150230");
  ConsoleCapture console;
  reportError("Qvs321Bch", "1001", 150230, 1065, "SQLInsertQvs321Bch", 1);
  ASSERT_EQ(dbCommit(), 1);
  EXPECT_EQ(db->rowsText("SELECT LogPnr, LogDtm, LogSErr FROM QVSYSTEM.Qvs001Log"), "1001|NULL|1062\n");
}

TEST_F(ErrorReport, PrintsLongNamesWholeAndLogsThemCut) {
  failAnInsert();
  const std::string function(60, 'f');
  const std::string code(300, 'c');
  ConsoleCapture console;
  reportError(code.c_str(), "1001", 150324, 1065, function.c_str(), 1);
  const std::string printed = console.take();
  EXPECT_NE(printed.find("Error in function: " + function + "\n"), std::string::npos);
  EXPECT_NE(printed.find("- Code  : " + code + "\n"), std::string::npos);
  ASSERT_EQ(dbCommit(), 1);
  EXPECT_EQ(db->rowsText("SELECT LogFkt, LogMsg FROM QVSYSTEM.Qvs001Log"),
            std::string(50, 'f') + "|" + std::string(256, 'c') + "\n");
}

TEST_F(ErrorReport, KeepsApostrophesAndBackslashesOfEveryLogTextExact) {
  const char* arguments[] = {"C:\\bin\\zarnik.exe", "it's", "C:\\x\\", "a'b"};
  initRunLog(4, arguments, "ZARNIK", processRunLog());
  db->exec("UPDATE QVSYSTEM.Qvs102Whl SET FtxDok = 'Buchung ''%s'' \\\\ nicht eingef\xFCgt'");
  failAnInsert();
  ConsoleCapture console;
  reportError("Qvs'321", "10'1\\", 150324, 1065, "SQL'Insert", 1);
  ASSERT_EQ(dbCommit(), 1);
  EXPECT_EQ(db->rowsText("SELECT LogPrm, LogPnr, LogFkt, LogTTxt, LogMsg FROM QVSYSTEM.Qvs001Log"),
            "it's C:\\x\\ a'b|10'1\\|SQL'Insert|Buchung '%s' \\ nicht eingef\xFCgt|Qvs'321\n");
}

TEST_F(ErrorReport, CutsALookedUpTextTo256Characters) {
  db->exec("UPDATE QVSYSTEM.Qvs102Whl SET FtxDok = repeat('t', 400)");
  failAnInsert();
  ConsoleCapture console;
  reportError("Qvs321Bch", "1001", 150324, 1065, "SQLInsertQvs321Bch", 1);
  ASSERT_EQ(dbCommit(), 1);
  EXPECT_EQ(db->rowsText("SELECT LogTTxt FROM QVSYSTEM.Qvs001Log"), std::string(256, 't') + "\n");
}

TEST_F(ErrorReport, ALogStatementTooLongForItsBufferEndsTheProcessWithoutOutput) {
  const std::string backslashes(150, '\\');
  const char* arguments[] = {"zarnik", backslashes.c_str()};
  const std::string apostrophes(256, '\'');
  GTEST_FLAG_SET(death_test_style, "fast");
  EXPECT_EXIT(
      {
        initRunLog(2, arguments, "ZARNIK", processRunLog());
        ConsoleCapture console;
        reportError(apostrophes.c_str(), "1001", 150324, 1065, "SQLInsertQvs321Bch", 1);
        std::fputs(console.take().c_str(), stderr);
        std::exit(0);
      },
      testing::ExitedWithCode(1), "^$");
}

}  // namespace
