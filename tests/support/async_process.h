// A program run as a child process that the test can watch while it runs:
// wait for a text to appear on its standard output, act (stop a server,
// feed a FIFO), then collect the rest. For runs that need the program to
// be caught at a given point of its work.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tests/support/process.h"

class AsyncProcess {
 public:
  // Starts program with arguments (argument 0 included), the test's
  // environment with extraEnvironment added or replaced, and standard input
  // from /dev/null. With asUnprivilegedUser, a test that runs as root runs
  // the child as nobody, so that file permissions apply to it.
  AsyncProcess(const std::vector<std::string>& arguments,
               const std::vector<std::pair<std::string, std::string>>& extraEnvironment = {},
               bool asUnprivilegedUser = false);
  // Kills a child that is still running.
  ~AsyncProcess();
  AsyncProcess(const AsyncProcess&) = delete;
  AsyncProcess& operator=(const AsyncProcess&) = delete;

  // Reads output until it holds text; false when the child ends or the
  // timeout passes first.
  bool waitForOutput(std::string_view text, std::chrono::seconds timeout = std::chrono::seconds(30));
  // Reads the rest of the output and waits for the child's exit.
  ProcessResult finish();

  const std::string& output() const { return output_; }
  pid_t pid() const { return pid_; }

 private:
  bool readSome(int timeoutMilliseconds);  // false at the end of the output

  pid_t pid_ = -1;
  int outputFd_ = -1;
  std::string output_;
};
