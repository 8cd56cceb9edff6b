#include "import/parameter_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/console.h"
#include "platform/text_stream.h"

namespace {

int compareTexts(const char* a, const char* b) {
  const int order = std::strcmp(a, b);  // strcmp compares as unsigned char
  return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

// Appends up to two characters of date from position on, stopping at its end.
void appendPair(FixedText<32>& out, std::string_view date, std::size_t position) {
  out.append(date.substr(std::min(position, date.size()), 2));
}

}  // namespace

int compareBookings(const BookingRecord& a, const BookingRecord& b) {
  const int byPerson = compareTexts(a.personnelNumber.c_str(), b.personnelNumber.c_str());
  if (byPerson != 0) return byPerson;
  return compareTexts(a.bookingDate.c_str(), b.bookingDate.c_str());
}

void sortBookings(BookingArray& bookings) {
  std::sort(bookings.records.begin(), bookings.records.begin() + bookings.bookingCount,
            [](const BookingRecord& a, const BookingRecord& b) { return compareBookings(a, b) < 0; });
}

FixedText<32> formatBookingDate(const char* date) {
  FixedText<32> out;
  appendPair(out, date, 0);
  out.append(".");
  appendPair(out, date, 2);
  out.append(".20");
  appendPair(out, date, 4);
  return out;
}

void printSortedList(const BookingArray& bookings) {
  consoleWrite("Sortierte Liste:\n");
  for (int i = 0; i < bookings.bookingCount; ++i) {
    const BookingRecord& record = bookings.records[i];
    consolePrintf("%s,%s\n", record.personnelNumber.c_str(),
                  formatBookingDate(record.bookingDate.c_str()).c_str());
  }
}

int writeParameterFile(const char* path, const BookingArray& bookings) {
  TextOutput file;
  if (!file.openForAppend(path)) {
    consolePrintf("Fehler beim oeffnen der Datei: %s\n", path);
    return kParameterFileNotOpened;
  }
  for (int k = 0; k < bookings.bookingCount; ++k) {
    const BookingRecord& record = bookings.records[k];
    if (record.personnelNumber.empty() || record.bookingDate.empty()) continue;
    if (k > 0) {
      const BookingRecord& previous = bookings.records[k - 1];
      if (record.personnelNumber == previous.personnelNumber && record.bookingDate == previous.bookingDate) {
        continue;
      }
    }
    // 20 + 1 + 8 + 1 + 10 characters and the line feed: the fields' widths
    // keep every line within the buffer.
    char line[64];
    const int length =
        std::snprintf(line, sizeof line, "%-20s,%-8s,%s\n", record.schemaName.c_str(),
                      record.personnelNumber.c_str(), formatBookingDate(record.bookingDate.c_str()).c_str());
    if (length > 0) file.write(std::string_view(line, std::min<std::size_t>(length, sizeof line - 1)));
  }
  if (!file.close()) {
    consolePrintf("Fehler beim schreiben der Datei: %s\n", path);
    return kParameterFileNotWritten;
  }
  return kParameterFileWritten;
}
