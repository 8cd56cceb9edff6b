// zarnik_bench_gen: writes a benchmark data set to standard output.
//
//   zarnik_bench_gen fixture  [population] --database DB     SQL for the tables
//   zarnik_bench_gen bookings [population] --count N --days D  a source file
//   zarnik_bench_gen config --host H --database DB --user U --password P
//
// population: --persons P (10000) --workstations W (300) --tenants T (4)
// --seed S (1). The fixture and the source files of one data set must be
// written with the same population.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#include "bench/booking_generator.h"

namespace {

int usage() {
  std::fputs(
      "usage: zarnik_bench_gen fixture  [--persons P] [--workstations W] [--tenants T] [--seed S] --database "
      "DB\n"
      "       zarnik_bench_gen bookings [--persons P] [--workstations W] [--tenants T] [--seed S] --count N "
      "[--days D]\n"
      "       zarnik_bench_gen config --host H --database DB --user U --password P\n",
      stderr);
  return 2;
}

long number(const std::map<std::string, std::string>& options, const char* name, long fallback) {
  const auto found = options.find(name);
  if (found == options.end()) return fallback;
  char* end = nullptr;
  const long value = std::strtol(found->second.c_str(), &end, 10);
  if (end == found->second.c_str() || *end != '\0') {
    std::fprintf(stderr, "zarnik_bench_gen: --%s needs a number\n", name);
    std::exit(2);
  }
  return value;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  const std::string mode = argv[1];
  std::map<std::string, std::string> options;
  for (int i = 2; i < argc; i += 2) {
    if (std::strncmp(argv[i], "--", 2) != 0 || i + 1 >= argc) return usage();
    options[argv[i] + 2] = argv[i + 1];
  }
  Population population;
  population.persons = static_cast<int>(number(options, "persons", population.persons));
  population.workstations = static_cast<int>(number(options, "workstations", population.workstations));
  population.tenants = static_cast<int>(number(options, "tenants", population.tenants));
  population.seed = static_cast<uint64_t>(number(options, "seed", static_cast<long>(population.seed)));
  if (population.persons < 1 || population.workstations < 1 || population.tenants < 1) return usage();

  static char buffer[1 << 16];
  std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
  if (mode == "fixture") {
    if (options.count("database") == 0) return usage();
    writeFixture(stdout, population, options["database"]);
  } else if (mode == "bookings") {
    if (options.count("count") == 0) return usage();
    std::string error;
    if (!writeBookings(stdout, population, number(options, "count", 0),
                       static_cast<int>(number(options, "days", 5)), error)) {
      std::fprintf(stderr, "zarnik_bench_gen: %s\n", error.c_str());
      return 1;
    }
  } else if (mode == "config") {
    for (const char* key : {"host", "database", "user", "password"}) {
      if (options.count(key) == 0) return usage();
    }
    writeConfigFile(stdout, options["host"], options["database"], options["user"], options["password"]);
  } else {
    return usage();
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}
