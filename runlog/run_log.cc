#include "runlog/run_log.h"

#include <cstring>

#include "db/db_session.h"
#include "db/statement_buffer.h"
#include "platform/local_time.h"

namespace {

char logStatement[1000];

void replaceApostrophes(FixedText<257>& text) {
  for (char* c = text.data(); *c != '\0'; ++c) {
    if (*c == '\'') *c = '"';
  }
}

// Looks up the text of the error's text number into textErrorText, cut to
// its field.
void lookUpErrorText(RunLogRecord& record, QueryCursor& cursor) {
  formatStatement(logStatement, sizeof logStatement,
                  "SELECT FtxDok   FROM Qvsystem.Qvs102Whl  WHERE FtxNumSpr = 8    AND FtxWhl = %ld   "
                  "AND FtxSpr = 1 ",
                  static_cast<long>(record.textErrorNumber));
  if (dbExecute(cursor) != 0) return;
  DbRow row = nullptr;
  if (dbFetchRow(cursor, row) == 0 && row[0] != nullptr) record.textErrorText.assign(row[0]);
  dbFreeResult(cursor);
}

// The server's reading of the date number with the mask '%Y%m%d', as the
// quoted text of a statement, or NULL when it has none. Asked for on its own
// so that a number the server cannot read as a date leaves LogDtm empty
// instead of failing the whole log row.
FixedText<40> logDateValue(const RunLogRecord& record, QueryCursor& cursor) {
  FixedText<40> value;
  value.assign("NULL");
  formatStatement(logStatement, sizeof logStatement, "SELECT date_format(%ld,'%%Y%%m%%d')",
                  static_cast<long>(record.date));
  if (dbExecute(cursor) != 0) return value;
  DbRow row = nullptr;
  FixedText<17> answer;
  if (dbFetchRow(cursor, row) == 0 && row[0] != nullptr && answer.assign(row[0])) {
    const QuotedValue quoted(answer);
    value.assign("'");
    value.append(quoted.c_str());
    value.append("'");
  }
  dbFreeResult(cursor);
  return value;
}

}  // namespace

RunLogRecord& processRunLog() {
  static RunLogRecord record;
  return record;
}

void initRunLog(int argumentCount, const char* const* arguments, const char* moduleName,
                RunLogRecord& record) {
  record = RunLogRecord{};
  if (argumentCount > 0) {
    const char* separator = std::strrchr(arguments[0], '\\');
    if (separator != nullptr) record.programName.assign(separator + 1);
  }
  for (int i = 1; i < argumentCount; ++i) {
    record.parameters.append(arguments[i]);
    if (i + 1 < argumentCount) record.parameters.append(" ");
  }
  formatCurrentLocalTimestamp(record.startTimestamp.data(), sizeof record.startTimestamp.bytes);
  record.moduleName.assign(moduleName);
}

int fillRunLogError(const char* functionName, const char* personnelNumber, int32_t date,
                    int32_t textErrorNumber, const char* messageText, int32_t errorType) {
  RunLogRecord& record = processRunLog();
  record.functionName.clear();
  record.textErrorText.clear();
  record.dbErrorText.clear();
  record.messageText.clear();
  record.personnelNumber.assign(personnelNumber);
  record.textErrorNumber = textErrorNumber;
  record.date = date;
  record.errorType = errorType;
  record.dbErrorNumber = 0;
  record.functionName.assign(functionName);
  record.messageText.assign(messageText);
  if (errorType == 1) {
    uint32_t number = 0;
    dbGetLastError(number, record.dbErrorText.data(), sizeof record.dbErrorText.bytes);
    record.dbErrorNumber = static_cast<int32_t>(number);
    replaceApostrophes(record.dbErrorText);
  }
  return SQLInsertQvs001Log(record);
}

int SQLInsertQvs001Log(RunLogRecord& record) {
  QueryCursor cursor(logStatement);
  if (record.textErrorNumber != 0) lookUpErrorText(record, cursor);
  const FixedText<40> logDate = logDateValue(record, cursor);

  const QuotedValue programName(record.programName);
  const QuotedValue startTimestamp(record.startTimestamp);
  const QuotedValue parameters(record.parameters);
  const QuotedValue schemaName(record.schemaName);
  const QuotedValue personnelNumber(record.personnelNumber);
  const QuotedValue moduleName(record.moduleName);
  const QuotedValue functionName(record.functionName);
  const QuotedValue textErrorText(record.textErrorText);
  const QuotedValue dbErrorText(record.dbErrorText);
  const QuotedValue messageText(record.messageText);
  formatStatement(logStatement, sizeof logStatement,
                  "INSERT INTO QvSystem.Qvs001Log (LogPrg, LogStz, LogPrm, LogSch,  LogPnr, LogDtm, "
                  "LogMod, LogFkt,  LogTErr, LogTTxt, LogSErr, LogSTxt,  LogMsg, LogTyp, LogDat)  "
                  "VALUES ( '%s', '%s', '%s',   '%s', '%s', %s,   '%s', '%s', %ld,   '%s', %ld, '%s',   "
                  "'%s', %ld, sysdate() ) ",
                  programName.c_str(), startTimestamp.c_str(), parameters.c_str(), schemaName.c_str(),
                  personnelNumber.c_str(), logDate.c_str(), moduleName.c_str(), functionName.c_str(),
                  static_cast<long>(record.textErrorNumber), textErrorText.c_str(),
                  static_cast<long>(record.dbErrorNumber), dbErrorText.c_str(), messageText.c_str(),
                  static_cast<long>(record.errorType));
  const int result = dbExecute(cursor);
  dbFreeResult(cursor);
  return result;
}
