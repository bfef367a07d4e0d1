// Where plexorctl finds the files that come with it: the embedded ODBC driver
// and the schema scripts. Both are looked up relative to the folder of the
// running executable: first the installed layout (bin/ next to
// lib/<triplet>/odbc/ and share/plexor/sql/), then the build tree (tools/
// next to driver/ and sql/). No path of the source tree is involved.
#pragma once

#include <string>
#include <vector>

namespace ctl {

// Candidates in the order they are tried, for the executable folder `exe_dir`.
std::vector<std::string> DriverCandidates(const std::string& exe_dir);
std::vector<std::string> SqlDirCandidates(const std::string& exe_dir);

// The first candidate that exists for the running executable; when none
// does, the installed place, so that an error message names it.
std::string DefaultEmbeddedDriver();
std::string DefaultSqlDir();

}  // namespace ctl
