// Reading one value that must not show on the screen or the command line.
#pragma once

#include <cstdio>
#include <string>

enum class SecretInput {
  kRead,     // value holds the line
  kNoInput,  // the input ended before any byte of a line
  kFailed,   // the terminal could not be set up or read
};

// Reads one line from in into value, without its line end (LF or CR LF).
// When in is a terminal, prompt is written to promptStream first and the
// terminal does not echo what is typed; its settings are restored when the
// line is in, and also when a signal ends the process while it waits.
// Otherwise (a pipe, a file) the line is read as it comes, with no prompt.
SecretInput readSecretLine(std::FILE* in, std::FILE* promptStream, const char* prompt, std::string& value);
