// The program run as a process, for the stops before it needs a database.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/process.h"
#include "tests/support/temp_dir.h"

namespace {

const char kUsage[] =
    "Syntax: zarnik <Ini-Datei> <Quelle> <Parm-Datei> [<KSW-Bezeichner>]\n\n"
    "Ini-Datei  :\n ORVANTIS-Ini-Datei\n\n"
    "Quelle     :\n Datei mit Kostenstellenwechsel-Buchungen.\n\n"
    "Parm-Datei :\n Parameter-Datei fuer WKR.\n\n"
    "KSW-Bez.   :\n Kostenstellenwechsel-Bezeichner (Default: \"KSW\")\n\n";

TEST(CommandLine, PrintsOnlyTheUsageForTheWrongArgumentCount) {
  TempDir dir;
  const std::string ini = dir.write("zarnik.ini", "");
  const std::vector<std::vector<std::string>> wrongCounts = {
      {ZARNIK_BINARY},
      {ZARNIK_BINARY, ini},
      {ZARNIK_BINARY, ini, "source"},
      {ZARNIK_BINARY, ini, "source", dir.file("wkr.prm"), "KSW", "extra"},
  };
  for (const auto& arguments : wrongCounts) {
    const ProcessResult result = runProcess(arguments);
    EXPECT_EQ(result.exitCode, 1) << arguments.size();
    EXPECT_EQ(result.output, kUsage) << arguments.size();
  }
  EXPECT_FALSE(fileExists(dir.file("wkr.prm")));
}

TEST(CommandLine, StopsWhenTheConfigurationFileIsMissing) {
  TempDir dir;
  for (const std::string& ini : {dir.file("missing.ini"), dir.path()}) {
    const ProcessResult result = runProcess({ZARNIK_BINARY, ini, dir.file("source"), dir.file("wkr.prm")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.output, "zarnik: Start.\nORVANTIS.INI not found\n");
  }
  EXPECT_FALSE(fileExists(dir.file("wkr.prm")));
}

TEST(CommandLine, StopsOnAConfigurationValueTooLongForTheReader) {
  TempDir dir;
  const std::string ini = dir.write("zarnik.ini", ";A;\r\n1;NET8;" + std::string(224, '0') + "\r\n");
  const ProcessResult result = runProcess({ZARNIK_BINARY, ini, dir.file("source"), dir.file("wkr.prm")});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.output, "zarnik: Start.\nKonfigurationswert zu lang: NET8\n");
}

}  // namespace
