// The console: every message of the program goes to standard output.
//
// The stream is exchangeable so that tests can read back, byte for byte,
// what a step printed.
#pragma once

#include <cstdio>
#include <string_view>

// Writes formatted text to the console stream.
void consolePrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Writes bytes to the console stream as they are.
void consoleWrite(std::string_view text);
// Pushes buffered console output to its destination.
void consoleFlush();

// The stream messages go to; standard output unless a test has set another.
FILE* consoleStream();
// Sets the stream for the following messages; nullptr restores standard output.
void consoleSetStream(FILE* stream);
