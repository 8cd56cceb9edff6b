// The source-file reader over arbitrary bytes, through the text stream: the
// count of records, the fields of each record and the sorted order are
// checked against the stream's translation done here independently.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "import/booking_record.h"
#include "import/parameter_file.h"
#include "platform/console.h"
#include "platform/text_stream.h"

namespace {

// CR LF reads as LF, a lone CR stays, 0x1A ends the input.
std::string translate(const uint8_t* data, std::size_t size) {
  std::string out;
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0x1A) break;
    if (data[i] == '\r' && i + 1 < size && data[i + 1] == '\n') {
      out += '\n';
      ++i;
      continue;
    }
    out += static_cast<char>(data[i]);
  }
  return out;
}

// The raw field up to its first zero byte, as the reader holds it before
// any clean-up.
std::string_view rawField(std::string_view record, std::size_t offset, std::size_t length) {
  std::string_view field = record.substr(offset, length);
  return field.substr(0, std::min(field.find('\0'), field.size()));
}

bool isAlphanumeric(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool isWhiteSpace(unsigned char c) { return (c >= 0x09 && c <= 0x0D) || c == ' '; }

// A trimmed text is a beginning of the raw text, and nothing after its last
// letter or digit is white space; a raw text without white space is kept.
void checkTrimmed(std::string_view trimmed, std::string_view raw) {
  FUZZ_CHECK(raw.substr(0, trimmed.size()) == trimmed);
  std::size_t lastAlphanumeric = 0;
  for (std::size_t i = 0; i < trimmed.size(); ++i) {
    if (isAlphanumeric(static_cast<unsigned char>(trimmed[i]))) lastAlphanumeric = i + 1;
  }
  for (std::size_t i = lastAlphanumeric; i < trimmed.size(); ++i) {
    FUZZ_CHECK(!isWhiteSpace(static_cast<unsigned char>(trimmed[i])));
  }
  if (std::none_of(raw.begin(), raw.end(),
                   [](char c) { return isWhiteSpace(static_cast<unsigned char>(c)); })) {
    FUZZ_CHECK(trimmed == raw);
  }
}

struct Setup {
  Setup() {
    // The trace lines are not looked at; they must only not get in the way.
    consoleSetStream(std::fopen("/dev/null", "w"));
  }
  ScratchFile file{"zarnik-fuzz-source"};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  static Setup setup;
  const char* path = setup.file.write(data, size);

  TextInput source;
  FUZZ_CHECK(source.open(path));
  BookingArray bookings;
  while (readBookingRecord(source, bookings) == 0) {
  }
  source.close();

  const std::string stream = translate(data, size);
  const std::size_t complete = stream.size() / 32;
  FUZZ_CHECK(bookings.bookingCount == static_cast<int>(complete));
  FUZZ_CHECK(bookings.records.size() == complete + 1);
  const BookingRecord& last = bookings.records.back();
  // The attempt that met the end keeps the pieces that arrived, uncounted.
  FUZZ_CHECK(terminatedWithin(last.bookingDate) && terminatedWithin(last.bookingTime) &&
             terminatedWithin(last.badgeNumber) && terminatedWithin(last.workstation));

  for (std::size_t k = 0; k < complete; ++k) {
    const BookingRecord& record = bookings.records[k];
    const std::string_view raw = std::string_view(stream).substr(32 * k, 32);
    FUZZ_CHECK(terminatedWithin(record.bookingDate) && terminatedWithin(record.bookingTime) &&
               terminatedWithin(record.badgeNumber) && terminatedWithin(record.workstation) &&
               terminatedWithin(record.schemaName) && terminatedWithin(record.personnelNumber) &&
               terminatedWithin(record.costCentre));
    FUZZ_CHECK(record.bookingDate.view() == rawField(raw, 0, 6));
    FUZZ_CHECK(record.bookingTime.view() == rawField(raw, 6, 6));
    checkTrimmed(record.badgeNumber.view(), rawField(raw, 12, 13));
    // The workstation is trimmed first, then loses its leading zeros.
    const std::string_view workstationRaw = rawField(raw, 25, 7);
    const std::string_view workstation = record.workstation.view();
    FUZZ_CHECK(workstation.empty() || workstation.front() != '0');
    const std::size_t zeros = workstationRaw.find_first_not_of('0');
    const std::string_view afterZeros =
        zeros == std::string_view::npos ? std::string_view() : workstationRaw.substr(zeros);
    FUZZ_CHECK(afterZeros.substr(0, workstation.size()) == workstation);
    FUZZ_CHECK(record.schemaName.empty() && record.personnelNumber.empty() && record.costCentre.empty());
  }

  sortBookings(bookings);
  for (std::size_t k = 1; k < complete; ++k) {
    FUZZ_CHECK(compareBookings(bookings.records[k - 1], bookings.records[k]) <= 0);
  }
  return 0;
}
