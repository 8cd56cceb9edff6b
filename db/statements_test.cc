#include "db/statements.h"

#include <gtest/gtest.h>

#include "db/db_session.h"
#include "tests/support/fixtures.h"
#include "tests/support/test_database.h"

namespace {

class Statements : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    db->exec(standardFixtureSql());
  }

  static BookingRecord booking(const char* badge, const char* date) {
    BookingRecord record;
    record.badgeNumber.assign(badge);
    record.bookingDate.assign(date);
    return record;
  }
};

TEST_F(Statements, BadgeLookupFindsTheAssignmentValidOnTheBookingDay) {
  const struct {
    const char* badge;
    const char* date;
    int result;
    const char* personnelNumber;
  } cases[] = {
      {"B100", "150324", 0, "1001"},         {"B200", "010124", 0, "1002"},          // first valid day
      {"B200", "300624", 0, "1002"},         {"B200", "010724", kNoFurtherRow, ""},  // after its end
      {"B200", "311223", kNoFurtherRow, ""}, {"B300", "150324", kNoFurtherRow, ""},  // deleted
      {"B100", "150230", 0, "1001"},  // 2030: read as day, month, year
      {"B999", "150324", kNoFurtherRow, ""},
  };
  for (const auto& c : cases) {
    BookingRecord record = booking(c.badge, c.date);
    Licence licence;
    Tenant tenant;
    licence.assign("old");
    tenant.assign("old");
    EXPECT_EQ(SQLSelectQvs301Asw(record, licence, tenant), c.result) << c.badge << " " << c.date;
    EXPECT_STREQ(record.personnelNumber.c_str(), c.personnelNumber) << c.badge << " " << c.date;
    EXPECT_STREQ(licence.c_str(), c.result == 0 ? "L1" : "old");
    EXPECT_STREQ(tenant.c_str(), c.result == 0 ? "M1" : "old");
  }
}

TEST_F(Statements, BadgeLookupKeepsTargetsOfNullColumns) {
  db->exec("INSERT INTO QVSYSTEM.Qvs301Asw VALUES ('B400', '2020-01-01', NULL, 0, NULL, NULL, 'M9')");
  BookingRecord record = booking("B400", "150324");
  Licence licence;
  Tenant tenant;
  licence.assign("L1");
  EXPECT_EQ(SQLSelectQvs301Asw(record, licence, tenant), 0);
  EXPECT_STREQ(record.personnelNumber.c_str(), "");
  EXPECT_STREQ(licence.c_str(), "L1");
  EXPECT_STREQ(tenant.c_str(), "M9");
}

TEST_F(Statements, ALookedUpValueTooLongForItsFieldFailsTheLookupAndCopiesNothing) {
  db->exec(
      "INSERT INTO QVSYSTEM.Qvs301Asw VALUES ('B500', '2020-01-01', NULL, 0, '123456789', 'L5', 'M5');"
      "INSERT INTO QVSYSTEM.Qvs112Mnd VALUES ('L6', 'M6', 0, 0, 'SCHEMA_OF_21_LETTERS_');"
      "INSERT INTO qvs_test.O1003KSTSTELLE VALUES ('77', 0, '0123456789012345678901234567890')");
  BookingRecord record = booking("B500", "150324");
  Licence licence;
  Tenant tenant;
  EXPECT_EQ(SQLSelectQvs301Asw(record, licence, tenant), -1);
  EXPECT_TRUE(record.personnelNumber.empty() && licence.empty() && tenant.empty());

  licence.assign("L6");
  tenant.assign("M6");
  SchemaName schema;
  EXPECT_EQ(SQLSelectQvs112Mnd(licence, tenant, schema), -1);
  EXPECT_TRUE(schema.empty());

  FixedText<8> workstation;
  workstation.assign("77");
  FixedText<31> costCentre;
  EXPECT_EQ(SQLSelectO1003KstStelle(workstation, costCentre), -1);
  EXPECT_TRUE(costCentre.empty());
}

TEST_F(Statements, ValuesWithApostrophesAndBackslashesAreComparedExactly) {
  db->exec("INSERT INTO QVSYSTEM.Qvs301Asw VALUES ('O''B\\\\1%', '2020-01-01', NULL, 0, '2001', 'L1', 'M1')");
  const struct {
    const char* badge;
    int result;
  } cases[] = {
      {"O'B\\1%", 0},
      {"O'B\\1_", kNoFurtherRow},
      {"x' OR '1'='1", kNoFurtherRow},
      {"B100' -- ", kNoFurtherRow},
      {"\\", kNoFurtherRow},
  };
  for (const auto& c : cases) {
    BookingRecord record = booking(c.badge, "150324");
    Licence licence;
    Tenant tenant;
    EXPECT_EQ(SQLSelectQvs301Asw(record, licence, tenant), c.result) << c.badge;
  }
}

TEST_F(Statements, TenantLookupFindsTheSchemaName) {
  Licence licence;
  Tenant tenant;
  licence.assign("L1");
  tenant.assign("M1");
  SchemaName schema;
  EXPECT_EQ(SQLSelectQvs112Mnd(licence, tenant, schema), 0);
  EXPECT_STREQ(schema.c_str(), "QVS_TEST");
  tenant.assign("M2");
  schema.clear();
  EXPECT_EQ(SQLSelectQvs112Mnd(licence, tenant, schema), kNoFurtherRow);
  EXPECT_TRUE(schema.empty());
}

TEST_F(Statements, TheSchemaSwitchIsRejectedByMariaDbAndCountsAsDone) {
  SchemaName schema;
  schema.assign("QVS_OTHER");
  EXPECT_EQ(dbChangeSchema(schema), 0);
  EXPECT_NE(dbLastError().errorNumber, 0u);  // the server said no
  FixedText<8> workstation;
  workstation.assign("12");
  FixedText<31> costCentre;
  EXPECT_EQ(SQLSelectO1003KstStelle(workstation, costCentre), 0);  // still the connected database
  EXPECT_STREQ(costCentre.c_str(), "KST-4711");
}

TEST_F(Statements, InsertStoresTheBookingAsDateAndDateTime) {
  BookingRecord record = booking("B100", "150324");
  record.bookingTime.assign("081500");
  record.personnelNumber.assign("1001");
  record.costCentre.assign("KST-4711");
  Designator designator;
  designator.assign("K'S\\W");
  ASSERT_EQ(SQLInsertQvs321Bch(record, designator), 0);

  BookingRecord late = booking("B100", "150230");
  late.bookingTime.assign("235900");
  late.personnelNumber.assign("1001");
  ASSERT_EQ(SQLInsertQvs321Bch(late, designator), 0);

  // A second booking at the same minute is a duplicate.
  EXPECT_EQ(SQLInsertQvs321Bch(record, designator), 1062);
  ASSERT_EQ(dbCommit(), 1);
  EXPECT_EQ(db->rowsText("SELECT BchPnr, BchVon, BchUhr, BchFkt, BchFcd, BchKst FROM qvs_test.QVS321BCH "
                         "ORDER BY BchUhr"),
            "1001|2024-03-15|2024-03-15 08:15:00|25|K'S\\W|KST-4711\n"
            "1001|2030-02-15|2030-02-15 23:59:00|25|K'S\\W|\n");
}

}  // namespace
