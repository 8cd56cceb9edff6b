#include "db/db_session.h"

#include <mysql.h>

#include <cstring>

namespace {

MYSQL connection;
bool connected = false;
DbLastError lastError;

void recordFailure() {
  lastError.errorNumber = mysql_errno(&connection);
  lastError.errorText = mysql_error(&connection);
}

}  // namespace

QueryCursor::~QueryCursor() {
  if (resultHandle != nullptr) mysql_free_result(resultHandle);
}

int dbConnect(const char* user, const char* password, const char* host, const char* database) {
  if (mysql_init(&connection) == nullptr) {
    recordFailure();
    return static_cast<int>(lastError.errorNumber);
  }
  if (mysql_real_connect(&connection, host, user, password, database, 0, nullptr, 0) == nullptr) {
    recordFailure();
    return static_cast<int>(lastError.errorNumber);
  }
  connected = true;
  QueryCursor autocommit("SET AUTOCOMMIT = 0");
  dbExecute(autocommit);
  return 0;
}

int dbExecute(QueryCursor& cursor) {
  if (mysql_real_query(&connection, cursor.statementText, std::strlen(cursor.statementText)) != 0) {
    recordFailure();
    return static_cast<int>(lastError.errorNumber);
  }
  // A result the caller did not release would otherwise be lost.
  if (cursor.resultHandle != nullptr) mysql_free_result(cursor.resultHandle);
  cursor.resultHandle = mysql_store_result(&connection);
  lastError.errorNumber = mysql_errno(&connection);
  if (lastError.errorNumber != 0) {
    lastError.errorText = mysql_error(&connection);
    return -1;
  }
  cursor.rowsFetched = 0;
  return 0;
}

int dbFetchRow(QueryCursor& cursor, DbRow& row) {
  if (cursor.resultHandle == nullptr) return -1;
  if (static_cast<uint64_t>(cursor.rowsFetched) >= mysql_num_rows(cursor.resultHandle)) {
    return kNoFurtherRow;
  }
  row = mysql_fetch_row(cursor.resultHandle);
  lastError.errorNumber = mysql_errno(&connection);
  if (lastError.errorNumber != 0) {
    lastError.errorText = mysql_error(&connection);
    return -1;
  }
  ++cursor.rowsFetched;
  return 0;
}

int dbFreeResult(QueryCursor& cursor) {
  if (cursor.resultHandle == nullptr) return -1;
  mysql_free_result(cursor.resultHandle);
  cursor.resultHandle = nullptr;
  cursor.rowsFetched = 0;
  return 0;
}

int dbCommit() {
  QueryCursor commit("COMMIT");
  return dbExecute(commit) == 0 ? 1 : 0;
}

int dbGetLastError(uint32_t& errorNumber, char* text, std::size_t textSize) {
  errorNumber = lastError.errorNumber;
  if (textSize > 0) {
    const std::size_t length = std::min(std::strlen(lastError.errorText), textSize - 1);
    std::memcpy(text, lastError.errorText, length);
    text[length] = '\0';
  }
  return 0;
}

const DbLastError& dbLastError() { return lastError; }

bool dbEscapeText(std::string_view value, char* output, std::size_t outputSize) {
  if (outputSize == 0) return false;
  output[0] = '\0';
  if (!connected || outputSize < 2 * value.size() + 1) return false;
  mysql_real_escape_string(&connection, output, value.data(), value.size());
  return true;
}
