// Decimal text to integer, the way the C library's atoi reads one.
#pragma once

#include <cstdint>
#include <string_view>

// Skips leading white space, takes an optional sign and the digits up to the
// first other character; 0 when there is none. Values beyond the 32-bit
// range are held at its ends instead of being undefined.
int32_t parseDecimal(std::string_view text);
