#!/usr/bin/env bash
# scripts/check-windows.sh on a copy of the tree: it passes on the tree as it is, and fails on a
# broken Windows branch, on a warning in one, and on a new source that a CMakeLists names; a
# source that only Linux compiles is not in its list.
set -euo pipefail
cd "$(dirname "$0")/../.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
git ls-files -z --cached --others --exclude-standard | xargs -0 cp --parents -t "$work"
tree=$work
failures=0

expect() { # expect pass|fail WHAT [SOURCE...]
  local want=$1 what=$2
  shift 2
  local status=0
  bash "$tree/scripts/check-windows.sh" "$@" >"$work/out.txt" 2>&1 || status=$?
  if { [ "$want" = pass ] && [ "$status" -eq 0 ]; } || { [ "$want" = fail ] && [ "$status" -ne 0 ]; }; then
    echo "ok: $what"
  else
    echo "FAILED: $what (expected $want, exit status $status)"
    cat "$work/out.txt"
    failures=$((failures + 1))
  fi
}
mentions() { # mentions TEXT WHAT
  if grep -qF -- "$1" "$work/out.txt"; then
    echo "ok: $2"
  else
    echo "FAILED: $2"
    cat "$work/out.txt"
    failures=$((failures + 1))
  fi
}

expect pass "the Windows branches of the port finder and the system menu compile" \
  link/portfinder.cpp app/systemmenu_win.cpp
expect fail "a source only Linux compiles is not in the Windows list" link/udevevents_linux.cpp
mentions "link/udevevents_linux.cpp is not compiled by a Windows build" "and the check names it"

# An error in the Windows branch of the port finder (the COM port path).
cp link/portfinder.cpp "$work/portfinder.cpp"
sed -i 's|return QStringLiteral("\\\\\\\\.\\\\") + portName;|return QStringLiteral("\\\\\\\\.\\\\") + portNam;|' \
  "$tree/link/portfinder.cpp"
if cmp -s link/portfinder.cpp "$tree/link/portfinder.cpp"; then
  echo "FAILED: the Windows branch of link/portfinder.cpp was not found to break"
  failures=$((failures + 1))
fi
expect fail "an error in a Windows branch fails the check" link/portfinder.cpp
mentions "portNam" "and the check shows the error"
cp "$work/portfinder.cpp" "$tree/link/portfinder.cpp"

# A warning only: an unused variable in the Windows-only system menu.
printf '\nstatic void unusedOnWindows() { int unused = 0; }\n' >>"$tree/app/systemmenu_win.cpp"
expect fail "a warning in a Windows-only source fails the check" app/systemmenu_win.cpp
mentions "[-Werror=unused-variable]" "as the warning it is"

# A new source, named in a CMakeLists and nowhere else, is checked as well.
printf '#include <QString>\n#ifdef Q_OS_WIN\nQString newWindowsThing() { return undeclaredName; }\n#endif\n' \
  >"$tree/link/newsource.cpp"
sed -i 's|  linksession.cpp linksession.h|  linksession.cpp linksession.h\n  newsource.cpp|' "$tree/link/CMakeLists.txt"
expect fail "a new source in a CMakeLists is checked" link/newsource.cpp
mentions "undeclaredName" "and its error shows"

if [ "$failures" -ne 0 ]; then
  echo "check-windows test: $failures failed"
  exit 1
fi
echo "check-windows test: all passed"
