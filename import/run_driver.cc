#include "import/run_driver.h"

#include "common/fixed_text.h"
#include "common/run_config.h"
#include "config/config_reader.h"
#include "db/db_session.h"
#include "db/statements.h"
#include "import/booking_record.h"
#include "import/parameter_file.h"
#include "platform/console.h"
#include "platform/decimal.h"
#include "platform/text_stream.h"
#include "runlog/error_report.h"
#include "runlog/run_log.h"

namespace {

using ConnectionText = FixedText<200>;

struct ConnectionValues {
  ConnectionText host;
  ConnectionText database;
  ConnectionText user;
  ConnectionText password;
};

// What the run keeps from one booking's resolution to the next.
struct RunState {
  Designator designator;
  SchemaName currentSchema;
  // Never cleared: a badge lookup that leaves them unwritten (a NULL column)
  // leaves the previous booking's values for the tenant-schema lookup.
  Licence licence;
  Tenant tenant;
  BookingArray bookings;
};

void printUsage() {
  consoleWrite("Syntax: zarnik <Ini-Datei> <Quelle> <Parm-Datei>");
  consoleWrite(" [<KSW-Bezeichner>]\n\n");
  consoleWrite("Ini-Datei  :\n ORVANTIS-Ini-Datei\n\n");
  consoleWrite("Quelle     :\n Datei mit Kostenstellenwechsel-Buchungen.\n\n");
  consoleWrite("Parm-Datei :\n Parameter-Datei fuer WKR.\n\n");
  consoleWrite("KSW-Bez.   :\n Kostenstellenwechsel-Bezeichner ");
  consoleWrite("(Default: \"KSW\")\n\n");
}

// Looks key up in the configuration file. A value too long for the reader
// would reach the connection cut short, so it ends the run instead.
bool readConnectionValue(const char* path, const char* key, ConfigEntry& entry) {
  readConfigValue("", key, 0, path, entry);
  if (entry.valueTooLong) {
    consolePrintf("Konfigurationswert zu lang: %s\n", key);
    return false;
  }
  return true;
}

bool readConnectionValues(const char* path, ConnectionValues& values) {
  // A value of at most 200 hexadecimal digits deciphers to at most 100 bytes,
  // so every accepted value fits its connection text.
  static_assert(ConnectionText::kCapacity >= decltype(ConfigEntry::value)::kCapacity / 2);
  // The entry holds deciphered credentials: it lives only for this step.
  ConfigEntry entry;
  bool ok = readConnectionValue(path, "NET8", entry);
  if (ok) {
    values.host.assign(entry.value.view());
    ok = readConnectionValue(path, "SCHEMA", entry);
  }
  if (ok) {
    // The stored database name carries one extra last character.
    std::string_view database = entry.value.view();
    if (!database.empty()) database.remove_suffix(1);
    values.database.assign(database);
    ok = readConnectionValue(path, "LOGIN", entry);
  }
  if (ok) {
    values.user.assign(entry.value.view());
    ok = readConnectionValue(path, "PASS", entry);
  }
  if (ok) values.password.assign(entry.value.view());
  entry = ConfigEntry{};
  return ok;
}

// Resolves a freshly read booking: personnel number, tenant schema (with the
// schema switch when it changes) and cost centre. A failed step prints its
// message; the booking stays in the run with the fields it has.
void resolveBooking(BookingRecord& booking, RunState& run) {
  booking.personnelNumber.clear();
  if (SQLSelectQvs301Asw(booking, run.licence, run.tenant) != 0) {
    consolePrintf("Zur Ausweisnummer (%s) konnte keine Personalnummer entnommen werden.\n",
                  booking.badgeNumber.c_str());
    return;
  }
  booking.schemaName.clear();
  const int schemaFound = SQLSelectQvs112Mnd(run.licence, run.tenant, booking.schemaName);
  if (schemaFound != 0) {
    consolePrintf(
        "-Schemaname konnte der Mandantentabelle nicht entnommen werden:\n  Liz: %s, Mnd: %s, Kon: %i\n",
        run.licence.c_str(), run.tenant.c_str(), 0);
  } else if (!(booking.schemaName == run.currentSchema)) {
    // Taken over before the switch, so a failed switch is not retried for the
    // following bookings of the same schema.
    run.currentSchema = booking.schemaName;
    if (dbChangeSchema(run.currentSchema) != 0) {
      consolePrintf("- Schema konnte nicht gewechselt werden: %s\n", booking.schemaName.c_str());
      return;
    }
  }
  trimTrailingSpace(booking.personnelNumber.data());
  if (kTraceLevel >= 1) consolePrintf("Personalnummer: <%s>\n", booking.personnelNumber.c_str());

  booking.costCentre.clear();
  if (SQLSelectO1003KstStelle(booking.workstation, booking.costCentre) != 0) {
    consolePrintf("Zum Arbeitsplatz (%s) konnte keine Kostenstelle entnommen werden.\n",
                  booking.workstation.c_str());
    return;
  }
  trimTrailingSpace(booking.costCentre.data());
  if (kTraceLevel >= 1) consolePrintf("Kostenstelle: <%s>\n", booking.costCentre.c_str());
}

// Inserts the booking; a failure is printed, reported with a log row and
// committed together with every row inserted before it.
void insertBooking(BookingRecord& booking, const Designator& designator) {
  booking.bookingTime.data()[4] = '0';
  booking.bookingTime.data()[5] = '0';
  const int result = SQLInsertQvs321Bch(booking, designator);
  if (result == 0) return;
  consolePrintf("Fehler beim Einfuegen der Buchung in Qvs321Bch (%d)\n", result);
  consolePrintf("Schemaname:  <%s>\n", booking.schemaName.c_str());
  consolePrintf("Personalnummer:  <%s>\n", booking.personnelNumber.c_str());
  consolePrintf("Buchungsdatum:   <%s>\n", booking.bookingDate.c_str());
  consolePrintf("Buchungsuhrzeit: <%s>\n", booking.bookingTime.c_str());
  consolePrintf("Funktionscode:   <%d>\n", 25);
  consolePrintf("Funktionsname:   <%s>\n", designator.c_str());
  consolePrintf("Kostenstelle:    <%s>\n", booking.costCentre.c_str());
  consoleWrite("\nSQL-Fehler:\n");
  reportError("Qvs321Bch", booking.personnelNumber.c_str(), parseDecimal(booking.bookingDate.view()), 1065,
              "SQLInsertQvs321Bch", 1);
  dbCommit();
}

}  // namespace

int runImport(int argumentCount, char** arguments) {
  if (argumentCount != 4 && argumentCount != 5) {
    printUsage();
    return 1;
  }
  const char* configPath = arguments[1];
  const char* sourcePath = arguments[2];
  const char* parameterPath = arguments[3];

  consoleWrite("zarnik: Start.\n");
  TextInput presence;
  const bool configPresent = presence.open(configPath);
  initRunLog(argumentCount, arguments, "ZARNIK", processRunLog());
  if (!configPresent) {
    consoleWrite("ORVANTIS.INI not found\n");
    return 1;
  }
  presence.close();

  ConnectionValues connection;
  if (!readConnectionValues(configPath, connection)) return 1;
  const int connected = dbConnect(connection.user.c_str(), connection.password.c_str(),
                                  connection.host.c_str(), connection.database.c_str());
  connection = ConnectionValues{};
  if (connected != 0) {
    consolePrintf("dbConnect_Error: %d\n", connected);
    return 1;
  }

  TextInput source;
  if (!source.open(sourcePath)) {
    // \366 is the Windows-1252 byte of the o-umlaut; no line end follows.
    consolePrintf("Fehler beim \366ffnen der Datei: %s", sourcePath);
    return 1;
  }

  RunState run;
  if (argumentCount == 5) {
    // Longer designators are cut to the field, which keeps its terminator.
    run.designator.assign(arguments[4]);
    consolePrintf("Kostenstellenwechsel-Bezeichner: <%s>\n", run.designator.c_str());
  } else {
    run.designator.assign("KSW");
  }
  run.currentSchema.clear();

  while (readBookingRecord(source, run.bookings) == 0) {
    resolveBooking(run.bookings.records.back(), run);
  }
  source.close();

  sortBookings(run.bookings);
  if (kTraceLevel > 1) printSortedList(run.bookings);

  for (int i = 0; i < run.bookings.bookingCount; ++i) {
    insertBooking(run.bookings.records[i], run.designator);
  }

  if (writeParameterFile(parameterPath, run.bookings) != kParameterFileWritten) return 1;

  consoleWrite("zarnik: Ende.\n");
  run.bookings = BookingArray{};
  if (dbCommit() != 1) {
    const DbLastError& failure = dbLastError();
    consolePrintf("Fehler beim COMMIT (%u): %s\n", failure.errorNumber, failure.errorText);
    return 1;
  }
  return 0;
}
