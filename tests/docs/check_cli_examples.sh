#!/usr/bin/env bash
# Every command that 'tamber-cli --help' lists has an example in the user guide's
# command-line section.
set -euo pipefail
cli=$1 guide=$2
section=$(sed -n '/^## The command line/,/^## /p' "$guide")
[[ -n $section ]] || { echo "FAIL: the guide has no command-line section" >&2; exit 1; }
# The names stand in a column two spaces in; the descriptions start in the next column,
# or one space after a name too long for its column.
commands=$("$cli" --help | sed -n '/^Commands:/,/^$/p' | awk '
  /^  [a-z]/ { lines[++n] = $0; if (match($0, /^  [a-z][^ ]*( [^ ]+)*  +/)) column = RLENGTH }
  END {
    for (i = 1; i <= n; ++i) {
      words = split(substr(lines[i], 3), w, " ")
      name = w[1]
      for (k = 2; k <= words && length(name) + 2 < column - 2; ++k) {
        if (substr(lines[i], 3 + length(name), 2) == "  ") break
        name = name " " w[k]
      }
      print name
    }
  }')
(( $(wc -l <<<"$commands") >= 5 )) || { echo "FAIL: 'tamber-cli --help' lists no commands" >&2; exit 1; }
status=0
while read -r command; do
  grep -qE "tamber-cli $command( |\$)" <<<"$section" || { echo "FAIL: no example of 'tamber-cli $command'" >&2; status=1; }
done <<<"$commands"
exit $status
