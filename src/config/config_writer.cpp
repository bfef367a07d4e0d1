#include "config/config_writer.h"

#include <cstdio>

#include "config/value_cipher.h"

bool Konfig_Schreiben(const std::string& path, const std::string& dsn, const std::string& schema,
                      const std::string& login, const std::string& pass) {
  const std::string stored_schema = schema + ".";
  struct Record {
    const char* key;
    const std::string& value;
  };
  const Record records[] = {
      {"DATABASE", dsn}, {"SCHEMA", stored_schema}, {"LOGIN", login}, {"PASS", pass}};
  if (schema.size() > kKonfigMaxSchema) return false;
  for (const Record& r : records) {
    if (r.value.size() > kKonfigMaxWert) return false;
    if (r.value.find('\0') != std::string::npos) return false;
  }
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  bool ok = true;
  int number = 1;
  for (const Record& r : records) {
    std::string hex = Wert_Verschluesseln(r.value, kKonfigSchluessel);
    if (std::fprintf(f, ";plexor;\n%d;%s;%s\n", number++, r.key, hex.c_str()) < 0) ok = false;
  }
  if (std::fclose(f) != 0) ok = false;
  if (!ok) std::remove(path.c_str());
  return ok;
}
