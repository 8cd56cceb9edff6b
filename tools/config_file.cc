#include "tools/config_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "config/config_reader.h"
#include "config/value_cipher.h"
#include "platform/text_stream.h"

namespace {

bool writeAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = ::write(fd, text.data(), text.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    text.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

std::string systemError(const std::string& what, const std::string& path) {
  return what + " " + path + ": " + std::strerror(errno);
}

// Writes text into the open fd and closes it; false with error on failure.
bool fillAndClose(int fd, std::string_view text, const std::string& path, std::string& error) {
  const bool ok = writeAll(fd, text) && ::fsync(fd) == 0;
  if (!ok) error = systemError("cannot write", path);
  if (::close(fd) != 0 && ok) {
    error = systemError("cannot write", path);
    return false;
  }
  return ok;
}

std::string folderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

}  // namespace

bool encipherValue(std::string_view plain, std::string& hex) {
  hex.clear();
  if (plain.size() > kMaxPlainValueLength || plain.find('\0') != std::string_view::npos) return false;
  const std::string text(plain);
  char output[2 * kMaxPlainValueLength + 16 + 1] = {};
  if (encryptConfigValue(text.c_str(), output, sizeof output, kConfigKeyText) != 1) return false;
  hex = output;
  return true;
}

bool buildConfigFileText(const ConnectionSettings& settings, std::string& text, std::string& error) {
  const struct {
    const char* key;
    std::string plain;
    const char* name;
  } entries[] = {
      {"NET8", settings.host, "host"},
      {"SCHEMA", settings.database + kSchemaPadding, "database"},
      {"LOGIN", settings.user, "user"},
      {"PASS", settings.password, "password"},
  };
  text.clear();
  int number = 0;
  for (const auto& entry : entries) {
    std::string hex;
    if (!encipherValue(entry.plain, hex)) {
      const std::size_t limit = kMaxPlainValueLength - (std::strcmp(entry.key, "SCHEMA") == 0 ? 1 : 0);
      error = std::string("the ") + entry.name + " is longer than " + std::to_string(limit) +
              " characters or holds a zero byte";
      text.clear();
      return false;
    }
    text += std::string(";") + kWrittenGroup + ";\r\n";
    text += std::to_string(++number) + ";" + entry.key + ";" + hex + "\r\n";
  }
  return true;
}

bool writeConfigFile(const std::string& path, std::string_view text, bool overwrite, std::string& error) {
  if (!overwrite) {
    // O_EXCL: a file that appears between any check and the write is never
    // overwritten either.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
      if (errno == EEXIST) {
        error = path + " exists already (--force replaces it)";
      } else {
        error = systemError("cannot create", path);
      }
      return false;
    }
    if (!fillAndClose(fd, text, path, error)) {
      ::unlink(path.c_str());
      return false;
    }
    return true;
  }

  std::string temporary = folderOf(path) + "/.zarnik-config.XXXXXX";
  const int fd = ::mkstemp(temporary.data());  // mode 0600
  if (fd < 0) {
    error = systemError("cannot create a file beside", path);
    return false;
  }
  if (::fchmod(fd, 0600) != 0) {
    error = systemError("cannot protect", temporary);
    ::close(fd);
    ::unlink(temporary.c_str());
    return false;
  }
  if (!fillAndClose(fd, text, path, error)) {
    ::unlink(temporary.c_str());
    return false;
  }
  if (::rename(temporary.c_str(), path.c_str()) != 0) {
    error = systemError("cannot replace", path);
    ::unlink(temporary.c_str());
    return false;
  }
  return true;
}

ScannedFile scanConfigFile(const char* path) {
  ScannedFile result;
  TextInput file;
  if (!file.open(path)) return result;
  result.opened = true;

  int nextLine = 1;         // the physical line the next piece starts in
  bool atLineStart = true;  // whether the next piece starts a physical line
  // Reads one piece the way the reader does and keeps count of the physical
  // lines; continued is set when the piece is not a whole line.
  auto readPiece = [&](char* buffer, std::size_t size, int& line, bool& continued) {
    if (!file.readLine(buffer, size)) return false;
    line = nextLine;
    const std::size_t length = std::strlen(buffer);
    const bool endsLine = length > 0 && buffer[length - 1] == '\n';
    continued = !atLineStart || (!endsLine && length == size - 1);
    atLineStart = endsLine;
    if (endsLine) ++nextLine;
    return true;
  };

  char groupLine[kConfigGroupLineSize] = {};
  char valueLine[kConfigValueLineSize + 1] = {};
  for (;;) {
    ScannedEntry entry;
    bool groupContinued = false;
    bool valueContinued = false;
    const bool haveGroup = readPiece(groupLine, sizeof groupLine, entry.groupLine, groupContinued);
    if (!readPiece(valueLine, kConfigValueLineSize, entry.valueLine, valueContinued)) {
      if (haveGroup) result.unpairedLine = entry.groupLine;
      return result;
    }
    entry.lineContinued = groupContinued || valueContinued;

    ConfigEntry fields;
    splitConfigPair(groupLine, valueLine, fields);
    entry.number = fields.number;
    entry.group = fields.group.view();
    entry.key = fields.key.view();
    entry.value = fields.value.view();
    entry.valueTooLong = fields.valueTooLong;
    result.entries.push_back(std::move(entry));
  }
}

const ScannedEntry* entryTakenFor(const ScannedFile& file, std::string_view key) {
  for (const ScannedEntry& entry : file.entries) {
    if (entry.group.empty() || entry.key == key || entry.number == 0) return &entry;
  }
  return nullptr;
}

bool isWholeHexBlocks(std::string_view text) {
  if (text.size() % 16 != 0) return false;
  for (const char c : text) {
    if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
  }
  return true;
}
