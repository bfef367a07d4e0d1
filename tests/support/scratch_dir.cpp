#include "support/scratch_dir.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>
#include <vector>

namespace ts {

ScratchDir::ScratchDir(const std::string& prefix) {
  const std::string pattern = "/tmp/" + prefix + "-XXXXXX";
  std::vector<char> tmpl(pattern.begin(), pattern.end());
  tmpl.push_back('\0');
  if (mkdtemp(tmpl.data()) == nullptr) {
    ADD_FAILURE() << "cannot create a temporary directory " << pattern;
    return;
  }
  path_ = tmpl.data();
}

ScratchDir::~ScratchDir() {
  if (path_.empty() || std::getenv("PLEXOR_KEEP_TEST_DB") != nullptr) return;
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

}  // namespace ts
