#!/usr/bin/env bash
# Parallel writers of one set and of one handset's backups, run by hand (not a test: it starts 8
# virtual handsets and 16 tolvan-cli runs and counts what they leave).
#   bench/parallel-sets.sh [BUILD-DIR] [N]      (defaults: build, 8)
#
# 1. N tolvan-cli --memo W<i> save BASE, each against its own tolvan-sim --no-pacing, all to one
#    BASE: the final set must be wholly one writer's (its memo in all three files) with nothing
#    staged, kept, recorded or locked beside it.
# 2. N tolvan-cli --memo W<i> settings write FILE at once (FILE from a settings read), with one
#    TOLVAN_BACKUP_DIR: every handset has the same PS-ID, so all N backups go to one folder and
#    must be N distinct, complete sets, one per memo.
set -uo pipefail
build=${1:-build}
n=${2:-8}
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

ports=()
for i in $(seq 1 "$n"); do
  "$sim" --no-pacing >"$work/sim$i.out" 2>"$work/sim$i.err" &
  sims+=($!)
done
for i in $(seq 1 "$n"); do
  for _ in $(seq 1 100); do
    [ -s "$work/sim$i.out" ] && break
    sleep 0.05
  done
  ports+=("$(head -n1 "$work/sim$i.out")")
done

# The memo W<i> as it stands in a file's bytes; one line a distinct memo.
memos() { grep -ao 'W[0-9]\+' "$@" | sed 's/.*://' | sort -u; }

echo "== $n parallel saves of one BASE"
mkdir -p "$work/sets"
pids=()
for i in $(seq 1 "$n"); do
  "$cli" --port "${ports[$((i - 1))]}" --memo "W$i" save "$work/sets/BASE" >"$work/save$i.out" 2>"$work/save$i.err" &
  pids+=($!)
done
ok=0
for pid in "${pids[@]}"; do wait "$pid" && ok=$((ok + 1)); done
files=$(cd "$work/sets" && ls -A | tr '\n' ' ')
writers=$(memos "$work"/sets/BASE.jv1 "$work"/sets/BASE.jv3 "$work"/sets/BASE.jv4 | tr '\n' ' ')
per_file=$(for f in jv1 jv3 jv4; do memos "$work/sets/BASE.$f"; done | sort -u | wc -l)
echo "saves that succeeded: $ok of $n"
echo "files left: $files"
echo "memos in the final set: $writers(one writer: $([ "$per_file" = 1 ] && echo yes || echo NO))"
grep -h . "$work"/save*.err | sort | uniq -c | sed 's/^/  stderr: /'

echo "== $n parallel writes that back up one PS-ID"
"$cli" --port "${ports[0]}" settings read "$work/settings.jv4" >/dev/null 2>&1 || { echo "settings read failed" >&2; exit 1; }
export TOLVAN_BACKUP_DIR=$work/backups
pids=()
for i in $(seq 1 "$n"); do
  "$cli" --port "${ports[$((i - 1))]}" --memo "W$i" settings write "$work/settings.jv4" >"$work/write$i.out" 2>"$work/write$i.err" &
  pids+=($!)
done
ok=0
for pid in "${pids[@]}"; do wait "$pid" && ok=$((ok + 1)); done
folders=$(find "$work/backups" -mindepth 2 -maxdepth 2 -type d | wc -l)
bases=$(find "$work/backups" -type f -name '*.jv*' | sed 's/\.jv[0-9]$//' | sort -u)
sets=$(echo "$bases" | grep -c .)
complete=0
mixed=0
for b in $bases; do
  exts=$(ls "$b".jv* | sed 's/.*\.//' | tr '\n' ' ')
  [ "$exts" = "$(ls "$(echo "$bases" | head -n1)".jv* | sed 's/.*\.//' | tr '\n' ' ')" ] && complete=$((complete + 1))
  [ "$(memos "$b".jv* | wc -l)" = 1 ] || mixed=$((mixed + 1))
done
distinct=$(for b in $bases; do memos "$b".jv*; done | sort -u | wc -l)
stray=$(find "$work/backups" -type f ! -name '*.jv[0-9]' | wc -l)
echo "writes that succeeded: $ok of $n; PS-ID folders: $folders"
echo "backup sets: $sets, complete: $complete, mixed: $mixed, distinct memos: $distinct, stray files: $stray"
find "$work/backups" -type f | sed "s|$work/backups/||" | sort | sed 's/^/  /'
