#!/usr/bin/env bash
# Runs clang-tidy (the checks of .clang-tidy) over the project's own sources, using the compile
# commands of a configured build (default build/). Fails when it finds anything.
set -uo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
if [ ! -f "$build_dir/compile_commands.json" ]; then
  echo "tidy: no $build_dir/compile_commands.json; configure a build first" >&2
  exit 2
fi
root=$(pwd)
log=$(mktemp)
trap 'rm -f "$log"' EXIT
run-clang-tidy -p "$build_dir" -j "$(nproc)" -quiet \
  "^$root/(common|link|handset|runner|modes|flows|shell|app|sim|cli|launcher)/" >"$log" 2>&1
findings=$(grep -E "^$root/[^ ]+:[0-9]+:[0-9]+: (warning|error):" "$log" | sort -u)
if [ -n "$findings" ]; then
  echo "$findings"
  echo "tidy: $(echo "$findings" | wc -l) finding(s)" >&2
  exit 1
fi
echo "tidy: no findings"
