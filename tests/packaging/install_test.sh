#!/usr/bin/env bash
# Installs the build into a scratch prefix, moves the prefix elsewhere and runs
# the installed tools there as an operator would (demo, db init, konfig,
# check, the job, lastrun, report, man pages, the scheduling samples); then
# builds the Debian package and runs its maintainer scripts against a scratch
# odbcinst.ini. Nothing outside the scratch folder is changed.
# Usage: install_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
BUILD="$(cd "$1" && pwd)"
SOURCE="$(cd "$2" && pwd)"
T="$(mktemp -d /tmp/plexor-install.XXXXXX)"
trap 'rm -rf "$T"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

echo "== install"
cmake --install "$BUILD" --prefix "$T/first" --strip >/dev/null
mv "$T/first" "$T/prefix"
P="$T/prefix"
DRIVER="$(cd "$P" && ls lib/*/odbc/libtsqlite.so)"
for f in bin/plexor bin/plexorctl "$DRIVER" share/plexor/sql/schema.sql \
  share/plexor/sql/schema_without_optional.sql share/plexor/odbcinst.ini \
  share/plexor/samples/plexor.service share/plexor/samples/plexor.timer \
  share/plexor/samples/plexor.cron share/plexor/samples/plexor.logrotate \
  share/man/man1/plexor.1 share/man/man1/plexorctl.1 share/man/man5/plexor.cfg.5 \
  share/doc/plexor/README.md; do
  [[ -e "$P/$f" ]] || fail "not installed: $f"
done
# The paths the tool once had compiled in must not be in it.
for p in "$BUILD/driver" "$SOURCE/sql"; do
  if grep -qF "$p" "$P/bin/plexorctl"; then fail "plexorctl names $p"; fi
done

echo "== installed tools, prefix moved after installing"
S="$T/site"
mkdir -p "$S/work" "$S/corvina_php/log" "$S/odbc" "$S/other"
"$P/bin/plexorctl" demo "$S/db" >/dev/null
"$P/bin/plexorctl" db init --database "$S/other" --schema other --without-optional >/dev/null
[[ -f "$S/other/other.sqlite" ]] || fail "db init made no database"
sed "s#^Driver = .*#Driver = $P/$DRIVER#" "$P/share/plexor/odbcinst.ini" >"$S/odbc/odbcinst.ini"
printf '[roster]\nDriver = PlexorEmbedded\nDatabase = %s\n' "$S/db" >"$S/odbc/odbc.ini"
export ODBCSYSINI="$S/odbc" ODBCINI="$S/odbc/odbc.ini"
"$P/bin/plexorctl" konfig write "$S/plexor.cfg" --dsn roster --schema plexor --login ops --pass secret >/dev/null
[[ "$(stat -c %a "$S/plexor.cfg")" == 600 ]] || fail "configuration file not mode 600"
(cd "$S/work" && "$P/bin/plexorctl" check --config "$S/plexor.cfg" --lang en) || fail "check"
(cd "$S/work" && "$P/bin/plexor" "$S/plexor.cfg" ops 00000000 00000000 PLG T1 T2 00000 00000 00000 PLAN_OPTIM >/dev/null)
"$P/bin/plexorctl" lastrun --log "$S/corvina_php/log/plexor_plexor.log" --since today || fail "lastrun"
"$P/bin/plexorctl" report --config "$S/plexor.cfg" --html "$S/report.html" >"$S/report.txt"
# db init takes data source, schema and credentials from a configuration file.
mkdir "$S/fresh"
printf '[fresh]\nDriver = PlexorEmbedded\nDatabase = %s\n' "$S/fresh" >>"$S/odbc/odbc.ini"
"$P/bin/plexorctl" konfig write "$S/fresh.cfg" --dsn fresh --schema roster --login ops --pass x >/dev/null
"$P/bin/plexorctl" db init --config "$S/fresh.cfg" >/dev/null
[[ -f "$S/fresh/roster.sqlite" ]] || fail "db init --config made no database"
[[ -s "$S/report.txt" && -s "$S/report.html" ]] || fail "report wrote nothing"

if command -v man >/dev/null 2>&1; then
  for page in man1/plexor.1 man1/plexorctl.1 man5/plexor.cfg.5; do
    warnings="$(MANWIDTH=80 man --warnings -l "$P/share/man/$page" 2>&1 >/dev/null)"
    [[ -z "$warnings" ]] || fail "man $page: $warnings"
    MANWIDTH=80 man -l "$P/share/man/$page" 2>/dev/null | grep -q "NAME" || fail "man $page"
  done
fi
bash "$SOURCE/scripts/check-samples.sh" "$P/bin"

echo "== Debian package"
cpack -G DEB --config "$BUILD/CPackConfig.cmake" -B "$T/pkg" >/dev/null
DEB="$(ls "$T"/pkg/plexor_*.deb)"
contents="$(dpkg-deb -c "$DEB")"
for f in ./usr/bin/plexor ./usr/bin/plexorctl "./usr/$DRIVER" ./usr/share/plexor/sql/schema.sql \
  ./usr/share/plexor/odbcinst.ini ./usr/share/man/man1/plexorctl.1 \
  ./usr/share/plexor/samples/plexor.service; do
  grep -qF " $f" <<<"$contents" || fail "package lacks $f"
done
depends="$(dpkg-deb -f "$DEB" Depends)"
for d in odbcinst libodbc2 libsqlite3-0; do
  grep -q "$d" <<<"$depends" || fail "package does not depend on $d: $depends"
done
dpkg-deb -x "$DEB" "$T/root"
dpkg-deb -e "$DEB" "$T/control"
grep -q "Driver = /usr/$DRIVER" "$T/root/usr/share/plexor/odbcinst.ini" || fail "template driver path"
# The maintainer scripts against a scratch odbcinst.ini; the template is read
# from the unpacked package instead of /usr.
export ODBCSYSINI="$T/etc"
mkdir -p "$ODBCSYSINI"
: >"$ODBCSYSINI/odbcinst.ini"
for s in postinst prerm postrm; do
  sed "s#/usr/share/plexor#$T/root/usr/share/plexor#" "$T/control/$s" >"$T/$s"
done
sh "$T/postinst" configure
sh "$T/postinst" configure  # an upgrade registers nothing twice
grep -q "^\[PlexorEmbedded\]" "$ODBCSYSINI/odbcinst.ini" || fail "postinst registered no driver"
grep -q "^Driver *= */usr/$DRIVER" "$ODBCSYSINI/odbcinst.ini" || fail "registered driver path"
sh "$T/prerm" upgrade
grep -q "PlexorEmbedded" "$ODBCSYSINI/odbcinst.ini" || fail "prerm upgrade removed the driver"
sh "$T/prerm" remove
sh "$T/postrm" purge
if grep -q "PlexorEmbedded" "$ODBCSYSINI/odbcinst.ini"; then fail "driver still registered"; fi
echo "== installed and packaged"
