#include "tools/secret_input.h"

#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <csignal>

namespace {

// The terminal settings to restore should a signal end the process while
// echo is off. Only tcsetattr, which is safe in a signal handler, uses them.
struct termios savedSettings;
volatile sig_atomic_t savedFd = -1;

const int kRestoringSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGTSTP};

void restoreAndRaise(int signalNumber) {
  if (savedFd >= 0) tcsetattr(savedFd, TCSAFLUSH, &savedSettings);
  signal(signalNumber, SIG_DFL);
  raise(signalNumber);
}

// Reads up to and including the next LF; false when nothing came.
bool readLine(std::FILE* in, std::string& value) {
  value.clear();
  bool any = false;
  for (;;) {
    const int c = std::getc(in);
    if (c == EOF) break;
    any = true;
    if (c == '\n') break;
    value.push_back(static_cast<char>(c));
  }
  if (!value.empty() && value.back() == '\r') value.pop_back();
  return any;
}

}  // namespace

SecretInput readSecretLine(std::FILE* in, std::FILE* promptStream, const char* prompt, std::string& value) {
  const int fd = fileno(in);
  if (fd < 0 || !isatty(fd)) return readLine(in, value) ? SecretInput::kRead : SecretInput::kNoInput;

  struct termios settings;
  if (tcgetattr(fd, &settings) != 0) return SecretInput::kFailed;
  savedSettings = settings;
  struct sigaction previous[sizeof kRestoringSignals / sizeof kRestoringSignals[0]];
  struct sigaction restoring = {};
  restoring.sa_handler = restoreAndRaise;
  sigemptyset(&restoring.sa_mask);
  savedFd = fd;
  for (std::size_t i = 0; i < sizeof kRestoringSignals / sizeof kRestoringSignals[0]; ++i) {
    sigaction(kRestoringSignals[i], &restoring, &previous[i]);
  }

  settings.c_lflag &= ~static_cast<tcflag_t>(ECHO);
  settings.c_lflag |= ECHONL;  // the Enter key still moves to the next line
  SecretInput result = SecretInput::kFailed;
  if (tcsetattr(fd, TCSAFLUSH, &settings) == 0) {
    // Prompted only once echo is off: nothing typed after the prompt shows.
    std::fputs(prompt, promptStream);
    std::fflush(promptStream);
    result = readLine(in, value) ? SecretInput::kRead : SecretInput::kNoInput;
    tcsetattr(fd, TCSAFLUSH, &savedSettings);
  }

  savedFd = -1;
  for (std::size_t i = 0; i < sizeof kRestoringSignals / sizeof kRestoringSignals[0]; ++i) {
    sigaction(kRestoringSignals[i], &previous[i], nullptr);
  }
  return result;
}
