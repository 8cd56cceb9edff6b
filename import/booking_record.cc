#include "import/booking_record.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>

#include "common/run_config.h"
#include "platform/console.h"

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

static_assert(std::is_trivially_copyable_v<BookingRecord>, "the block is moved with realloc");

BookingBlock::BookingBlock(const BookingBlock& other) { *this = other; }

BookingBlock& BookingBlock::operator=(const BookingBlock& other) {
  if (this != &other) {
    size_ = 0;
    reserve(other.size_);
    if (other.size_ > 0)
      std::memcpy(static_cast<void*>(data_), other.data_, other.size_ * sizeof(BookingRecord));
    size_ = other.size_;
  }
  return *this;
}

BookingBlock::BookingBlock(BookingBlock&& other) noexcept
    : data_(other.data_), size_(other.size_), capacity_(other.capacity_) {
  other.data_ = nullptr;
  other.size_ = other.capacity_ = 0;
}

BookingBlock& BookingBlock::operator=(BookingBlock&& other) noexcept {
  if (this != &other) {
    std::free(data_);
    data_ = other.data_;
    size_ = other.size_;
    capacity_ = other.capacity_;
    other.data_ = nullptr;
    other.size_ = other.capacity_ = 0;
  }
  return *this;
}

BookingBlock::~BookingBlock() { std::free(data_); }

void BookingBlock::reserve(std::size_t capacity) {
  if (capacity <= capacity_) return;
  if (capacity > SIZE_MAX / sizeof(BookingRecord)) throw std::bad_alloc();
  void* grown = std::realloc(static_cast<void*>(data_), capacity * sizeof(BookingRecord));
  if (grown == nullptr) throw std::bad_alloc();
  data_ = static_cast<BookingRecord*>(grown);
  capacity_ = capacity;
}

BookingRecord& BookingBlock::emplace_back() {
  // Doubling keeps the number of reallocations small; the capacity beyond
  // the last record is never touched, so it costs address space only.
  if (size_ == capacity_) reserve(capacity_ < 16 ? 16 : 2 * capacity_);
  BookingRecord* record = data_ + size_;
  std::memset(static_cast<void*>(record), 0, sizeof(BookingRecord));
  ++size_;
  return *record;
}

void BookingBlock::assign(std::initializer_list<BookingRecord> records) {
  size_ = 0;
  reserve(records.size());
  for (const BookingRecord& record : records) {
    std::memcpy(static_cast<void*>(data_ + size_), &record, sizeof(BookingRecord));
    ++size_;
  }
}

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
    consolePrintf("[%d]: <%s>, <%s>, <%s>, <%s> eingelesen.\n", attempt, record.bookingDate.c_str(),
                  record.bookingTime.c_str(), record.badgeNumber.c_str(), record.workstation.c_str());
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
