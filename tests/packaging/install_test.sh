#!/usr/bin/env bash
# What `cmake --install` puts on a workstation: every file the menu entry needs, no test program,
# and a launcher that hands the database and the server of the settings file to the program.
# Usage: install_test.sh BUILD_DIR
set -uo pipefail
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

DESTDIR=$root cmake --install "$build" >/dev/null || { echo "FAIL: cmake --install"; exit 1; }
prefix=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build/CMakeCache.txt")
sysconf=$([ "$prefix" = /usr ] && echo /etc || echo "$prefix/etc")
inst=$root$prefix

for f in bin/tabel bin/tabel-launch share/applications/tabel.desktop share/tabel/schema.sql \
         share/icons/hicolor/scalable/apps/tabel.svg; do
  [ -f "$inst/$f" ] || fail "$prefix/$f is not installed"
done
for size in 16 24 32 48 64 128 256; do
  png=$inst/share/icons/hicolor/${size}x${size}/apps/tabel.png
  [ -f "$png" ] || { fail "no ${size}x${size} icon"; continue; }
  # A PNG's width and height stand at bytes 16 to 23 of its header.
  read -r w h < <(od -An -j16 -N8 -tu1 "$png" | awk '{print $3*256+$4, $7*256+$8}')
  [ "$w x $h" = "$size x $size" ] || fail "the ${size}x${size} icon is $w x $h"
done
[ -f "$root$sysconf/tabel.conf" ] || fail "$sysconf/tabel.conf is not installed"
cmp -s "$inst/share/tabel/schema.sql" "$(dirname "$0")/../../db/schema.sql" || fail "schema.sql differs from db/schema.sql"
[ -x "$inst/bin/tabel" ] && [ -x "$inst/bin/tabel-launch" ] || fail "the program or the launcher is not executable"
tests=$(find "$root" -name '*_tests' -o -name '*_bench' -o -name guide_pictures)
[ -z "$tests" ] || fail "test programs installed: $tests"

# The menu entry: shown as "Табель", runs the installed launcher, names the installed icon.
entry=$inst/share/applications/tabel.desktop
[ "$(sed -n 's/^Name=//p' "$entry")" = "Табель" ] || fail "the menu entry is not named Табель"
exec_line=$(sed -n 's/^Exec=//p' "$entry")
[ "$exec_line" = "$prefix/bin/tabel-launch" ] || fail "the menu entry runs '$exec_line'"
[ "$(sed -n 's/^Icon=//p' "$entry")" = "tabel" ] || fail "the menu entry's icon is not tabel"
desktop-file-validate "$entry" || fail "desktop-file-validate refuses the menu entry"

# The launcher, pointed at a settings file of this test and at a program that prints the
# arguments it was given, one a line, between brackets.
printf '#!/bin/sh\nfor a in "$@"; do echo "[$a]"; done\n' >"$root/program"
chmod +x "$root/program"
sed -e "s|^conf=.*|conf=$root/tabel.conf|" -e "s|^program=.*|program=$root/program|" \
  "$inst/bin/tabel-launch" >"$root/launch"
grep -q "^conf=$sysconf/tabel.conf\$" "$inst/bin/tabel-launch" || fail "the launcher does not read $sysconf/tabel.conf"

check() {   # settings file text, expected arguments
  local conf=$1 expected=$2 got
  printf '%b' "$conf" >"$root/tabel.conf"
  got=$(cd "$root" && sh "$root/launch" 2>/dev/null | tr -d '\n')
  [ "$got" = "$expected" ] || fail "settings '$conf' gave '$got', expected '$expected'"
}
check 'vesk_erp dbserver\n' '[vesk_erp][dbserver]'
check '# the server\n\n   zavod  10.0.0.5   # main\nother host\n' '[zavod][10.0.0.5]'
check 'vesk_erp\tdb.example.local\n' '[vesk_erp][db.example.local]'
check '# nothing set\n' ''
check 'only_database\n' ''
touch "$root/a" "$root/b"
check '* /var/run/postgresql\n' '[*][/var/run/postgresql]'
rm -f "$root/tabel.conf"
got=$(sh "$root/launch" 2>/dev/null)
[ -z "$got" ] || fail "without a settings file the launcher gave '$got'"

# The settings file as installed opens the demo database on this machine.
cp "$root$sysconf/tabel.conf" "$root/tabel.conf"
got=$(sh "$root/launch" | tr -d '\n')
[ "$got" = "[vesk_erp][localhost]" ] || fail "the installed settings give '$got'"

[ $failures -eq 0 ] && echo "install: all checks passed"
exit $((failures > 0))
