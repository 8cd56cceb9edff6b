// Lookups in the product's configuration file.
//
// The file is read as a text stream (CR LF reads as LF) and taken strictly
// in pairs of lines from the top: the first line of a pair is the group
// line, the second the value line; no line is skipped, whatever it holds.
//
//   group line  ";GROUP;..."          the group stands between the first two
//                                     semicolons; the rest is ignored
//   value line  "NUMBER;KEY;VALUE"    split at the first two semicolons; the
//                                     number reads like the C library's atoi,
//                                     further semicolons belong to the value,
//                                     which is the enciphered hexadecimal text
//
// A group line holds at most 199 characters with its line feed, a value line
// at most 398 before its line feed; a longer line is split there and its
// remainder read as the next line of the pairing. Fields of unusual shapes
// (adjacent semicolons, a missing semicolon) are taken as findCharPosition
// and copyFieldText make them: see config_reader_test.cc for the table.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/fixed_text.h"

struct ConfigEntry {
  int32_t number = 0;
  FixedText<201> group;
  FixedText<201> key;
  FixedText<201> value;
  // The taken entry's value is longer than the reader takes (200 digits in
  // its field, 398 characters in its line): value is then empty and must not
  // be used as if the entry had none.
  bool valueTooLong = false;
};

// The sizes the reader reads its lines with (fgets style): a group line of
// 199 characters and a value line of 399, line feeds included.
inline constexpr std::size_t kConfigGroupLineSize = 200;
inline constexpr std::size_t kConfigValueLineSize = 400;

// Splits one pair of lines into entry's number, group, key and value (the
// value as stored, still enciphered), the way the reader does. valueLine is
// at most kConfigValueLineSize - 1 characters in a buffer with room for one
// more: a missing line feed is added. valueTooLong tells whether the value
// line was longer than the reader takes or the value does not fit its field.
void splitConfigPair(const char* groupLine, char* valueLine, ConfigEntry& entry);

// Takes the first entry of the file at path whose group equals group, or
// whose key equals key, or whose number equals number (texts compared byte
// for byte) and leaves it in entry with its value deciphered. When the file
// cannot be opened or no entry is taken, entry holds the number 0 and three
// empty texts. Prints nothing.
void readConfigValue(const char* group, const char* key, int32_t number, const char* path,
                     ConfigEntry& entry);

// The 0-based position of the n-th occurrence of c in text; the position of
// the last one when there are fewer than n; -1 when there is none.
int findCharPosition(const char* text, char c, int n);

// Sets destination to length characters of source from start on (length 0:
// to the end of source), NUL-terminated; a negative length leaves destination
// unchanged. Start and length are kept within source. Returns false when the
// text had to be cut to fit destinationSize.
bool copyFieldText(const char* source, int start, int length, char* destination, std::size_t destinationSize);

template <std::size_t Width>
bool copyFieldText(const char* source, int start, int length, FixedText<Width>& destination) {
  return copyFieldText(source, start, length, destination.data(), Width);
}
