// Whole runs of the program against the test server.
#pragma once

#include <string>
#include <vector>

#include "tests/support/process.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_database.h"

// One booking of a source file as a line of 31 characters and CR LF: date
// DDMMYY, time HHMMSS, badge padded to 13, workstation padded to 6.
std::string bookingLine(const std::string& date, const std::string& time, const std::string& badge,
                        const std::string& workstation);

// A DatabaseTest with a folder for the run's files, a configuration file for
// the test server and the path of the parameter file.
class ImportRunTest : public DatabaseTest {
 protected:
  void SetUp() override;

  // Runs the program on a source file of sourceBytes, with the extra
  // arguments after the parameter file.
  ProcessResult run(const std::string& sourceBytes, const std::vector<std::string>& extra = {});

  TempDir dir;
  std::string ini;
  std::string parameterFile;
};
