#include "runlog/run_log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

RunLogRecord initFrom(std::vector<const char*> arguments) {
  RunLogRecord record;
  record.messageText.assign("left over");
  initRunLog(static_cast<int>(arguments.size()), arguments.data(), "ZARNIK", record);
  return record;
}

TEST(InitRunLog, TakesTheProgramNameAfterTheLastBackslash) {
  const struct {
    const char* argument0;
    const char* programName;
  } cases[] = {
      {"C:\\Orvantis\\bin\\zarnik.exe", "zarnik.exe"},
      {"zarnik", ""},
      {"/usr/bin/zarnik", ""},  // a forward slash is no separator
      {"C:\\bin\\", ""},
      {"\\a\\0123456789012345678901234567890123456789", "012345678901234567890123456789"},  // cut to 30
  };
  for (const auto& c : cases) EXPECT_STREQ(initFrom({c.argument0}).programName.c_str(), c.programName);
}

TEST(InitRunLog, JoinsTheArgumentsWithSingleBlanks) {
  EXPECT_STREQ(initFrom({"z", "a", "b", "c"}).parameters.c_str(), "a b c");
  EXPECT_STREQ(initFrom({"z"}).parameters.c_str(), "");
  EXPECT_STREQ(initFrom({"z", "a", "", "c"}).parameters.c_str(), "a  c");
  EXPECT_STREQ(initFrom({"z", "C:\\ini\\ORVANTIS.INI", "it's"}).parameters.c_str(),
               "C:\\ini\\ORVANTIS.INI it's");
  const std::string longArgument(200, 'p');
  EXPECT_EQ(initFrom({"z", longArgument.c_str()}).parameters.view(), std::string(150, 'p'));
}

TEST(InitRunLog, ClearsTheRecordAndStampsTheStart) {
  const RunLogRecord record = initFrom({"z"});
  EXPECT_STREQ(record.moduleName.c_str(), "ZARNIK");
  EXPECT_TRUE(record.messageText.empty());
  EXPECT_TRUE(record.schemaName.empty());
  ASSERT_EQ(record.startTimestamp.size(), 14u);
  for (const char c : record.startTimestamp.view()) EXPECT_TRUE(c >= '0' && c <= '9');
  EXPECT_EQ(record.startTimestamp.view().substr(0, 2), "20");
}

}  // namespace
