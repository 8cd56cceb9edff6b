// The configuration reader over arbitrary files and arbitrary requested
// group, key and number: the entry's texts stay within their fields, the
// taken entry matches the request, an over-long value is refused rather than
// cut, the deciphered value fits its field and no key material is left.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "config/config_reader.h"
#include "config/value_cipher.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string group = input.ConsumeRandomLengthString(40);
  const std::string key = input.ConsumeRandomLengthString(40);
  const int32_t number = input.ConsumeIntegral<int32_t>();
  const std::string file = input.ConsumeRemainingBytesAsString();

  static ScratchFile scratch("zarnik-fuzz-config");
  const char* path = scratch.write(file.data(), file.size());

  ConfigEntry entry;
  entry.value.assign("stale");
  readConfigValue(group.c_str(), key.c_str(), number, path, entry);

  FUZZ_CHECK(terminatedWithin(entry.group) && terminatedWithin(entry.key) && terminatedWithin(entry.value));
  const bool reset = entry.number == 0 && entry.group.empty() && entry.key.empty() && entry.value.empty();
  const bool matches =
      entry.group.view() == group.c_str() || entry.key.view() == key.c_str() || entry.number == number;
  FUZZ_CHECK(reset || matches);
  if (entry.valueTooLong) FUZZ_CHECK(entry.value.empty());
  // At most 200 digits are deciphered: 12 whole blocks of 8 bytes.
  FUZZ_CHECK(entry.value.size() <= 96);
  FUZZ_CHECK(blowfishContextIsClear());
  return 0;
}
