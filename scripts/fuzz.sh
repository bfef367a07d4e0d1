#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each one on
# its seed corpus for SECONDS seconds (default 20). New inputs that add
# coverage go into build-fuzz/corpus/<target>/, never into the repository's
# seeds; a crash leaves its input in build-fuzz/ and fails the script.
#   bash scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

seconds="${1:-20}"
shift || true
targets=("$@")
[[ ${#targets[@]} -eq 0 ]] && targets=(fuzz_config fuzz_translate fuzz_convert)
build="${PLEXOR_FUZZ_BUILD_DIR:-build-fuzz}"

cmake -S . -B "$build" -DPLEXOR_FUZZ=ON -DBUILD_TESTING=OFF \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j"${PLEXOR_JOBS:-2}" --target "${targets[@]}"

export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
root="$(pwd)"
for t in "${targets[@]}"; do
  seeds="$root/fuzz/corpus/${t#fuzz_}"
  work="$root/$build/corpus/$t"
  mkdir -p "$work"
  echo "== $t ($seconds s)"
  status=0
  (cd "$build" && "./fuzz/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 "$work" "$seeds" >"$t.log" 2>&1) || status=$?
  grep -E "^#[0-9]+ +DONE|^stat::number_of_executed_units|^stat::peak_rss|cov:" "$build/$t.log" | tail -n 3
  if [[ $status -ne 0 ]]; then
    tail -n 40 "$build/$t.log"
    exit 1
  fi
done
