// Where plexorctl report writes what it produced: standard output, a file,
// or for CSV a folder with one file per table.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace ctl {

// Writes `text` to `path`, or to standard output when `path` is empty;
// false with `error` otherwise.
bool WriteOutput(const std::string& path, const std::string& text, std::string& error);

// Writes each (name, text) as DIR/name.csv (DIR is created when missing),
// or with an empty `dir` all of them to standard output, each after a line
// "# name" and followed by an empty line.
bool WriteTables(const std::string& dir,
                 const std::vector<std::pair<std::string, std::string>>& tables,
                 std::string& error);

}  // namespace ctl
