#include "tools/config_tool.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/config_reader.h"
#include "tools/config_file.h"
#include "tools/secret_input.h"

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

constexpr char kUsageText[] =
    "usage: zarnik-config encipher\n"
    "       zarnik-config write FILE --host HOST --database DATABASE --user USER [--force]\n"
    "       zarnik-config show FILE [--reveal]\n"
    "\n"
    "  encipher  reads one value from standard input (a prompt without echo on a\n"
    "            terminal) and prints it enciphered, as the configuration file holds it\n"
    "  write     writes a configuration file for one connection; the password is read\n"
    "            from standard input (a prompt without echo on a terminal); --force\n"
    "            replaces an existing file\n"
    "  show      shows which entry zarnik takes for NET8, SCHEMA, LOGIN and PASS and\n"
    "            the value it ends up with (the password masked unless --reveal), and\n"
    "            warns about entries that would be taken for every key\n"
    "\n"
    "Exit codes: 0 done, 1 failed, 2 wrong usage.\n";

// The command line after the command word.
struct Arguments {
  std::vector<std::string> files;
  std::optional<std::string> host;
  std::optional<std::string> database;
  std::optional<std::string> user;
  bool force = false;
  bool reveal = false;
};

int usageError(const ToolStreams& streams, const std::string& message) {
  std::fprintf(streams.err, "zarnik-config: %s\n%s", message.c_str(), kUsageText);
  return kUsage;
}

int failure(const ToolStreams& streams, const std::string& message) {
  std::fprintf(streams.err, "zarnik-config: %s\n", message.c_str());
  return kFailed;
}

// Parses argv[first..argc) with the options that the command allows; false
// with message on anything else.
bool parseArguments(int argc, const char* const* argv, int first,
                    const std::vector<std::string_view>& allowed, Arguments& arguments,
                    std::string& message) {
  auto isAllowed = [&allowed](std::string_view name) {
    for (const std::string_view option : allowed) {
      if (option == name) return true;
    }
    return false;
  };
  for (int i = first; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument.size() < 2 || argument.substr(0, 2) != "--") {
      arguments.files.emplace_back(argument);
      continue;
    }
    std::string_view name = argument;
    std::optional<std::string> inlineValue;
    if (const std::size_t equals = argument.find('='); equals != std::string_view::npos) {
      name = argument.substr(0, equals);
      inlineValue = std::string(argument.substr(equals + 1));
    }
    if (!isAllowed(name)) {
      message = "unknown option " + std::string(name);
      return false;
    }
    if (name == "--force" || name == "--reveal") {
      if (inlineValue) {
        message = std::string(name) + " takes no value";
        return false;
      }
      (name == "--force" ? arguments.force : arguments.reveal) = true;
      continue;
    }
    std::optional<std::string>& slot = name == "--host"       ? arguments.host
                                       : name == "--database" ? arguments.database
                                                              : arguments.user;
    if (slot) {
      message = std::string(name) + " is given twice";
      return false;
    }
    if (inlineValue) {
      slot = *inlineValue;
    } else if (i + 1 < argc) {
      slot = argv[++i];
    } else {
      message = std::string(name) + " needs a value";
      return false;
    }
    if (slot->empty()) {
      message = std::string(name) + " needs a value that is not empty";
      return false;
    }
  }
  return true;
}

// A value as the terminal can show it: control bytes as \xNN.
std::string printable(std::string_view value) {
  std::string text;
  for (const char c : value) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      text += escaped;
    } else {
      text.push_back(c);
    }
  }
  return text;
}

std::string lines(const ScannedEntry& entry) {
  return "lines " + std::to_string(entry.groupLine) + "-" + std::to_string(entry.valueLine) + " (" +
         printable(entry.key) + ")";
}

int encipherCommand(int argc, const char* const* argv, const ToolStreams& streams) {
  Arguments arguments;
  std::string message;
  if (!parseArguments(argc, argv, 2, {}, arguments, message)) return usageError(streams, message);
  if (!arguments.files.empty()) {
    return usageError(streams, "encipher reads its value from standard input, not from the command line");
  }
  std::string plain;
  const SecretInput got = readSecretLine(streams.in, streams.err, "Value: ", plain);
  if (got == SecretInput::kFailed) return failure(streams, "cannot read the value from the terminal");
  if (got == SecretInput::kNoInput) return failure(streams, "no value on standard input");
  std::string hex;
  const bool fits = encipherValue(plain, hex);
  std::fill(plain.begin(), plain.end(), '\0');
  if (!fits) {
    return failure(streams, "the value is longer than " + std::to_string(kMaxPlainValueLength) +
                                " characters or holds a zero byte");
  }
  std::fprintf(streams.out, "%s\n", hex.c_str());
  return kDone;
}

int writeCommand(int argc, const char* const* argv, const ToolStreams& streams) {
  Arguments arguments;
  std::string message;
  if (!parseArguments(argc, argv, 2, {"--host", "--database", "--user", "--force"}, arguments, message)) {
    return usageError(streams, message);
  }
  if (arguments.files.size() != 1) return usageError(streams, "write needs exactly one FILE");
  if (!arguments.host || !arguments.database || !arguments.user) {
    return usageError(streams, "write needs --host, --database and --user");
  }
  ConnectionSettings settings{*arguments.host, *arguments.database, *arguments.user, {}};
  const std::string prompt = "Password for " + settings.user + ": ";
  const SecretInput got = readSecretLine(streams.in, streams.err, prompt.c_str(), settings.password);
  if (got == SecretInput::kFailed) return failure(streams, "cannot read the password from the terminal");
  if (got == SecretInput::kNoInput) return failure(streams, "no password on standard input");

  std::string text;
  const bool built = buildConfigFileText(settings, text, message);
  std::fill(settings.password.begin(), settings.password.end(), '\0');
  if (!built) return failure(streams, message);
  if (!writeConfigFile(arguments.files[0], text, arguments.force, message)) return failure(streams, message);
  return kDone;
}

int showCommand(int argc, const char* const* argv, const ToolStreams& streams) {
  Arguments arguments;
  std::string message;
  if (!parseArguments(argc, argv, 2, {"--reveal"}, arguments, message)) return usageError(streams, message);
  if (arguments.files.size() != 1) return usageError(streams, "show needs exactly one FILE");
  const std::string& path = arguments.files[0];
  const ScannedFile file = scanConfigFile(path.c_str());
  if (!file.opened) return failure(streams, "cannot open " + path);

  std::FILE* out = streams.out;
  for (const char* key : {"NET8", "SCHEMA", "LOGIN", "PASS"}) {
    // The value comes from the program's own lookup, with the program's
    // own arguments; the scan only tells where that entry stands.
    ConfigEntry taken;
    readConfigValue("", key, 0, path.c_str(), taken);
    const ScannedEntry* entry = entryTakenFor(file, key);
    std::fprintf(out, "%-7s ", key);
    if (entry == nullptr) {
      std::fprintf(out, "no entry: zarnik connects with an empty value\n");
      continue;
    }
    const bool sameEntry =
        entry->number == taken.number && entry->group == taken.group.view() && entry->key == taken.key.view();
    if (sameEntry) {
      std::fprintf(out, "line %d: ", entry->valueLine);
    } else {
      std::fprintf(out, "line ?: ");
    }
    if (taken.valueTooLong) {
      std::fprintf(out, "too long for the reader: zarnik stops with \"Konfigurationswert zu lang: %s\"\n",
                   key);
      taken = ConfigEntry{};
      continue;
    }
    std::string_view value = taken.value.view();
    if (std::strcmp(key, "PASS") == 0 && !arguments.reveal) {
      std::fprintf(out, "%s", value.empty() ? "<> (empty)" : "(masked; --reveal shows it)");
    } else if (std::strcmp(key, "SCHEMA") == 0) {
      const std::string stored = printable(value);
      if (!value.empty()) value.remove_suffix(1);
      std::fprintf(out, "<%s> (stored as <%s>: zarnik drops the last character)", printable(value).c_str(),
                   stored.c_str());
    } else {
      std::fprintf(out, "<%s>", printable(value).c_str());
    }
    if (taken.key.view() != key) {
      std::fprintf(out, " from the entry of key <%s>", printable(taken.key.view()).c_str());
    }
    std::fprintf(out, "\n");
    taken = ConfigEntry{};
  }

  for (const ScannedEntry& entry : file.entries) {
    if (entry.group.empty() || entry.number == 0) {
      const char* reason = entry.group.empty() && entry.number == 0 ? "an empty group and the number 0"
                           : entry.group.empty()                    ? "an empty group"
                                                                    : "the number 0";
      std::fprintf(out, "warning: %s: %s: every lookup that reaches this entry takes it\n",
                   lines(entry).c_str(), reason);
    }
    if (entry.lineContinued) {
      std::fprintf(out,
                   "warning: %s: a line longer than the reader takes; its rest counts as the next line\n",
                   lines(entry).c_str());
    }
    if (entry.valueTooLong) {
      std::fprintf(out, "warning: %s: the value is longer than the reader takes\n", lines(entry).c_str());
    } else if (!isWholeHexBlocks(entry.value)) {
      std::fprintf(out, "warning: %s: the value is not whole blocks of 16 upper-case hexadecimal digits\n",
                   lines(entry).c_str());
    }
  }
  if (file.unpairedLine != 0) {
    std::fprintf(out, "warning: line %d: a last line without a value line; the reader ignores it\n",
                 file.unpairedLine);
  }
  return kDone;
}

}  // namespace

int runConfigTool(int argc, const char* const* argv, const ToolStreams& streams) {
  if (argc < 2) return usageError(streams, "a command is needed");
  const std::string_view command = argv[1];
  if (command == "--help" || command == "-h" || command == "help") {
    std::fputs(kUsageText, streams.out);
    return kDone;
  }
  int result = kUsage;
  if (command == "encipher") {
    result = encipherCommand(argc, argv, streams);
  } else if (command == "write") {
    result = writeCommand(argc, argv, streams);
  } else if (command == "show") {
    result = showCommand(argc, argv, streams);
  } else {
    result = usageError(streams, "unknown command " + std::string(command));
  }
  std::fflush(streams.out);
  std::fflush(streams.err);
  return result;
}
