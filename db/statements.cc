#include "db/statements.h"

#include <cstring>
#include <initializer_list>

#include "db/db_session.h"
#include "db/statement_buffer.h"

namespace {

char bookingStatement[500];

// Where a lookup puts one selected column.
struct ColumnTarget {
  char* field;
  std::size_t width;  // terminator included
};

template <std::size_t Width>
ColumnTarget into(FixedText<Width>& field) {
  return {field.data(), Width};
}

// Runs the lookup in bookingStatement and copies the first row's columns,
// in select-list order, into targets: all non-NULL columns or, when one of
// them is longer than its target, none.
int runLookup(std::initializer_list<ColumnTarget> targets) {
  QueryCursor cursor(bookingStatement);
  int result = dbExecute(cursor);
  if (result == 0) {
    DbRow row = nullptr;
    result = dbFetchRow(cursor, row);
    if (result == 0) {
      std::size_t column = 0;
      for (const ColumnTarget& target : targets) {
        if (row[column] != nullptr && std::strlen(row[column]) >= target.width) result = -1;
        ++column;
      }
      column = 0;
      for (const ColumnTarget& target : targets) {
        if (result == 0 && row[column] != nullptr) {
          std::memcpy(target.field, row[column], std::strlen(row[column]) + 1);
        }
        ++column;
      }
    }
  }
  dbFreeResult(cursor);
  return result;
}

}  // namespace

int SQLSelectQvs301Asw(BookingRecord& booking, Licence& licence, Tenant& tenant) {
  const QuotedValue badge(booking.badgeNumber);
  const QuotedValue date(booking.bookingDate);
  formatStatement(bookingStatement, sizeof bookingStatement,
                  "SELECT AswPnr, AswLiz, AswMnd  FROM QVSYSTEM.Qvs301Asw  WHERE AswNum = '%s'   "
                  "AND  AswGVo <= str_to_date('%s','%%d%%m%%y')   "
                  "AND (AswGbi >= str_to_date('%s','%%d%%m%%y')   OR AswGbi IS NULL)   AND  AswSta < 4",
                  badge.c_str(), date.c_str(), date.c_str());
  return runLookup({into(booking.personnelNumber), into(licence), into(tenant)});
}

int SQLSelectQvs112Mnd(const Licence& licence, const Tenant& tenant, SchemaName& schemaName) {
  const QuotedValue quotedLicence(licence);
  const QuotedValue quotedTenant(tenant);
  formatStatement(bookingStatement, sizeof bookingStatement,
                  "SELECT MndSch  FROM QVSYSTEM.Qvs112Mnd  WHERE MndLiz = '%s'  AND MndNum = '%s'  "
                  "AND MndKon = 0  AND MndSta < 4",
                  quotedLicence.c_str(), quotedTenant.c_str());
  return runLookup({into(schemaName)});
}

int dbChangeSchema(const SchemaName& schemaName) {
  char statement[200];
  formatStatement(statement, sizeof statement, "ALTER SESSION SET CURRENT_SCHEMA=%s", schemaName.c_str());
  QueryCursor cursor(statement);
  if (dbExecute(cursor) != 0) return 0;
  DbRow row = nullptr;
  const int fetched = dbFetchRow(cursor, row);
  dbFreeResult(cursor);
  return fetched == 0 ? 1 : 0;
}

int SQLSelectO1003KstStelle(const FixedText<8>& workstation, FixedText<31>& costCentre) {
  const QuotedValue quotedWorkstation(workstation);
  formatStatement(bookingStatement, sizeof bookingStatement,
                  "SELECT KstNum  FROM O1003KSTSTELLE  WHERE KstApz= '%s'  AND   KstSta < 4",
                  quotedWorkstation.c_str());
  return runLookup({into(costCentre)});
}

int SQLInsertQvs321Bch(const BookingRecord& booking, const Designator& designator) {
  const QuotedValue personnelNumber(booking.personnelNumber);
  const QuotedValue date(booking.bookingDate);
  const QuotedValue time(booking.bookingTime);
  const QuotedValue quotedDesignator(designator);
  const QuotedValue costCentre(booking.costCentre);
  formatStatement(bookingStatement, sizeof bookingStatement,
                  "INSERT INTO QVS321BCH  (BchPnr, BchVon, BchUhr, BchFkt, BchFcd, BchKst)  "
                  "VALUES('%s',  str_to_date('%s','%%d%%m%%y'),  "
                  "str_to_date(concat('%s', '%s'),'%%d%%m%%y%%H%%i%%s'),  25, '%s','%s')",
                  personnelNumber.c_str(), date.c_str(), date.c_str(), time.c_str(), quotedDesignator.c_str(),
                  costCentre.c_str());
  QueryCursor cursor(bookingStatement);
  const int result = dbExecute(cursor);
  if (result == 0) dbFreeResult(cursor);
  return result;
}
