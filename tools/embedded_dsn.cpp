#include "embedded_dsn.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace ctl {
namespace {

constexpr const char* kDriverName = "PlexorEmbedded";

std::optional<std::string> GetEnv(const char* name) {
  const char* v = std::getenv(name);
  if (v == nullptr) return std::nullopt;
  return std::string(v);
}

void Restore(const char* name, const std::optional<std::string>& value) {
  if (value) {
    setenv(name, value->c_str(), 1);
  } else {
    unsetenv(name);
  }
}

bool WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  return static_cast<bool>(out);
}

}  // namespace

std::string OdbcinstIniText(const std::string& driver) {
  return std::string("[") + kDriverName +
         "]\nDescription = embedded SQL Server dialect\nDriver = " + driver + "\n";
}

std::string OdbcIniText(const std::string& name, const std::string& database_dir) {
  return "[" + name + "]\nDriver = " + kDriverName + "\nDatabase = " + database_dir + "\n";
}

bool EmbeddedDsn::Create(const std::string& database_dir, const std::string& driver,
                         std::string& error) {
  std::error_code ec;
  const std::string absolute = std::filesystem::absolute(database_dir, ec).string();
  if (ec) {
    error = "cannot resolve " + database_dir;
    return false;
  }
  std::string pattern = (std::filesystem::temp_directory_path(ec) / "plexorctl.XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    error = "cannot create a temporary folder";
    return false;
  }
  dir_ = pattern;
  if (!WriteFile(dir_ + "/odbcinst.ini", OdbcinstIniText(driver)) ||
      !WriteFile(dir_ + "/odbc.ini", OdbcIniText(name_, absolute))) {
    error = "cannot write the ODBC files in " + dir_;
    return false;
  }
  old_sysini_ = GetEnv("ODBCSYSINI");
  old_ini_ = GetEnv("ODBCINI");
  setenv("ODBCSYSINI", dir_.c_str(), 1);
  setenv("ODBCINI", (dir_ + "/odbc.ini").c_str(), 1);
  active_ = true;
  return true;
}

EmbeddedDsn::~EmbeddedDsn() {
  if (active_) {
    Restore("ODBCSYSINI", old_sysini_);
    Restore("ODBCINI", old_ini_);
  }
  if (!dir_.empty()) {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
}

}  // namespace ctl
