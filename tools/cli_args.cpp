#include "cli_args.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace ctl {

std::string ParsedArgs::Value(const std::string& name, const std::string& fallback) const {
  auto it = values.find(name);
  return it == values.end() ? fallback : it->second;
}

bool ParseArgs(const std::vector<std::string>& args, size_t begin,
               const std::set<std::string>& value_options,
               const std::set<std::string>& flag_options, ParsedArgs& out, std::string& error) {
  out = ParsedArgs{};
  bool only_positional = false;
  for (size_t i = begin; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (only_positional || a.size() < 2 || a[0] != '-') {
      out.positional.push_back(a);
      continue;
    }
    if (a == "--") {
      only_positional = true;
      continue;
    }
    if (a == "--help" || a == "-h") {
      out.help = true;
      continue;
    }
    if (a.rfind("--", 0) != 0) {
      error = "unknown option " + a;
      return false;
    }
    std::string name = a.substr(2);
    std::string value;
    bool inline_value = false;
    if (size_t eq = name.find('='); eq != std::string::npos) {
      value = name.substr(eq + 1);
      name = name.substr(0, eq);
      inline_value = true;
    }
    if (value_options.count(name) != 0) {
      if (!inline_value) {
        if (i + 1 >= args.size()) {
          error = "option --" + name + " needs a value";
          return false;
        }
        value = args[++i];
      }
      out.values[name] = value;
    } else if (flag_options.count(name) != 0 && !inline_value) {
      out.flags.insert(name);
    } else {
      error = "unknown option --" + name;
      return false;
    }
  }
  return true;
}

bool RequireValues(const ParsedArgs& parsed, const std::vector<std::string>& required,
                   std::string& error) {
  for (const auto& name : required) {
    if (!parsed.Has(name)) {
      error = "missing option --" + name;
      return false;
    }
  }
  return true;
}

bool ParseInt(const std::string& text, long min, long max, long& out) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  long v = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || end == nullptr || *end != '\0' || v < min || v > max) return false;
  out = v;
  return true;
}

int ParseCommand(const char* command, const std::vector<std::string>& args,
                 const std::set<std::string>& value_options,
                 const std::set<std::string>& flag_options, const std::string& help,
                 ParsedArgs& out) {
  std::string error;
  if (!ParseArgs(args, 0, value_options, flag_options, out, error)) {
    std::fprintf(stderr, "plexorctl %s: %s\n%s", command, error.c_str(), help.c_str());
    return 2;
  }
  if (out.help) {
    std::printf("%s", help.c_str());
    return 0;
  }
  return -1;
}

}  // namespace ctl
