#include "report_output.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace ctl {

bool WriteOutput(const std::string& path, const std::string& text, std::string& error) {
  if (path.empty()) {
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout)) {
      error = "cannot write to standard output";
      return false;
    }
    return true;
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (!out) {
    error = "cannot write " + path;
    return false;
  }
  return true;
}

bool WriteTables(const std::string& dir,
                 const std::vector<std::pair<std::string, std::string>>& tables,
                 std::string& error) {
  if (dir.empty()) {
    std::string all;
    for (const auto& [name, text] : tables) all += "# " + name + "\n" + text + "\n";
    return WriteOutput("", all, error);
  }
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (!std::filesystem::is_directory(dir)) {
    error = "cannot create the folder " + dir;
    return false;
  }
  for (const auto& [name, text] : tables) {
    if (!WriteOutput(dir + "/" + name + ".csv", text, error)) return false;
  }
  return true;
}

}  // namespace ctl
