// ScratchDir: a fresh directory "/tmp/<prefix>-XXXXXX" for one test, removed
// with everything in it when the object goes out of scope (kept when the
// environment variable PLEXOR_KEEP_TEST_DB is set). When the directory cannot
// be made the test fails and path() is empty.
#pragma once

#include <filesystem>
#include <string>

namespace ts {

class ScratchDir {
 public:
  explicit ScratchDir(const std::string& prefix);
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& path() const { return path_; }
  // `path()/name`.
  std::filesystem::path operator/(const std::string& name) const {
    return std::filesystem::path(path_) / name;
  }

 private:
  std::string path_;
};

}  // namespace ts
