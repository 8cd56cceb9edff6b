#include "platform/console.h"

#include <cstdarg>

namespace {
FILE* redirected = nullptr;
}  // namespace

FILE* consoleStream() { return redirected != nullptr ? redirected : stdout; }

void consoleSetStream(FILE* stream) { redirected = stream; }

void consolePrintf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vfprintf(consoleStream(), format, args);
  va_end(args);
}

void consoleWrite(std::string_view text) { std::fwrite(text.data(), 1, text.size(), consoleStream()); }

void consoleFlush() { std::fflush(consoleStream()); }
