// The value cipher over arbitrary texts and output sizes. Buffers are heap
// blocks of exactly the size handed over, so that AddressSanitizer sees any
// byte written or read beyond them. Checked: the deciphered text is
// terminated within its buffer and holds no more than the whole blocks of
// the text; each block deciphers on its own (ECB); a smaller buffer gives
// the leading blocks of a larger one; hexToBytes reads upper-case digits as
// hexadecimal; enciphering and deciphering give back the plain text; no key
// material is left after a call.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "config/value_cipher.h"
#include "fuzz/fuzz_check.h"

namespace {

std::unique_ptr<char[]> exactCopy(const std::string& text) {
  std::unique_ptr<char[]> copy(new char[text.size() + 1]);
  std::memcpy(copy.get(), text.c_str(), text.size() + 1);
  return copy;
}

// Deciphers into a buffer of exactly size bytes, first filled with a marker.
std::unique_ptr<char[]> decipher(const char* hex, std::size_t size) {
  std::unique_ptr<char[]> output(new char[size]);
  std::memset(output.get(), 0x5A, size);
  FUZZ_CHECK(decryptConfigValue(hex, output.get(), size, kConfigKeyText) == 1);
  FUZZ_CHECK(blowfishContextIsClear());
  return output;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::size_t outputSize = input.ConsumeIntegralInRange<std::size_t>(0, 400);
  const std::string text = input.ConsumeRemainingBytesAsString();
  const std::unique_ptr<char[]> hex = exactCopy(text);
  const std::size_t length = std::strlen(hex.get());
  const std::size_t blocks = length / 16;

  // Deciphering with the room the text needs, and with the room chosen.
  const std::size_t fullSize = 8 * blocks + 1;
  const std::unique_ptr<char[]> full = decipher(hex.get(), fullSize);
  FUZZ_CHECK(full[8 * blocks] == '\0');
  const std::unique_ptr<char[]> chosen = decipher(hex.get(), outputSize);
  if (outputSize > 0) {
    const std::size_t written = ::strnlen(chosen.get(), outputSize);
    FUZZ_CHECK(written < outputSize);
    FUZZ_CHECK(written <= 8 * blocks);
    const std::size_t fitting = std::min(blocks, (outputSize - 1) / 8);
    FUZZ_CHECK(std::memcmp(chosen.get(), full.get(), 8 * fitting) == 0);
    FUZZ_CHECK(chosen[8 * fitting] == '\0');
  }

  // Each block on its own gives the same bytes.
  for (std::size_t b = 0; b < blocks && b < 8; ++b) {
    const std::unique_ptr<char[]> group = exactCopy(std::string(hex.get() + 16 * b, 16));
    const std::unique_ptr<char[]> single = decipher(group.get(), 9);
    FUZZ_CHECK(std::memcmp(single.get(), full.get() + 8 * b, 8) == 0);
  }

  // hexToBytes writes count / 2 bytes and no more.
  const std::size_t count = length;
  std::unique_ptr<unsigned char[]> bytes(new unsigned char[count / 2]);
  hexToBytes(hex.get(), count, bytes.get());
  for (std::size_t i = 0; i + 1 < count; i += 2) {
    const int high = hexValue(hex[i]);
    const int low = hexValue(hex[i + 1]);
    if (high >= 0 && low >= 0) FUZZ_CHECK(bytes[i / 2] == high * 16 + low);
  }

  // The plain text (up to 64 bytes of it) enciphers and deciphers back.
  const std::string plain = std::string(hex.get()).substr(0, 64);
  const std::size_t cipherSize = 16 * ((plain.size() + 7) / 8) + 1;
  const std::unique_ptr<char[]> plainCopy = exactCopy(plain);
  std::unique_ptr<char[]> enciphered(new char[cipherSize]);
  FUZZ_CHECK(encryptConfigValue(plainCopy.get(), enciphered.get(), cipherSize, kConfigKeyText) == 1);
  FUZZ_CHECK(blowfishContextIsClear());
  FUZZ_CHECK(std::strlen(enciphered.get()) == cipherSize - 1);
  const std::unique_ptr<char[]> roundTrip = decipher(enciphered.get(), cipherSize);
  FUZZ_CHECK(plain == roundTrip.get());
  std::unique_ptr<char[]> tooSmall(new char[cipherSize - 1]);
  FUZZ_CHECK(encryptConfigValue(plainCopy.get(), tooSmall.get(), cipherSize - 1, kConfigKeyText) == 0);
  return 0;
}
