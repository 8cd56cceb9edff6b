// Blowfish deciphering of configuration values.
//
// Every value of the configuration file is a plain text enciphered with
// Blowfish in ECB mode under a key built into the program and written as
// upper-case hexadecimal digits, 16 digits per 8-byte block, the high digit of
// each byte first. Inside a block the two 4-byte halves are read and written
// least significant byte first (standard Blowfish takes them big-endian).
#pragma once

#include <cstddef>
#include <cstdint>

// The key text under which every configuration value is enciphered.
inline constexpr char kConfigKeyText[] = "KOLBRAN";

struct BlowfishContext {
  uint32_t p[18];
  uint32_t s[4][256];
};

// The one context of the process. It holds only zeros outside a call of
// decryptConfigValue / encryptConfigValue: no key material outlives a call.
BlowfishContext& blowfishProcessContext();

// Whether every word of the process context is zero, as it must be between
// calls.
bool blowfishContextIsClear();

// Runs the key schedule for key[0..keyLength) into context (521 block
// encryptions). Key bytes are taken as unsigned and cyclically.
void blowfishInit(BlowfishContext& context, const unsigned char* key, std::size_t keyLength);
void blowfishEncryptBlock(const BlowfishContext& context, uint32_t& left, uint32_t& right);
void blowfishDecryptBlock(const BlowfishContext& context, uint32_t& left, uint32_t& right);

// Decodes count / 2 bytes from digits into output, the high digit first.
// Each digit maps to (c - 55) for 'A'..'F' and (c - 48) otherwise, in 8-bit
// wrapping arithmetic, so any character gives some byte and never an error.
void hexToBytes(const char* digits, std::size_t count, unsigned char* output);

// Deciphers hexText with keyText (its length is the count of characters before
// the NUL) into output and NUL-terminates it; returns 1, always.
//
// Only whole groups of 16 digits are deciphered; a trailing partial group is
// ignored, so an empty text, or one shorter than 16 digits, gives the empty
// text. Never writes more than outputSize bytes: deciphering stops before a
// block that would not leave room for the terminator. A text of n digits needs
// 8 * (n / 16) + 1 bytes, which is never more than n + 1.
//
// The caller reads output as a NUL-terminated text: a zero byte inside a
// deciphered block ends the plain text there. The process context is cleared
// before the function returns.
int decryptConfigValue(const char* hexText, char* output, std::size_t outputSize, const char* keyText);

// The inverse for the operators' tools: enciphers plainText (up to its NUL),
// zero-padded to whole 8-byte blocks, into upper-case hexadecimal digits in the
// layout decryptConfigValue reads, NUL-terminated. The empty text gives the
// empty text. Returns 1 when the whole text fitted into output (which needs
// 16 * ceil(n / 8) + 1 bytes), else 0 with output set to the empty text. The
// process context is cleared before the function returns.
int encryptConfigValue(const char* plainText, char* output, std::size_t outputSize, const char* keyText);
