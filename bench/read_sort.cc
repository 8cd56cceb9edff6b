// zarnik_bench_read_sort: reads a source file into the booking array as a
// run does (trace lines to /dev/null), gives each booking its stand-in
// personnel number, sorts, and prints the times. Run it under
// /usr/bin/time -v for the peak memory of reading and sorting.
//
//   zarnik_bench_read_sort SOURCE
#include <chrono>
#include <cstdio>

#include "bench/bench_support.h"
#include "import/booking_record.h"
#include "import/parameter_file.h"
#include "platform/console.h"
#include "platform/text_stream.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: zarnik_bench_read_sort SOURCE\n", stderr);
    return 2;
  }
  std::FILE* trace = std::fopen("/dev/null", "w");
  if (trace == nullptr) return 1;
  consoleSetStream(trace);

  using Clock = std::chrono::steady_clock;
  const Clock::time_point start = Clock::now();
  TextInput source;
  if (!source.open(argv[1])) {
    std::fprintf(stderr, "zarnik_bench_read_sort: cannot open %s\n", argv[1]);
    return 1;
  }
  BookingArray bookings;
  while (readBookingRecord(source, bookings) == 0) setStandInPersonnelNumber(bookings.records.back());
  source.close();
  const Clock::time_point read = Clock::now();
  sortBookings(bookings);
  const Clock::time_point sorted = Clock::now();

  consoleSetStream(nullptr);
  std::fclose(trace);
  auto seconds = [](Clock::duration d) { return std::chrono::duration<double>(d).count(); };
  std::printf("records=%d\nread_s=%.3f\nsort_s=%.3f\nread_sort_s=%.3f\n", bookings.bookingCount,
              seconds(read - start), seconds(sorted - read), seconds(sorted - start));
  return 0;
}
