// libFuzzer target: the configuration file reader and the value decoding.
// The input is the whole file; it is looked up the way the job looks up its
// four settings, then by number and section, and its bytes are also decoded
// as one enciphered value.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "config/config_file.h"
#include "config/value_cipher.h"

namespace {

// One in-memory file for the whole run, rewritten for every input.
int ConfigFile() {
  static const int fd = memfd_create("fuzz_config", 0);
  return fd;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const int fd = ConfigFile();
  if (fd < 0 || ftruncate(fd, 0) != 0) return 0;
  if (size > 0 && pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) return 0;
  char path[64];
  std::snprintf(path, sizeof path, "/proc/self/fd/%d", fd);

  for (const char* key : {"DATABASE", "SCHEMA", "LOGIN", "PASS"}) {
    Konfig_Lesen("", key, 0, path);
    if (Konfig_Puffer().value.view().size() > 200) __builtin_trap();
  }
  Konfig_Lesen("plexor", "", 0, path);
  Konfig_Lesen("", "", 3, path);

  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string plain;
  Wert_Entschluesseln(text, plain, kKonfigSchluessel);
  // Enciphering and deciphering again gives the text back up to its first
  // zero byte.
  const std::string_view cut = text.substr(0, text.find('\0'));
  if (cut.size() <= 96) {
    std::string back;
    Wert_Entschluesseln(Wert_Verschluesseln(cut, kKonfigSchluessel), back, kKonfigSchluessel);
    if (back != cut) __builtin_trap();
  }
  return 0;
}
