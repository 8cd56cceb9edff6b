// Reads back, byte for byte, what the code under test printed on the console.
#pragma once

#include <cstdio>
#include <string>

class ConsoleCapture {
 public:
  ConsoleCapture();
  ~ConsoleCapture();
  ConsoleCapture(const ConsoleCapture&) = delete;
  ConsoleCapture& operator=(const ConsoleCapture&) = delete;

  // Everything printed since the capture began (or since the last take).
  std::string take();

 private:
  FILE* stream_ = nullptr;
  char* buffer_ = nullptr;
  std::size_t size_ = 0;
  std::size_t taken_ = 0;
};
