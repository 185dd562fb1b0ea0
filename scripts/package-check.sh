#!/usr/bin/env bash
# Builds the Debian package in build/, installs it with apt as a user would, runs the installed
# tolvan-cli against the installed tolvan-sim, checks what the system got (udev rule, desktop
# entries, manual pages, completion) and removes the package again. Needs root (or sudo), and a
# machine where the package is not installed yet.
set -euo pipefail
cd "$(dirname "$0")/.."

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
if dpkg-query -W -f='${Status}' tolvan 2>/dev/null | grep -q 'install ok installed'; then
  echo "package-check: tolvan is installed on this machine; remove it first" >&2
  exit 2
fi

bash scripts/install-deps.sh
cmake_args=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo)
if command -v ccache >/dev/null 2>&1; then
  cmake_args+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
started=$(date +%s)
cmake -S . -B build "${cmake_args[@]}" >/dev/null
rm -f build/tolvan_*.deb
cmake --build build --parallel "$(nproc)" --target package
deb=$(echo build/tolvan_*.deb)
[ -f "$deb" ] || { echo "package-check: no package in build/" >&2; exit 1; }
echo "package-check: $deb, $(du -k "$deb" | cut -f1) KiB"

work=$(mktemp -d)
sim_pid=''
cleanup() {
  if [ -n "$sim_pid" ]; then
    kill "$sim_pid" 2>/dev/null || true
  fi
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get purge -y -qq tolvan >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "package-check: $*" >&2
  exit 1
}

DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "$PWD/$deb"

# The programs on PATH, with every library they need.
for program in tolvan-cli tolvan-sim Tolvan Vantor; do
  [ "$(command -v "$program")" = "/usr/bin/$program" ] || fail "$program is not on PATH"
  if ldd "$(readlink -f "/usr/bin/$program")" | grep -q 'not found'; then
    fail "$program misses a library: $(ldd "$(readlink -f "/usr/bin/$program")" | grep 'not found')"
  fi
done

# The installed command line against the installed virtual handset; nothing waits without end.
export TOLVAN_LOG_ROOT="$work" TOLVAN_BACKUP_DIR="$work/backups"
timeout 120 tolvan-sim --model ZX-VA100 --no-pacing >"$work/sim.out" 2>&1 &
sim_pid=$!
for _ in $(seq 100); do
  [ -s "$work/sim.out" ] && break
  sleep 0.1
done
device=$(head -n 1 "$work/sim.out")
[ -c "$device" ] || fail "tolvan-sim did not print its device: $(cat "$work/sim.out")"
model=$(timeout 30 tolvan-cli --port "$device" identify) || fail "tolvan-cli identify failed"
[ "$model" = ZX-VA100 ] || fail "tolvan-cli identify printed '$model'"
timeout 60 tolvan-cli --port "$device" params read "$work/handset.jv1" || fail "tolvan-cli params read failed"
timeout 60 tolvan-cli print "$work/handset.jv1" --pdf "$work/handset.pdf" || fail "tolvan-cli print failed"
[ "$(head -c 4 "$work/handset.pdf")" = "%PDF" ] || fail "tolvan-cli print wrote no PDF"
kill "$sim_pid"
wait "$sim_pid" || fail "tolvan-sim did not end cleanly on SIGTERM"
sim_pid=''

echo "package-check: tolvan-cli identify says $model, params read and print work"

# Tolvan without a display: its usage for an unknown option, and the demo still running after a
# few seconds (ended by the time-out, status 124).
status=0
QT_QPA_PLATFORM=offscreen timeout 30 Tolvan --no-such-option 2>"$work/tolvan.err" || status=$?
if [ "$status" -ne 2 ] || ! grep -q '^usage: Tolvan' "$work/tolvan.err"; then
  fail "Tolvan did not start ($status)"
fi
status=0
QT_QPA_PLATFORM=offscreen timeout 3 Tolvan --simulate ZX-VA150 >"$work/demo.log" 2>&1 || status=$?
[ "$status" -eq 124 ] || fail "Tolvan --simulate ended with $status: $(cat "$work/demo.log")"

# What the system gets besides the programs.
grep -q 'TAG+="uaccess"' /usr/lib/udev/rules.d/70-tolvan-handset.rules || fail "udev rule missing"
for entry in tolvan vantor; do
  desktop=/usr/share/applications/$entry.desktop
  [ -f "$desktop" ] || fail "$desktop missing"
  exec_path=$(sed -n 's/^Exec=//p' "$desktop")
  [ -x "$exec_path" ] || fail "$desktop starts '$exec_path', which is not there"
  grep -qx "Icon=$entry" "$desktop" || fail "$desktop has no icon $entry"
  [ -f "/usr/share/icons/hicolor/48x48/apps/$entry.png" ] || fail "icon $entry missing"
  if command -v desktop-file-validate >/dev/null 2>&1; then
    desktop-file-validate "$desktop" || fail "$desktop is not valid"
  fi
done
for page in tolvan-cli tolvan-sim Tolvan Vantor; do
  [ -f "/usr/share/man/man1/$page.1.gz" ] || fail "manual page $page(1) missing"
done
bash -c 'source /usr/share/bash-completion/completions/tolvan-cli && complete -p tolvan-cli' >/dev/null ||
  fail "completion does not load"

DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get purge -y -qq tolvan >/dev/null
for gone in /usr/bin/tolvan-cli /usr/bin/Vantor /usr/lib/tolvan /usr/lib/udev/rules.d/70-tolvan-handset.rules; do
  if [ -e "$gone" ] || [ -L "$gone" ]; then
    fail "$gone is still there after purge"
  fi
done
echo "package-check: installed, ran and removed in $(($(date +%s) - started)) s"
