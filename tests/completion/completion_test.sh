#!/usr/bin/env bash
# Asks the tolvan-cli completion what it offers, as bash asks it on Tab, and checks that every
# command of tolvan-cli --help can be completed.
#   completion_test.sh COMPLETION-FILE TOLVAN-CLI
set -uo pipefail
# shellcheck source=/dev/null
source "$1"
cli=$2
failures=0

# The words of the line; the last one is the word being completed.
offered() {
  COMP_WORDS=("$@")
  COMP_CWORD=$(($# - 1))
  COMPREPLY=()
  _tolvan_cli
  printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort -u | tr '\n' ' ' | sed 's/ $//'
}

expect() { # what is offered, then the words
  local want=$1
  shift
  local got
  got=$(offered "$@")
  if [ "$got" != "$want" ]; then
    echo "FAIL: '$*' offers '$got', expected '$want'"
    failures=$((failures + 1))
  fi
}

# Commands after the global options, their words, kinds and option values.
expect 'params' tolvan-cli --port /dev/pts/3 --memo x par
expect 'read write' tolvan-cli settings ''
expect 'clear read' tolvan-cli --trace logs ''
expect '1 2 3 4 5 6 all' tolvan-cli logs clear ''
expect 'burst-receive burst-transmit-pn9 burst-transmit-zero buttons' tolvan-cli test bu
expect 'amp-burst-pn9 amp-pn9 amp-zero' tolvan-cli measure amp
expect '--output-slot' tolvan-cli test receive --slot 1 = on,5,70,HI,1 --out
expect '1=' tolvan-cli measure rssi-gain --slot ''
expect '1= 2= 3= 4=' tolvan-cli test receive --slot ''
# Readline splits "2=o" at the "=".
expect 'off, on,' tolvan-cli test receive --slot 2 =
expect 'off,' tolvan-cli test receive --slot 2 = of
expect '--keep-identity --verify' tolvan-cli write-back a.jv1 -
expect '--pin --ps-number' tolvan-cli register base --

# Files by the log file kind each command takes, and folders to walk into.
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir" || exit 1
touch a.jv1 a.jv3 a.jv4 cal.JV2 notes.txt report.pdf
mkdir sets
expect 'a.jv1 sets' tolvan-cli params write ''
expect 'cal.JV2 sets' tolvan-cli calibration write ''
expect 'a.jv3 sets' tolvan-cli logs read ''
expect 'a.jv4 sets' tolvan-cli --no-backup settings write ''
expect 'a.jv1 a.jv3 a.jv4 sets' tolvan-cli write-back ''
expect 'a.jv1 a.jv3 a.jv4 cal.JV2 sets' tolvan-cli diff a.jv1 ''
expect 'a.jv1 a.jv3 a.jv4 cal.JV2 sets' tolvan-cli check ''
expect 'report.pdf sets' tolvan-cli print a.jv1 --pdf ''
expect '--port --report' tolvan-cli doctor ''
expect 'notes.txt sets' tolvan-cli doctor --report ''
expect 'sets' tolvan-cli --log-root ''
expect '--port --prune-older-than --sets' tolvan-cli history --
expect 'sets' tolvan-cli history --sets ''
expect '--force' tolvan-cli restore 234567891 --f
# A name with a space stays one name.
touch 'my set.jv4'
offered tolvan-cli settings write my >/dev/null
if [ "${#COMPREPLY[@]}" -ne 1 ] || [ "${COMPREPLY[0]}" != 'my set.jv4' ]; then
  echo "FAIL: 'my set.jv4' offered as ${#COMPREPLY[@]} names"
  failures=$((failures + 1))
fi

# Every command of the usage text, and the second word of two-word commands.
all=" $(offered tolvan-cli '') "
while read -r first second; do
  [[ $all == *" $first "* ]] || { echo "FAIL: command $first is not completed"; failures=$((failures + 1)); }
  if [[ $second =~ ^[a-z]+$ ]]; then
    words=" $(offered tolvan-cli "$first" '') "
    [[ $words == *" $second "* ]] || { echo "FAIL: '$first $second' is not completed"; failures=$((failures + 1)); }
  fi
done < <("$cli" --help 2>&1 | grep -E '^  [a-z]' | sed -E 's/^  //; s/  .*//')

[ "$failures" -eq 0 ] || exit 1
echo "completion offers what each command takes"
