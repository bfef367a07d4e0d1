#!/usr/bin/env bash
# Installs everything that building, packaging, running and testing plexor
# need on a Debian 12 machine (man-db and logrotate check the man pages and
# the scheduling samples). Run as root (or through sudo). Idempotent: packages
# that are already present are left alone and a second run prints nothing.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config clang-format
  unixodbc unixodbc-dev odbcinst
  libsqlite3-dev sqlite3
  time  # GNU time: scripts/bench.sh reads CPU time and peak memory from it
  googletest libgtest-dev libgmock-dev
  man-db logrotate
  # The fuzz targets (scripts/fuzz.sh): clang and its libFuzzer runtime.
  clang libclang-rt-14-dev
)
# Only the report's tests need these: the page is rendered in a headless
# browser and the JSON output is validated against tools/report.schema.json.
if [[ "${PLEXOR_WITH_BROWSER:-1}" == "1" ]]; then
  PACKAGES+=(chromium python3-jsonschema)
fi

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

SUDO=""
if [[ $(id -u) -ne 0 ]]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
