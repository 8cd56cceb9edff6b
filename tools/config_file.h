// The configuration file as the operators' tool sees it: writing a complete
// file for one connection, and listing every entry of a file with its line
// numbers for the checks of `zarnik-config show`.
//
// The values themselves are always enciphered and deciphered by the
// program's own cipher (config/value_cipher.h) and looked up by the
// program's own reader (config/config_reader.h); nothing here decides what
// the program takes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The longest plain value whose enciphered text still fits the reader's value
// field of 200 digits: 12 blocks of 8 bytes.
inline constexpr std::size_t kMaxPlainValueLength = 96;

// The group and the numbers of the entries a written file holds. Every entry
// has a group and a number other than 0, so that each of the program's
// lookups (empty group, number 0, the key) takes only the entry of its key.
inline constexpr char kWrittenGroup[] = "DATENBANK";

// The character stored after the database name: the program drops the last
// character of the SCHEMA value.
inline constexpr char kSchemaPadding = ';';

struct ConnectionSettings {
  std::string host;
  std::string database;
  std::string user;
  std::string password;
};

// Enciphers plain into the upper-case hexadecimal text the program
// deciphers. False when plain is longer than kMaxPlainValueLength or holds a
// zero byte (the program's texts would end there).
bool encipherValue(std::string_view plain, std::string& hex);

// The whole file for settings, four pairs of lines with CR LF line ends:
//   ";DATENBANK;"  "1;NET8;<host>"   ... "2;SCHEMA;<database>;" ...
//   "3;LOGIN;<user>"  "4;PASS;<password>"
// the values enciphered. False, with error naming the first value that
// cannot be stored (see encipherValue), when one does not fit.
bool buildConfigFileText(const ConnectionSettings& settings, std::string& text, std::string& error);

// Writes text to path, readable and writable by its owner only (mode 0600).
// An existing file is left untouched and false returned unless overwrite is
// set; with overwrite it is replaced as a whole (a new file renamed over it),
// so no reader ever sees half a file. On failure error says why.
bool writeConfigFile(const std::string& path, std::string_view text, bool overwrite, std::string& error);

// One entry of a configuration file, split the way the program's reader
// splits it: the same line pairing (a group line of at most 199 characters,
// a value line of at most 398, longer lines continued as the next line) and
// the same field rules (findCharPosition / copyFieldText / parseDecimal).
struct ScannedEntry {
  int groupLine = 0;  // 1-based physical line numbers of the pair
  int valueLine = 0;
  int32_t number = 0;
  std::string group;
  std::string key;
  std::string value;           // as stored: the enciphered text
  bool valueTooLong = false;   // the reader would refuse the value
  bool lineContinued = false;  // a line of the pair was longer than the reader takes
};

struct ScannedFile {
  bool opened = false;
  std::vector<ScannedEntry> entries;
  // The line number of a last group line without a value line (the reader
  // never looks at it), 0 when there is none.
  int unpairedLine = 0;
};

ScannedFile scanConfigFile(const char* path);

// The entry the program's lookup for key takes (empty group, or key, or
// number 0, whichever comes first), or nullptr when none is taken.
const ScannedEntry* entryTakenFor(const ScannedFile& file, std::string_view key);

// True when text consists of whole blocks of 16 upper-case hexadecimal
// digits (0-9, A-F); the empty text counts as whole blocks.
bool isWholeHexBlocks(std::string_view text);
