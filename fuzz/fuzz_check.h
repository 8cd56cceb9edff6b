// What the fuzz targets share: a property that does not hold is a finding,
// reported with its text and ended with abort() so that libFuzzer keeps the
// input that showed it.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/fixed_text.h"

#define FUZZ_CHECK(condition)                                                               \
  do {                                                                                      \
    if (!(condition)) {                                                                     \
      std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                         \
    }                                                                                       \
  } while (false)

// The text ends with a zero byte inside its field.
template <std::size_t Width>
bool terminatedWithin(const FixedText<Width>& text) {
  return ::strnlen(text.bytes, Width) < Width;
}

// A file in memory for code that opens files by path: rewritten with each
// input, opened through /proc/self/fd, and gone with the process, whatever
// way it ends.
class ScratchFile {
 public:
  explicit ScratchFile(const char* name) : fd_(memfd_create(name, 0)) {
    FUZZ_CHECK(fd_ >= 0);
    path_ = "/proc/self/fd/" + std::to_string(fd_);
  }
  const char* write(const void* data, std::size_t size) {
    FUZZ_CHECK(ftruncate(fd_, 0) == 0);
    FUZZ_CHECK(pwrite(fd_, data, size, 0) == static_cast<ssize_t>(size));
    return path_.c_str();
  }

 private:
  int fd_;
  std::string path_;
};
