#include "config/schema_name.h"

#include "config/config_writer.h"

bool IsPlainName(std::string_view name) {
  for (char c : name) {
    const bool ok =
        (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    if (!ok) return false;
  }
  return true;
}

SchemaName SchemaAusWert(std::string_view value) {
  SchemaName result;
  if (value.empty() || value.size() > kKonfigMaxSchema + 1) return result;
  const std::string_view name = value.substr(0, value.size() - 1);
  if (!IsPlainName(name)) {
    result.refused = true;
    return result;
  }
  result.name = std::string(name);
  return result;
}
