// What the ODBC driver manager knows about a data source, as SQLDataSources
// and SQLDrivers list it: the data source's driver and that driver's library.
#pragma once

#include <string>

namespace ctl {

struct SourceInfo {
  bool source_found = false;  // the data source is defined (odbc.ini)
  std::string driver;         // its driver: a name from odbcinst.ini or a library path
  bool driver_found = false;  // the driver name is registered, or the path names a file
  std::string library;        // the driver's library as registered
};

SourceInfo LookUpDataSource(const std::string& dsn);

}  // namespace ctl
