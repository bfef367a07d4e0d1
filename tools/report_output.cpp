#include "report_output.h"

#include <langinfo.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace ctl {

bool TerminalTakesUtf8() {
  if (isatty(STDOUT_FILENO) == 0) return false;
  const char* current = std::setlocale(LC_CTYPE, nullptr);
  const std::string saved = current != nullptr ? current : "C";
  bool utf8 = false;
  if (std::setlocale(LC_CTYPE, "") != nullptr) {
    const char* codeset = nl_langinfo(CODESET);
    utf8 = codeset != nullptr &&
           (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0);
  }
  std::setlocale(LC_CTYPE, saved.c_str());
  return utf8;
}

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
