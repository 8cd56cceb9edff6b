// A complete run, a failed insert and its log row included, under valgrind:
// no memory error and nothing lost. The connection is never closed, by
// design, so the client library's buffers are still reachable at the end;
// only memory that nothing points to any more counts as a leak. (The
// sanitizer build checks every run of the program with LeakSanitizer.)
#include <gtest/gtest.h>

#include <string>

#include "tests/support/fixtures.h"
#include "tests/support/process.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_database.h"

namespace {

class CompleteRun : public DatabaseTest {};

TEST_F(CompleteRun, LeaksNothingUnderValgrind) {
  if (ZARNIK_SANITIZED) GTEST_SKIP() << "valgrind does not run sanitizer builds";
  if (!fileExists("/usr/bin/valgrind")) GTEST_SKIP() << "valgrind is not installed";
  db->exec(standardFixtureSql());
  TempDir dir;
  const std::string ini = dir.write("ORVANTIS.INI", testConfigFileText());
  const std::string source = dir.write("ksw.txt",
                                       "150324081510B100         12    \r\n"
                                       "150324081520B100         12    \r\n"
                                       "160324100000B200         13    \r\n");
  const std::string log = dir.file("valgrind.log");
  const ProcessResult result = runProcess(
      {"/usr/bin/valgrind", "--quiet", "--leak-check=full", "--errors-for-leak-kinds=definite,indirect",
       "--error-exitcode=99", "--log-file=" + log, ZARNIK_BINARY, ini, source, dir.file("wkr.prm")},
      testServerEnvironment());
  EXPECT_EQ(result.exitCode, 0) << readFileBytes(log);
  EXPECT_EQ(readFileBytes(log), "");
  EXPECT_NE(result.output.find("- Number: -1062\n- Code  : Qvs321Bch\nzarnik: Ende.\n"), std::string::npos);
  EXPECT_EQ(db->rowsText("SELECT COUNT(*) FROM qvs_test.QVS321BCH"), "2\n");
}

}  // namespace
