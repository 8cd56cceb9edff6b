#include "db/db_session.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/test_database.h"

namespace {

using DbSession = SessionTest;

std::string lastErrorText() {
  uint32_t number = 0;
  char text[257];
  dbGetLastError(number, text, sizeof text);
  return std::to_string(number) + ":" + text;
}

TEST(DbSessionStart, HasNoLastErrorBeforeAnyFailure) {
  // In a fresh process, before anything has failed.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        uint32_t number = 7;
        char text[16] = "stale";
        std::exit(dbGetLastError(number, text, sizeof text) == 0 && number == 0 && text[0] == '\0' ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}

TEST_F(DbSession, AStatementWithoutResultHoldsNoResult) {
  QueryCursor cursor("SET @zarnik = 1");
  EXPECT_EQ(dbExecute(cursor), 0);
  EXPECT_EQ(cursor.resultHandle, nullptr);
  EXPECT_EQ(dbLastError().errorNumber, 0u);
  DbRow row = nullptr;
  EXPECT_EQ(dbFetchRow(cursor, row), -1);
  EXPECT_EQ(dbFreeResult(cursor), -1);
}

TEST_F(DbSession, FetchesEveryRowThenReportsNoFurtherRow) {
  QueryCursor cursor("SELECT 'a' UNION ALL SELECT NULL");
  ASSERT_EQ(dbExecute(cursor), 0);
  DbRow row = nullptr;
  EXPECT_EQ(dbFetchRow(cursor, row), 0);
  EXPECT_STREQ(row[0], "a");
  EXPECT_EQ(cursor.rowsFetched, 1u);
  EXPECT_EQ(dbFetchRow(cursor, row), 0);
  EXPECT_EQ(row[0], nullptr);
  EXPECT_EQ(cursor.rowsFetched, 2u);
  EXPECT_EQ(dbFetchRow(cursor, row), kNoFurtherRow);
  EXPECT_EQ(dbFetchRow(cursor, row), kNoFurtherRow);
  EXPECT_EQ(cursor.rowsFetched, 2u);
  EXPECT_EQ(dbFreeResult(cursor), 0);
  EXPECT_EQ(cursor.rowsFetched, 0u);
  EXPECT_EQ(dbFetchRow(cursor, row), -1);
  EXPECT_EQ(dbFreeResult(cursor), -1);
}

TEST_F(DbSession, AQueryWithoutMatchGivesNoFurtherRowAndNoError) {
  QueryCursor cursor("SELECT KstNum FROM O1003KSTSTELLE WHERE KstApz = 'none'");
  ASSERT_EQ(dbExecute(cursor), 0);
  DbRow row = nullptr;
  EXPECT_EQ(dbFetchRow(cursor, row), kNoFurtherRow);
  EXPECT_EQ(dbLastError().errorNumber, 0u);
  dbFreeResult(cursor);
}

TEST_F(DbSession, ARejectedStatementRecordsItsErrorAndLeavesTheCursor) {
  QueryCursor cursor("SELECT * FROM no_such_table");
  EXPECT_EQ(dbExecute(cursor), 1146);
  EXPECT_EQ(cursor.resultHandle, nullptr);
  EXPECT_EQ(lastErrorText(), "1146:Table 'qvs_test.no_such_table' doesn't exist");
  EXPECT_EQ(dbFreeResult(cursor), -1);

  // A later success clears the number. The text is the library's own,
  // read at the moment of the copy.
  QueryCursor ok("SELECT 1");
  ASSERT_EQ(dbExecute(ok), 0);
  EXPECT_EQ(dbLastError().errorNumber, 0u);
  dbFreeResult(ok);
}

TEST_F(DbSession, GetLastErrorCutsTheTextToTheBuffer) {
  QueryCursor cursor("SELECT * FROM no_such_table");
  dbExecute(cursor);
  uint32_t number = 0;
  char text[6];
  dbGetLastError(number, text, sizeof text);
  EXPECT_EQ(number, 1146u);
  EXPECT_STREQ(text, "Table");
}

TEST_F(DbSession, RunsWithAutocommitOffUntilCommit) {
  QueryCursor autocommit("SELECT @@autocommit");
  ASSERT_EQ(dbExecute(autocommit), 0);
  DbRow row = nullptr;
  ASSERT_EQ(dbFetchRow(autocommit, row), 0);
  EXPECT_STREQ(row[0], "0");
  dbFreeResult(autocommit);

  QueryCursor insert("INSERT INTO O1003KSTSTELLE (KstApz, KstSta, KstNum) VALUES ('1', 0, 'K1')");
  ASSERT_EQ(dbExecute(insert), 0);
  EXPECT_EQ(db->rowsText("SELECT KstNum FROM qvs_test.O1003KSTSTELLE"), "");
  EXPECT_EQ(dbCommit(), 1);
  EXPECT_EQ(db->rowsText("SELECT KstNum FROM qvs_test.O1003KSTSTELLE"), "K1\n");
}

}  // namespace
