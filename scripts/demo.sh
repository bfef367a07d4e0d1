#!/usr/bin/env bash
# Quick start: installs the dependencies, builds the job, the embedded
# database driver and plexorctl, creates a demo roster under run/ (once),
# runs the job on it the way another application would start it, and prints
# the summary per plan group of what the run left behind (the full report is
# in run/report.txt, the page in run/report.html).
#
# Everything the run needs lives in the run directory (default run/ in the
# repository, PLEXOR_RUN_DIR to change it):
#   db/                       the demo database (one .sqlite file per schema)
#   odbc/odbcinst.ini, odbc.ini   the data source "plexordemo" (ODBCSYSINI)
#   plexor.cfg                the job's configuration file (values enciphered)
#   work/                     the job's working directory
#   corvina_php/log/          the run log plexor_plexor.log
#   report.txt, report.html   the report as text and as a page with the staffing grid
# No system file is changed. A second run keeps the database: the period
# starts today again, earlier proposals stay open and are not proposed again.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
RUN="${PLEXOR_RUN_DIR:-$ROOT/run}"
BUILD="${PLEXOR_BUILD_DIR:-$ROOT/build}"
SEED="${PLEXOR_DEMO_SEED:-1}"
SCHEMA=plexor
DSN=plexordemo
LOGIN=demo
PASS=demo

echo "== Dependencies"
# The page of the report needs no browser here; install-deps.sh installs one
# for the tests unless told otherwise.
export PLEXOR_WITH_BROWSER="${PLEXOR_WITH_BROWSER:-0}"
if [[ $(id -u) -eq 0 ]]; then
  bash "$ROOT/scripts/install-deps.sh"
elif command -v sudo >/dev/null 2>&1; then
  sudo --preserve-env=PLEXOR_WITH_BROWSER bash "$ROOT/scripts/install-deps.sh"
else
  echo "demo.sh: installing the dependencies needs root or sudo" >&2
  exit 1
fi

echo "== Build ($BUILD; the first build takes a few minutes)"
cmake -S "$ROOT" -B "$BUILD" -DPLEXOR_WERROR=ON >/dev/null
cmake --build "$BUILD" -j2 --target plexor plexorctl tsqlite
CTL="$BUILD/tools/plexorctl"

mkdir -p "$RUN/db" "$RUN/odbc" "$RUN/work" "$RUN/corvina_php/log"
RUN="$(cd "$RUN" && pwd)"

echo "== Demo database ($RUN/db)"
if [[ -f "$RUN/db/$SCHEMA.sqlite" ]]; then
  echo "kept from an earlier run"
else
  "$CTL" demo "$RUN/db" --seed "$SEED" --schema "$SCHEMA"
fi

cat >"$RUN/odbc/odbcinst.ini" <<EOF
[PlexorEmbedded]
Description = embedded SQL Server dialect
Driver = $BUILD/driver/libtsqlite.so
EOF
cat >"$RUN/odbc/odbc.ini" <<EOF
[$DSN]
Driver = PlexorEmbedded
Database = $RUN/db
EOF
export ODBCSYSINI="$RUN/odbc"
export ODBCINI="$RUN/odbc/odbc.ini"

"$CTL" konfig write "$RUN/plexor.cfg" --dsn "$DSN" --schema "$SCHEMA" --login "$LOGIN" --pass "$PASS" >/dev/null

echo "== Run"
LOG="$RUN/corvina_php/log/plexor_$SCHEMA.log"
LINES_BEFORE=0
[[ -f "$LOG" ]] && LINES_BEFORE=$(wc -l <"$LOG")
START="$(date '+%Y-%m-%d %H:%M:%S')"
(
  cd "$RUN/work"
  "$BUILD/plexor" "$RUN/plexor.cfg" demo 00000000 00000000 PLG DEMO-LAUF "Schnellstart mit dem Demo-Dienstplan" 00000 00000 00000 PLAN_OPTIM
)
if [[ -f "$LOG" ]]; then
  echo "Run log $LOG (this run):"
  tail -n +"$((LINES_BEFORE + 1))" "$LOG" | head -n 40 | sed 's/^/  /'
fi
echo "How the run went (plexorctl lastrun; exit status 0 clean, 1 error lines, 2 no end line):"
"$CTL" lastrun --log "$LOG" --since "$START" | sed 's/^/  /' || true

echo "== Report"
"$CTL" report --config "$RUN/plexor.cfg" --html "$RUN/report.html" >"$RUN/report.txt"
# The summary per plan group is the report's last block (before the line
# naming the page).
awk 'BEGIN { RS = "" } !/^HTML: / { last = $0 } END { print last }' "$RUN/report.txt"
echo
echo "Full report: $RUN/report.txt"
echo "As a page:   $RUN/report.html"
