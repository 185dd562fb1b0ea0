#!/usr/bin/env bash
# Fails when a program's usage text names a command or option that its manual page lacks.
#   manpages_test.sh MAN-DIR NAME=PROGRAM...    (the page of NAME is MAN-DIR/NAME.1)
set -uo pipefail
mandir=$1
shift
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

for pair in "$@"; do
  name=${pair%%=*}
  program=${pair#*=}
  page="$mandir/$name.1"
  # The page as plain words: roff's escaped hyphens, font changes and quotes removed.
  text=$(sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' -e 's/\\f(CW//g' -e 's/"//g' "$page")
  # Tolvan prints its usage for any option it does not know, with exit status 2.
  usage=$("$program" --help 2>&1)
  if [ -z "$usage" ]; then
    fail "$name printed no usage"
    continue
  fi

  # A paragraph of its own for each option of the synopsis line and of each "  --option" line.
  tagged=$( (echo "$usage" | head -n 1; echo "$usage" | grep -E '^  --') | grep -oE -- '--[a-z][a-z-]*' | sort -u)
  for option in $tagged; do
    grep -qE "^\.B[IR]? $option( |\$)" <<<"$text" || fail "$name.1 has no paragraph for $option"
  done
  # Every other option at least named.
  for option in $(echo "$usage" | grep -oE -- '--[a-z][a-z-]*' | sort -u); do
    grep -qE -- "(^|[^a-z-])$option([^a-z-]|\$)" <<<"$text" || fail "$name.1 does not name $option"
  done

  # tolvan-cli: "  COMMAND [WORD] ARGS   what it does", one paragraph per command.
  if [ "$name" = tolvan-cli ]; then
    commands=$(echo "$usage" | grep -E '^  [a-z]' | sed -E 's/^  //; s/  .*//' |
      awk '{ c = $1; if ($2 ~ /^[a-z][a-z-]*$/) c = c " " $2; print c }')
    [ -n "$commands" ] || fail "no commands found in tolvan-cli --help"
    while IFS= read -r command; do
      grep -qE "^\.B[IR]? $command( |\$)" <<<"$text" || fail "tolvan-cli.1 has no paragraph for '$command'"
    done <<<"$commands"
  fi
done

[ "$failures" -eq 0 ] || exit 1
echo "every command and option of the usage texts is in the manual pages"
