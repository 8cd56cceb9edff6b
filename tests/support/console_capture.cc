#include "tests/support/console_capture.h"

#include <cstdlib>

#include "platform/console.h"

ConsoleCapture::ConsoleCapture() {
  stream_ = open_memstream(&buffer_, &size_);
  consoleSetStream(stream_);
}

ConsoleCapture::~ConsoleCapture() {
  consoleSetStream(nullptr);
  std::fclose(stream_);
  std::free(buffer_);
}

std::string ConsoleCapture::take() {
  std::fflush(stream_);
  std::string text(buffer_ + taken_, size_ - taken_);
  taken_ = size_;
  return text;
}
