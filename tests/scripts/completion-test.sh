#!/usr/bin/env bash
# kivtool's bash completion: what Tab offers after a command line typed so far.
#   completion-test.sh COMPLETION_FILE
set -uo pipefail
export LC_ALL=C
source "$1"
cd "$(mktemp -d)" && trap 'rm -rf "$PWD"' EXIT
touch a.kiv b.txt c.png w.DSO w.csv w.sr && mkdir d
fail=0
# The line up to the cursor (split at blanks, as readline splits it) | the offers, sorted.
while IFS='|' read -r line expected; do
    read -ra COMP_WORDS <<<"$line"
    [[ $line == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1)) COMPREPLY=()
    _kivtool 2>/dev/null
    got=$(printf '%s\n' "${COMPREPLY[@]}" | sort -u | xargs)
    [ "$got" = "$expected" ] || { echo "FAIL '$line': expected '$expected', got '$got'"; fail=1; }
done <<'CASES'
kivtool ex|export
kivtool p|ports probe
kivtool export a.kiv b --f|--format
kivtool export a.kiv b --format p|pcx pdf png
kivtool fetch o.kiv --model |0 1 2 3 hm1507 lt224 os3060 tds224
kivtool codes a.kiv --mode = f|fourier
kivtool codes a.kiv --what s|shown
kivtool measure --|--cursors --help --json --mode
kivtool generate o.kiv --kind |const sine square
kivtool info |a.kiv d
kivtool labels a.kiv |
kivtool render a.kiv --mode xy |c.png d
kivtool render --white a.kiv |c.png d
kivtool export a.kiv |a.kiv b.txt c.png d w.DSO w.csv w.sr
kivtool import |d w.DSO w.csv w.sr
kivtool import w.sr --plot = 1 |a.kiv d
kivtool fetch o.kiv --into |a.kiv d
CASES
exit $fail
