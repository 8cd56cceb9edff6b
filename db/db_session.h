// The one database session of the process.
//
// One client connection, opened once by dbConnect with autocommit off and
// never closed: it ends with the process, so whatever was not committed by
// then is not kept. Each statement's result is stored whole on the client, so
// the connection is free for the next statement as soon as dbExecute returns.
// Only this module talks to the client library.
//
// Result codes: 0 for done; the client library's error number when the
// connection fails or the server rejects a statement; -1 when a result
// cannot be stored or read; 1032 when no further row is there. dbCommit
// answers 1 for done and 0 for a failure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

struct st_mysql_res;

inline constexpr int kNoFurtherRow = 1032;

// One statement: its text, its stored result and the rows delivered from it.
// The caller owns the text, which must stay valid until dbExecute returns.
// A cursor holds at most one result; it is released by dbFreeResult, or at
// the latest when the cursor goes out of scope.
struct QueryCursor {
  explicit QueryCursor(const char* text) : statementText(text) {}
  ~QueryCursor();
  QueryCursor(const QueryCursor&) = delete;
  QueryCursor& operator=(const QueryCursor&) = delete;

  const char* statementText;
  st_mysql_res* resultHandle = nullptr;
  uint32_t rowsFetched = 0;
};

// One row: a NUL-terminated text per selected column, nullptr for NULL.
// It belongs to the cursor's result and is valid until dbFreeResult.
using DbRow = char**;

// The last recorded database failure. errorText points into the connection
// and stays readable for the life of the process.
struct DbLastError {
  uint32_t errorNumber = 0;
  const char* errorText = "";
};

// Connects to database on host (the library's default port and socket) as
// user with password, then switches autocommit off. A rejected
// "SET AUTOCOMMIT = 0" does not fail the connection.
int dbConnect(const char* user, const char* password, const char* host, const char* database);

// Runs the cursor's statement and stores its whole result in the cursor. A
// rejected statement leaves the cursor as it was.
int dbExecute(QueryCursor& cursor);

// Hands out the next stored row: 0, kNoFurtherRow when all rows have been
// delivered, -1 when the cursor holds no result or the fetch failed.
int dbFetchRow(QueryCursor& cursor, DbRow& row);

// Releases the cursor's result: 0, or -1 when it holds none.
int dbFreeResult(QueryCursor& cursor);

// Makes every change since the last commit permanent: 1 done, 0 failed.
int dbCommit();

// Copies the last recorded failure out, the text cut to textSize - 1 bytes.
int dbGetLastError(uint32_t& errorNumber, char* text, std::size_t textSize);

// The record itself, for reading.
const DbLastError& dbLastError();

// Escapes value for use between single quotes in a statement of this
// session, in the session's character set, NUL-terminated. output must hold
// 2 * value.size() + 1 bytes; returns false, with output empty, when it does
// not or when no session is open.
bool dbEscapeText(std::string_view value, char* output, std::size_t outputSize);
