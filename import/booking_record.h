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

#include <cstddef>
#include <initializer_list>

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

// The storage of the booking array: one block of records that grows by one
// zeroed record at a time. The block is kept with realloc, which BookingRecord
// allows as it is trivially copyable: a large block is moved by remapping its
// pages rather than by copying them, and capacity that no record has reached
// yet takes no memory. Reading a large file therefore needs little more than
// the records themselves, where a copying growth would hold the old and the
// new block at once.
class BookingBlock {
 public:
  BookingBlock() = default;
  BookingBlock(std::initializer_list<BookingRecord> records) { assign(records); }
  BookingBlock(const BookingBlock& other);
  BookingBlock& operator=(const BookingBlock& other);
  BookingBlock(BookingBlock&& other) noexcept;
  BookingBlock& operator=(BookingBlock&& other) noexcept;
  ~BookingBlock();

  // Adds a zeroed record at the end and returns it; throws std::bad_alloc
  // when the block cannot grow.
  BookingRecord& emplace_back();
  // Replaces the records with copies of records.
  void assign(std::initializer_list<BookingRecord> records);

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  BookingRecord& operator[](std::size_t i) { return data_[i]; }
  const BookingRecord& operator[](std::size_t i) const { return data_[i]; }
  BookingRecord& back() { return data_[size_ - 1]; }
  const BookingRecord& back() const { return data_[size_ - 1]; }
  BookingRecord* begin() { return data_; }
  BookingRecord* end() { return data_ + size_; }
  const BookingRecord* begin() const { return data_; }
  const BookingRecord* end() const { return data_ + size_; }

 private:
  void reserve(std::size_t capacity);

  BookingRecord* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

// The bookings of one run, in file order until they are sorted. The array
// grows by one zeroed record per read attempt; the attempt that meets the end
// of the input keeps its record, uncounted, so bookingCount is the number of
// complete records and records.size() the number of attempts.
struct BookingArray {
  BookingBlock records;
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
