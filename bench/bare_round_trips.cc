// zarnik_bench_bare: the time the database takes for what zarnik sends,
// measured without zarnik, through the same client library on a connection
// made the same way (host, user, password, database; default port and
// socket; autocommit off).
//
//   zarnik_bench_bare --host H --user U --password P --database DB
//                     [--round-trips K] [--replay SOURCE]
//
// Prints key=value lines, times in microseconds:
//   select1_us     one "SELECT 1": send, store the result, fetch, free
//   insert_us      one single-row INSERT of zarnik's booking statement into
//                  QVS321BCH (K rows, rolled back afterwards)
// and with --replay, for the bookings of SOURCE, the very statements zarnik
// sends for them (the three lookups per booking in file order, the schema
// switch whenever the schema changes, the inserts in sorted order, the
// commit), without zarnik's reading, trace output and sorting. The rows stay
// committed, as zarnik's do; bench/run empties the table after each step:
//   replay_bookings, replay_us (per booking), replay_cpu_us (this process's
//   user and system time per booking), replay_badge_us,
//   replay_tenant_us, replay_costcentre_us, replay_insert_us (per statement)
#include <mysql.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

MYSQL* connection = nullptr;

double microseconds(Clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }

// User and system time of this process so far.
double cpuMicroseconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e6 +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
}

[[noreturn]] void fail(const std::string& what) {
  std::fprintf(stderr, "zarnik_bench_bare: %s: (%u) %s\n", what.c_str(), mysql_errno(connection),
               mysql_error(connection));
  std::exit(1);
}

// Runs a statement as zarnik's session does: send, store the whole result,
// read the first row, free. Returns the first column of the first row, or an
// empty text; ok tells whether the server accepted the statement.
std::string run(const std::string& statement, bool* ok = nullptr) {
  const bool accepted = mysql_real_query(connection, statement.data(), statement.size()) == 0;
  if (ok != nullptr) *ok = accepted;
  if (!accepted) {
    if (ok == nullptr) fail(statement);
    return {};
  }
  std::string first;
  MYSQL_RES* result = mysql_store_result(connection);
  if (result == nullptr) {
    if (mysql_errno(connection) != 0) fail(statement);
    return first;
  }
  if (mysql_num_rows(result) > 0) {
    MYSQL_ROW row = mysql_fetch_row(result);
    if (row != nullptr && row[0] != nullptr) first = row[0];
  }
  mysql_free_result(result);
  return first;
}

// Puts values in place of the %s of format, one after the other, and turns
// %% into %: zarnik's statement formats read the same here.
std::string formatted(const char* format, std::initializer_list<const char*> values) {
  std::string out;
  auto value = values.begin();
  for (const char* p = format; *p != '\0'; ++p) {
    if (p[0] == '%' && p[1] == '%') {
      out += '%';
      ++p;
    } else if (p[0] == '%' && p[1] == 's' && value != values.end()) {
      out += *value++;
      ++p;
    } else {
      out += *p;
    }
  }
  return out;
}

constexpr char kBadgeLookup[] =
    "SELECT AswPnr, AswLiz, AswMnd  FROM QVSYSTEM.Qvs301Asw  WHERE AswNum = '%s'   "
    "AND  AswGVo <= str_to_date('%s','%%d%%m%%y')   "
    "AND (AswGbi >= str_to_date('%s','%%d%%m%%y')   OR AswGbi IS NULL)   AND  AswSta < 4";
constexpr char kTenantLookup[] =
    "SELECT MndSch  FROM QVSYSTEM.Qvs112Mnd  WHERE MndLiz = '%s'  AND MndNum = '%s'  "
    "AND MndKon = 0  AND MndSta < 4";
constexpr char kCostCentreLookup[] =
    "SELECT KstNum  FROM O1003KSTSTELLE  WHERE KstApz= '%s'  AND   KstSta < 4";
constexpr char kInsert[] =
    "INSERT INTO QVS321BCH  (BchPnr, BchVon, BchUhr, BchFkt, BchFcd, BchKst)  "
    "VALUES('%s',  str_to_date('%s','%%d%%m%%y'),  "
    "str_to_date(concat('%s', '%s'),'%%d%%m%%y%%H%%i%%s'),  25, '%s','%s')";

// The badge lookup's three columns.
struct Assignment {
  std::string personnelNumber, licence, tenant;
};

Assignment badgeLookup(const std::string& badge, const std::string& date) {
  const std::string statement = formatted(kBadgeLookup, {badge.c_str(), date.c_str(), date.c_str()});
  if (mysql_real_query(connection, statement.data(), statement.size()) != 0) fail(statement);
  MYSQL_RES* result = mysql_store_result(connection);
  if (result == nullptr) fail(statement);
  Assignment assignment;
  if (mysql_num_rows(result) > 0) {
    MYSQL_ROW row = mysql_fetch_row(result);
    if (row[0] != nullptr) assignment.personnelNumber = row[0];
    if (row[1] != nullptr) assignment.licence = row[1];
    if (row[2] != nullptr) assignment.tenant = row[2];
  }
  mysql_free_result(result);
  return assignment;
}

struct Booking {
  std::string date, time, badge, workstation, personnelNumber, costCentre;
};

// The records of a source file: CR LF read as LF, 32 bytes a record; the
// badge loses its trailing blanks, the workstation its line break, trailing
// blanks and leading zeros.
std::vector<Booking> readSource(const char* path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    std::fprintf(stderr, "zarnik_bench_bare: cannot read %s\n", path);
    std::exit(1);
  }
  const std::string raw((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::string bytes;
  bytes.reserve(raw.size());
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\x1A') break;
    if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
    bytes += raw[i];
  }
  auto trimmed = [](std::string text) {
    while (!text.empty() && (text.back() == ' ' || (text.back() >= 0x09 && text.back() <= 0x0D)))
      text.pop_back();
    return text;
  };
  std::vector<Booking> bookings;
  for (std::size_t at = 0; at + 32 <= bytes.size(); at += 32) {
    Booking booking;
    booking.date = bytes.substr(at, 6);
    booking.time = bytes.substr(at + 6, 6);
    booking.badge = trimmed(bytes.substr(at + 12, 13));
    booking.workstation = trimmed(bytes.substr(at + 25, 7));
    booking.workstation.erase(0, booking.workstation.find_first_not_of('0') == std::string::npos
                                     ? booking.workstation.size()
                                     : booking.workstation.find_first_not_of('0'));
    bookings.push_back(std::move(booking));
  }
  return bookings;
}

void replay(const char* path) {
  std::vector<Booking> bookings = readSource(path);
  Clock::duration badge{}, tenant{}, costCentre{}, insert{};
  std::string currentSchema;
  unsigned long switches = 0;
  const double cpuStart = cpuMicroseconds();
  const Clock::time_point start = Clock::now();
  for (Booking& booking : bookings) {
    Clock::time_point t0 = Clock::now();
    const Assignment assignment = badgeLookup(booking.badge, booking.date);
    Clock::time_point t1 = Clock::now();
    badge += t1 - t0;
    booking.personnelNumber = assignment.personnelNumber;
    const std::string schema =
        run(formatted(kTenantLookup, {assignment.licence.c_str(), assignment.tenant.c_str()}));
    Clock::time_point t2 = Clock::now();
    tenant += t2 - t1;
    if (schema != currentSchema) {
      // zarnik asks for the switch once per change; MariaDB refuses it.
      currentSchema = schema;
      bool ok = false;
      run("ALTER SESSION SET CURRENT_SCHEMA=" + schema, &ok);
      ++switches;
      t2 = Clock::now();
    }
    booking.costCentre = run(formatted(kCostCentreLookup, {booking.workstation.c_str()}));
    costCentre += Clock::now() - t2;
  }
  std::sort(bookings.begin(), bookings.end(), [](const Booking& a, const Booking& b) {
    const int order = std::strcmp(a.personnelNumber.c_str(), b.personnelNumber.c_str());
    return order != 0 ? order < 0 : std::strcmp(a.date.c_str(), b.date.c_str()) < 0;
  });
  for (Booking& booking : bookings) {
    booking.time[4] = booking.time[5] = '0';
    const Clock::time_point t0 = Clock::now();
    run(formatted(kInsert, {booking.personnelNumber.c_str(), booking.date.c_str(), booking.date.c_str(),
                            booking.time.c_str(), "KSW", booking.costCentre.c_str()}));
    insert += Clock::now() - t0;
  }
  run("COMMIT");
  const double total = microseconds(Clock::now() - start);
  const double cpu = cpuMicroseconds() - cpuStart;
  const double n = static_cast<double>(std::max<std::size_t>(bookings.size(), 1));
  std::printf("replay_bookings=%zu\nreplay_switches=%lu\nreplay_us=%.2f\nreplay_cpu_us=%.2f\n",
              bookings.size(), switches, total / n, cpu / n);
  std::printf(
      "replay_badge_us=%.2f\nreplay_tenant_us=%.2f\nreplay_costcentre_us=%.2f\nreplay_insert_us=%.2f\n",
      microseconds(badge) / n, microseconds(tenant) / n, microseconds(costCentre) / n,
      microseconds(insert) / n);
}

}  // namespace

int main(int argc, char** argv) {
  std::map<std::string, std::string> options;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strncmp(argv[i], "--", 2) != 0) break;
    options[argv[i] + 2] = argv[i + 1];
  }
  for (const char* key : {"host", "user", "password", "database"}) {
    if (options.count(key) == 0) {
      std::fputs(
          "usage: zarnik_bench_bare --host H --user U --password P --database DB "
          "[--round-trips K] [--replay SOURCE]\n",
          stderr);
      return 2;
    }
  }
  const long roundTrips =
      options.count("round-trips") ? std::strtol(options["round-trips"].c_str(), nullptr, 10) : 20000;
  if (roundTrips < 1) return 2;

  connection = mysql_init(nullptr);
  if (mysql_real_connect(connection, options["host"].c_str(), options["user"].c_str(),
                         options["password"].c_str(), options["database"].c_str(), 0, nullptr,
                         0) == nullptr) {
    fail("connect");
  }
  run("SET AUTOCOMMIT = 0");

  // Warm up the connection and the server's caches first.
  for (int i = 0; i < 200; ++i) run("SELECT 1");
  Clock::time_point start = Clock::now();
  for (long i = 0; i < roundTrips; ++i) run("SELECT 1");
  std::printf("select1_us=%.2f\n", microseconds(Clock::now() - start) / static_cast<double>(roundTrips));

  // Rows of their own, one a minute, so that no insert fails as a duplicate.
  start = Clock::now();
  for (long i = 0; i < roundTrips; ++i) {
    char date[8], time[8];
    std::snprintf(date, sizeof date, "%02ld%02ld24", 1 + i / 1440 % 28, 1 + i / (1440 * 28) % 12);
    std::snprintf(time, sizeof time, "%02ld%02ld00", i / 60 % 24, i % 60);
    run(formatted(kInsert, {"BARE", date, date, time, "KSW", "KST1000"}));
  }
  std::printf("insert_us=%.2f\n", microseconds(Clock::now() - start) / static_cast<double>(roundTrips));
  run("ROLLBACK");

  if (options.count("replay") != 0) replay(options["replay"].c_str());
  mysql_close(connection);
  return 0;
}
