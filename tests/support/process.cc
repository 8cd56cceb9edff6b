#include "tests/support/process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>

extern char** environ;

ChildCommand::ChildCommand(const std::vector<std::string>& arguments,
                           const std::vector<std::pair<std::string, std::string>>& extraEnvironment)
    : arguments_(arguments) {
  for (char** entry = environ; *entry != nullptr; ++entry) {
    bool replaced = false;
    for (const auto& [name, value] : extraEnvironment) {
      if (std::strncmp(*entry, name.c_str(), name.size()) == 0 && (*entry)[name.size()] == '=')
        replaced = true;
    }
    if (!replaced) environment_.emplace_back(*entry);
  }
  for (const auto& [name, value] : extraEnvironment) environment_.push_back(name + "=" + value);
  for (std::string& argument : arguments_) argv_.push_back(argument.data());
  argv_.push_back(nullptr);
  for (std::string& entry : environment_) envp_.push_back(entry.data());
  envp_.push_back(nullptr);
}

ProcessResult runProcess(const std::vector<std::string>& arguments,
                         const std::vector<std::pair<std::string, std::string>>& extraEnvironment) {
  ChildCommand command(arguments, extraEnvironment);
  int pipeFds[2];
  if (pipe(pipeFds) != 0) throw std::runtime_error("pipe failed");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
  posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
  posix_spawn_file_actions_addclose(&actions, pipeFds[1]);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, command.argv()[0], &actions, nullptr, command.argv(), command.envp());
  posix_spawn_file_actions_destroy(&actions);
  close(pipeFds[1]);
  if (spawned != 0) {
    close(pipeFds[0]);
    throw std::runtime_error("posix_spawn failed for " + arguments[0]);
  }

  ProcessResult result;
  char buffer[4096];
  for (;;) {
    const ssize_t got = read(pipeFds[0], buffer, sizeof buffer);
    if (got <= 0) break;
    result.output.append(buffer, static_cast<std::size_t>(got));
  }
  close(pipeFds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  return result;
}
