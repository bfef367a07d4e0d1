#include "schema_script.h"

#include <cctype>
#include <sstream>

namespace {

std::string Trimmed(const std::string& line) {
  size_t begin = 0;
  while (begin < line.size() && std::isspace(static_cast<unsigned char>(line[begin]))) ++begin;
  size_t end = line.size();
  while (end > begin && std::isspace(static_cast<unsigned char>(line[end - 1]))) --end;
  return line.substr(begin, end - begin);
}

bool IsGoLine(const std::string& trimmed) {
  return trimmed.size() == 2 && (trimmed[0] == 'G' || trimmed[0] == 'g') &&
         (trimmed[1] == 'O' || trimmed[1] == 'o');
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
  size_t pos = 0;
  while ((pos = text.find(from, pos)) != std::string::npos) {
    text.replace(pos, from.size(), to);
    pos += to.size();
  }
  return text;
}

void Flush(std::vector<std::string>& lines, std::vector<std::string>& batches) {
  while (!lines.empty() && Trimmed(lines.back()).empty()) lines.pop_back();
  size_t first = 0;
  while (first < lines.size() && Trimmed(lines[first]).empty()) ++first;
  if (first < lines.size()) {
    std::string batch;
    for (size_t i = first; i < lines.size(); ++i) {
      if (!batch.empty()) batch += '\n';
      batch += lines[i];
    }
    batches.push_back(batch);
  }
  lines.clear();
}

}  // namespace

std::vector<std::string> SchemaBatches(const std::string& script_text, const std::string& schema) {
  const std::string text = ReplaceAll(script_text, "$(SCHEMA)", schema);
  std::vector<std::string> batches;
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string trimmed = Trimmed(line);
    if (IsGoLine(trimmed)) {
      Flush(lines, batches);
    } else if (trimmed.rfind("--", 0) != 0) {
      lines.push_back(line);
    }
  }
  Flush(lines, batches);
  return batches;
}
