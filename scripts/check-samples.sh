#!/usr/bin/env bash
# Checks the scheduling samples in packaging/samples: the systemd unit and
# timer with systemd-analyze verify (where systemd-analyze is available, else
# a shell syntax check of their command lines), the cron line's command with
# sh -n, the logrotate snippet with logrotate -d (where available).
# BINDIR (first argument, default /usr/bin) holds plexor and plexorctl; the
# samples name /usr/bin, which is replaced by BINDIR for systemd-analyze.
set -euo pipefail
SAMPLES="$(cd "$(dirname "${BASH_SOURCE[0]}")/../packaging/samples" && pwd)"
BINDIR="${1:-/usr/bin}"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

# Command lines of a unit (ExecStart= and friends), one per line.
unit_commands() { sed -n 's/^Exec[A-Za-z]*=[-@:+!]*//p' "$1"; }

if command -v systemd-analyze >/dev/null 2>&1; then
  for unit in plexor.service plexor.timer; do
    sed "s#/usr/bin/#$BINDIR/#g" "$SAMPLES/$unit" >"$scratch/$unit"
  done
  systemd-analyze verify --man=no "$scratch/plexor.service" "$scratch/plexor.timer"
  echo "systemd units: systemd-analyze verify passed"
else
  unit_commands "$SAMPLES/plexor.service" | while IFS= read -r line; do sh -n -c "$line"; done
  grep -q '^OnCalendar=' "$SAMPLES/plexor.timer"
  echo "systemd units: command lines pass sh -n (no systemd-analyze here)"
fi

# The schedule lines of the cron file: five time fields, the user, the command.
cron_lines=0
while IFS= read -r line; do
  case "$line" in [0-9*@]*) ;; *) continue ;; esac
  command="$(printf '%s\n' "$line" | cut -d' ' -f7-)"
  sh -n -c "$command"
  cron_lines=$((cron_lines + 1))
done <"$SAMPLES/plexor.cron"
[[ $cron_lines -gt 0 ]] || { echo "check-samples: no schedule line in plexor.cron" >&2; exit 1; }
echo "cron: $cron_lines line(s) pass sh -n"

# logrotate lives in /usr/sbin, which is not on every user's PATH.
logrotate="$(command -v logrotate || echo /usr/sbin/logrotate)"
if [[ -x "$logrotate" ]]; then
  "$logrotate" -d -s "$scratch/state" "$SAMPLES/plexor.logrotate" 2>"$scratch/logrotate.out" || {
    cat "$scratch/logrotate.out" >&2
    exit 1
  }
  if grep -qi 'error' "$scratch/logrotate.out"; then
    cat "$scratch/logrotate.out" >&2
    exit 1
  fi
  echo "logrotate: logrotate -d passed"
else
  echo "logrotate: not checked (no logrotate here)"
fi
