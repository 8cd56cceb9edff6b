#include "import/booking_record.h"

#include <cstring>

#include "platform/console.h"
#include "common/run_config.h"

namespace {

bool isAlphanumeric(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool isWhiteSpace(unsigned char c) { return (c >= 0x09 && c <= 0x0D) || c == ' '; }

// Reads one piece of exactly the field's capacity; it counts only whole.
template <std::size_t Width>
std::size_t readPiece(TextInput& source, FixedText<Width>& field) {
  const std::size_t got = source.read(field.data(), FixedText<Width>::kCapacity);
  return got == FixedText<Width>::kCapacity ? got : 0;
}

}  // namespace

int readBookingRecord(TextInput& source, BookingArray& bookings) {
  bookings.records.emplace_back();
  const int attempt = static_cast<int>(bookings.records.size());
  BookingRecord& record = bookings.records.back();

  // All four pieces are read, in this order, whatever the earlier ones gave.
  std::size_t total = readPiece(source, record.bookingDate);
  total += readPiece(source, record.bookingTime);
  total += readPiece(source, record.badgeNumber);
  total += readPiece(source, record.workstation);
  if (total != 32) {
    bookings.bookingCount = attempt - 1;
    return 1;
  }
  bookings.bookingCount = attempt;

  trimTrailingSpace(record.badgeNumber.data());
  trimTrailingSpace(record.workstation.data());
  stripLeadingZeros(record.workstation.data());
  if (kTraceLevel != 0) {
    consolePrintf("[%d]: <%s>, <%s>, <%s>, <%s> eingelesen.\n", attempt,
                  record.bookingDate.c_str(), record.bookingTime.c_str(),
                  record.badgeNumber.c_str(), record.workstation.c_str());
  }
  return 0;
}

int trimTrailingSpace(char* text) {
  if (text == nullptr) return -1;
  for (std::size_t i = std::strlen(text); i > 0; --i) {
    const unsigned char c = static_cast<unsigned char>(text[i - 1]);
    if (isAlphanumeric(c)) break;
    if (isWhiteSpace(c)) text[i - 1] = '\0';
  }
  return 0;
}

int stripLeadingZeros(char* text) {
  if (text == nullptr) return -1;
  const std::size_t length = std::strlen(text);
  std::size_t zeros = 0;
  while (zeros < length && text[zeros] == '0') ++zeros;
  if (zeros > 0) std::memmove(text, text + zeros, length - zeros + 1);
  return 0;
}
