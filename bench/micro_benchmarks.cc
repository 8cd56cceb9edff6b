// zarnik_micro_benchmarks: the program's own work without the database.
//
//   ReadBookings/1000000        reading 1,000,000 records into the array
//                               (trace lines to /dev/null)
//   SortBookings/1000000        sorting them by personnel number and date
//   ReadAndSortBookings/1000000 both, as a run does before its inserts
//   WriteParameterFile/1000000  the parameter file for the sorted records
//   DecryptConfigValue          one configuration value deciphered
//
// The source file is generated into a temporary folder at start (the
// population of bench/run's default data set, scaled to 100,000 persons), or
// taken from $ZARNIK_BENCH_SOURCE. The personnel numbers come from
// setStandInPersonnelNumber, as there is no badge lookup here.
//
// process_peak_MB is the process's peak resident memory so far; run one
// benchmark alone (--benchmark_filter=ReadAndSort) to read it for that
// benchmark (SortBookings keeps a second, unsorted copy of the records).
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/bench_support.h"
#include "bench/booking_generator.h"
#include "config/value_cipher.h"
#include "import/booking_record.h"
#include "import/parameter_file.h"
#include "platform/console.h"
#include "platform/text_stream.h"

namespace {

constexpr long kRecords = 1000000;

std::string& folder() {
  static std::string path;
  return path;
}

const std::string& sourcePath() {
  static const std::string path = [] {
    if (const char* given = std::getenv("ZARNIK_BENCH_SOURCE")) return std::string(given);
    const std::string file = folder() + "/bookings.dat";
    std::FILE* out = std::fopen(file.c_str(), "wb");
    Population population;
    population.persons = 100000;
    std::string error;
    if (out == nullptr || !writeBookings(out, population, kRecords, 5, error) || std::fclose(out) != 0) {
      std::fprintf(stderr, "cannot write %s %s\n", file.c_str(), error.c_str());
      std::exit(1);
    }
    return file;
  }();
  return path;
}

double peakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void readAll(BookingArray& bookings) {
  TextInput source;
  if (!source.open(sourcePath().c_str())) std::abort();
  while (readBookingRecord(source, bookings) == 0) setStandInPersonnelNumber(bookings.records.back());
}

void ReadBookings(benchmark::State& state) {
  for (auto _ : state) {
    BookingArray bookings;
    readAll(bookings);
    benchmark::DoNotOptimize(bookings.bookingCount);
    state.PauseTiming();
    bookings = BookingArray{};  // the release is not part of the reading
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
  state.counters["process_peak_MB"] = peakMegabytes();
}

void SortBookings(benchmark::State& state) {
  BookingArray unsorted;
  readAll(unsorted);
  for (auto _ : state) {
    state.PauseTiming();
    BookingArray bookings = unsorted;
    state.ResumeTiming();
    sortBookings(bookings);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}

void ReadAndSortBookings(benchmark::State& state) {
  for (auto _ : state) {
    BookingArray bookings;
    readAll(bookings);
    sortBookings(bookings);
    benchmark::ClobberMemory();
    state.PauseTiming();
    bookings = BookingArray{};
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
  state.counters["process_peak_MB"] = peakMegabytes();
}

void WriteParameterFile(benchmark::State& state) {
  BookingArray bookings;
  readAll(bookings);
  sortBookings(bookings);
  for (BookingRecord& booking : bookings.records) booking.schemaName.assign("QVS_BENCH");
  const std::string path = folder() + "/parameter.txt";
  for (auto _ : state) {
    state.PauseTiming();
    std::remove(path.c_str());
    state.ResumeTiming();
    if (writeParameterFile(path.c_str(), bookings) != kParameterFileWritten)
      state.SkipWithError("not written");
  }
  std::remove(path.c_str());
  state.SetItemsProcessed(state.iterations() * kRecords);
}

void DecryptConfigValue(benchmark::State& state) {
  char hex[128];
  encryptConfigValue("Kst'Wechsel\\2026", hex, sizeof hex, kConfigKeyText);
  char plain[128];
  for (auto _ : state) {
    decryptConfigValue(hex, plain, sizeof plain, kConfigKeyText);
    benchmark::DoNotOptimize(plain);
  }
}

BENCHMARK(ReadBookings)->Arg(kRecords)->MinTime(2.0)->Unit(benchmark::kMillisecond);
BENCHMARK(SortBookings)->Arg(kRecords)->MinTime(2.0)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadAndSortBookings)->Arg(kRecords)->MinTime(2.0)->Unit(benchmark::kMillisecond);
BENCHMARK(WriteParameterFile)->Arg(kRecords)->MinTime(2.0)->Unit(benchmark::kMillisecond);
BENCHMARK(DecryptConfigValue)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp != nullptr ? tmp : "/tmp") + "/zarnik-bench.XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) return 1;
  folder() = pattern;
  // The trace lines of the reading go nowhere, as in bench/run.
  std::FILE* trace = std::fopen("/dev/null", "w");
  consoleSetStream(trace);
  sourcePath();  // written before any timing starts
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  consoleSetStream(nullptr);
  if (trace != nullptr) std::fclose(trace);
  if (std::getenv("ZARNIK_BENCH_SOURCE") == nullptr) std::remove((folder() + "/bookings.dat").c_str());
  rmdir(folder().c_str());
  return 0;
}
