#include "tests/support/import_run.h"

std::string bookingLine(const std::string& date, const std::string& time, const std::string& badge,
                        const std::string& workstation) {
  return date + time + badge + std::string(13 - badge.size(), ' ') + workstation +
         std::string(6 - workstation.size(), ' ') + "\r\n";
}

void ImportRunTest::SetUp() {
  DatabaseTest::SetUp();
  if (IsSkipped() || HasFatalFailure()) return;
  ini = dir.write("ORVANTIS.INI", testConfigFileText());
  parameterFile = dir.file("wkr.prm");
}

ProcessResult ImportRunTest::run(const std::string& sourceBytes, const std::vector<std::string>& extra) {
  const std::string source = dir.write("ksw.txt", sourceBytes);
  std::vector<std::string> arguments = {ZARNIK_BINARY, ini, source, parameterFile};
  arguments.insert(arguments.end(), extra.begin(), extra.end());
  return runProcess(arguments, testServerEnvironment());
}
