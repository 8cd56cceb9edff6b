#include "bench/booking_generator.h"

#include <algorithm>
#include <chrono>
#include <numeric>
#include <vector>

#include "config/value_cipher.h"

namespace {

// SplitMix64: small, fast and the same on every platform and library, unlike
// the distributions of <random>.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint64_t next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // A number in [0, bound); the bias is far below anything a benchmark sees.
  int below(int bound) { return static_cast<int>(next() % static_cast<uint64_t>(bound)); }

 private:
  uint64_t state_;
};

std::string formatted(const char* format, long value) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// The calendar date of the first booking day plus offset days.
std::chrono::year_month_day bookingDay(int offset) {
  using namespace std::chrono;
  const sys_days first = year{kFirstYear} / month{kFirstMonth} / day{kFirstDay};
  return year_month_day{first + days{offset}};
}

// DDMMYY, as the source file holds it.
std::string sourceDate(const std::chrono::year_month_day& date) {
  char text[16];
  std::snprintf(text, sizeof text, "%02u%02u%02d", static_cast<unsigned>(date.day()),
                static_cast<unsigned>(date.month()), static_cast<int>(date.year()) % 100);
  return text;
}

// Collects rows and writes them as multi-row INSERTs of up to 500 rows.
class InsertWriter {
 public:
  InsertWriter(std::FILE* out, std::string head) : out_(out), head_(std::move(head)) {}
  ~InsertWriter() { flush(); }
  void row(const std::string& values) {
    std::fprintf(out_, "%s(%s)", rows_ == 0 ? head_.c_str() : ",\n", values.c_str());
    if (++rows_ == 500) flush();
  }
  void flush() {
    if (rows_ > 0) std::fputs(";\n", out_);
    rows_ = 0;
  }

 private:
  std::FILE* out_;
  std::string head_;
  int rows_ = 0;
};

std::string quoted(const std::string& text) { return "'" + text + "'"; }

// A person's home workstation: the neighbours of a workstation share people.
int homeWorkstation(int person, int workstations) {
  return static_cast<int>((static_cast<long>(person) * 31) % workstations);
}

struct DayBooking {
  int second;  // of the day
  int person;
  int workstation;
};

}  // namespace

std::string badgeOf(int person) {
  // 48271 is prime to 10^8, so the scramble is one to one below 10^8.
  const uint64_t scrambled = (static_cast<uint64_t>(person) * 48271u) % 100000000u;
  return formatted("31%08ld", static_cast<long>(scrambled));
}

std::string personnelNumberOf(int person) { return formatted("%ld", 100000L + person); }

std::string workstationOf(int workstation) { return formatted("%06ld", 100L + workstation); }

std::string workstationNumberOf(int workstation) { return formatted("%ld", 100L + workstation); }

std::string costCentreOf(int workstation) { return formatted("KST%04ld", 1000L + workstation / 3); }

void writeFixture(std::FILE* out, const Population& population, const std::string& tenantDatabase) {
  Random random(population.seed ^ 0xF1C7u);
  const std::string validFrom = "'2023-01-01'";
  {
    InsertWriter assignments(
        out,
        "INSERT INTO QVSYSTEM.Qvs301Asw (AswNum, AswGVo, AswGbi, AswSta, AswPnr, AswLiz, AswMnd) VALUES\n");
    for (int person = 0; person < population.persons; ++person) {
      const std::string badge = quoted(badgeOf(person));
      const std::string tenant = quoted(std::to_string(1 + person % population.tenants));
      const std::string licence = quoted(kBenchLicence);
      assignments.row(badge + "," + validFrom + ",NULL,0," + quoted(personnelNumberOf(person)) + "," +
                      licence + "," + tenant);
      const int history = random.below(10);
      if (history < 3) {
        // The badge had a former holder.
        assignments.row(badge + ",'2019-01-01','2022-12-31',0," +
                        quoted(formatted("%ld", 9000000L + person)) + "," + licence + "," + tenant);
      } else if (history == 3) {
        // An assignment entered by mistake and deleted again.
        assignments.row(badge + ",'2023-06-01',NULL,4," + quoted(formatted("%ld", 8000000L + person)) + "," +
                        licence + "," + tenant);
      }
    }
  }
  {
    InsertWriter tenants(out,
                         "INSERT INTO QVSYSTEM.Qvs112Mnd (MndLiz, MndNum, MndKon, MndSta, MndSch) VALUES\n");
    for (int tenant = 1; tenant <= population.tenants; ++tenant) {
      const std::string key = quoted(kBenchLicence) + "," + quoted(std::to_string(tenant));
      tenants.row(key + ",0,0," + quoted(tenantDatabase));
      tenants.row(key + ",1,0,'ARCHIV'");
    }
  }
  std::fprintf(out, "USE %s;\n", tenantDatabase.c_str());
  {
    InsertWriter costCentres(out, "INSERT INTO O1003KSTSTELLE (KstApz, KstSta, KstNum) VALUES\n");
    for (int workstation = 0; workstation < population.workstations; ++workstation) {
      const std::string number = quoted(workstationNumberOf(workstation));
      costCentres.row(number + ",0," + quoted(costCentreOf(workstation)));
      // Every fifth workstation moved from another cost centre.
      if (random.below(5) == 0) costCentres.row(number + ",9,'KST0999'");
    }
  }
}

bool writeBookings(std::FILE* out, const Population& population, long count, int days, std::string& error) {
  if (days < 1 || population.persons < 1 || population.workstations < 1 || count < 0) {
    error = "persons, workstations and days must be positive, the count not negative";
    return false;
  }
  if (count > 4L * population.persons * days) {
    error = "too few persons for this many bookings: at most four a person and day";
    return false;
  }
  Random random(population.seed);
  std::vector<int> persons(population.persons);
  std::vector<DayBooking> day;
  std::vector<int> minutes;
  for (int offset = 0; offset < days; ++offset) {
    long quota = count / days + (offset < count % days ? 1 : 0);
    const std::string date = sourceDate(bookingDay(offset));
    std::iota(persons.begin(), persons.end(), 0);
    day.clear();
    // Persons in a new order every day; the first ones book until the day's
    // quota is reached, each one to four times. Should one pass through the
    // persons not reach the quota, further passes add to those who have
    // fewer than four.
    std::vector<int> booked(population.persons, 0);
    for (int i = 0; i < population.persons && quota > 0; ++i) {
      std::swap(persons[i], persons[i + random.below(population.persons - i)]);
      const int person = persons[i];
      const int times = static_cast<int>(std::min<long>(1 + random.below(4), quota));
      booked[person] = times;
      quota -= times;
    }
    for (int person = 0; quota > 0; person = (person + 1) % population.persons) {
      if (booked[person] < 4) {
        ++booked[person];
        --quota;
      }
    }
    for (int person = 0; person < population.persons; ++person) {
      // Distinct minutes: the booking table keeps one booking a person and minute.
      minutes.clear();
      while (static_cast<int>(minutes.size()) < booked[person]) {
        const int minute = 6 * 60 + random.below(14 * 60);
        if (std::find(minutes.begin(), minutes.end(), minute) == minutes.end()) minutes.push_back(minute);
      }
      for (const int minute : minutes) {
        const int workstation = random.below(10) < 7 ? homeWorkstation(person, population.workstations)
                                                     : random.below(population.workstations);
        day.push_back({minute * 60 + random.below(60), person, workstation});
      }
    }
    std::sort(day.begin(), day.end(), [](const DayBooking& a, const DayBooking& b) {
      return a.second != b.second ? a.second < b.second : a.person < b.person;
    });
    for (const DayBooking& booking : day) {
      std::fprintf(out, "%s%02d%02d%02d%-13s%s\r\n", date.c_str(), booking.second / 3600,
                   booking.second / 60 % 60, booking.second % 60, badgeOf(booking.person).c_str(),
                   workstationOf(booking.workstation).c_str());
    }
  }
  return true;
}

void writeConfigFile(std::FILE* out, const std::string& host, const std::string& database,
                     const std::string& user, const std::string& password) {
  int number = 0;
  auto entry = [&](const char* key, const std::string& plain) {
    std::vector<char> hex(16 * (plain.size() / 8 + 1) + 1);
    encryptConfigValue(plain.c_str(), hex.data(), hex.size(), kConfigKeyText);
    std::fprintf(out, ";DATENBANK;\r\n%d;%s;%s\r\n", ++number, key, hex.data());
  };
  entry("NET8", host);
  entry("SCHEMA", database + ";");
  entry("LOGIN", user);
  entry("PASS", password);
}
