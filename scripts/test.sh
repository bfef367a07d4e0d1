#!/usr/bin/env bash
# Builds plexor and runs every test, twice: in build/ with warnings as errors,
# then in build-asan/ under AddressSanitizer and UndefinedBehaviorSanitizer.
# Installs the Debian packages it needs first (through sudo when not root).
# PLEXOR_JOBS sets the build parallelism (default 2); PLEXOR_BUILD_DIR the
# first build directory (default build; the second is its name plus -asan).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

if [[ $(id -u) -eq 0 ]]; then
  bash scripts/install-deps.sh
elif command -v sudo >/dev/null 2>&1; then
  sudo bash scripts/install-deps.sh
else
  echo "test.sh: installing the build dependencies needs root or sudo" >&2
  exit 1
fi

jobs="${PLEXOR_JOBS:-2}"
build="${PLEXOR_BUILD_DIR:-build}"
asan="${build}-asan"

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  echo "== formatting (.clang-format)"
  git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
fi
bash scripts/check-layers.sh

echo "== $build/ (warnings as errors)"
cmake -S . -B "$build" -DPLEXOR_WERROR=ON
cmake --build "$build" -j"$jobs"
ctest --test-dir "$build" --output-on-failure

echo "== $asan/ (AddressSanitizer, UndefinedBehaviorSanitizer)"
# The ODBC driver manager keeps some allocations until the process ends;
# leak reports would only show those.
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cmake -S . -B "$asan" -DPLEXOR_SANITIZE=ON -DPLEXOR_WERROR=ON
cmake --build "$asan" -j"$jobs"
ctest --test-dir "$asan" --output-on-failure

echo "== all tests passed"
