#include "shipped_files.h"

#include <unistd.h>

#include <filesystem>

namespace ctl {
namespace {

namespace fs = std::filesystem;

constexpr const char* kDriverFile = "libtsqlite.so";

std::string ExecutableDir() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : exe.parent_path().string();
}

std::string FirstExisting(const std::vector<std::string>& candidates) {
  std::error_code ec;
  for (const std::string& c : candidates) {
    if (fs::exists(c, ec)) return c;
  }
  return candidates.front();
}

}  // namespace

std::vector<std::string> DriverCandidates(const std::string& exe_dir) {
  const fs::path dir = exe_dir;
  return {(dir / PLEXOR_REL_DRIVERDIR / kDriverFile).lexically_normal().string(),
          (dir / ".." / "driver" / kDriverFile).lexically_normal().string()};
}

std::vector<std::string> SqlDirCandidates(const std::string& exe_dir) {
  const fs::path dir = exe_dir;
  return {(dir / PLEXOR_REL_DATADIR / "sql").lexically_normal().string(),
          (dir / ".." / "sql").lexically_normal().string()};
}

std::string DefaultEmbeddedDriver() {
  return FirstExisting(DriverCandidates(ExecutableDir()));
}

std::string DefaultSqlDir() {
  return FirstExisting(SqlDirCandidates(ExecutableDir()));
}

}  // namespace ctl
