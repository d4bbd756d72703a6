#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# kivtool's bash completion: what Tab offers after a command line typed so far. The words only
# the program knows come from the kivtool given (as "kivtool" on the PATH).
#   completion-test.sh COMPLETION_FILE KIVTOOL
set -uo pipefail
export LC_ALL=C
source "$1"
bin=$(mktemp -d) && ln -s "$(realpath "$2")" "$bin/kivtool" && export PATH=$bin:$PATH
cd "$(mktemp -d)" && trap 'rm -rf "$PWD" "$bin"' EXIT
mkdir d && touch a.kiv b.txt c.png w.DSO w.csv w.sr "d/my file.kiv" "d/my dev"
fail=0

# Every registered model by its index and key, at least the four of the first Kiv.cfg; the
# devices are exactly those kivtool ports lists (paths and stable names), whatever the machine.
models=$(kivtool complete models | sort -u | paste -sd' ')
for m in 0 1 2 3 os3060 hm1507 tds224 lt224; do
    [[ " $models " == *" $m "* ]] || { echo "FAIL kivtool complete models lacks $m: '$models'"; fail=1; }
done
listed=$(kivtool ports | cut -f1,2 | tr '\t' '\n' | grep -vx -- - | sort -u)
devices=$(paste -sd' ' <<<"$listed")
ttys=$(grep '^/dev/tty' <<<"$listed" | paste -sd' ')
# The commands kivtool lists, with what the first word may be besides.
commands=$(kivtool complete commands | sort -u | paste -sd' ')
first=$( (kivtool complete commands; printf '%s\n' help --help --version) | sort -u | paste -sd' ')
[[ " $commands " == *" screenshot "* && " $commands " != *" complete "* ]] ||
    { echo "FAIL kivtool complete commands: '$commands'"; fail=1; }

# The line split as readline splits it: at blanks outside quotes and not after a backslash;
# the last word, perhaps empty, is the one under the cursor.
split() {
    local line=$1 word= quote= i c
    COMP_WORDS=()
    for ((i = 0; i < ${#line}; i++)); do
        c=${line:i:1}
        if [[ -n $quote ]]; then
            [[ $c == "$quote" ]] && quote=
            word+=$c
        elif [[ $c == \\ ]]; then
            word+=$c${line:i+1:1}
            ((i++))
        elif [[ $c == [\"\'] ]]; then
            quote=$c word+=$c
        elif [[ $c == " " ]]; then
            [[ -n $word ]] && COMP_WORDS+=("$word")
            word=
        else
            word+=$c
        fi
    done
    COMP_WORDS+=("$word")
}

# The line up to the cursor (split at blanks, as readline splits it) | the offers, sorted,
# each quoted as the shell would need it.
while IFS='|' read -r line expected; do
    split "$line"
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1)) COMPREPLY=()
    _kivtool 2>/dev/null
    got=$( ((${#COMPREPLY[@]})) && printf '%q\n' "${COMPREPLY[@]}" | sort -u | paste -sd' ')
    [ "$got" = "$expected" ] || { echo "FAIL '$line': expected '$expected', got '$got'"; fail=1; }
done <<CASES
kivtool |$first
kivtool ex|export
kivtool p|ports probe
kivtool s|screenshot
kivtool help f|fetch
kivtool -h |$commands
kivtool frobnicate |
kivtool fetch o.kiv --r|--repeat
kivtool fetch o.kiv --repeat |
kivtool fetch --repeat 3 --interval = 5 --save-settings |a.kiv d
kivtool screenshot --device x |c.png d
kivtool screenshot c.png |
kivtool export a.kiv b --f|--format
kivtool export a.kiv b --format p|pcx pdf png
kivtool fetch o.kiv --model |$models
kivtool codes a.kiv --mode = f|fourier
kivtool codes a.kiv --what s|shown
kivtool measure --|--cursors --help --json --mode --only --stats
kivtool generate o.kiv --kind |const sine square
kivtool fetch o.kiv --plot1 o|off
kivtool info |a.kiv d
kivtool labels a.kiv |
kivtool render a.kiv --mode xy |c.png d
kivtool render --white a.kiv |c.png d
kivtool export a.kiv |a.kiv b.txt c.png d w.DSO w.csv w.sr
kivtool export a.kiv d/|d/my\ dev d/my\ file.kiv
kivtool info d/m|d/my\ file.kiv
kivtool info "d/my f|d/my\ file.kiv
kivtool info 'd/my|d/my\ file.kiv
kivtool export d/my\ file.kiv |a.kiv b.txt c.png d w.DSO w.csv w.sr
kivtool export "d/my file.kiv" d/my\ d|d/my\ dev
kivtool render d/my\ file.kiv --size 500x300 |c.png d
kivtool import |d w.DSO w.csv w.sr
kivtool import w.sr --plot = 1 |a.kiv d
kivtool fetch o.kiv --into |a.kiv d
kivtool fetch o.kiv --into d/|d/my\ file.kiv
kivtool fetch o.kiv --device |$devices
kivtool probe --device /dev/tty|$ttys
kivtool probe --device d/my|d/my\ dev d/my\ file.kiv
kivtool probe --device "d/my d|d/my\ dev
kivtool screenshot --device d/my\ d|d/my\ dev
CASES
exit $fail
