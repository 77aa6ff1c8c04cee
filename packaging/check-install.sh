#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks the tree a desktop and
# a packager expect: both programs, the menu entry (valid, starting a program
# that is there), every icon size, the manual page (renders without warnings)
# and the help page.
#   check-install.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

status=0
fail() { echo "check-install: $*" >&2; status=1; }

for file in bin/ovplayer bin/ovtool share/ovplayer/ovhelp.html share/applications/ovplayer.desktop \
    share/icons/hicolor/scalable/apps/ovplayer.svg share/man/man1/ovtool.1.gz; do
  [[ -f "$prefix/$file" ]] || fail "$file is missing"
done
for size in 16 24 32 48 64 128 256; do
  png="$prefix/share/icons/hicolor/${size}x${size}/apps/ovplayer.png"
  [[ "$(identify -format '%wx%h' "$png" 2>/dev/null)" == "${size}x${size}" ]] || fail "$png is not a ${size}x${size} picture"
done

desktop="$prefix/share/applications/ovplayer.desktop"
desktop-file-validate "$desktop" || fail "the menu entry is not valid"
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
[[ -x "$prefix/bin/${exec_line%% *}" ]] || fail "the menu entry starts ${exec_line}, which is not installed"
grep -q '^Name\[zh_CN\]=' "$desktop" || fail "the menu entry has no Chinese name"
grep -q '^Categories=.*Education;' "$desktop" || fail "the menu entry is not in Education"

warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$prefix/share/man/man1/ovtool.1.gz" 2>&1 >/dev/null)
[[ -z "$warnings" ]] || fail "the manual page has warnings: $warnings"
# Every command ovtool has is in its manual page.
for command in $("$prefix/bin/ovtool" --help | sed -n '/^Subcommands:/,$p' | awk 'NR > 1 {print $1}'); do
  zcat "$prefix/share/man/man1/ovtool.1.gz" | grep -q "^\.BI\? \"\?${command//-/\\\\-}" || fail "ovtool $command is not in the manual page"
done
exit $status
