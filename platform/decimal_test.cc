#include "platform/decimal.h"

#include <gtest/gtest.h>

namespace {

TEST(ParseDecimal, ReadsLikeAtoi) {
  const struct {
    const char* text;
    int32_t value;
  } cases[] = {
      {"150324", 150324},
      {"010203", 10203},
      {"  42x", 42},
      {"\t-7", -7},
      {"+8", 8},
      {"", 0},
      {"abc", 0},
      {"- 1", 0},
      {"1 2", 1},
      {";3;", 0},
      {"99999999999999", INT32_MAX},
      {"-99999999999999", INT32_MIN},
      {"2147483647", INT32_MAX},
      {"-2147483648", INT32_MIN},
  };
  for (const auto& c : cases) EXPECT_EQ(parseDecimal(c.text), c.value) << '"' << c.text << '"';
}

}  // namespace
