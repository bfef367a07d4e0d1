#include "job_settings.h"

#include <unistd.h>

#include <filesystem>

#include "config/config_file.h"
#include "config/schema_name.h"

namespace ctl {

bool ReadJobSettings(const std::string& path, JobSettings& out, std::string& error) {
  out = JobSettings{};
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    error = "no such file: " + path;
    return false;
  }
  if (!std::filesystem::is_regular_file(path, ec)) {
    error = path + " is not a regular file";
    return false;
  }
  if (access(path.c_str(), R_OK) != 0) {
    error = "cannot read " + path;
    return false;
  }
  auto lookup = [&](const char* key) {
    Konfig_Lesen("", key, 0, path.c_str());
    return std::string(Konfig_Puffer().value.c_str());
  };
  out.dsn = lookup("DATABASE");
  out.schema_value = lookup("SCHEMA");
  out.login = lookup("LOGIN");
  out.pass = lookup("PASS");
  Konfig_Puffer().value.clear();
  const SchemaName schema = SchemaAusWert(out.schema_value);
  out.schema = schema.name;
  out.schema_refused = schema.refused;
  return true;
}

}  // namespace ctl
