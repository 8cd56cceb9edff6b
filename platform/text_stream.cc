#include "platform/text_stream.h"

#include <sys/stat.h>

namespace {

constexpr int kEndOfFile = 0x1A;

bool isFolder(FILE* file) {
  struct stat status {};
  return fstat(fileno(file), &status) == 0 && S_ISDIR(status.st_mode);
}

// Opens path in binary mode, refusing folders: the translation is ours.
FILE* openFile(const char* path, const char* mode) {
  FILE* file = std::fopen(path, mode);
  if (file != nullptr && isFolder(file)) {
    std::fclose(file);
    return nullptr;
  }
  return file;
}

}  // namespace

TextInput::~TextInput() { close(); }

bool TextInput::open(const char* path) {
  close();
  file_ = openFile(path, "rb");
  ended_ = file_ == nullptr;
  return file_ != nullptr;
}

void TextInput::close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  ended_ = true;
  pending_ = -1;
  position_ = filled_ = 0;
}

int TextInput::rawByte() {
  if (position_ == filled_) {
    if (file_ == nullptr) return -1;
    filled_ = std::fread(buffer_, 1, sizeof buffer_, file_);
    position_ = 0;
    if (filled_ == 0) return -1;
  }
  return buffer_[position_++];
}

int TextInput::nextByte() {
  if (ended_) return -1;
  int byte = pending_;
  pending_ = -1;
  if (byte < 0) byte = rawByte();
  if (byte == '\r') {
    const int next = rawByte();
    if (next == '\n') {
      byte = '\n';
    } else {
      pending_ = next;  // may be -1 or 0x1A: handled when it is delivered
    }
  }
  if (byte < 0 || byte == kEndOfFile) {
    ended_ = true;
    return -1;
  }
  return byte;
}

std::size_t TextInput::read(char* output, std::size_t count) {
  std::size_t delivered = 0;
  while (delivered < count) {
    const int byte = nextByte();
    if (byte < 0) break;
    output[delivered++] = static_cast<char>(byte);
  }
  return delivered;
}

bool TextInput::readLine(char* output, std::size_t size) {
  if (size == 0) return false;
  std::size_t used = 0;
  while (used + 1 < size) {
    const int byte = nextByte();
    if (byte < 0) break;
    output[used++] = static_cast<char>(byte);
    if (byte == '\n') break;
  }
  if (used == 0 && size > 1) return false;
  output[used] = '\0';
  return true;
}

TextOutput::~TextOutput() { close(); }

bool TextOutput::openForAppend(const char* path) {
  close();
  file_ = openFile(path, "ab");
  failed_ = false;
  filled_ = 0;
  return file_ != nullptr;
}

bool TextOutput::flushBuffer() {
  if (filled_ > 0 && !failed_ && std::fwrite(buffer_, 1, filled_, file_) != filled_) {
    failed_ = true;
  }
  filled_ = 0;
  return !failed_;
}

void TextOutput::write(std::string_view text) {
  if (file_ == nullptr) return;
  for (const char c : text) {
    if (filled_ + 2 > sizeof buffer_) flushBuffer();
    if (c == '\n') buffer_[filled_++] = '\r';
    buffer_[filled_++] = c;
  }
}

bool TextOutput::close() {
  if (file_ == nullptr) return false;
  bool ok = flushBuffer();
  if (std::fflush(file_) != 0) ok = false;
  if (std::fclose(file_) != 0) ok = false;
  file_ = nullptr;
  return ok;
}
