#!/usr/bin/env bash
# The systemd unit for unattended captures.
#   service_test.sh verify UNIT            systemd-analyze verify passes on it, saying nothing
#   service_test.sh run UNIT CLI BOARD CONF  its ExecStart line, the example conf's values
#       (device and folder set to the test's), runs ferrox-cli against ferrox-board;
#       SIGTERM, as systemctl stop sends, ends it 0 with the board stopped and the file written
# Exit 77: skipped (no systemd-analyze, or no pseudo-terminal).
set -euo pipefail
what=$1 unit=$2

if [ "$what" = verify ]; then
  command -v systemd-analyze >/dev/null || { echo "no systemd-analyze here"; exit 77; }
  said=$(systemd-analyze verify --man=no "$unit" 2>&1) || { echo "$said"; exit 1; }
  [ -z "$said" ] || { echo "systemd-analyze verify: $said"; exit 1; }
  exit 0
fi

cli=$3 board=$4 conf=$5
dir=$(mktemp -d)
pids=()
cleanup() { for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done; rm -rf "$dir"; }
trap cleanup EXIT

"$board" --link "$dir/ttyUSB0" --traffic demo --loop --rate 4000 >"$dir/board.out" 2>"$dir/board.err" &
pids+=($!)
for _ in $(seq 50); do [ -s "$dir/board.out" ] && break; sleep 0.1; done
if [ ! -s "$dir/board.out" ]; then
  grep -q pseudo-terminal "$dir/board.err" && { echo "no pseudo-terminal here"; exit 77; }
  cat "$dir/board.err"; exit 1
fi

# The conf as an admin would write it from the example.
sed -e "s|^DEVICE=.*|DEVICE=$dir/ttyUSB0|" -e 's|^FILE_BYTES=.*|FILE_BYTES=4000|' "$conf" >"$dir/capture-line1.conf"
# ExecStart as systemd runs it for ferrox-capture@line1: %i, %% and $$
# filled in, the built ferrox-cli in place of the one on the service's PATH.
line=$(sed -n 's/^ExecStart=//p' "$unit")
line=${line//%i/line1}
line=${line//%%/%}
line=${line//\$\$/\$}
line=${line/exec ferrox-cli /exec $cli }
eval "set -- $line"
mkdir "$dir/state"
# EnvironmentFile= and StateDirectory= give the service its environment; no terminal.
env -i PATH=/usr/bin:/bin STATE_DIRECTORY="$dir/state" \
  bash -c 'set -a; . "$0"; set +a; exec "$@"' "$dir/capture-line1.conf" "$@" </dev/null >"$dir/out" 2>"$dir/err" &
service=$!
pids+=($service)
for _ in $(seq 50); do grep -q 'モニター開始' "$dir/err" 2>/dev/null && break; sleep 0.1; done
sleep 1.5
kill -TERM "$service"
status=0
wait "$service" || status=$?
fail() { echo "FAIL: $*"; echo "--- its standard error:"; cat "$dir/err"; exit 1; }
[ "$status" = 0 ] || fail "ended $status"
grep -q 'モニター開始 ... モニター停止。' "$dir/err" || fail "the board was not stopped in order"
! grep -q $'\r' "$dir/err" || fail "a progress count went to the journal"
ls "$dir"/state/line1-*-00001.dat >/dev/null 2>&1 || fail "no file in the state folder: $(ls "$dir/state")"
[ ! -s "$dir/out" ] || fail "standard output carries something"
echo ok
