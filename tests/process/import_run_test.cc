// Whole import runs: the program run as a process against the test server,
// its console compared byte for byte, and what landed read back over a
// second connection, which sees committed rows only.
#include "tests/support/import_run.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/fixtures.h"
#include "tests/support/process.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_database.h"

namespace {

const char kBookingColumns[] =
    "SELECT BchPnr, BchVon, BchUhr, BchFkt, BchFcd, BchKst FROM qvs_test.QVS321BCH ORDER BY BchPnr, BchUhr";
const char kLogColumns[] =
    "SELECT LogPrg, LogPrm, LogPnr, LogDtm, LogMod, LogFkt, LogTErr, LogTTxt, LogSErr, LogSTxt, LogMsg, "
    "LogTyp "
    "FROM QVSYSTEM.Qvs001Log ORDER BY LogId";

class ImportRun : public ImportRunTest {
 protected:
  void SetUp() override {
    ImportRunTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    db->exec(standardFixtureSql());
  }
};

TEST_F(ImportRun, ImportsTheBookingsOfSeveralPersonsAndDays) {
  const ProcessResult result =
      run(bookingLine("150324", "081530", "B100", "000012") + bookingLine("150324", "163000", "B100", "13") +
          bookingLine("160324", "073000", "B200", "12") + bookingLine("150324", "120000", "B200", "12"));
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.output,
            "zarnik: Start.\n"
            "[1]: <150324>, <081530>, <B100>, <12> eingelesen.\n"
            "Personalnummer: <1001>\n"
            "Kostenstelle: <KST-4711>\n"
            "[2]: <150324>, <163000>, <B100>, <13> eingelesen.\n"
            "Personalnummer: <1001>\n"
            "Kostenstelle: <KST-0815>\n"
            "[3]: <160324>, <073000>, <B200>, <12> eingelesen.\n"
            "Personalnummer: <1002>\n"
            "Kostenstelle: <KST-4711>\n"
            "[4]: <150324>, <120000>, <B200>, <12> eingelesen.\n"
            "Personalnummer: <1002>\n"
            "Kostenstelle: <KST-4711>\n"
            "Sortierte Liste:\n"
            "1001,15.03.2024\n"
            "1001,15.03.2024\n"
            "1002,15.03.2024\n"
            "1002,16.03.2024\n"
            "zarnik: Ende.\n");
  EXPECT_EQ(db->rowsText(kBookingColumns),
            "1001|2024-03-15|2024-03-15 08:15:00|25|KSW|KST-4711\n"
            "1001|2024-03-15|2024-03-15 16:30:00|25|KSW|KST-0815\n"
            "1002|2024-03-15|2024-03-15 12:00:00|25|KSW|KST-4711\n"
            "1002|2024-03-16|2024-03-16 07:30:00|25|KSW|KST-4711\n");
  EXPECT_EQ(db->rowsText(kLogColumns), "");
  EXPECT_EQ(readFileBytes(parameterFile),
            "QVS_TEST            ,1001    ,15.03.2024\r\n"
            "QVS_TEST            ,1002    ,15.03.2024\r\n"
            "QVS_TEST            ,1002    ,16.03.2024\r\n");
}

TEST_F(ImportRun, ReportsEachFailedLookupAndStillInsertsTheBooking) {
  db->exec("INSERT INTO QVSYSTEM.Qvs301Asw VALUES ('B600', '2020-01-01', NULL, 0, '1006', 'L9', 'M9')");
  const ProcessResult result = run(bookingLine("150324", "080000", "B999", "12") +  // no assignment
                                   bookingLine("150324", "090000", "B600", "12") +  // no tenant
                                   bookingLine("150324", "100000", "B100", "99"));  // no cost centre
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.output,
            "zarnik: Start.\n"
            "[1]: <150324>, <080000>, <B999>, <12> eingelesen.\n"
            "Zur Ausweisnummer (B999) konnte keine Personalnummer entnommen werden.\n"
            "[2]: <150324>, <090000>, <B600>, <12> eingelesen.\n"
            "-Schemaname konnte der Mandantentabelle nicht entnommen werden:\n"
            "  Liz: L9, Mnd: M9, Kon: 0\n"
            "Personalnummer: <1006>\n"
            "Kostenstelle: <KST-4711>\n"
            "[3]: <150324>, <100000>, <B100>, <99> eingelesen.\n"
            "Personalnummer: <1001>\n"
            "Zum Arbeitsplatz (99) konnte keine Kostenstelle entnommen werden.\n"
            "Sortierte Liste:\n"
            ",15.03.2024\n"
            "1001,15.03.2024\n"
            "1006,15.03.2024\n"
            "zarnik: Ende.\n");
  EXPECT_EQ(db->rowsText(kBookingColumns),
            "|2024-03-15|2024-03-15 08:00:00|25|KSW|\n"
            "1001|2024-03-15|2024-03-15 10:00:00|25|KSW|\n"
            "1006|2024-03-15|2024-03-15 09:00:00|25|KSW|KST-4711\n");
  EXPECT_EQ(readFileBytes(parameterFile),
            "QVS_TEST            ,1001    ,15.03.2024\r\n"
            "                    ,1006    ,15.03.2024\r\n");
}

TEST_F(ImportRun, ReportsAFailedInsertLogsItAndCommitsTheRowsBeforeIt) {
  // Once their seconds are set to 00 the first two bookings collide.
  const ProcessResult result =
      run(bookingLine("150324", "081510", "B100", "12") + bookingLine("150324", "081520", "B100", "12") +
              bookingLine("010424", "120000", "B100", "13"),
          {"KSW"});
  const std::string duplicate = "Duplicate entry '1001-2024-03-15 08:15:00-25' for key 'PRIMARY'";
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.output,
            "zarnik: Start.\n"
            "Kostenstellenwechsel-Bezeichner: <KSW>\n"
            "[1]: <150324>, <081510>, <B100>, <12> eingelesen.\n"
            "Personalnummer: <1001>\n"
            "Kostenstelle: <KST-4711>\n"
            "[2]: <150324>, <081520>, <B100>, <12> eingelesen.\n"
            "Personalnummer: <1001>\n"
            "Kostenstelle: <KST-4711>\n"
            "[3]: <010424>, <120000>, <B100>, <13> eingelesen.\n"
            "Personalnummer: <1001>\n"
            "Kostenstelle: <KST-0815>\n"
            "Sortierte Liste:\n"
            "1001,01.04.2024\n"
            "1001,15.03.2024\n"
            "1001,15.03.2024\n"
            "Fehler beim Einfuegen der Buchung in Qvs321Bch (1062)\n"
            "Schemaname:  <QVS_TEST>\n"
            "Personalnummer:  <1001>\n"
            "Buchungsdatum:   <150324>\n"
            "Buchungsuhrzeit: <081500>\n"
            "Funktionscode:   <25>\n"
            "Funktionsname:   <KSW>\n"
            "Kostenstelle:    <KST-4711>\n"
            "\nSQL-Fehler:\n"
            "\n\nError in function: SQLInsertQvs321Bch\n"
            "  Pnr: 1001, Datum: 150324, ErrNr: 1065\n"
            "  sqlcode: 1062, sqlmsg: " +
                duplicate +
                "\n\n"
                "Message:\n- Text  : " +
                duplicate +
                "\n- Number: -1062\n- Code  : Qvs321Bch\n"
                "zarnik: Ende.\n");
  EXPECT_EQ(db->rowsText(kBookingColumns),
            "1001|2024-03-15|2024-03-15 08:15:00|25|KSW|KST-4711\n"
            "1001|2024-04-01|2024-04-01 12:00:00|25|KSW|KST-0815\n");
  EXPECT_EQ(db->rowsText(kLogColumns),
            "|" + ini + " " + dir.file("ksw.txt") + " " + parameterFile +
                " KSW|1001|2015-03-24|ZARNIK|SQLInsertQvs321Bch|1065|Fehler beim Einfuegen der Buchung|1062|"
                "Duplicate entry \"1001-2024-03-15 08:15:00-25\" for key \"PRIMARY\"|Qvs321Bch|1\n");
  EXPECT_EQ(readFileBytes(parameterFile),
            "QVS_TEST            ,1001    ,01.04.2024\r\n"
            "QVS_TEST            ,1001    ,15.03.2024\r\n");
}

TEST_F(ImportRun, StoresTheDesignatorArgumentCutTo31Characters) {
  const struct {
    std::string argument;
    std::string stored;
  } cases[] = {
      {"KSW-Neu", "KSW-Neu"},
      {std::string(31, 'd'), std::string(31, 'd')},
      {std::string(31, 'e') + "XYZ", std::string(31, 'e')},
      {"K'S\\W", "K'S\\W"},
  };
  for (const auto& c : cases) {
    db->exec("DELETE FROM qvs_test.QVS321BCH");
    const ProcessResult result = run(bookingLine("150324", "081500", "B100", "12"), {c.argument});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_NE(result.output.find("zarnik: Start.\nKostenstellenwechsel-Bezeichner: <" + c.stored + ">\n[1]:"),
              std::string::npos)
        << result.output;
    EXPECT_EQ(db->rowsText("SELECT BchFcd FROM qvs_test.QVS321BCH"), c.stored + "\n");
  }
}

TEST_F(ImportRun, KeepsApostrophesAndBackslashesOfBadgesAndArgumentsExact) {
  db->exec("INSERT INTO QVSYSTEM.Qvs301Asw VALUES ('O''B\\\\1', '2020-01-01', NULL, 0, '2001', 'L1', 'M1')");
  // Windows paths as the scheduler hands them: they are only logged, so a
  // duplicate booking makes the log row that shows them.
  const std::string windowsIni = dir.write("C:\\ini\\ORVANTIS.INI", testConfigFileText());
  const std::string source = dir.write("ksw.txt", bookingLine("150324", "081500", "O'B\\1", "12") +
                                                      bookingLine("150324", "081500", "O'B\\1", "12"));
  const std::string parameters = dir.file("C:\\daten\\wkr.prm");
  const ProcessResult result =
      runProcess({ZARNIK_BINARY, windowsIni, source, parameters, "K'S\\W"}, testServerEnvironment());
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_NE(
      result.output.find("[1]: <150324>, <081500>, <O'B\\1>, <12> eingelesen.\nPersonalnummer: <2001>\n"),
      std::string::npos);
  EXPECT_EQ(db->rowsText("SELECT BchPnr, BchFcd FROM qvs_test.QVS321BCH"), "2001|K'S\\W\n");
  EXPECT_EQ(db->rowsText("SELECT LogPrm, LogPnr FROM QVSYSTEM.Qvs001Log"),
            windowsIni + " " + source + " " + parameters + " K'S\\W|2001\n");
}

TEST_F(ImportRun, ImportsBookingsAfter2028) {
  const ProcessResult result =
      run(bookingLine("150230", "081500", "B100", "12") + bookingLine("291231", "235959", "B100", "12"));
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(db->rowsText(kBookingColumns),
            "1001|2030-02-15|2030-02-15 08:15:00|25|KSW|KST-4711\n"
            "1001|2031-12-29|2031-12-29 23:59:00|25|KSW|KST-4711\n");
  EXPECT_EQ(readFileBytes(parameterFile),
            "QVS_TEST            ,1001    ,15.02.2030\r\n"
            "QVS_TEST            ,1001    ,29.12.2031\r\n");
}

TEST_F(ImportRun, LogsAFailedInsertOfABookingAfter2028WithoutLogDate) {
  const ProcessResult result =
      run(bookingLine("150230", "081510", "B100", "12") + bookingLine("150230", "081520", "B100", "12"));
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(db->rowsText("SELECT LogPnr, LogDtm, LogSErr FROM QVSYSTEM.Qvs001Log"), "1001|NULL|1062\n");
  EXPECT_EQ(db->rowsText("SELECT BchUhr FROM qvs_test.QVS321BCH"), "2030-02-15 08:15:00\n");
}

TEST_F(ImportRun, AParameterFileThatCannotBeOpenedLeavesTheRowsSinceTheLastCommitUncommitted) {
  parameterFile = dir.file("no-such-folder/wkr.prm");
  const ProcessResult result = run(bookingLine("150324", "081510", "B100", "12") +
                                   bookingLine("150324", "081520", "B100", "12") +  // fails: commit
                                   bookingLine("150324", "081500", "B200", "12"));  // after the commit
  EXPECT_EQ(result.exitCode, 1);
  const std::string tail = "- Code  : Qvs321Bch\nFehler beim oeffnen der Datei: " + parameterFile + "\n";
  ASSERT_GE(result.output.size(), tail.size());
  EXPECT_EQ(result.output.substr(result.output.size() - tail.size()), tail);
  EXPECT_EQ(db->rowsText("SELECT BchPnr FROM qvs_test.QVS321BCH"), "1001\n");
  EXPECT_EQ(db->rowsText("SELECT LogPnr FROM QVSYSTEM.Qvs001Log"), "1001\n");
}

TEST_F(ImportRun, AParameterFileThatCannotBeWrittenEndsTheRunWithoutCommit) {
  parameterFile = "/dev/full";
  const ProcessResult result = run(bookingLine("150324", "081500", "B100", "12"));
  EXPECT_EQ(result.exitCode, 1);
  const std::string tail = "1001,15.03.2024\nFehler beim schreiben der Datei: /dev/full\n";
  ASSERT_GE(result.output.size(), tail.size());
  EXPECT_EQ(result.output.substr(result.output.size() - tail.size()), tail);
  EXPECT_EQ(db->rowsText("SELECT BchPnr FROM qvs_test.QVS321BCH"), "");
}

TEST_F(ImportRun, AnEmptySourceFileGivesAnEmptyListAndAnEmptyParameterFile) {
  const ProcessResult result = run("");
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.output, "zarnik: Start.\nSortierte Liste:\nzarnik: Ende.\n");
  EXPECT_TRUE(fileExists(parameterFile));
  EXPECT_EQ(readFileBytes(parameterFile), "");
}

TEST_F(ImportRun, StopsWhenTheSourceFileCannotBeOpened) {
  const std::string missing = dir.file("missing.txt");
  for (const std::string& source : {missing, dir.path()}) {
    const ProcessResult result =
        runProcess({ZARNIK_BINARY, ini, source, parameterFile}, testServerEnvironment());
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.output,
              "zarnik: Start.\nFehler beim \xF6"
              "ffnen der Datei: " +
                  source);
  }
  EXPECT_FALSE(fileExists(parameterFile));
}

TEST_F(ImportRun, StopsWhenTheConnectionFails) {
  const struct {
    std::string config;
    std::string output;
  } cases[] = {
      {configFileText("localhost", kTestTenantDatabase, "zarnik", "wrong"), "dbConnect_Error: 1045\n"},
      {configFileText("localhost", "no_such_db", std::getenv("ZARNIK_TEST_USER"),
                      std::getenv("ZARNIK_TEST_PASSWORD")),
       "dbConnect_Error: 1049\n"},
  };
  for (const auto& c : cases) {
    ini = dir.write("ORVANTIS.INI", c.config);
    const ProcessResult result = run(bookingLine("150324", "081500", "B100", "12"));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.output, "zarnik: Start.\n" + c.output);
  }
  EXPECT_FALSE(fileExists(parameterFile));
}

TEST_F(ImportRun, ReachesTheServerOverLoopbackTcp) {
  ini = dir.write("ORVANTIS.INI", testConfigFileText("127.0.0.1"));
  const ProcessResult result = run(bookingLine("150324", "081500", "B100", "12"));
  EXPECT_EQ(result.exitCode, 0) << result.output;
  EXPECT_EQ(db->rowsText("SELECT BchPnr FROM qvs_test.QVS321BCH"), "1001\n");
}

}  // namespace
