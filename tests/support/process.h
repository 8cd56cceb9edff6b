// Runs a program as a child process and collects its standard output.
#pragma once

#include <string>
#include <utility>
#include <vector>

struct ProcessResult {
  int exitCode = -1;   // -1 when it did not exit normally
  std::string output;  // standard output, byte for byte
};

// The words of a child's command line and environment as the exec calls
// take them: NUL-terminated texts in arrays ended by a null entry. The
// environment is the test's, with extraEnvironment added or replaced.
class ChildCommand {
 public:
  ChildCommand(const std::vector<std::string>& arguments,
               const std::vector<std::pair<std::string, std::string>>& extraEnvironment);
  char* const* argv() { return argv_.data(); }
  char* const* envp() { return envp_.data(); }

 private:
  std::vector<std::string> arguments_;
  std::vector<std::string> environment_;
  std::vector<char*> argv_;
  std::vector<char*> envp_;
};

// Runs program with arguments (argument 0 included), its environment that
// of the test with extraEnvironment added or replaced, and standard input
// from /dev/null. Standard error passes through to the test's.
ProcessResult runProcess(const std::vector<std::string>& arguments,
                         const std::vector<std::pair<std::string, std::string>>& extraEnvironment = {});
