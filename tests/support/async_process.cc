#include "tests/support/async_process.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>

namespace {

constexpr uid_t kNobody = 65534;

}  // namespace

AsyncProcess::AsyncProcess(const std::vector<std::string>& arguments,
                           const std::vector<std::pair<std::string, std::string>>& extraEnvironment,
                           bool asUnprivilegedUser) {
  ChildCommand command(arguments, extraEnvironment);

  int pipeFds[2];
  if (pipe(pipeFds) != 0) throw std::runtime_error("pipe failed");
  const bool dropRights = asUnprivilegedUser && geteuid() == 0;
  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error("fork failed");
  if (pid_ == 0) {
    const int input = open("/dev/null", O_RDONLY);
    dup2(input, 0);
    dup2(pipeFds[1], 1);
    close(pipeFds[0]);
    close(pipeFds[1]);
    if (dropRights && (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0))
      _exit(126);
    execve(command.argv()[0], command.argv(), command.envp());
    _exit(127);
  }
  close(pipeFds[1]);
  outputFd_ = pipeFds[0];
}

AsyncProcess::~AsyncProcess() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  if (outputFd_ >= 0) close(outputFd_);
}

bool AsyncProcess::readSome(int timeoutMilliseconds) {
  if (outputFd_ < 0) return false;
  pollfd fd{outputFd_, POLLIN, 0};
  if (poll(&fd, 1, timeoutMilliseconds) <= 0) return true;
  char buffer[4096];
  const ssize_t got = read(outputFd_, buffer, sizeof buffer);
  if (got <= 0) {
    close(outputFd_);
    outputFd_ = -1;
    return false;
  }
  output_.append(buffer, static_cast<std::size_t>(got));
  return true;
}

bool AsyncProcess::waitForOutput(std::string_view text, std::chrono::seconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (output_.find(text) == std::string::npos) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    if (!readSome(100)) return output_.find(text) != std::string::npos;
  }
  return true;
}

ProcessResult AsyncProcess::finish() {
  while (readSome(1000)) {
  }
  ProcessResult result;
  int status = 0;
  if (pid_ > 0) waitpid(pid_, &status, 0);
  pid_ = -1;
  if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  result.output = output_;
  return result;
}
