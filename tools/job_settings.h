// The job's four connection settings read from its configuration file with
// the job's own lookups (empty section, number 0, by key) and its own rule
// for the schema name (config/schema_name.h).
#pragma once

#include <string>

namespace ctl {

struct JobSettings {
  std::string dsn;
  std::string schema_value;     // as stored, with its trailing character
  std::string schema;           // as the job takes it over; empty when refused
  bool schema_refused = false;  // the job refuses the stored name
  std::string login;
  std::string pass;

  // None of the four keys gave a value: the file holds no usable record.
  bool Empty() const {
    return dsn.empty() && schema_value.empty() && login.empty() && pass.empty();
  }
};

// False with `error` when `path` is not a regular file that can be read.
bool ReadJobSettings(const std::string& path, JobSettings& out, std::string& error);

}  // namespace ctl
