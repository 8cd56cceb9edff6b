// Statement texts in fixed buffers, and values made safe to stand between
// their quotes.
#pragma once

#include <cstddef>

#include "common/fixed_text.h"
#include "db/db_session.h"

// Formats a statement into buffer. A text that does not fit, its terminator
// included, ends the process at once with exit code 1 and no message: no
// statement is ever sent cut short.
void formatStatement(char* buffer, std::size_t size, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// A field's text escaped for the session, to be put between single quotes:
// an apostrophe or a backslash in it is stored and compared exactly as given
// and can never change the statement. Sized for the worst case of its field.
template <std::size_t Width>
class QuotedValue {
 public:
  explicit QuotedValue(const FixedText<Width>& value) { dbEscapeText(value.view(), text_, sizeof text_); }
  const char* c_str() const { return text_; }

 private:
  char text_[2 * (Width - 1) + 1] = {};
};
