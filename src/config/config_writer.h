// Writing a configuration file that the job reads (see config_file.h): the
// four connection settings as records numbered 1 to 4 under the header line
// ";plexor;", each value enciphered with kKonfigSchluessel.
#pragma once

#include <cstddef>
#include <string>

#include "db/connection.h"

// Longest plain value Konfig_Schreiben accepts: its hexadecimal text has to
// fit the 200-character value buffer.
inline constexpr std::size_t kKonfigMaxWert = 96;
// Longest schema name the job takes over.
inline constexpr std::size_t kKonfigMaxSchema = db::kMaxSchemaName;

// Writes the file at `path`, replacing it. The numbers and the non-empty
// section make every lookup of the job find its record by key. The schema is
// stored with one extra trailing "." that the job drops. Result false when a
// value is longer than kKonfigMaxWert bytes, the schema longer than
// kKonfigMaxSchema or a value holds a zero byte (nothing is written then), or
// when the file cannot be written (a partly written file is removed).
bool Konfig_Schreiben(const std::string& path, const std::string& dsn, const std::string& schema,
                      const std::string& login, const std::string& pass);
