#include "tests/support/test_database.h"

#include <mysql.h>

#include <cstdlib>

#include "config/value_cipher.h"
#include "db/db_session.h"
#include "tests/support/temp_dir.h"

namespace {

std::string environmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

std::string encipher(std::string_view plain) {
  const std::string text(plain);
  std::vector<char> hex(16 * (text.size() / 8 + 1) + 1);
  encryptConfigValue(text.c_str(), hex.data(), hex.size(), kConfigKeyText);
  return hex.data();
}

}  // namespace

bool testServerAvailable() { return !environmentValue("ZARNIK_TEST_SOCKET").empty(); }

TestDatabase::TestDatabase() {
  connection_ = mysql_init(nullptr);
  const std::string socket = environmentValue("ZARNIK_TEST_SOCKET");
  const std::string user = environmentValue("ZARNIK_TEST_USER");
  const std::string password = environmentValue("ZARNIK_TEST_PASSWORD");
  if (mysql_real_connect(connection_, "localhost", user.c_str(), password.c_str(), nullptr, 0, socket.c_str(),
                         CLIENT_MULTI_STATEMENTS) == nullptr) {
    ADD_FAILURE() << "test connection failed: " << mysql_error(connection_);
  }
  mysql_query(connection_, "SET NAMES latin1");
}

TestDatabase::~TestDatabase() { mysql_close(connection_); }

void TestDatabase::exec(std::string_view sql) {
  if (mysql_real_query(connection_, sql.data(), sql.size()) != 0) {
    ADD_FAILURE() << "statement failed (" << mysql_errno(connection_) << "): " << mysql_error(connection_)
                  << "\n"
                  << sql;
    return;
  }
  do {
    MYSQL_RES* result = mysql_store_result(connection_);
    if (result != nullptr) mysql_free_result(result);
  } while (mysql_next_result(connection_) == 0);
  if (mysql_errno(connection_) != 0) {
    ADD_FAILURE() << "statement failed (" << mysql_errno(connection_) << "): " << mysql_error(connection_);
  }
}

std::vector<DbRowTexts> TestDatabase::query(std::string_view sql) {
  std::vector<DbRowTexts> rows;
  if (mysql_real_query(connection_, sql.data(), sql.size()) != 0) {
    ADD_FAILURE() << "query failed: " << mysql_error(connection_) << "\n" << sql;
    return rows;
  }
  MYSQL_RES* result = mysql_store_result(connection_);
  if (result == nullptr) return rows;
  const unsigned columns = mysql_num_fields(result);
  while (MYSQL_ROW row = mysql_fetch_row(result)) {
    const unsigned long* lengths = mysql_fetch_lengths(result);
    DbRowTexts texts;
    for (unsigned i = 0; i < columns; ++i) {
      if (row[i] == nullptr) {
        texts.emplace_back(std::nullopt);
      } else {
        texts.emplace_back(std::string(row[i], lengths[i]));
      }
    }
    rows.push_back(std::move(texts));
  }
  mysql_free_result(result);
  return rows;
}

std::string TestDatabase::rowsText(std::string_view sql) {
  std::string text;
  for (const DbRowTexts& row : query(sql)) {
    for (std::size_t i = 0; i < row.size(); ++i) {
      if (i > 0) text += '|';
      text += row[i].value_or("NULL");
    }
    text += '\n';
  }
  return text;
}

void TestDatabase::resetSchema(const std::string& tenantDatabase) {
  // The tenant database itself stays: a session connected to it keeps it as
  // its current database.
  exec("DROP DATABASE IF EXISTS QVSYSTEM");
  exec(readFileBytes(ZARNIK_SOURCE_DIR "/sql/qvsystem.sql"));
  exec("CREATE DATABASE IF NOT EXISTS " + tenantDatabase + " CHARACTER SET latin1");
  exec("USE " + tenantDatabase);
  exec("DROP TABLE IF EXISTS O1003KSTSTELLE, QVS321BCH");
  exec(readFileBytes(ZARNIK_SOURCE_DIR "/sql/tenant.sql"));
}

std::string configFileText(std::string_view host, std::string_view database, std::string_view user,
                           std::string_view password) {
  std::string text;
  auto entry = [&text](int number, std::string_view key, std::string_view plain) {
    text += ";DATENBANK;\r\n";
    text += std::to_string(number) + ";" + std::string(key) + ";" + encipher(plain) + "\r\n";
  };
  entry(1, "NET8", host);
  entry(2, "SCHEMA", std::string(database) + ";");
  entry(3, "LOGIN", user);
  entry(4, "PASS", password);
  return text;
}

std::string testConfigFileText(std::string_view host) {
  return configFileText(host, kTestTenantDatabase, environmentValue("ZARNIK_TEST_USER"),
                        environmentValue("ZARNIK_TEST_PASSWORD"));
}

std::vector<std::pair<std::string, std::string>> testServerEnvironment() {
  return {{"MYSQL_UNIX_PORT", environmentValue("ZARNIK_TEST_SOCKET")},
          {"MYSQL_TCP_PORT", environmentValue("ZARNIK_TEST_PORT")}};
}

namespace {
bool sessionOpen = false;
}  // namespace

void rollbackTestSession() {
  if (!sessionOpen) return;
  QueryCursor rollback("ROLLBACK");
  dbExecute(rollback);
}

bool openTestSession() {
  if (!sessionOpen) {
    sessionOpen =
        dbConnect(environmentValue("ZARNIK_TEST_USER").c_str(),
                  environmentValue("ZARNIK_TEST_PASSWORD").c_str(), "localhost", kTestTenantDatabase) == 0;
  }
  return sessionOpen;
}

void DatabaseTest::SetUp() {
  REQUIRE_TEST_SERVER();
  rollbackTestSession();
  db = std::make_unique<TestDatabase>();
  db->resetSchema();
}

void DatabaseTest::TearDown() { rollbackTestSession(); }

void SessionTest::SetUp() {
  DatabaseTest::SetUp();
  if (IsSkipped() || HasFatalFailure()) return;
  ASSERT_TRUE(openTestSession());
}
