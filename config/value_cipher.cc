#include "config/value_cipher.h"

#include <cstring>

#include "config/blowfish_tables.h"

namespace {

// Zero-initialised before any code runs, so the context holds no key material
// from program start until the first call sets it up.
BlowfishContext processContext;

constexpr std::size_t kBlockBytes = 8;
constexpr std::size_t kBlockDigits = 2 * kBlockBytes;

// A plain memset of a context that is not read again may be dropped by the
// optimiser; writing through volatile keeps the clearing in the program.
void wipeContext(BlowfishContext& context) {
  volatile uint32_t* word = context.p;
  for (std::size_t i = 0; i < 18; ++i) {
    word[i] = 0;
  }
  for (auto& box : context.s) {
    volatile uint32_t* entry = box;
    for (std::size_t i = 0; i < 256; ++i) {
      entry[i] = 0;
    }
  }
}

uint32_t roundFunction(const BlowfishContext& context, uint32_t x) {
  const uint32_t a = context.s[0][(x >> 24) & 0xFF];
  const uint32_t b = context.s[1][(x >> 16) & 0xFF];
  const uint32_t c = context.s[2][(x >> 8) & 0xFF];
  const uint32_t d = context.s[3][x & 0xFF];
  return ((a + b) ^ c) + d;
}

uint32_t loadLittleEndian(const unsigned char* bytes) {
  return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
         (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

void storeLittleEndian(uint32_t word, unsigned char* bytes) {
  bytes[0] = static_cast<unsigned char>(word & 0xFF);
  bytes[1] = static_cast<unsigned char>((word >> 8) & 0xFF);
  bytes[2] = static_cast<unsigned char>((word >> 16) & 0xFF);
  bytes[3] = static_cast<unsigned char>((word >> 24) & 0xFF);
}

void writeHexByte(unsigned char byte, char* digits) {
  static constexpr char kUpperDigits[] = "0123456789ABCDEF";
  digits[0] = kUpperDigits[byte >> 4];
  digits[1] = kUpperDigits[byte & 0x0F];
}

uint8_t digitValue(char digit) {
  const auto c = static_cast<uint8_t>(digit);
  return static_cast<uint8_t>(c >= 'A' && c <= 'F' ? c - 55 : c - 48);
}

}  // namespace

BlowfishContext& blowfishProcessContext() { return processContext; }

bool blowfishContextIsClear() {
  for (const uint32_t word : processContext.p) {
    if (word != 0) return false;
  }
  for (const auto& box : processContext.s) {
    for (const uint32_t word : box) {
      if (word != 0) return false;
    }
  }
  return true;
}

void blowfishInit(BlowfishContext& context, const unsigned char* key, std::size_t keyLength) {
  std::memcpy(context.s, kBlowfishInitialS, sizeof context.s);

  // An empty key contributes nothing rather than dividing by zero below.
  std::size_t keyPosition = 0;
  for (std::size_t i = 0; i < 18; ++i) {
    uint32_t keyWord = 0;
    if (keyLength > 0) {
      for (int k = 0; k < 4; ++k) {
        keyWord = (keyWord << 8) | key[keyPosition];
        keyPosition = (keyPosition + 1) % keyLength;
      }
    }
    context.p[i] = kBlowfishInitialP[i] ^ keyWord;
  }

  uint32_t left = 0;
  uint32_t right = 0;
  for (std::size_t i = 0; i < 18; i += 2) {
    blowfishEncryptBlock(context, left, right);
    context.p[i] = left;
    context.p[i + 1] = right;
  }
  for (auto& box : context.s) {
    for (std::size_t i = 0; i < 256; i += 2) {
      blowfishEncryptBlock(context, left, right);
      box[i] = left;
      box[i + 1] = right;
    }
  }
}

void blowfishEncryptBlock(const BlowfishContext& context, uint32_t& left, uint32_t& right) {
  uint32_t l = left;
  uint32_t r = right;
  for (std::size_t i = 0; i < 16; ++i) {
    l ^= context.p[i];
    r ^= roundFunction(context, l);
    const uint32_t swap = l;
    l = r;
    r = swap;
  }
  // The loop swapped once too often.
  const uint32_t swap = l;
  l = r;
  r = swap;
  r ^= context.p[16];
  l ^= context.p[17];
  left = l;
  right = r;
}

void blowfishDecryptBlock(const BlowfishContext& context, uint32_t& left, uint32_t& right) {
  uint32_t l = left;
  uint32_t r = right;
  for (std::size_t i = 17; i >= 2; --i) {
    l ^= context.p[i];
    r ^= roundFunction(context, l);
    const uint32_t swap = l;
    l = r;
    r = swap;
  }
  const uint32_t swap = l;
  l = r;
  r = swap;
  r ^= context.p[1];
  l ^= context.p[0];
  left = l;
  right = r;
}

void hexToBytes(const char* digits, std::size_t count, unsigned char* output) {
  for (std::size_t i = 0; i + 1 < count; i += 2) {
    const unsigned high = digitValue(digits[i]);
    const unsigned low = digitValue(digits[i + 1]);
    output[i / 2] = static_cast<unsigned char>((high * 16 + low) & 0xFF);
  }
}

int decryptConfigValue(const char* hexText, char* output, std::size_t outputSize, const char* keyText) {
  BlowfishContext& context = blowfishProcessContext();
  blowfishInit(context, reinterpret_cast<const unsigned char*>(keyText), std::strlen(keyText));

  const std::size_t length = std::strlen(hexText);
  std::size_t written = 0;
  // A trailing partial group is dropped: reading it as a whole group would
  // run past the end of the text.
  for (std::size_t offset = 0; offset + kBlockDigits <= length; offset += kBlockDigits) {
    if (written + kBlockBytes + 1 > outputSize) {
      break;
    }
    unsigned char block[kBlockBytes];
    hexToBytes(hexText + offset, kBlockDigits, block);
    uint32_t left = loadLittleEndian(block);
    uint32_t right = loadLittleEndian(block + 4);
    blowfishDecryptBlock(context, left, right);
    auto* target = reinterpret_cast<unsigned char*>(output + written);
    storeLittleEndian(left, target);
    storeLittleEndian(right, target + 4);
    written += kBlockBytes;
  }
  if (written < outputSize) {
    output[written] = '\0';
  }

  wipeContext(context);
  return 1;
}

int encryptConfigValue(const char* plainText, char* output, std::size_t outputSize, const char* keyText) {
  BlowfishContext& context = blowfishProcessContext();

  const std::size_t length = std::strlen(plainText);
  const std::size_t blockCount = (length + kBlockBytes - 1) / kBlockBytes;
  if (outputSize < blockCount * kBlockDigits + 1) {
    if (outputSize > 0) {
      output[0] = '\0';
    }
    wipeContext(context);
    return 0;
  }

  blowfishInit(context, reinterpret_cast<const unsigned char*>(keyText), std::strlen(keyText));
  for (std::size_t blockIndex = 0; blockIndex < blockCount; ++blockIndex) {
    const std::size_t start = blockIndex * kBlockBytes;
    unsigned char block[kBlockBytes] = {};
    const std::size_t taken = length - start < kBlockBytes ? length - start : kBlockBytes;
    std::memcpy(block, plainText + start, taken);
    uint32_t left = loadLittleEndian(block);
    uint32_t right = loadLittleEndian(block + 4);
    blowfishEncryptBlock(context, left, right);
    storeLittleEndian(left, block);
    storeLittleEndian(right, block + 4);
    for (std::size_t i = 0; i < kBlockBytes; ++i) {
      writeHexByte(block[i], output + blockIndex * kBlockDigits + 2 * i);
    }
  }
  output[blockCount * kBlockDigits] = '\0';

  wipeContext(context);
  return 1;
}
