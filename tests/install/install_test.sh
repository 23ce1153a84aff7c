#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks what a desktop
# expects: the programs, a valid desktop entry and AppStream file, the icon
# in the hicolor theme, manual pages that render, the bash completion.
# usage: install_test.sh BUILD_DIR
set -euo pipefail
build=$1
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT

DESTDIR="$dest" cmake --install "$build" --prefix /usr >/dev/null
root=$dest/usr
failed=0
fail() { echo "FAIL: $*"; failed=1; }

for program in ferrox ferrox-cli ferrox-board; do
  [ -x "$root/bin/$program" ] || fail "bin/$program missing"
done
version=$("$root/bin/ferrox-cli" --version) || fail "ferrox-cli --version"
[[ $version =~ ^ferrox-cli\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "version line: $version"

desktop=$root/share/applications/io.github.ferrox.Ferrox.desktop
[ -f "$desktop" ] && desktop-file-validate "$desktop" || fail "desktop entry"
grep -qx 'Exec=ferrox %f' "$desktop" || fail "desktop entry Exec"

metainfo=$root/share/metainfo/io.github.ferrox.Ferrox.metainfo.xml
[ -f "$metainfo" ] && appstreamcli validate --no-net --explain "$metainfo" >/dev/null || {
  appstreamcli validate --no-net "$metainfo" || true
  fail "AppStream metadata"
}

[ -f "$root/share/icons/hicolor/scalable/apps/ferrox.svg" ] || fail "scalable icon"
for size in 16 32 48 64 128 256; do
  [ -f "$root/share/icons/hicolor/${size}x${size}/apps/ferrox.png" ] || fail "icon ${size}"
done

for page in ferrox ferrox-cli ferrox-board; do
  file=$root/share/man/man1/$page.1
  [ -f "$file" ] || { fail "man page $page"; continue; }
  warnings=$(MANWIDTH=80 man -l "$file" 2>&1 >/dev/null) || fail "man -l $page"
  [ -z "$warnings" ] || fail "man $page warns: $warnings"
  MANWIDTH=80 man -l "$file" 2>/dev/null | grep -q "EXIT STATUS" || fail "man $page has no exit status"
done
# Every ferrox-cli option is in its manual page.
for option in $("$root/bin/ferrox-cli" help render; "$root/bin/ferrox-cli" help capture; "$root/bin/ferrox-cli" help check); do
  case $option in
    --help) ;;
    -*) MANWIDTH=200 man -l "$root/share/man/man1/ferrox-cli.1" 2>/dev/null | grep -q -- "$option" ||
          fail "ferrox-cli.1 lacks $option" ;;
  esac
done

completion=$root/share/bash-completion/completions/ferrox-cli
[ -f "$completion" ] && bash -n "$completion" || fail "bash completion"
[ -f "$root/share/doc/ferrox/LICENSE" ] || fail "licence"

[ $failed -eq 0 ] && echo "installed tree is complete and valid"
exit $failed
