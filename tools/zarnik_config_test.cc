// zarnik-config: its commands run in-process (streams from temporary files)
// and as a process (standard input from a file, or a terminal), and its
// written files read back through the program's own configuration reader.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "config/config_reader.h"
#include "config/value_cipher.h"
#include "tests/support/temp_dir.h"
#include "tools/config_file.h"
#include "tools/config_tool.h"

extern char** environ;

namespace {

struct ToolRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

std::string readStream(std::FILE* stream) {
  std::string text;
  std::rewind(stream);
  char buffer[4096];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, stream)) > 0) text.append(buffer, got);
  return text;
}

// The tool in this process, input as the bytes of standard input.
ToolRun runInProcess(std::vector<std::string> arguments, const std::string& input = "") {
  arguments.insert(arguments.begin(), "zarnik-config");
  std::vector<const char*> argv;
  for (const std::string& argument : arguments) argv.push_back(argument.c_str());
  argv.push_back(nullptr);
  std::FILE* in = std::tmpfile();
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  std::fwrite(input.data(), 1, input.size(), in);
  std::rewind(in);
  ToolRun run;
  run.exitCode = runConfigTool(static_cast<int>(arguments.size()), argv.data(), ToolStreams{in, out, err});
  run.out = readStream(out);
  run.err = readStream(err);
  std::fclose(in);
  std::fclose(out);
  std::fclose(err);
  return run;
}

// The installed-style executable as a child process.
ToolRun runAsProcess(const TempDir& dir, std::vector<std::string> arguments, const std::string& input) {
  arguments.insert(arguments.begin(), ZARNIK_CONFIG_BINARY);
  const std::string inPath = dir.write("stdin", input);
  const std::string outPath = dir.file("stdout");
  const std::string errPath = dir.file("stderr");
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, inPath.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  pid_t pid = 0;
  ToolRun run;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return run;
  int status = 0;
  waitpid(pid, &status, 0);
  if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
  run.out = readFileBytes(outPath);
  run.err = readFileBytes(errPath);
  return run;
}

ConfigEntry lookup(const std::string& path, const char* key) {
  ConfigEntry entry;
  readConfigValue("", key, 0, path.c_str(), entry);  // the program's own lookup
  return entry;
}

int fileMode(const std::string& path) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0) return -1;
  return static_cast<int>(status.st_mode & 07777);
}

const char kPassword[] = "Kst'Wechsel\\2026";

// The file written for localhost / qvs_demo / zarnik / kPassword: the same
// texts as the first four entries of tests/data/sample.ini.
const char kWrittenFile[] =
    ";DATENBANK;\r\n"
    "1;NET8;40B82169D703CF72E01C1998DA81B150\r\n"
    ";DATENBANK;\r\n"
    "2;SCHEMA;E3EB4EFE00CB139F4C04774B903F630A\r\n"
    ";DATENBANK;\r\n"
    "3;LOGIN;D2E44EBD2D5A7B4A\r\n"
    ";DATENBANK;\r\n"
    "4;PASS;BFBCC67EE9A6E92246CF60B2F248B1C5\r\n";

std::vector<std::string> writeArguments(const std::string& path) {
  return {"write", path, "--host", "localhost", "--database", "qvs_demo", "--user", "zarnik"};
}

TEST(ZarnikConfigWrite, WritesAFileThatTheProgramsReaderReadsToTheFourValues) {
  TempDir dir;
  const std::string path = dir.file("ORVANTIS.INI");
  const ToolRun run = runInProcess(writeArguments(path), std::string(kPassword) + "\r\n");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "");  // no prompt when standard input is not a terminal
  EXPECT_EQ(readFileBytes(path), kWrittenFile);
  EXPECT_EQ(fileMode(path), 0600);

  EXPECT_EQ(lookup(path, "NET8").value.view(), "localhost");
  EXPECT_EQ(lookup(path, "SCHEMA").value.view(), "qvs_demo;");  // the program drops the ';'
  EXPECT_EQ(lookup(path, "LOGIN").value.view(), "zarnik");
  EXPECT_EQ(lookup(path, "PASS").value.view(), kPassword);
  // Each lookup takes the entry of its own key: no entry stands for all.
  EXPECT_EQ(lookup(path, "NET8").number, 1);
  EXPECT_EQ(lookup(path, "PASS").number, 4);
  EXPECT_EQ(lookup(path, "TITEL").number, 0);  // no entry is taken for another key
  EXPECT_TRUE(lookup(path, "TITEL").key.empty());
}

TEST(ZarnikConfigWrite, RoundTripsValuesOfEveryLengthTheReaderTakes) {
  const struct {
    std::string host, database, user, password;
  } cases[] = {
      {"h", "d", "u", ""},                                                                   // empty password
      {"db.example.com", std::string(95, 'n'), std::string(96, 'u'), std::string(96, 'p')},  // the limits
      {"10.0.0.7", "qvs;mandant", "a;b", "p;w\x01\xE4\xFF"},  // semicolons, control and high bytes
      {"12345678", "1234567", "87654321", "1234\r567"},       // exactly one block; a CR inside is kept
  };
  for (const auto& c : cases) {
    TempDir dir;
    const std::string path = dir.file("ini");
    const ToolRun run = runInProcess(
        {"write", path, "--host", c.host, "--database", c.database, "--user", c.user}, c.password + "\n");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(lookup(path, "NET8").value.view(), c.host);
    EXPECT_EQ(lookup(path, "SCHEMA").value.view(), c.database + ";");
    EXPECT_EQ(lookup(path, "LOGIN").value.view(), c.user);
    EXPECT_EQ(lookup(path, "PASS").value.view(), c.password) << c.host;
  }
}

TEST(ZarnikConfigWrite, RefusesValuesTheReaderCannotTakeAndLeavesNoFile) {
  const struct {
    std::vector<std::string> options;
    std::string password;
    std::string message;
  } cases[] = {
      {{"--host", std::string(97, 'h'), "--database", "d", "--user", "u"},
       "pw",
       "zarnik-config: the host is longer than 96 characters or holds a zero byte\n"},
      {{"--host", "h", "--database", std::string(96, 'd'), "--user", "u"},
       "pw",
       "zarnik-config: the database is longer than 95 characters or holds a zero byte\n"},
      {{"--host", "h", "--database", "d", "--user", "u"},
       std::string(97, 'p'),
       "zarnik-config: the password is longer than 96 characters or holds a zero byte\n"},
      {{"--host", "h", "--database", "d", "--user", "u"},
       std::string("p\0w", 3),
       "zarnik-config: the password is longer than 96 characters or holds a zero byte\n"},
      {{"--host", "h", "--database", "d", "--user", "u"},
       "",
       "zarnik-config: no password on standard input\n"},
  };
  for (const auto& c : cases) {
    TempDir dir;
    std::vector<std::string> arguments = {"write", dir.file("ini")};
    arguments.insert(arguments.end(), c.options.begin(), c.options.end());
    const ToolRun run = runInProcess(arguments, c.password);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, c.message);
    EXPECT_FALSE(fileExists(dir.file("ini")));
  }
}

TEST(ZarnikConfigWrite, KeepsAnExistingFileUnlessForcedAndThenReplacesItOwnerOnly) {
  TempDir dir;
  const std::string path = dir.write("ORVANTIS.INI", "product file\r\n");
  chmod(path.c_str(), 0644);
  const ToolRun refused = runAsProcess(dir, writeArguments(path), std::string(kPassword) + "\n");
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_EQ(refused.err, "zarnik-config: " + path + " exists already (--force replaces it)\n");
  EXPECT_EQ(readFileBytes(path), "product file\r\n");
  EXPECT_EQ(fileMode(path), 0644);

  std::vector<std::string> forced = writeArguments(path);
  forced.push_back("--force");
  const ToolRun replaced = runAsProcess(dir, forced, std::string(kPassword) + "\n");
  EXPECT_EQ(replaced.exitCode, 0) << replaced.err;
  EXPECT_EQ(readFileBytes(path), kWrittenFile);
  EXPECT_EQ(fileMode(path), 0600);

  const ToolRun missingFolder = runInProcess(writeArguments(dir.file("no/such/ORVANTIS.INI")), "pw\n");
  EXPECT_EQ(missingFolder.exitCode, 1);
  EXPECT_EQ(missingFolder.err, "zarnik-config: cannot create " + dir.file("no/such/ORVANTIS.INI") +
                                   ": No such file or directory\n");
}

TEST(ZarnikConfigWrite, CreatesTheFileOwnerOnlyWhateverTheUmask) {
  TempDir dir;
  const mode_t previous = umask(0);
  const ToolRun run = runInProcess(writeArguments(dir.file("ini")), "pw\n");
  umask(previous);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(fileMode(dir.file("ini")), 0600);
}

TEST(ZarnikConfigEncipher, PrintsTheTextThatTheSampleFileHoldsForTheSameValue) {
  // Every value of tests/data/sample.ini, deciphered and enciphered again,
  // gives its stored text back.
  const std::string sample = std::string(ZARNIK_SOURCE_DIR) + "/tests/data/sample.ini";
  int checked = 0;
  for (const char* key : {"NET8", "SCHEMA", "LOGIN", "PASS", "TITEL", "ACHT"}) {
    const ScannedFile file = scanConfigFile(sample.c_str());
    const ScannedEntry* stored = nullptr;
    for (const ScannedEntry& entry : file.entries) {
      if (entry.key == key) stored = &entry;
    }
    ASSERT_NE(stored, nullptr) << key;
    char plain[201] = {};
    decryptConfigValue(stored->value.c_str(), plain, sizeof plain, kConfigKeyText);
    const ToolRun run = runInProcess({"encipher"}, std::string(plain) + "\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, stored->value + "\n") << key;
    ++checked;
  }
  EXPECT_EQ(checked, 6);
}

TEST(ZarnikConfigEncipher, ReadsOneLineWithoutItsLineEnd) {
  TempDir dir;
  const struct {
    std::string input;
    int exitCode;
    std::string out;
    std::string err;
  } cases[] = {
      {"localhost\n", 0, "40B82169D703CF72E01C1998DA81B150\n", ""},
      {"localhost\r\n", 0, "40B82169D703CF72E01C1998DA81B150\n", ""},
      {"localhost", 0, "40B82169D703CF72E01C1998DA81B150\n", ""},
      {"localhost\nsecond line\n", 0, "40B82169D703CF72E01C1998DA81B150\n", ""},
      {"\n", 0, "\n", ""},  // the empty value is stored as the empty text
      {"", 1, "", "zarnik-config: no value on standard input\n"},
      {std::string(97, 'x') + "\n", 1, "",
       "zarnik-config: the value is longer than 96 characters or holds a zero byte\n"},
  };
  for (const auto& c : cases) {
    const ToolRun run = runAsProcess(dir, {"encipher"}, c.input);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.input;
    EXPECT_EQ(run.out, c.out) << c.input;
    EXPECT_EQ(run.err, c.err) << c.input;
  }
}

// A terminal for the child: it must prompt, not echo what is typed, and
// leave the terminal as it found it.
TEST(ZarnikConfigEncipher, PromptsWithoutEchoOnATerminalAndRestoresIt) {
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0) GTEST_SKIP() << "no pseudo-terminals here";
  ASSERT_EQ(grantpt(master), 0);
  ASSERT_EQ(unlockpt(master), 0);
  const int slave = open(ptsname(master), O_RDWR | O_NOCTTY);
  ASSERT_GE(slave, 0);

  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    dup2(slave, 0);
    dup2(slave, 1);
    dup2(slave, 2);
    close(master);
    execl(ZARNIK_CONFIG_BINARY, ZARNIK_CONFIG_BINARY, "encipher", static_cast<char*>(nullptr));
    _exit(127);
  }
  std::string screen;
  auto readScreen = [&](int timeoutMs) {
    pollfd waiting{master, POLLIN, 0};
    while (poll(&waiting, 1, timeoutMs) > 0) {
      char buffer[256];
      const ssize_t got = read(master, buffer, sizeof buffer);
      if (got <= 0) break;
      screen.append(buffer, static_cast<std::size_t>(got));
      if (screen.find("Value: ") != std::string::npos && timeoutMs > 100) break;
    }
  };
  readScreen(10000);
  ASSERT_NE(screen.find("Value: "), std::string::npos) << screen;
  ASSERT_EQ(write(master, "localhost\n", 10), 10);
  int status = 0;
  waitpid(pid, &status, 0);
  readScreen(100);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  // The terminal shows the prompt, the line end of Enter and the result, but
  // not the typed value.
  EXPECT_EQ(screen, "Value: \r\n40B82169D703CF72E01C1998DA81B150\r\n");
  termios settings{};
  ASSERT_EQ(tcgetattr(slave, &settings), 0);
  EXPECT_NE(settings.c_lflag & ECHO, 0u);
  close(slave);
  close(master);
}

TEST(ZarnikConfigUsage, WrongCommandLinesGiveTheUsageTextAndExitCode2) {
  const struct {
    std::vector<std::string> arguments;
    std::string message;
  } cases[] = {
      {{}, "a command is needed"},
      {{"decipher"}, "unknown command decipher"},
      {{"encipher", "localhost"}, "encipher reads its value from standard input, not from the command line"},
      {{"write", "f", "--host", "h", "--database", "d"}, "write needs --host, --database and --user"},
      {{"write", "--host", "h", "--database", "d", "--user", "u"}, "write needs exactly one FILE"},
      {{"write", "f", "g", "--host", "h", "--database", "d", "--user", "u"}, "write needs exactly one FILE"},
      {{"write", "f", "--host", "h", "--host", "i", "--database", "d", "--user", "u"},
       "--host is given twice"},
      {{"write", "f", "--host", "", "--database", "d", "--user", "u"},
       "--host needs a value that is not empty"},
      {{"write", "f", "--database", "d", "--user", "u", "--host"}, "--host needs a value"},
      {{"write", "f", "--host", "h", "--database", "d", "--user", "u", "--password", "x"},
       "unknown option --password"},
      {{"write", "f", "--host", "h", "--database", "d", "--user", "u", "--force=yes"},
       "--force takes no value"},
      {{"write", "f", "--host", "h", "--database", "d", "--user", "u", "--reveal"},
       "unknown option --reveal"},
      {{"show"}, "show needs exactly one FILE"},
      {{"show", "f", "--force"}, "unknown option --force"},
  };
  for (const auto& c : cases) {
    TempDir dir;
    const ToolRun run = runInProcess(c.arguments, "pw\n");
    EXPECT_EQ(run.exitCode, 2) << c.message;
    EXPECT_EQ(run.out, "");
    ASSERT_EQ(run.err.rfind("zarnik-config: " + c.message + "\nusage: zarnik-config encipher\n", 0), 0)
        << run.err;
  }
  const ToolRun help = runInProcess({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_EQ(help.out.rfind("usage: zarnik-config encipher\n", 0), 0);
  EXPECT_EQ(help.err, "");
}

TEST(ZarnikConfigWrite, AcceptsOptionsWithEqualsSignsAndInAnyOrder) {
  TempDir dir;
  const std::string path = dir.file("ini");
  const ToolRun run =
      runInProcess({"write", "--user=zarnik", "--force", "--database=qvs_demo", path, "--host=localhost"},
                   std::string(kPassword) + "\n");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(readFileBytes(path), kWrittenFile);
}

TEST(ZarnikConfigShow, ShowsWhatTheProgramTakesFromAWrittenFile) {
  TempDir dir;
  const std::string path = dir.write("ini", kWrittenFile);
  const ToolRun masked = runAsProcess(dir, {"show", path}, "");
  EXPECT_EQ(masked.exitCode, 0);
  EXPECT_EQ(masked.err, "");
  EXPECT_EQ(masked.out,
            "NET8    line 2: <localhost>\n"
            "SCHEMA  line 4: <qvs_demo> (stored as <qvs_demo;>: zarnik drops the last character)\n"
            "LOGIN   line 6: <zarnik>\n"
            "PASS    line 8: (masked; --reveal shows it)\n");
  const ToolRun revealed = runInProcess({"show", "--reveal", path});
  EXPECT_EQ(revealed.exitCode, 0);
  EXPECT_EQ(revealed.out,
            "NET8    line 2: <localhost>\n"
            "SCHEMA  line 4: <qvs_demo> (stored as <qvs_demo;>: zarnik drops the last character)\n"
            "LOGIN   line 6: <zarnik>\n"
            "PASS    line 8: <Kst'Wechsel\\2026>\n");
}

TEST(ZarnikConfigShow, WarnsAboutEntriesTakenForEveryKeyAndValuesThatAreNoCipherText) {
  TempDir dir;
  std::string hostHex;
  std::string userHex;
  ASSERT_TRUE(encipherValue("dbhost", hostHex));
  ASSERT_TRUE(encipherValue("\x01op", userHex));
  const std::string path =
      dir.write("ini",
                ";DATENBANK;\r\n"
                "1;NET8;" +
                    hostHex +
                    "\r\n"
                    ";ANZEIGE;\r\n"
                    "0;TITEL;" +
                    userHex +
                    "\r\n"             // number 0: taken for SCHEMA, LOGIN and PASS
                    "DATENBANK\r\n"    // no group field: the empty group
                    "7;PASS;4a5b\r\n"  // lower-case, a partial block
                    ";DATENBANK;\r\n"
                    "8;LOGIN;" +
                    std::string(400, 'A') +
                    "\r\n"               // longer than the reader takes
                    ";DATENBANK;\r\n");  // read as the value line after the rest of line 8
  const ToolRun run = runInProcess({"show", path});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(
      run.out,
      "NET8    line 2: <dbhost>\n"
      "SCHEMA  line 4: <\\x01o> (stored as <\\x01op>: zarnik drops the last character) from the entry of key "
      "<TITEL>\n"
      "LOGIN   line 4: <\\x01op> from the entry of key <TITEL>\n"
      "PASS    line 4: (masked; --reveal shows it) from the entry of key <TITEL>\n"
      "warning: lines 3-4 (TITEL): the number 0: every lookup that reaches this entry takes it\n"
      "warning: lines 5-6 (PASS): an empty group: every lookup that reaches this entry takes it\n"
      "warning: lines 5-6 (PASS): the value is not whole blocks of 16 upper-case hexadecimal digits\n"
      "warning: lines 7-8 (LOGIN): a line longer than the reader takes; its rest counts as the next line\n"
      "warning: lines 7-8 (LOGIN): the value is longer than the reader takes\n"
      "warning: lines 8-9 (DATENBANK): an empty group and the number 0: every lookup that reaches this entry "
      "takes it\n"
      "warning: lines 8-9 (DATENBANK): a line longer than the reader takes; its rest counts as the next "
      "line\n"
      "warning: lines 8-9 (DATENBANK): the value is not whole blocks of 16 upper-case hexadecimal digits\n");
}

TEST(ZarnikConfigShow, ReportsMissingEntriesValuesTooLongAndUnreadableFiles) {
  TempDir dir;
  const std::string path = dir.write("ini",
                                     ";DATENBANK;\r\n"
                                     "1;NET8;" +
                                         std::string(202, '0') +
                                         "\r\n"
                                         ";DATENBANK;\r\n");
  const ToolRun run = runInProcess({"show", path});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(
      run.out,
      "NET8    line 2: too long for the reader: zarnik stops with \"Konfigurationswert zu lang: NET8\"\n"
      "SCHEMA  no entry: zarnik connects with an empty value\n"
      "LOGIN   no entry: zarnik connects with an empty value\n"
      "PASS    no entry: zarnik connects with an empty value\n"
      "warning: lines 1-2 (NET8): the value is longer than the reader takes\n"
      "warning: line 3: a last line without a value line; the reader ignores it\n");

  const ToolRun missing = runInProcess({"show", dir.file("missing.ini")});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(missing.out, "");
  EXPECT_EQ(missing.err, "zarnik-config: cannot open " + dir.file("missing.ini") + "\n");
}

// The scan that gives show its line numbers must pair and split lines the
// way the reader does, or show would point at the wrong entry.
TEST(ConfigFileScan, TakesTheSameEntryAsTheProgramsReaderForOddFiles) {
  const std::string files[] = {
      ";G;\r\n1;NET8;AB\r\n;G;\r\n2;SCHEMA;CD\r\n",
      std::string(250, 'g') + "\r\n5;NET8;X\r\n3;LOGIN;Y\r\n;G;\r\n4;PASS;Z\r\n",  // long group line
      ";G;\r\n" + std::string(398, 'v') + "\r\n;G;\r\n1;NET8;Q\r\n",               // value line at the limit
      ";G;\r\n" + std::string(500, 'v') + ";PASS;W\r\n;G;\r\n1;NET8;Q\r\n",        // beyond it
      ";G;\r\n1;NET8\r\n;G;\r\n2;\r\n;G;\r\n;3;LOGIN;K\r\n",                       // missing semicolons
      ";G;\r\n 9;PASS;X;Y\r\n;G\r\n1;SCHEMA;Z\r\n",
      ";G;\r1;NET8;A\r\n;G;\r\n2;LOGIN;B\x1A;G;\r\n3;PASS;C\r\n",  // lone CR, end byte
      "\r\n\r\n;G;\n1;SCHEMA;A",                                   // empty pair, no last line end
      ";;\r\n7;;\r\nG\r\n8;LOGIN;A\r\n;G\r\n9;PASS;B\r\n",         // ";;" is no empty group
  };
  for (const std::string& text : files) {
    TempDir dir;
    const std::string path = dir.write("ini", text);
    const ScannedFile file = scanConfigFile(path.c_str());
    for (const char* key : {"NET8", "SCHEMA", "LOGIN", "PASS"}) {
      const ConfigEntry taken = lookup(path, key);
      const ScannedEntry* entry = entryTakenFor(file, key);
      if (entry == nullptr) {
        EXPECT_EQ(taken.number, 0);
        EXPECT_TRUE(taken.key.empty() && taken.group.empty() && taken.value.empty()) << key << " in " << text;
        continue;
      }
      EXPECT_EQ(entry->number, taken.number) << key << " in " << text;
      EXPECT_EQ(entry->group, taken.group.view()) << key << " in " << text;
      EXPECT_EQ(entry->key, taken.key.view()) << key << " in " << text;
      EXPECT_EQ(entry->valueTooLong, taken.valueTooLong) << key << " in " << text;
    }
  }
}

TEST(ConfigFileScan, TellsWholeBlocksOfUpperCaseHexDigits) {
  const struct {
    const char* text;
    bool whole;
  } cases[] = {
      {"", true},
      {"0123456789ABCDEF", true},
      {"0123456789ABCDEF0123456789ABCDEF", true},
      {"0123456789ABCDE", false},
      {"0123456789abcdef", false},
      {"0123456789ABCDEG", false},
      {"0123456789ABCDEF\n", false},
  };
  for (const auto& c : cases) EXPECT_EQ(isWholeHexBlocks(c.text), c.whole) << c.text;
}

}  // namespace
