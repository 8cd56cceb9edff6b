// The run-log record and its rows in the log table QvSystem.Qvs001Log.
//
// The record joins the run part, filled once at start, with the error part
// of the error being reported. Each reported error becomes one log row; the
// row is not committed here but by the caller's next commit.
#pragma once

#include <cstdint>

#include "common/fixed_text.h"

struct RunLogRecord {
  // The run part.
  FixedText<31> programName;     // argument 0 after its last backslash
  FixedText<15> startTimestamp;  // local time of initRunLog, YYYYMMDDhhmmss
  FixedText<151> parameters;     // arguments 1.. joined by single blanks
  FixedText<21> schemaName;      // never filled: always written empty
  FixedText<11> moduleName;
  // The error part.
  FixedText<11> personnelNumber;
  int32_t date = 0;  // the booking's DDMMYY read as one decimal number
  FixedText<51> functionName;
  int32_t textErrorNumber = 0;  // the error's text in Qvs102Whl; 0 for none
  FixedText<257> textErrorText;
  int32_t dbErrorNumber = 0;
  FixedText<257> dbErrorText;  // apostrophes turned into double quotes
  FixedText<257> messageText;
  int32_t errorType = 0;  // 1: a database error, taken from the session
};

// The record of the process.
RunLogRecord& processRunLog();

// Clears record and fills its run part from the command line. Texts longer
// than their fields are cut.
void initRunLog(int argumentCount, const char* const* arguments, const char* moduleName,
                RunLogRecord& record);

// Fills the error part of the process record (for errorType 1 with the
// session's last error) and writes its log row. Returns the result of the
// row's INSERT, 0 when it was written.
int fillRunLogError(const char* functionName, const char* personnelNumber, int32_t date,
                    int32_t textErrorNumber, const char* messageText, int32_t errorType);

// Looks up the text of record.textErrorNumber (when not 0) into
// record.textErrorText and inserts the log row. Returns the INSERT's result.
int SQLInsertQvs001Log(RunLogRecord& record);
