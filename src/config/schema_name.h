// The schema name the job takes from the configuration value SCHEMA: the
// value without its last character (written by Konfig_Schreiben as an extra
// trailing "."), provided what remains has at most kKonfigMaxSchema
// characters. The name goes unquoted into every statement and into the run
// log's file name, so only letters, digits and underscores are accepted.
#pragma once

#include <string>
#include <string_view>

struct SchemaName {
  std::string name;      // empty when the value is empty, too long or refused
  bool refused = false;  // the value held another character
};

SchemaName SchemaAusWert(std::string_view value);

// True when `name` holds only letters, digits and underscores (also when empty).
bool IsPlainName(std::string_view name);
