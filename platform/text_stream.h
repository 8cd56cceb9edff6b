// Text streams with the line-end translation of the platform the files come
// from, done here byte for byte so that files read and write alike on every
// platform:
//   reading: CR LF is delivered as LF, a CR not followed by LF stays, and the
//            byte 0x1A ends the input (nothing from it on is delivered);
//   writing: LF is stored as CR LF.
// No other byte is changed: no character set is assumed.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string_view>

class TextInput {
 public:
  TextInput() = default;
  ~TextInput();
  TextInput(const TextInput&) = delete;
  TextInput& operator=(const TextInput&) = delete;

  // Opens path for reading; false when it cannot be opened or is a folder.
  bool open(const char* path);
  void close();

  // Delivers up to count translated bytes into output and returns how many
  // arrived; fewer than count only at the end of the input. A read error
  // counts as the end of the input.
  std::size_t read(char* output, std::size_t count);

  // Reads one line the way the C library's fgets does: at most size - 1
  // bytes, up to and including the first LF, NUL-terminated. False, with
  // output untouched, when the input has ended before any byte.
  bool readLine(char* output, std::size_t size);

 private:
  int nextByte();  // the next translated byte, or -1 at the end
  int rawByte();   // the next byte of the file, or -1 at the end

  FILE* file_ = nullptr;
  bool ended_ = false;
  int pending_ = -1;  // a byte read ahead after a CR
  std::size_t position_ = 0;
  std::size_t filled_ = 0;
  unsigned char buffer_[1 << 16];
};

class TextOutput {
 public:
  TextOutput() = default;
  ~TextOutput();
  TextOutput(const TextOutput&) = delete;
  TextOutput& operator=(const TextOutput&) = delete;

  // Opens path for appending, creating it when missing; false when it cannot
  // be opened or is a folder.
  bool openForAppend(const char* path);

  // Queues text, each LF stored as CR LF.
  void write(std::string_view text);

  // Writes out what is queued and closes the file; true only when every
  // byte reached the file and the close succeeded.
  bool close();

 private:
  bool flushBuffer();

  FILE* file_ = nullptr;
  bool failed_ = false;
  std::size_t filled_ = 0;
  char buffer_[1 << 16];
};
