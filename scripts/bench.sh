#!/usr/bin/env bash
# Benchmark of the job on the embedded driver: builds roster L or M (see
# scripts/bench_roster.sql) in a fresh folder, runs the job over the roster's
# 28 (14) days and prints wall time, CPU time, peak resident memory,
# statements, statements per second and milliseconds per proposal. Beside it
# the floor: the statements the driver ran, recorded in a run of the job of
# their own, replayed with SQLite alone (one compiled statement per shape) on
# the roster as it was before the job.
#
#   bash scripts/bench.sh [L|M ...]      (default: M L)
#
# Environment: PLEXOR_BUILD_DIR (default build/, configured RelWithDebInfo
# when missing), BENCH_SEED (default 1), BENCH_DIR (default /tmp/plexor-bench),
# BENCH_DRIVER (the driver library to measure, default the build's),
# BENCH_RUNS (runs of job and floor in turn, default 3).
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${PLEXOR_BUILD_DIR:-$ROOT/build}"
SEED="${BENCH_SEED:-1}"
RUNS="${BENCH_RUNS:-3}"
if [[ ! "$RUNS" =~ ^[1-9][0-9]?$ ]]; then
  echo "bench.sh: BENCH_RUNS must be a number from 1 to 99, not '$RUNS'" >&2
  exit 2
fi
WORK="${BENCH_DIR:-/tmp/plexor-bench}"
SIZES=("$@")
[[ ${#SIZES[@]} -eq 0 ]] && SIZES=(M L)

if [[ ! -f "$BUILD/CMakeCache.txt" ]]; then
  cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$BUILD" -j2 --target plexor plexorctl tsqlite tsqlite_replay >/dev/null
DRIVER="${BENCH_DRIVER:-$BUILD/driver/libtsqlite.so}"
CTL="$BUILD/tools/plexorctl"
REPLAY="$BUILD/driver/tsqlite_replay"

# The median of column $2 of the numbers in file $1.
median() {
  awk -v c="$2" '{ print $c }' "$1" | sort -g | awk '{ v[NR] = $1 }
    END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'
}

# Prints "wall cpu rss_kb" of a command run by /usr/bin/time (GNU time -f).
measure() {
  local out="$1"
  shift
  /usr/bin/time -f "%e %U %S %M" -o "$out.time" "$@" >"$out.stdout" 2>"$out.stderr"
  awk '{ printf "%.2f %.2f %d\n", $1, $2 + $3, $4 }' "$out.time"
}

# The job allows one run per data source, schema and plan group on a machine:
# a name of this run's own keeps benchmarks run side by side apart.
DSN="plexorbench$$"

for SIZE in "${SIZES[@]}"; do
  case "$SIZE" in
    L) PARAMS="1000, 20, 6, 28" DAYS=28 ;;
    M) PARAMS="300, 8, 4, 14" DAYS=14 ;;
    *) echo "bench.sh: unknown roster '$SIZE' (L or M)" >&2; exit 2 ;;
  esac
  DIR="$WORK/$SIZE"
  rm -rf "$DIR"
  mkdir -p "$DIR/db" "$DIR/odbc" "$DIR/work" "$DIR/corvina_php/log"
  BEGIN=$(date +%Y%m%d)
  END=$(date -d "+$((DAYS - 1)) days" +%Y%m%d)
  "$CTL" db init --database "$DIR/db" --schema plexor --driver "$DRIVER" >/dev/null
  sqlite3 "$DIR/db/plexor.sqlite" <<SQL
ATTACH '$DIR/db/KvtSystem.sqlite' AS KvtSystem;
CREATE TEMP TABLE bench(persons, locations, types, days, start, seed);
INSERT INTO bench VALUES ($PARAMS, '$(date +%Y-%m-%d)', $SEED);
.read $ROOT/scripts/bench_roster.sql
SQL
  cp -r "$DIR/db" "$DIR/db.fresh"
  cat >"$DIR/odbc/odbcinst.ini" <<EOF
[PlexorBench]
Driver = $DRIVER
EOF
  cat >"$DIR/odbc/odbc.ini" <<EOF
[$DSN]
Driver = PlexorBench
Database = $DIR/db
EOF
  "$CTL" konfig write "$DIR/plexor.cfg" --dsn "$DSN" --schema plexor --login bench \
    --pass bench >/dev/null

  run_job() {
    (cd "$DIR/work" && ODBCSYSINI="$DIR/odbc" ODBCINI="$DIR/odbc/odbc.ini" "$@" "$BUILD/plexor" \
      "$DIR/plexor.cfg" bench "$BEGIN" "$END" PLG BENCH "benchmark" 00001 00000 00000 PLAN_OPTIM)
  }
  # The statements the driver runs, recorded in a run of their own: writing
  # the record is the benchmark's work, not the job's.
  : >"$DIR/statements.rec"
  run_job env TSQLITE_RECORD="$DIR/statements.rec" >/dev/null 2>&1
  # Job and floor in turn, each on the roster as it was before the job ran;
  # the figures are the medians of the runs, the ratio the median of the
  # runs' ratios (the machine's speed drifts from run to run).
  : >"$DIR/runs"
  for ((RUN = 1; RUN <= RUNS; ++RUN)); do
    rm -rf "$DIR/db" "$DIR/db.floor"
    cp -r "$DIR/db.fresh" "$DIR/db"
    cp -r "$DIR/db.fresh" "$DIR/db.floor"
    rm -f "$DIR"/corvina_php/log/*.log
    JOB=$(run_job measure "$DIR/job")
    FLOOR=$(measure "$DIR/replay" "$REPLAY" "$DIR/statements.rec" "$DIR/db.floor")
    echo "$JOB $FLOOR" >>"$DIR/runs"
  done
  PROPOSALS=$(sqlite3 "$DIR/db/plexor.sqlite" "SELECT count(*) FROM Kvt735Bdk")
  if [[ "$PROPOSALS" -eq 0 ]]; then
    echo "bench.sh: the job made no proposals on roster $SIZE; its log ends:" >&2
    tail -5 "$DIR"/corvina_php/log/*.log >&2
    exit 1
  fi
  STATEMENTS=$(awk '/^statements/ { print $2 }' "$DIR/replay.stdout")
  SHAPES=$(awk '/^shapes/ { print $2 }' "$DIR/replay.stdout")
  FAILED=$(awk '/^failed/ { print $2 }' "$DIR/replay.stdout")
  R="$DIR/runs"
  JW=$(median "$R" 1) JC=$(median "$R" 2) JR=$(median "$R" 3)
  FW=$(median "$R" 4) FC=$(median "$R" 5) FR=$(median "$R" 6)
  awk '{ print ($5 > 0 ? $2 / $5 : 0) }' "$R" >"$DIR/ratios"
  RATIO=$(median "$DIR/ratios" 1)
  echo "== Roster $SIZE (seed $SEED): $PROPOSALS proposals, $STATEMENTS statements" \
    "($SHAPES shapes, ${FAILED:-0} failing as in the job); medians of $RUNS runs"
  awk -v jw="$JW" -v jc="$JC" -v jr="$JR" -v fw="$FW" -v fc="$FC" -v fr="$FR" -v ratio="$RATIO" \
    -v n="$STATEMENTS" -v p="$PROPOSALS" 'BEGIN {
    printf "%-22s %10s %10s\n", "", "job", "floor"
    printf "%-22s %10.2f %10.2f\n", "wall s", jw, fw
    printf "%-22s %10.2f %10.2f\n", "cpu s", jc, fc
    printf "%-22s %10d %10d\n", "peak rss KB", jr, fr
    printf "%-22s %10.0f %10.0f\n", "statements/s", (jw > 0 ? n / jw : 0), (fw > 0 ? n / fw : 0)
    printf "%-22s %10.2f %10.2f\n", "ms per proposal", (p > 0 ? jw * 1000 / p : 0), (p > 0 ? fw * 1000 / p : 0)
    printf "%-22s %10.2f\n", "cpu job/floor", ratio
  }'
done
