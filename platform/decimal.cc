#include "platform/decimal.h"

int32_t parseDecimal(std::string_view text) {
  constexpr int64_t kLimit = int64_t{INT32_MAX} + 1;
  std::size_t i = 0;
  while (i < text.size() && ((text[i] >= '\t' && text[i] <= '\r') || text[i] == ' ')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > kLimit) value = kLimit;
  }
  if (negative) value = -value;
  if (value > INT32_MAX) value = INT32_MAX;
  return static_cast<int32_t>(value);
}
