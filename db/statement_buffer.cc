#include "db/statement_buffer.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

void formatStatement(char* buffer, std::size_t size, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const int length = std::vsnprintf(buffer, size, format, args);
  va_end(args);
  if (length < 0 || static_cast<std::size_t>(length) >= size) std::exit(1);
}
