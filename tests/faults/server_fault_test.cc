// The server failing under a running import, and files that cannot be used.
// Each run is caught at a known point of its work by something the server
// or the file system makes it wait for (a table lock, a row lock, a FIFO),
// the fault is made there, and the rows that were committed are read back:
// exactly those that a commit point covered, none of the others.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/faults/own_server.h"
#include "tests/support/async_process.h"
#include "tests/support/fixtures.h"
#include "tests/support/import_run.h"
#include "tests/support/process.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_database.h"

namespace {

const char kBookingColumns[] = "SELECT BchPnr, BchUhr FROM qvs_test.QVS321BCH ORDER BY BchUhr";
const char kLogColumns[] = "SELECT LogPnr, LogSErr, LogSTxt FROM QVSYSTEM.Qvs001Log ORDER BY LogId";

// Polls until sql gives at least one row; false after the timeout.
bool waitForRow(TestDatabase& monitor, const std::string& sql,
                std::chrono::seconds timeout = std::chrono::seconds(30)) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < deadline) {
    if (!monitor.query(sql).empty()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

// True once the process is blocked opening a file (a FIFO without reader):
// asleep in openat on several looks in a row, not just passing through one.
bool waitUntilBlockedInOpen(pid_t pid, std::chrono::seconds timeout = std::chrono::seconds(60)) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  const std::string proc = "/proc/" + std::to_string(pid);
  int looks = 0;
  while (std::chrono::steady_clock::now() < deadline) {
    std::ifstream syscall(proc + "/syscall");
    std::ifstream stat(proc + "/stat");
    int number = -1;
    std::string ownPid, command, state;
    const bool blocked = syscall >> number && number == 257 &&  // openat
                         stat >> ownPid >> command >> state && state == "S";
    looks = blocked ? looks + 1 : 0;
    if (looks == 5) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

// Opens the FIFO for reading, which lets the blocked writer go on, and
// reads what it writes until it closes.
std::string drainFifo(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY);
  std::string bytes;
  char buffer[4096];
  for (ssize_t got; fd >= 0 && (got = read(fd, buffer, sizeof buffer)) > 0;) bytes.append(buffer, got);
  if (fd >= 0) close(fd);
  return bytes;
}

// The report of one failed insert whose server connection has gone: the
// log row cannot be written either, and the commit after it fails silently.
std::string failedInsert(const std::string& pnr, const std::string& date, const std::string& time,
                         const std::string& costCentre, int number, const std::string& text,
                         const std::string& schema = "QVS_TEST") {
  const std::string datum = std::to_string(std::stol(date));
  return "Fehler beim Einfuegen der Buchung in Qvs321Bch (" + std::to_string(number) +
         ")\n"
         "Schemaname:  <" +
         schema +
         ">\n"
         "Personalnummer:  <" +
         pnr +
         ">\n"
         "Buchungsdatum:   <" +
         date +
         ">\n"
         "Buchungsuhrzeit: <" +
         time +
         ">\n"
         "Funktionscode:   <25>\n"
         "Funktionsname:   <KSW>\n"
         "Kostenstelle:    <" +
         costCentre +
         ">\n"
         "\nSQL-Fehler:\n"
         "\n\nError in function: SQLInsertQvs321Bch\n"
         "  Pnr: " +
         pnr + ", Datum: " + datum +
         ", ErrNr: 1065\n"
         "  sqlcode: " +
         std::to_string(number) + ", sqlmsg: " + text +
         "\n\n"
         "Message:\n- Text  : " +
         text + "\n- Number: -" + std::to_string(number) + "\n- Code  : Qvs321Bch\n";
}

const std::string kLost = "Lost connection to server during query";
const std::string kGone = "Server has gone away";

// A run against a server of the test's own, which the test may take away.
class OwnServerRun : public testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_TEST_SERVER();
    server = std::make_unique<OwnServer>(serverDir.path(), 30);
    server->useForTestConnections();
    connect();
    db->resetSchema();
    db->exec(standardFixtureSql());
    ini = dir.write("ORVANTIS.INI", testConfigFileText());
    parameterFile = dir.file("wkr.prm");
  }
  void connect() {
    locker.reset();
    db = std::make_unique<TestDatabase>();
    locker = std::make_unique<TestDatabase>();
  }
  std::unique_ptr<AsyncProcess> start(const std::string& source) {
    return std::make_unique<AsyncProcess>(
        std::vector<std::string>{ZARNIK_BINARY, ini, dir.write("ksw.txt", source), parameterFile},
        server->environment());
  }

  TempDir serverDir;
  TempDir dir;
  std::unique_ptr<OwnServer> server;
  std::unique_ptr<TestDatabase> db;      // set-up, watching and read-back
  std::unique_ptr<TestDatabase> locker;  // holds the lock the program waits for
  std::string ini;
  std::string parameterFile;
};

// The server dies while the program waits in its tenant-schema lookup of
// the first booking: every later statement fails, nothing is committed,
// and a server started again in the middle of the run is not used.
TEST_F(OwnServerRun, ServerGoneDuringTheReadingPhaseCommitsNothing) {
  for (const bool restartMidRun : {false, true}) {
    SCOPED_TRACE(restartMidRun ? "restarted mid-run" : "killed");
    if (restartMidRun) {
      parameterFile = dir.file("wkr.fifo");
      ASSERT_EQ(mkfifo(parameterFile.c_str(), 0600), 0);
    }
    locker->exec("LOCK TABLES QVSYSTEM.Qvs112Mnd WRITE");
    auto program =
        start(bookingLine("150324", "081500", "B100", "12") + bookingLine("150324", "091500", "B100", "13"));
    ASSERT_TRUE(waitForRow(*db,
                           "SELECT 1 FROM information_schema.PROCESSLIST "
                           "WHERE STATE = 'Waiting for table metadata lock'"));
    server->stop(SIGKILL);
    std::string parameterLines;
    if (restartMidRun) {
      ASSERT_TRUE(waitUntilBlockedInOpen(program->pid()));
      server->start();
      parameterLines = drainFifo(parameterFile);
    }
    const ProcessResult result = program->finish();
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.output,
              "zarnik: Start.\n"
              "[1]: <150324>, <081500>, <B100>, <12> eingelesen.\n"
              "-Schemaname konnte der Mandantentabelle nicht entnommen werden:\n"
              "  Liz: L1, Mnd: M1, Kon: 0\n"
              "Personalnummer: <1001>\n"
              "Zum Arbeitsplatz (12) konnte keine Kostenstelle entnommen werden.\n"
              "[2]: <150324>, <091500>, <B100>, <13> eingelesen.\n"
              "Zur Ausweisnummer (B100) konnte keine Personalnummer entnommen werden.\n"
              "Sortierte Liste:\n"
              ",15.03.2024\n"
              "1001,15.03.2024\n" +
                  failedInsert("", "150324", "091500", "", 2006, kGone, "") +
                  failedInsert("1001", "150324", "081500", "", 2006, kGone, "") +
                  "zarnik: Ende.\n"
                  "Fehler beim COMMIT (2006): " +
                  kGone + "\n");
    if (!restartMidRun) {
      server->start();
      parameterLines = readFileBytes(parameterFile);
    }
    EXPECT_EQ(parameterLines, "                    ,1001    ,15.03.2024\r\n");
    connect();
    EXPECT_EQ(db->rowsText(kBookingColumns), "");
    EXPECT_EQ(db->rowsText(kLogColumns), "");
  }
}

// The server dies while the fourth insert waits for a row lock: the rows
// before the one commit point (after the failed second insert) stay, with
// its log row; the third row, inserted after it, is gone.
TEST_F(OwnServerRun, ServerKilledDuringTheInsertPhaseKeepsWhatTheLastCommitCovered) {
  locker->exec(
      "START TRANSACTION; INSERT INTO qvs_test.QVS321BCH VALUES "
      "('1001', '2024-03-17', '2024-03-17 10:00:00', 25, 'X', 'X')");
  auto program =
      start(bookingLine("150324", "081510", "B100", "12") + bookingLine("150324", "081520", "B100", "12") +
            bookingLine("160324", "100000", "B100", "12") + bookingLine("170324", "100000", "B100", "12") +
            bookingLine("180324", "100000", "B100", "13"));
  ASSERT_TRUE(waitForRow(*db,
                         "SELECT 1 FROM information_schema.PROCESSLIST "
                         "WHERE INFO LIKE 'INSERT INTO QVS321BCH%' AND TIME_MS > 500"))
      << program->finish().output;
  server->stop(SIGKILL);
  const ProcessResult result = program->finish();
  const std::string duplicate = "Duplicate entry '1001-2024-03-15 08:15:00-25' for key 'PRIMARY'";
  EXPECT_EQ(result.exitCode, 1);
  const std::string expectedTail = "1001,18.03.2024\n" +
                                   failedInsert("1001", "150324", "081500", "KST-4711", 1062, duplicate) +
                                   failedInsert("1001", "170324", "100000", "KST-4711", 2013, kLost) +
                                   failedInsert("1001", "180324", "100000", "KST-0815", 2006, kGone) +
                                   "zarnik: Ende.\n"
                                   "Fehler beim COMMIT (2006): " +
                                   kGone + "\n";
  ASSERT_GE(result.output.size(), expectedTail.size());
  EXPECT_EQ(result.output.substr(result.output.size() - expectedTail.size()), expectedTail) << result.output;
  server->start();
  connect();
  EXPECT_EQ(db->rowsText(kBookingColumns), "1001|2024-03-15 08:15:00\n");
  EXPECT_EQ(db->rowsText(kLogColumns),
            "1001|1062|Duplicate entry \"1001-2024-03-15 08:15:00-25\" for key \"PRIMARY\"\n");
  EXPECT_EQ(readFileBytes(parameterFile),
            "QVS_TEST            ,1001    ,15.03.2024\r\n"
            "QVS_TEST            ,1001    ,16.03.2024\r\n"
            "QVS_TEST            ,1001    ,17.03.2024\r\n"
            "QVS_TEST            ,1001    ,18.03.2024\r\n");
}

TEST(RefusedConnection, EndsTheRunWithTheConnectErrorAndWritesNothing) {
  REQUIRE_TEST_SERVER();
  TempDir dir;
  const struct {
    const char* name;
    std::string host;
    std::vector<std::pair<std::string, std::string>> environment;
  } cases[] = {
      {"no server at the socket", "localhost", {{"MYSQL_UNIX_PORT", dir.file("no.sock")}}},
      {"no server at the port", "127.0.0.1", {{"MYSQL_TCP_PORT", "1"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string ini = dir.write("ORVANTIS.INI", testConfigFileText(c.host));
    const std::string source = dir.write("ksw.txt", bookingLine("150324", "081500", "B100", "12"));
    const ProcessResult result = runProcess({ZARNIK_BINARY, ini, source, dir.file("wkr.prm")}, c.environment);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.output, "zarnik: Start.\ndbConnect_Error: 2002\n");
    EXPECT_FALSE(fileExists(dir.file("wkr.prm")));
  }
}

// Faults on the shared server that leave the server itself running.
class SharedServerRun : public ImportRunTest {
 protected:
  void SetUp() override {
    ImportRunTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    db->exec(standardFixtureSql());
  }
};

// Another program holds the row that the second booking would insert: the
// insert fails on the server's lock wait timeout, is reported and logged,
// the commit follows and the run goes on with the third booking.
TEST_F(SharedServerRun, ALockWaitTimeoutIsReportedLoggedCommittedAndTheRunGoesOn) {
  TestDatabase holder;
  holder.exec(
      "START TRANSACTION; INSERT INTO qvs_test.QVS321BCH VALUES "
      "('1001', '2024-03-16', '2024-03-16 10:00:00', 25, 'X', 'X')");
  const std::string source = dir.write("ksw.txt", bookingLine("150324", "081500", "B100", "12") +
                                                      bookingLine("160324", "100000", "B100", "12") +
                                                      bookingLine("170324", "100000", "B100", "13"));
  const ProcessResult result =
      runProcess({ZARNIK_BINARY, ini, source, parameterFile}, testServerEnvironment());
  holder.exec("ROLLBACK");
  const std::string timeout = "Lock wait timeout exceeded; try restarting transaction";
  EXPECT_EQ(result.exitCode, 0);
  const std::string expectedTail = "1001,17.03.2024\n" +
                                   failedInsert("1001", "160324", "100000", "KST-4711", 1205, timeout) +
                                   "zarnik: Ende.\n";
  ASSERT_GE(result.output.size(), expectedTail.size());
  EXPECT_EQ(result.output.substr(result.output.size() - expectedTail.size()), expectedTail) << result.output;
  EXPECT_EQ(db->rowsText(kBookingColumns), "1001|2024-03-15 08:15:00\n1001|2024-03-17 10:00:00\n");
  EXPECT_EQ(db->rowsText(kLogColumns), "1001|1205|" + timeout + "\n");
}

// The program's connection is killed while it waits to open the parameter
// file, after its inserts: the final commit fails with its message and exit
// code 1, and only what the commit after the failed insert covered stays.
TEST_F(SharedServerRun, AFailedFinalCommitIsReportedWithExitCode1) {
  parameterFile = dir.file("wkr.fifo");
  ASSERT_EQ(mkfifo(parameterFile.c_str(), 0600), 0);
  const std::string source = dir.write("ksw.txt", bookingLine("150324", "081510", "B100", "12") +
                                                      bookingLine("150324", "081520", "B100", "12") +
                                                      bookingLine("160324", "100000", "B100", "13"));
  AsyncProcess program({ZARNIK_BINARY, ini, source, parameterFile}, testServerEnvironment());
  ASSERT_TRUE(waitUntilBlockedInOpen(program.pid()));
  const auto others = db->query(
      "SELECT ID FROM information_schema.PROCESSLIST WHERE ID <> CONNECTION_ID() "
      "AND DB = 'qvs_test' AND USER = '" +
      std::string(std::getenv("ZARNIK_TEST_USER")) + "'");
  ASSERT_EQ(others.size(), 1u);
  db->exec("KILL CONNECTION " + others[0][0].value());
  const std::string parameterLines = drainFifo(parameterFile);
  const ProcessResult result = program.finish();
  EXPECT_EQ(result.exitCode, 1);
  const std::string expectedTail =
      "- Code  : Qvs321Bch\nzarnik: Ende.\nFehler beim COMMIT (2006): " + kGone + "\n";
  ASSERT_GE(result.output.size(), expectedTail.size());
  EXPECT_EQ(result.output.substr(result.output.size() - expectedTail.size()), expectedTail) << result.output;
  EXPECT_EQ(parameterLines,
            "QVS_TEST            ,1001    ,15.03.2024\r\n"
            "QVS_TEST            ,1001    ,16.03.2024\r\n");
  EXPECT_EQ(db->rowsText(kBookingColumns), "1001|2024-03-15 08:15:00\n");
  EXPECT_EQ(db->rowsText("SELECT LogPnr, LogSErr FROM QVSYSTEM.Qvs001Log"), "1001|1062\n");
}

}  // namespace

namespace {

// Files the program cannot use. The program runs as an unprivileged user
// (the tests may run as root, for whom permissions do not apply) and
// reaches the server over loopback TCP.
TEST_F(SharedServerRun, FilesThatCannotBeUsedEndTheRunWithTheirMessage) {
  ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
  ini = dir.write("ORVANTIS.INI", testConfigFileText("127.0.0.1"));
  ASSERT_EQ(chmod(ini.c_str(), 0644), 0);
  const std::string readOnlyFolder = dir.file("ro");
  ASSERT_EQ(mkdir(readOnlyFolder.c_str(), 0555), 0);
  const std::string source = dir.write("ksw.txt", bookingLine("150324", "081510", "B100", "12") +
                                                      bookingLine("150324", "081520", "B100", "12") +
                                                      bookingLine("160324", "100000", "B100", "13"));
  ASSERT_EQ(chmod(source.c_str(), 0644), 0);
  const std::string unreadable = dir.write("unreadable.txt", bookingLine("150324", "081510", "B100", "12"));
  ASSERT_EQ(chmod(unreadable.c_str(), 0), 0);

  {
    SCOPED_TRACE("source file unreadable");
    AsyncProcess program({ZARNIK_BINARY, ini, unreadable, parameterFile}, testServerEnvironment(), true);
    const ProcessResult result = program.finish();
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.output,
              "zarnik: Start.\nFehler beim \xF6"
              "ffnen der Datei: " +
                  unreadable);
    EXPECT_FALSE(fileExists(parameterFile));
  }
  {
    SCOPED_TRACE("parameter file in a read-only folder");
    const std::string blocked = readOnlyFolder + "/wkr.prm";
    AsyncProcess program({ZARNIK_BINARY, ini, source, blocked}, testServerEnvironment(), true);
    const ProcessResult result = program.finish();
    EXPECT_EQ(result.exitCode, 1);
    const std::string tail = "- Code  : Qvs321Bch\nFehler beim oeffnen der Datei: " + blocked + "\n";
    ASSERT_GE(result.output.size(), tail.size());
    EXPECT_EQ(result.output.substr(result.output.size() - tail.size()), tail) << result.output;
    // The commit after the failed insert covers the first row and the log
    // row; the third row came after it and is not committed.
    EXPECT_EQ(db->rowsText(kBookingColumns), "1001|2024-03-15 08:15:00\n");
    EXPECT_EQ(db->rowsText("SELECT LogPnr, LogSErr FROM QVSYSTEM.Qvs001Log"), "1001|1062\n");
    EXPECT_FALSE(fileExists(blocked));
  }
}

}  // namespace
