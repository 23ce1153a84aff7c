#!/usr/bin/env bash
# The README's install steps follow `make demo`: a build of only what
# `make programs` builds must install. The compressed manual pages and
# changelog are removed first, then rebuilt by those targets alone.
# usage: demo_build_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source_dir=$1
build=$2
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT

targets=$(make -s --no-print-directory -C "$source_dir" print-install-targets)
cmake --build "$build" --target ferrox_compressed_docs >/dev/null # known state first
ninja -C "$build" -t clean ferrox_compressed_docs >/dev/null
# The programs are built already (and a tree under edit is not rebuilt
# here); what else the targets name must bring back what installing needs.
others=()
for target in $targets; do
  case $target in ferrox|ferrox-cli|ferrox-board) ;; *) others+=("$target") ;; esac
done
[ ${#others[@]} -eq 0 ] || cmake --build "$build" --target "${others[@]}" >/dev/null
if ! DESTDIR="$dest" cmake --install "$build" --prefix /usr >"$dest.log" 2>&1; then
  cat "$dest.log"
  rm -f "$dest.log"
  echo "FAIL: cmake --install after building only: $targets"
  exit 1
fi
rm -f "$dest.log"
echo "installed after building only: $targets"
