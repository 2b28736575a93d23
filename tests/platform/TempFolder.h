// A fresh folder below $TMPDIR (or /tmp) for one test, removed with everything
// in it (permissions restored first) when the object goes.
#pragma once

#include <string>

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder's absolute path, without a trailing slash.
  const std::string& path() const { return path_; }
  // path() + "/" + relative.
  std::string operator/(const std::string& relative) const { return path_ + "/" + relative; }

 private:
  std::string path_;
};

// Writes `bytes` to `path`, replacing the file; false on failure.
bool writeFile(const std::string& path, const std::string& bytes);
// The whole content of `path`; false when it cannot be read.
bool readFile(const std::string& path, std::string* bytes);
// The names in a folder, "." and ".." left out, sorted.
std::string listFolder(const std::string& path);
