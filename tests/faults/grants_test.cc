// The grant list of sql/grants.sql is all the program needs: a user with
// exactly those rights runs a whole import, a failed insert and its log row
// included.
#include <gtest/gtest.h>
#include <mysql.h>

#include <cstdlib>
#include <string>

#include "tests/support/fixtures.h"
#include "tests/support/import_run.h"
#include "tests/support/process.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_database.h"

namespace {

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

// Runs statements as the test server's root, who alone may grant rights.
void asRoot(const std::string& statements) {
  MYSQL* connection = mysql_init(nullptr);
  if (mysql_real_connect(connection, "localhost", "root", nullptr, nullptr, 0,
                         std::getenv("ZARNIK_TEST_SOCKET"), CLIENT_MULTI_STATEMENTS) == nullptr) {
    ADD_FAILURE() << "root connection failed: " << mysql_error(connection);
  } else if (mysql_query(connection, statements.c_str()) != 0) {
    ADD_FAILURE() << "as root: " << mysql_error(connection) << "\n" << statements;
  } else {
    do {
      if (MYSQL_RES* result = mysql_store_result(connection)) mysql_free_result(result);
    } while (mysql_next_result(connection) == 0);
    if (mysql_errno(connection) != 0) ADD_FAILURE() << "as root: " << mysql_error(connection);
  }
  mysql_close(connection);
}

class GrantList : public DatabaseTest {};

TEST_F(GrantList, IsEnoughForACompleteImportWithAFailedInsert) {
  db->exec(standardFixtureSql());
  asRoot(
      "DROP USER IF EXISTS 'zarnik_least'@'localhost';"
      "CREATE USER 'zarnik_least'@'localhost' IDENTIFIED BY 'Kst-2026'");
  asRoot(replaceAll(replaceAll(readFileBytes(ZARNIK_SOURCE_DIR "/sql/grants.sql"), "@TENANT_DATABASE@",
                               kTestTenantDatabase),
                    "@IMPORT_USER@", "'zarnik_least'@'localhost'"));
  const std::string grants = db->rowsText("SHOW GRANTS FOR 'zarnik_least'@'localhost'");
  EXPECT_EQ(grants.find("ALL PRIVILEGES"), std::string::npos) << grants;

  TempDir dir;
  const std::string ini =
      dir.write("ORVANTIS.INI", configFileText("localhost", kTestTenantDatabase, "zarnik_least", "Kst-2026"));
  const std::string source = dir.write("ksw.txt", bookingLine("150324", "081510", "B100", "12") +
                                                      bookingLine("150324", "081520", "B100", "12") +
                                                      bookingLine("160324", "100000", "B200", "13"));
  const std::string parameterFile = dir.file("wkr.prm");
  const ProcessResult result =
      runProcess({ZARNIK_BINARY, ini, source, parameterFile}, testServerEnvironment());
  asRoot("DROP USER 'zarnik_least'@'localhost'");

  EXPECT_EQ(result.exitCode, 0) << result.output;
  EXPECT_NE(result.output.find("Personalnummer: <1002>\nKostenstelle: <KST-0815>\n"), std::string::npos)
      << result.output;
  EXPECT_NE(result.output.find("- Number: -1062\n- Code  : Qvs321Bch\nzarnik: Ende.\n"), std::string::npos)
      << result.output;
  EXPECT_EQ(db->rowsText("SELECT BchPnr, BchUhr, BchKst FROM qvs_test.QVS321BCH ORDER BY BchPnr"),
            "1001|2024-03-15 08:15:00|KST-4711\n1002|2024-03-16 10:00:00|KST-0815\n");
  EXPECT_EQ(db->rowsText("SELECT LogPnr, LogTTxt, LogSErr FROM QVSYSTEM.Qvs001Log"),
            "1001|Fehler beim Einfuegen der Buchung|1062\n");
  EXPECT_EQ(readFileBytes(parameterFile),
            "QVS_TEST            ,1001    ,15.03.2024\r\n"
            "QVS_TEST            ,1002    ,16.03.2024\r\n");
}

}  // namespace
