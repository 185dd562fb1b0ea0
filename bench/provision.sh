#!/usr/bin/env bash
# The provisioning run against tolvan-sim --sequence, run by hand (not a test: it takes minutes).
#   bench/provision.sh [--part N]... [BUILD-DIR]      (--part: only those parts; all by default)
#
# 1. Per handset at 9600 baud (paced sim): the wall time of each handset's dialogue (first frame
#    to the last ACK, from the simulator's transcript) against the time its bytes need on the
#    line (11 bits a byte both ways) plus the close pauses inside it, without and with the
#    handset's 10 ms before each reply, and where the time went (bench/dialogue-breakdown.py).
# 2. Handsets per minute, 8 rows on 1 port against the same 8 rows on 4 ports (2 each).
# 3. 20 handsets with a flaky cable (10 % of frames get no reaction or a broken answer): every
#    row passed (its saved set holds its PS-ID) or failed with a cause; no row begun without an end.
# 4. A run of 6 killed (SIGKILL) in the middle and started again: the same final table as a run
#    that was never killed.
set -uo pipefail
parts=
while [ $# -gt 0 ] && [ "$1" = --part ]; do
  parts+=" $2"
  shift 2
done
parts=${parts:- 1 2 3 4}
build=${1:-build}
wanted() { [[ " $parts " == *" $1 "* ]]; }
cli=$build/cli/tolvan-cli
sim=$build/sim/tolvan-sim
[ -x "$cli" ] && [ -x "$sim" ] || { echo "build tolvan-cli and tolvan-sim in $build first" >&2; exit 2; }
work=$(mktemp -d)
sims=()
cleanup() {
  for pid in "${sims[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
export TOLVAN_BACKUP_DIR=$work/backups

# startsim NAME ARGS...: a simulator in the background; its device in $dev.
startsim() {
  local name=$1
  shift
  "$sim" "$@" >"$work/$name.out" 2>"$work/$name.err" &
  sims+=($!)
  for _ in $(seq 50); do
    dev=$(head -n 1 "$work/$name.out" 2>/dev/null)
    [ -n "$dev" ] && return
    sleep 0.1
  done
  echo "tolvan-sim did not start" >&2
  exit 1
}
stopsims() {
  for pid in "${sims[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  sims=()
}
# plan FILE FIRST COUNT: rows of PS-IDs 1000000FIRST.. and PS numbers 201..
plan() {
  { echo "PS-ID,PS番号"; for i in $(seq 0 $(($3 - 1))); do printf '%09d,%03d\n' $((100000000 + $2 + i)) $((201 + $2 + i)); done; } >"$1"
}
# sequence FIRST COUNT: factory PS-IDs for the simulator
sequence() {
  local list=
  for i in $(seq 0 $(($2 - 1))); do list+="${list:+,}$((234560000 + $1 + i))"; done
  echo "$list"
}

startsim tmpl --no-pacing
"$cli" --port "$dev" --no-backup save "$work/standard" || exit 1
stopsims

wanted 1 && {
echo "== 1. per handset against the wire time (paced, 3 handsets)"
plan "$work/p1.csv" 0 3
startsim s1 --record "$work/s1.txt" --sequence "$(sequence 0 3)" --swap-ms 500
"$cli" --port "$dev" provision "$work/p1.csv" --template "$work/standard.jv1" --out "$work/r1" >"$work/r1.out"
echo "exit $?"; cat "$work/r1.out"
stopsims
python3 "$(dirname "$0")/dialogue-breakdown.py" "$work/s1.txt"
}

wanted 2 && {
echo "== 2. 8 rows on 1 port against 4 ports (paced)"
plan "$work/p2.csv" 10 8
startsim s2 --sequence "$(sequence 100 8)" --swap-ms 500
t0=$(date +%s.%N)
"$cli" --port "$dev" provision "$work/p2.csv" --template "$work/standard.jv1" --out "$work/r2" >"$work/r2.out"
s1=$(echo "$(date +%s.%N) - $t0" | bc)
echo "exit $?; 1 port: $(grep -c 成功 "$work/r2.out") passed in $s1 s"
stopsims
args=()
for k in 0 1 2 3; do
  startsim s3$k --sequence "$(sequence $((200 + 10 * k)) 2)" --swap-ms 500
  args+=(--port "$dev")
done
t0=$(date +%s.%N)
"$cli" provision "$work/p2.csv" --template "$work/standard.jv1" --out "$work/r3" "${args[@]}" >"$work/r3.out"
s4=$(echo "$(date +%s.%N) - $t0" | bc)
echo "exit $?; 4 ports: $(grep -c 成功 "$work/r3.out") passed in $s4 s"
stopsims
echo "  handsets per minute: 1 port $(echo "scale=2; 8 * 60 / $s1" | bc), 4 ports $(echo "scale=2; 8 * 60 / $s4" | bc), ratio $(echo "scale=2; $s1 / $s4" | bc)"
}

wanted 3 && {
echo "== 3. 20 handsets, 10 % of frames lost or broken (no pacing)"
plan "$work/p4.csv" 30 20
startsim s4 --no-pacing --sequence "$(sequence 300 26)" --swap-ms 300 --fault silence,count=0,percent=5 \
  --fault bad-check,count=0,percent=5 --seed 7
"$cli" --port "$dev" provision "$work/p4.csv" --template "$work/standard.jv1" --out "$work/r4" >"$work/r4.out" 2>"$work/r4.err"
echo "exit $?"
stopsims
python3 - "$work/r4" <<'PY'
import json, sys, os, csv, io
d = sys.argv[1]
rows = list(csv.reader(io.StringIO(open(os.path.join(d, "summary.csv"), encoding="cp932").read())))[1:]
entries = [json.loads(l) for l in open(os.path.join(d, "provision.jsonl")) if l.strip()]
bad = 0
for r in rows:
    row, psn, psid, model, result, cause = r[0], r[1], r[2], r[3], r[4], r[5]
    if result == "成功":
        jv4 = open(os.path.join(d, f"{psn}_{psid}.jv4"), encoding="cp932").read().splitlines()
        held = "".join(f.strip('"') for f in jv4[2].split(",")[1:])
        if held != psid:
            bad += 1; print("  row", row, "passed but its set holds", held)
    elif result == "失敗":
        if not cause:
            bad += 1; print("  row", row, "failed without a cause")
    else:
        print("  row", row, "not run (the handsets ran out)")
# every row a write began on has an end
for n in {e["row"] for e in entries if e["step"] == "write"}:
    last = [e for e in entries if e["row"] == n][-1]
    if not (last["step"] == "done" or last["result"] == "failed"):
        bad += 1; print("  row", n, "written without an end")
print("  %d passed, %d failed, %d not run; %d problems" % (
    sum(r[4] == "成功" for r in rows), sum(r[4] == "失敗" for r in rows),
    sum(r[4] == "未実施" for r in rows), bad))
for r in rows:
    if r[4] == "失敗":
        print("   row", r[0], r[5])
PY
}

wanted 4 && {
echo "== 4. killed in the middle and started again (no pacing)"
plan "$work/p5.csv" 60 6
startsim s5 --no-pacing --sequence "$(sequence 600 6)" --swap-ms 300
"$cli" --port "$dev" provision "$work/p5.csv" --template "$work/standard.jv1" --out "$work/r5" >/dev/null 2>&1
stopsims
startsim s6 --no-pacing --sequence "$(sequence 600 7)" --swap-ms 300
"$cli" --port "$dev" provision "$work/p5.csv" --template "$work/standard.jv1" --out "$work/r6" >/dev/null 2>&1 &
runner=$!
sleep 9
kill -9 $runner
wait $runner 2>/dev/null
echo "  killed after 9 s with $(grep -c '"step":"done"' "$work/r6/provision.jsonl") rows done, last step: $(tail -n 1 "$work/r6/provision.jsonl" | grep -o '"step":"[a-z]*"')"
"$cli" --port "$dev" provision "$work/p5.csv" --template "$work/standard.jv1" --out "$work/r6" >"$work/r6.out" 2>&1
echo "  resumed: exit $?"
stopsims
if diff <(cut -d, -f1-6 "$work/r5/summary.csv") <(cut -d, -f1-6 "$work/r6/summary.csv") >/dev/null; then
  echo "  the same final table"
else
  echo "  TABLES DIFFER"; iconv -f cp932 -t utf-8 "$work/r6/summary.csv"
fi
}
