#!/usr/bin/env bash
# Remote capture through Wireshark's own ssh capture: tshark -i sshdump runs
# `ferrox-cli capture --format pcap -o - --quiet` over ssh against
# ferrox-board; its records carry what a capture on the same machine gets.
# An sshd of the test's own listens on 127.0.0.1 with keys made here; no
# system configuration is read or changed.
# usage: sshdump_test.sh CLI BOARD        exit 77: skipped (tools missing)
set -euo pipefail
cli=$1 board=$2
sshdump=/usr/lib/x86_64-linux-gnu/wireshark/extcap/sshdump
sshd=$(command -v sshd || echo /usr/sbin/sshd)
skip() { echo "skipped: $*"; exit 77; }
[ -x "$sshd" ] || skip "no sshd (apt-get install openssh-server)"
[ -x "$sshdump" ] || skip "no sshdump (apt-get install wireshark-common)"
command -v tshark >/dev/null || skip "no tshark (apt-get install tshark)"
command -v ssh-keygen >/dev/null || skip "no ssh-keygen"
command -v python3 >/dev/null || skip "no python3 to find a free port"
# sshd started by root wants its privilege separation folder, which the
# package's service makes at boot; elsewhere there is none to make.
if [ "$(id -u)" = 0 ] && [ ! -d /run/sshd ]; then
  mkdir -p /run/sshd 2>/dev/null || skip "no /run/sshd for sshd"
fi

dir=$(mktemp -d)
pids=()
cleanup() { for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done; rm -rf "$dir"; }
trap cleanup EXIT
fail() { echo "FAIL: $*"; for f in "$dir"/*.log; do echo "--- $f"; cat "$f"; done; exit 1; }

ssh-keygen -q -t ed25519 -N '' -f "$dir/host_key"
ssh-keygen -q -t ed25519 -N '' -f "$dir/user_key"
cp "$dir/user_key.pub" "$dir/authorized_keys"
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
"$sshd" -D -e -f /dev/null -p "$port" -o ListenAddress=127.0.0.1 -h "$dir/host_key" \
  -o AuthorizedKeysFile="$dir/authorized_keys" -o StrictModes=no -o UsePAM=no -o PidFile=none \
  -o PasswordAuthentication=no -o KbdInteractiveAuthentication=no >"$dir/sshd.log" 2>&1 &
pids+=($!)
"$board" --link "$dir/ttyUSB0" --traffic demo --loop --rate 4000 >"$dir/board.out" 2>"$dir/board.log" &
pids+=($!)
for _ in $(seq 50); do
  grep -q 'Server listening' "$dir/sshd.log" && [ -s "$dir/board.out" ] && break
  sleep 0.1
done
grep -q 'Server listening' "$dir/sshd.log" || fail "sshd did not start"
if [ ! -s "$dir/board.out" ]; then
  grep -q pseudo-terminal "$dir/board.log" && skip "no pseudo-terminal here"
  fail "ferrox-board did not start"
fi

remote="$cli capture --device $dir/ttyUSB0 --format pcap -o - --quiet --seconds 2"
(cd "$dir" && tshark -i sshdump -a duration:20 -w "$dir/remote.pcap" \
  -o extcap.sshdump.remotehost:127.0.0.1 -o "extcap.sshdump.remoteport:$port" \
  -o "extcap.sshdump.remoteusername:$(id -un)" -o "extcap.sshdump.sshkey:$dir/user_key" \
  -o extcap.sshdump.remotecapturecommandselect:other -o "extcap.sshdump.remotecapturecommand:$remote") \
  >"$dir/tshark.log" 2>&1 || fail "tshark -i sshdump ended $?"
! grep -q 'Error by extcap pipe' "$dir/tshark.log" || fail "the remote capture wrote to standard error"
"$cli" capture --device "$dir/ttyUSB0" --format pcap -o - --quiet --seconds 3 >"$dir/local.pcap" 2>"$dir/local.log" ||
  fail "the local capture ended $?"

# Each record's sender and bytes, one a line; the records may be cut apart
# differently (their idle gaps), so the bytes are compared in order.
bytes() { tshark -r "$1" -T fields -e data.data 2>/dev/null | tr -d ':\n'; }
records=$(tshark -r "$dir/remote.pcap" 2>/dev/null | wc -l)
[ "$records" -ge 10 ] || fail "only $records records came through sshdump"
remote_bytes=$(bytes "$dir/remote.pcap")
local_bytes=$(bytes "$dir/local.pcap")
[ "${#remote_bytes}" -ge 2000 ] || fail "only ${#remote_bytes} hex digits came through sshdump"
[ "${local_bytes:0:${#remote_bytes}}" = "$remote_bytes" ] || fail "the records differ from a local capture's"
echo "ok: $records records"
