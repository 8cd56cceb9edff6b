#include "runlog/error_report.h"

#include "common/run_config.h"
#include "db/db_session.h"
#include "platform/console.h"
#include "runlog/run_log.h"

void reportError(const char* codeText, const char* personnelNumber, int32_t date, int32_t textErrorNumber,
                 const char* functionName, int32_t errorType) {
  // Copied first: the log statements overwrite the session's last error.
  uint32_t errorNumber = 0;
  char errorText[257] = {};
  dbGetLastError(errorNumber, errorText, sizeof errorText);

  fillRunLogError(functionName, personnelNumber, date, textErrorNumber, codeText, errorType);

  if (kTraceLevel >= 1) {
    consolePrintf("\n\nError in function: %s\n", functionName);
    consolePrintf("  Pnr: %s, Datum: %ld, ErrNr: %ld\n", personnelNumber, static_cast<long>(date),
                  static_cast<long>(textErrorNumber));
    if (errorNumber != 0) {
      consolePrintf("  sqlcode: %d, sqlmsg: %s\n\n", static_cast<int>(errorNumber), errorText);
    }
  }
  consolePrintf("Message:\n- Text  : %s\n- Number: %i\n- Code  : %s\n", errorText,
                -static_cast<int>(errorNumber), codeText);
}
