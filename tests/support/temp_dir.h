// A temporary folder for a test's files, removed with everything in it.
#pragma once

#include <string>
#include <string_view>

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // The path of name inside the folder.
  std::string file(std::string_view name) const;
  // Writes bytes to name inside the folder and returns its path.
  std::string write(std::string_view name, std::string_view bytes) const;

 private:
  std::string path_;
};

// The whole content of a file; empty when it cannot be read.
std::string readFileBytes(const std::string& path);
bool fileExists(const std::string& path);
