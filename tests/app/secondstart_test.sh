#!/usr/bin/env bash
# A second start of the window program says which running window came
# forward (its process and display) and ends with status 0.
# usage: secondstart_test.sh FERROX
set -euo pipefail
ferrox=$1
work=$(mktemp -d)
export XDG_RUNTIME_DIR=$work/runtime FERROX_HOME=$work/home XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=offscreen
mkdir -m 700 "$XDG_RUNTIME_DIR"
DISPLAY=:41 "$ferrox" 2>/dev/null &
first=$!
trap 'kill $first 2>/dev/null; wait $first 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/ferrox.socket" ] && break; sleep 0.1; done
said=$(DISPLAY=:42 "$ferrox" 2>&1 >/dev/null) || { echo "FAIL: the second start ended with $?"; exit 1; }
echo "$said"
[[ $said == *"PID $first"*":41"* ]] || { echo "FAIL: the second start does not name window $first on :41"; exit 1; }
