// A data source for the embedded driver that exists only while the object
// lives: a temporary folder with odbcinst.ini and odbc.ini, made visible to
// the driver manager through ODBCSYSINI (and ODBCINI), both restored when
// the object goes away. Nothing outside the temporary folder is changed.
#pragma once

#include <optional>
#include <string>

namespace ctl {

class EmbeddedDsn {
 public:
  EmbeddedDsn() = default;
  ~EmbeddedDsn();
  EmbeddedDsn(const EmbeddedDsn&) = delete;
  EmbeddedDsn& operator=(const EmbeddedDsn&) = delete;

  // `database_dir` must exist; `driver` is the driver library's path.
  bool Create(const std::string& database_dir, const std::string& driver, std::string& error);
  const std::string& name() const { return name_; }

 private:
  std::string dir_;
  std::string name_ = "plexorctl_embedded";
  std::optional<std::string> old_sysini_, old_ini_;
  bool active_ = false;
};

// odbcinst.ini and odbc.ini text for one DSN `name` on the embedded driver.
std::string OdbcinstIniText(const std::string& driver);
std::string OdbcIniText(const std::string& name, const std::string& database_dir);

}  // namespace ctl
