#!/usr/bin/env bash
# Runs the cardemu executable: port on the first line, control mode, scenario check, SIGTERM.
set -euo pipefail
cardemu="$1"
scenarios="$2"
work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT

"$cardemu" --check "$scenarios/default.scn"
printf 'seed 1\nmaster 0200 domain=1\n' > "$work/bad.scn"
if "$cardemu" --check "$work/bad.scn" 2> "$work/err"; then exit 1; fi
grep -q "line 2: '0200' is not a node address" "$work/err"

"$cardemu" --scenario "$scenarios/default.scn" --port 0 > "$work/out" 2> "$work/log" &
pid=$!
for _ in $(seq 50); do [ -s "$work/out" ] && break; sleep 0.1; done
port=$(head -1 "$work/out")
[[ "$port" =~ ^[0-9]+$ ]]
"$cardemu" --control "127.0.0.1:$port" -e "state" -e "fault busy status=-5" -e "counters" > "$work/answers"
grep -q "master-name=\"Lobby\"" "$work/answers"
grep -q "pending-faults=1" "$work/answers"
if "$cardemu" --control "127.0.0.1:$port" "no-such-command" > /dev/null; then exit 1; fi
"$cardemu" --control "127.0.0.1:$port" silence 00a0d4010001 | grep -qx OK

kill -TERM "$pid"
wait "$pid"  # a clean stop exits with 0
grep -q "cardemu: stopped" "$work/log"
echo "cardemu smoke test passed"
