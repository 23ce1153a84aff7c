#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks what a desktop
# expects: the programs (ferrox-cli's chart painter among them), a valid
# desktop entry and AppStream file, the icon in the hicolor theme, manual
# pages that render, the bash completion.
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
# ferrox-cli paints PNG charts with its painter from libexec and runs the
# commands that talk to a board in its link program there, both found
# relative to itself (that it links no GUI and no serial-port library of its
# own: cli.LoadsNoGuiLibrary).
[ -x "$root/libexec/ferrox/ferrox-chart" ] || fail "libexec/ferrox/ferrox-chart missing"
[ -x "$root/libexec/ferrox/ferrox-cli-link" ] || fail "libexec/ferrox/ferrox-cli-link missing"
charts=$dest/charts
mkdir -p "$charts"
printf '\xA5\xB0\xA5\xB1\x86\x91\xA5\xB2\xFF' >"$charts/poll.dat"
printf '2026-12-06T22:00:51.250000+09:00\n0\t1000\n4\t3500\n6\t9000\n' >"$charts/poll.dat.times"
(cd "$charts" && env -u DISPLAY -u WAYLAND_DISPLAY "$root/bin/ferrox-cli" timeline poll.dat --chart x.png >/dev/null 2>&1) ||
  fail "timeline --chart x.png from the installed tree"
[ "$(head -c 4 "$charts/x.png" 2>/dev/null | od -An -tx1 | tr -d ' ')" = 89504e47 ] || fail "timeline --chart x.png writes no PNG"
# Wireshark's extcap folder links to ferrox-cli, which answers as its extcap.
extcap=$(ls "$root"/lib/*/wireshark/extcap/ferrox-extcap)
[ "$(readlink -f "$extcap")" = "$(readlink -f "$root/bin/ferrox-cli")" ] || fail "the extcap link"
"$extcap" --extcap-interfaces | grep -q '^extcap {version=' || fail "the extcap link's interface list"
[[ $version =~ ^ferrox-cli\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "version line: $version"

desktop=$root/share/applications/io.github.ferrox.Ferrox.desktop
[ -f "$desktop" ] && desktop-file-validate "$desktop" || fail "desktop entry"
grep -qx 'Exec=ferrox %f' "$desktop" || fail "desktop entry Exec"
grep -qx 'StartupWMClass=ferrox' "$desktop" || fail "desktop entry StartupWMClass"

# The file manager offers ferrox for its captures and logs, told by their
# names and a capture by its first stream bytes, never another program's .dat.
grep -qx 'MimeType=application/x-ferrox-capture;text/x-ferrox-log;' "$desktop" || fail "desktop entry MimeType"
mime=$root/share/mime
if [ -f "$mime/packages/io.github.ferrox.Ferrox.xml" ] && update-mime-database "$mime" 2>/dev/null; then
  samples=$dest/samples
  mkdir -p "$samples"
  printf '\xA1\xB2\x83\x94\xFF' >"$samples/line.dat"
  printf '\xA1\xB2\xFF' >"$samples/onebyte.dat"
  printf 'MZ\x90\x00other' >"$samples/other.dat"
  printf '\x00\x01' >"$samples/rs_data.dat"
  printf 'log\r\n' >"$samples/rs_text.rsm"
  type_of() { XDG_DATA_DIRS="$root/share:/usr/share" XDG_DATA_HOME="$dest/none" gio info -a standard::content-type "$samples/$1" |
              sed -n 's/^ *standard::content-type: //p'; }
  for expected in line.dat=application/x-ferrox-capture onebyte.dat=application/x-ferrox-capture \
                  rs_data.dat=application/x-ferrox-capture rs_text.rsm=text/x-ferrox-log; do
    [ "$(type_of "${expected%%=*}")" = "${expected#*=}" ] || fail "file type of ${expected%%=*}: $(type_of "${expected%%=*}")"
  done
  [ "$(type_of other.dat)" != application/x-ferrox-capture ] || fail "another program's .dat is claimed"
else
  fail "file types"
fi

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
  file=$root/share/man/man1/$page.1.gz
  [ -f "$file" ] || { fail "man page $page"; continue; }
  warnings=$(MANWIDTH=80 man -l "$file" 2>&1 >/dev/null) || fail "man -l $page"
  [ -z "$warnings" ] || fail "man $page warns: $warnings"
  MANWIDTH=80 man -l "$file" 2>/dev/null | grep -q "EXIT STATUS" || fail "man $page has no exit status"
done
# Every command and option a program's help names is in its manual page
# and the completion: each ferrox-cli command's (the commands as its usage
# lists them) and ferrox-board's.
man_has() { MANWIDTH=200 man -l "$root/share/man/man1/$1.1.gz" 2>/dev/null | grep -q -- "$2"; }
commands=$("$root/bin/ferrox-cli" help | awk '/^commands:/ { on = 1; next } /^[^ ]/ { on = 0 } on { print $1 }')
[ -n "$commands" ] || fail "ferrox-cli help lists no commands"
for command in $commands; do
  man_has ferrox-cli "^       $command" || fail "ferrox-cli.1 lacks the command $command"
  grep -q "^ *local commands=\".*\b$command\b" "$root/share/bash-completion/completions/ferrox-cli" ||
    fail "the completion lacks the command $command"
  help=$("$root/bin/ferrox-cli" help "$command") || fail "ferrox-cli help $command"
  for option in $(sed -nE 's/^ +(-[a-zA-Z], )?(--?[a-z][a-z0-9-]*).*/\2/p' <<<"$help"); do
    case $option in
      --help|-h) ;;
      *) man_has ferrox-cli "$option" || fail "ferrox-cli.1 lacks $option of $command"
         grep -Eq -- "^ *([a-z|]*\|)?$command(\|[a-z|]*)?\) options=\"(.* )?$option( |\")" \
           "$root/share/bash-completion/completions/ferrox-cli" || fail "the completion lacks $option of $command" ;;
    esac
  done
done
for option in $("$root/bin/ferrox-board" --help | grep -o -- '--[a-z][a-z0-9-]*' | sort -u); do
  man_has ferrox-board "$option" || fail "ferrox-board.1 lacks $option"
done

# The help the window opens with F1, every page, where the installed
# programs look for it.
[ -f "$root/share/ferrox/help/index.html" ] || fail "help index.html"
for page in "$(dirname "$0")"/../../docs/help/*; do
  [ -f "$root/share/ferrox/help/${page##*/}" ] || fail "help page ${page##*/}"
done

completion=$root/share/bash-completion/completions/ferrox-cli
[ -f "$completion" ] && bash -n "$completion" || fail "bash completion"
[ -f "$root/share/doc/ferrox/LICENSE" ] || fail "licence"
[ -f "$root/share/doc/ferrox/copyright" ] || fail "copyright"
gzip -t "$root/share/doc/ferrox/changelog.gz" 2>/dev/null || fail "changelog.gz"

# The window's --version and --help answer without a display.
[[ $(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/bin/ferrox" --version) == "ferrox "* ]] ||
  fail "ferrox --version without a display"

# The Debian package: stripped programs, what it recommends and who keeps
# it; lintian's verdict where lintian is installed.
package_dir=$dest/package
(cd "$build" && cpack -G DEB -B "$package_dir" >/dev/null 2>&1) || fail "cpack -G DEB"
deb=$(ls "$package_dir"/*.deb 2>/dev/null | head -1)
if [ -n "$deb" ]; then
  dpkg-deb -x "$deb" "$package_dir/root"
  for program in bin/ferrox bin/ferrox-cli bin/ferrox-board libexec/ferrox/ferrox-chart libexec/ferrox/ferrox-cli-link; do
    file -b "$package_dir/root/usr/$program" | grep -q ', stripped' || fail "$program is not stripped in the package"
  done
  dpkg-deb -f "$deb" Recommends | grep -q 'bash-completion' || fail "the package does not recommend bash-completion"
  dpkg-deb -f "$deb" Maintainer | grep -q 'localhost' && fail "the maintainer address is at localhost"
  if command -v lintian >/dev/null; then
    lintian --fail-on error "$deb" || fail "lintian finds errors"
  else
    echo "lintian is not installed: the package's lint is not checked"
  fi
fi

# make demo builds the three programs and what installing them needs, no
# tests, and its text names the toolbar buttons by the captions a user sees
# on them.
source=$(cd "$(dirname "$0")/../.." && pwd)
builds=$(make -s -n -C "$source" demo RELEASE_DIR=release | grep -- '--build')
[[ $builds == *"--target ferrox ferrox-cli ferrox-board ferrox_compressed_docs" ]] || fail "make demo builds: $builds"
for key in StartCaption StopCaption; do
  caption=$(sed -nE "s/.*const QString $key = QStringLiteral\(\"(.*)\"\);/\1/p" "$source/src/app/base/texts.h")
  grep -q " $caption " "$source/scripts/demo" || fail "the demo does not name the button $caption"
done

[ $failed -eq 0 ] && echo "installed tree is complete and valid"
exit $failed
