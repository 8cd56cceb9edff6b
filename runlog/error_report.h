// The report of an error: a row of the log table and a report on the console.
#pragma once

#include <cstdint>

// Records the error as a log row (uncommitted; the caller commits) and prints
// its report. The console shows the session's error as it was at the call,
// not as writing the log row left it. Always returns.
void reportError(const char* codeText, const char* personnelNumber, int32_t date, int32_t textErrorNumber,
                 const char* functionName, int32_t errorType);
