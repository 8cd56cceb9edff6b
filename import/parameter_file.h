// The sort of the bookings, the sorted list and the parameter file for the
// follow-up program WKR.
//
// Parameter file: a text file that every run appends to, written through a
// text stream, so each line ends in CR LF. One line per personnel number and
// booking day, made by the format "%-20s,%-8s,%s\n":
//
//   columns  1-20  schemaName, left-aligned, blank-padded
//   column     21  ','
//   columns 22-29  personnelNumber, left-aligned, blank-padded
//   column     30  ','
//   columns 31-40  booking date DD.MM.20YY
//
// No header, trailer or count; nothing already in the file is changed, and
// nothing is de-duplicated across runs.
#pragma once

#include "common/fixed_text.h"
#include "import/booking_record.h"

// Orders by personnelNumber, then bookingDate, each compared as a text of
// unsigned bytes (so "10" sorts before "9", and dates by their DDMMYY text).
// Returns -1, 0 or 1.
int compareBookings(const BookingRecord& a, const BookingRecord& b);

// Sorts the first bookingCount records in place with compareBookings. The
// order of records that compare equal is not defined.
void sortBookings(BookingArray& bookings);

// The date text DDMMYY as DD.MM.20YY, each pair taken from its fixed
// position and stopping at the text's end ("150324" gives "15.03.2024").
FixedText<32> formatBookingDate(const char* date);

// Prints "Sortierte Liste:\n" and one "personnelNumber,date\n" per record.
void printSortedList(const BookingArray& bookings);

enum ParameterFileResult {
  kParameterFileWritten = 0,
  kParameterFileNotOpened = 1,   // "Fehler beim oeffnen der Datei: %s\n" printed
  kParameterFileNotWritten = 2,  // "Fehler beim schreiben der Datei: %s\n" printed
};

// Appends one line per personnel number and date of the sorted bookings to
// the file at path, skipping records with an empty personnel number or date
// and records equal in both to the record before them. The file is opened,
// and created when missing, also when there is no record.
int writeParameterFile(const char* path, const BookingArray& bookings);
