#!/usr/bin/env bash
# The Windows check: compiles, syntax only, exactly the sources a Windows build compiles, with
# Debian's mingw-w64 cross compiler against Qt's own headers (Debian's qt6 packages), and fails
# on any error or warning.
#   scripts/check-windows.sh [SOURCE...]    SOURCE: a path from the repository root; only those
#                                           sources, each of which must be in the Windows build
#
# The sources and each one's flags come from the build itself: CMake configures the tree for
# Windows (so WIN32 holds and UNIX does not) in build-windows/, with the definitions the real
# build gives (TOLVAN_VERSION and the rest) plus those Qt for Windows gives every program
# (UNICODE, WIN32, ...), and every source of its compile_commands.json outside the build folder
# is compiled with -fsyntax-only -Werror. A new source in any CMakeLists is checked without
# further ado. Generated code (moc, rcc) is left out.
#
# This checks that the Windows branches (device-change filter, COM port names, drive C, system
# menu, launcher lock, ...) compile against Windows headers. It says nothing about how they
# behave: only a real Windows build, run on Windows, shows that. Qt's headers here are those of
# a Linux Qt (the same API, Linux's configuration).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build-windows

bash scripts/install-deps.sh

multiarch=$(gcc -print-multiarch 2>/dev/null || true)
rm -rf "$build"
mkdir -p "$build"
if ! cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/scripts/windows/mingw-w64.cmake" \
  -DCMAKE_PROJECT_INCLUDE="$root/scripts/windows/linux-qt-headers.cmake" \
  -DQt6_DIR="/usr/lib/${multiarch:-x86_64-linux-gnu}/cmake/Qt6" \
  -DTOLVAN_TESTS=OFF >"$build/configure.log" 2>&1; then
  cat "$build/configure.log"
  echo "check-windows: configuring the tree for Windows failed" >&2
  exit 1
fi

only=$(IFS=';'; echo "$*")
if ! count=$(cmake -DSOURCE_DIR="$root" -DBUILD_DIR="$build" -DONLY="$only" \
  -P scripts/windows/syntax-ninja.cmake 2>&1); then
  echo "check-windows: $count" >&2
  exit 1
fi

echo "check-windows: $count sources of the Windows build, syntax only (mingw-w64)"
if ! ninja -C "$build" -f syntax.ninja -k 0 -j "$(nproc)"; then
  echo "check-windows: the Windows build does not compile (see above)" >&2
  exit 1
fi
echo "check-windows: all $count compile"
