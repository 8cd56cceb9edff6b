// Runs a program as a child process and collects its standard output.
#pragma once

#include <string>
#include <utility>
#include <vector>

struct ProcessResult {
  int exitCode = -1;   // -1 when it did not exit normally
  std::string output;  // standard output, byte for byte
};

// Runs program with arguments (argument 0 included), its environment that
// of the test with extraEnvironment added or replaced, and standard input
// from /dev/null. Standard error passes through to the test's.
ProcessResult runProcess(const std::vector<std::string>& arguments,
                         const std::vector<std::pair<std::string, std::string>>& extraEnvironment = {});
