#!/usr/bin/env bash
# Installs what is missing, builds, and starts Tolvan against the virtual handset.
#   scripts/demo.sh [ZX-VA100|ZX-VA150|ZX-VA150(C)]     (default ZX-VA150)
# Without a display it runs under xvfb-run.
set -euo pipefail
cd "$(dirname "$0")/.."

model="${1:-ZX-VA150}"
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --parallel "$(nproc)" --target Tolvan

# Logs of the demo stay out of the home folder unless TOLVAN_LOG_ROOT says otherwise.
export TOLVAN_LOG_ROOT="${TOLVAN_LOG_ROOT:-$PWD/build/demo-logs}"
mkdir -p "$TOLVAN_LOG_ROOT"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != "offscreen" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" build/app/Tolvan --simulate "$model"
fi
exec build/app/Tolvan --simulate "$model"
