#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Time from launching kiv with a document to its first painted plot, offscreen, over N starts
# (default 20): prints each start's milliseconds and the median.
#   bench/startup.sh BUILD_DIR [N]
set -euo pipefail
build=${1:-build} n=${2:-20}
home=$(mktemp -d)
doc=$home/sine.kiv
trap 'rm -rf "$home"' EXIT
"$build/tools/kivtool/kivtool" generate "$doc" --kind sine --period 0.25 >/dev/null
times=()
for ((i = 0; i < n; i++)); do
    times+=("$(KIV_FIRST_FRAME=$(date +%s%N) QT_QPA_PLATFORM=offscreen HOME=$home \
               "$build/src/kiv" "$doc" 2>/dev/null)")
done
printf '%s\n' "${times[@]}" | sort -n | tr '\n' ' '
echo
printf '%s\n' "${times[@]}" | sort -n | awk '{ t[NR] = $1 } END { print "median " t[int((NR + 1) / 2)] " ms" }'
