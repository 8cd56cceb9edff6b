// Realistic data sets for the benchmarks: a population of persons (each
// with a badge), tenants and workstations, the database rows that describe
// them, and source files of cost-centre-change bookings over a number of
// days. Everything follows from the population and a seed: the same
// arguments always give the same bytes.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

struct Population {
  int persons = 10000;
  int workstations = 300;
  int tenants = 4;
  uint64_t seed = 1;
};

// The licence all tenants belong to.
inline constexpr char kBenchLicence[] = "4711";
// The first booking day; the bookings cover this day and the days after it.
inline constexpr int kFirstYear = 2024, kFirstMonth = 3, kFirstDay = 4;

// Identities of person p (0 <= p < persons) and workstation w.
std::string badgeOf(int person);                   // 10 digits, unique per person
std::string personnelNumberOf(int person);         // the badge's holder on every booking day
std::string workstationOf(int workstation);        // as the terminals write it: 6 digits, leading zeros
std::string workstationNumberOf(int workstation);  // as the cost-centre table holds it: no leading zeros
std::string costCentreOf(int workstation);

// SQL that fills QVSYSTEM.Qvs301Asw and QVSYSTEM.Qvs112Mnd and the tenant
// database's O1003KSTSTELLE for the population. The tables must exist and be
// empty. Every tenant's schema is the tenant database.
//
// Besides the valid assignment of every badge there are, decided by the
// seed, expired assignments of former holders, deleted (status 4)
// assignments, and deleted cost centres, so that the lookups have to choose
// as they do on a production database.
void writeFixture(std::FILE* out, const Population& population, const std::string& tenantDatabase);

// A source file of count bookings over days days: 31-character lines ended
// by CR LF (one 32-byte record each once CR LF is read as LF). Each day a
// shuffled selection of persons books one to four times at distinct minutes
// between 06:00 and 20:00, mostly at their home workstation; the day's
// bookings are in time order. Returns false with a message in error when the
// population is too small for count bookings in days days.
bool writeBookings(std::FILE* out, const Population& population, long count, int days, std::string& error);

// A configuration file whose entries give the program these connection
// values (CR LF line ends, values enciphered as the program expects; the
// database name is stored with the extra last character the program drops).
void writeConfigFile(std::FILE* out, const std::string& host, const std::string& database,
                     const std::string& user, const std::string& password);
