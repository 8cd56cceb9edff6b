#include "config/config_reader.h"

#include <cstring>
#include <string_view>

#include "config/value_cipher.h"
#include "platform/decimal.h"
#include "platform/text_stream.h"

namespace {

void resetEntry(ConfigEntry& entry) { entry = ConfigEntry{}; }

}  // namespace

int findCharPosition(const char* text, char c, int n) {
  int found = -1;
  int seen = 0;
  for (int i = 0; text[i] != '\0' && seen < n; ++i) {
    if (text[i] == c) {
      found = i;
      ++seen;
    }
  }
  return found;
}

bool copyFieldText(const char* source, int start, int length, char* destination,
                   std::size_t destinationSize) {
  if (length < 0 || destinationSize == 0) return true;
  const std::size_t sourceLength = std::strlen(source);
  const std::size_t from = start < 0 ? 0 : std::min<std::size_t>(start, sourceLength);
  std::size_t count = sourceLength - from;
  if (length > 0) count = std::min<std::size_t>(count, length);
  const std::size_t copied = std::min(count, destinationSize - 1);
  std::memmove(destination, source + from, copied);
  destination[copied] = '\0';
  return copied == count;
}

void splitConfigPair(const char* groupLine, char* valueLine, ConfigEntry& entry) {
  int p1 = findCharPosition(groupLine, ';', 1);
  int p2 = findCharPosition(groupLine, ';', 2);
  copyFieldText(groupLine, p1 + 1, p2 - p1 - 1, entry.group);

  p1 = findCharPosition(valueLine, ';', 1);
  p2 = findCharPosition(valueLine, ';', 2);
  // A line without any semicolon has no number field, and one that starts
  // with a semicolon has the whole line as its number text: both read as 0.
  entry.number = p1 <= 0 ? 0 : parseDecimal(std::string_view(valueLine, p1));

  const char* lineFeed = std::strchr(valueLine, '\n');
  // 399 characters without a line feed: the line is longer than the reader
  // takes, and what it read of the value is not the whole value.
  const bool lineCut = lineFeed == nullptr && std::strlen(valueLine) == kConfigValueLineSize - 1;
  if (lineFeed == nullptr) {
    const std::size_t length = std::strlen(valueLine);
    valueLine[length] = '\n';
    valueLine[length + 1] = '\0';
    lineFeed = valueLine + length;
  }
  copyFieldText(valueLine, p1 + 1, p2 - p1 - 1, entry.key);
  const int valueLength = p1 < 0 ? 0 : static_cast<int>(lineFeed - valueLine) - p2 - 1;
  const bool valueFits = copyFieldText(valueLine, p2 + 1, valueLength, entry.value);
  entry.valueTooLong = lineCut || !valueFits;
}

void readConfigValue(const char* group, const char* key, int32_t number, const char* path,
                     ConfigEntry& entry) {
  resetEntry(entry);
  TextInput file;
  if (!file.open(path)) return;

  char groupLine[kConfigGroupLineSize] = {};
  char valueLine[kConfigValueLineSize + 1] = {};  // room for the line feed the split adds
  for (;;) {
    file.readLine(groupLine, sizeof groupLine);
    // The end of the file is detected on the value line only: a last,
    // unpaired line is never examined.
    if (!file.readLine(valueLine, kConfigValueLineSize)) return;
    splitConfigPair(groupLine, valueLine, entry);

    const bool taken = std::strcmp(entry.group.c_str(), group) == 0 ||
                       std::strcmp(entry.key.c_str(), key) == 0 || entry.number == number;
    if (!taken) {
      resetEntry(entry);
      continue;
    }
    if (entry.valueTooLong) {
      entry.value.clear();
      return;
    }
    char plain[sizeof entry.value.bytes];
    decryptConfigValue(entry.value.c_str(), plain, sizeof plain, kConfigKeyText);
    entry.value.assign(plain);
    explicit_bzero(plain, sizeof plain);
    return;
  }
}
