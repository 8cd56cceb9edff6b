// Booking records and the source file of cost-centre-change bookings.
//
// Source file: a sequence of fixed 32-byte records with nothing between
// them, cut from the stream after its text-mode translation (see
// platform/text_stream.h). One record:
//
//   offset  length  field
//        0       6  bookingDate   DDMMYY
//        6       6  bookingTime   HHMMSS
//       12      13  badgeNumber   trailing white space is not part of it
//       25       7  workstation   leading zeros and trailing white space are
//                                 not part of it
//
// Line breaks are bytes like any other: a file of 31-character lines, each
// ended by one line break, reads correctly because the break becomes the
// seventh workstation byte and is trimmed away. A zero byte ends its field's
// text early. A trailing piece shorter than a record is ignored.
#pragma once

#include <vector>

#include "common/fixed_text.h"
#include "platform/text_stream.h"

struct BookingRecord {
  FixedText<7> bookingDate;
  FixedText<7> bookingTime;
  FixedText<14> badgeNumber;
  FixedText<8> workstation;
  FixedText<21> schemaName;
  FixedText<9> personnelNumber;
  FixedText<31> costCentre;
};

// The bookings of one run, in file order until they are sorted. The array
// grows by one zeroed record per read attempt; the attempt that meets the end
// of the input keeps its record, uncounted, so bookingCount is the number of
// complete records and records.size() the number of attempts.
struct BookingArray {
  std::vector<BookingRecord> records;
  int bookingCount = 0;
};

// Appends a record to bookings and reads the next one from source into it.
// Returns 0 when a complete record was read: it is then cleaned and its
// trace line printed. Returns 1 at the end of the input (also after a read
// error or a trailing incomplete record); bookingCount is then final.
int readBookingRecord(TextInput& source, BookingArray& bookings);

// Cuts text at the first white-space byte (0x09 to 0x0D, blank) after its
// last letter or digit; a text without letter or digit ends at its first
// white space. Bytes 0x80 to 0xFF are neither letter, digit nor white space.
// Returns 0, or -1 for a null text.
int trimTrailingSpace(char* text);

// Removes the characters '0' at the start of text. Returns 0, or -1 for a
// null text.
int stripLeadingZeros(char* text);
