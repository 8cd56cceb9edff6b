// The throwaway test server that scripts/test starts, seen from the tests:
// a second connection for setting up tables and reading back what landed
// (only committed rows are visible to it), and configuration files that
// point the program at the server.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct st_mysql;

// True when scripts/test has started a server for this run.
bool testServerAvailable();

// Skips the test without a server, or fails it when the run requires one.
#define REQUIRE_TEST_SERVER()                                                      \
  do {                                                                             \
    if (!testServerAvailable()) {                                                  \
      if (std::getenv("ZARNIK_REQUIRE_DB") != nullptr) FAIL() << "no test server"; \
      GTEST_SKIP() << "no test server (run scripts/test)";                         \
    }                                                                              \
  } while (false)

// The tenant database that the tests' bookings land in.
inline constexpr char kTestTenantDatabase[] = "qvs_test";

using DbRowTexts = std::vector<std::optional<std::string>>;

class TestDatabase {
 public:
  TestDatabase();  // connects over the private socket as the test user
  ~TestDatabase();
  TestDatabase(const TestDatabase&) = delete;
  TestDatabase& operator=(const TestDatabase&) = delete;

  // Runs one or more statements; a failure fails the test.
  void exec(std::string_view sql);
  std::vector<DbRowTexts> query(std::string_view sql);
  // The rows of sql as text, a line per row, columns joined by '|', NULL
  // written as NULL: for comparing with a plain expected text.
  std::string rowsText(std::string_view sql);

  // Creates QVSYSTEM and the tenant database's tables anew from sql/.
  void resetSchema(const std::string& tenantDatabase = kTestTenantDatabase);

 private:
  st_mysql* connection_ = nullptr;
};

// The text of a configuration file (CR LF line ends) whose entries give the
// program these connection values. The database name is stored with the one
// extra last character that the program drops.
std::string configFileText(std::string_view host, std::string_view database, std::string_view user,
                           std::string_view password);

// The same for the test server and the test tenant database.
std::string testConfigFileText(std::string_view host = "localhost");

// Opens the program's own session (db_session) to the test tenant
// database, once per process. False when it cannot.
bool openTestSession();
// Ends the transaction the session has open, if any, so that the second
// connection can drop and create its tables.
void rollbackTestSession();

// A test against the server with fresh tables: skipped (or failed when the
// run requires a server) without one.
class DatabaseTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::unique_ptr<TestDatabase> db;
};

// A DatabaseTest that also has the program's own session open, for running
// the session's operations and statements in the test process.
class SessionTest : public DatabaseTest {
 protected:
  void SetUp() override;
};

// The environment entries that lead the program's connection to the test
// server (the client library's defaults for socket and port).
std::vector<std::pair<std::string, std::string>> testServerEnvironment();
