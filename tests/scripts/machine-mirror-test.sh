#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# scripts/machine-mirror on fake apt folders, and no script of ours naming an archive host.
set -uo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
fail=0
expect() {  # name, apt folder, wanted output
  local got; got=$(bash "$top/scripts/machine-mirror" bookworm "$2")
  [ "$got" = "$3" ] || { echo "FAIL $1: got '$got', want '$3'"; fail=1; }
}
mk() { mkdir -p "$tmp/$1/sources.list.d"; }

mk oneline
printf '%s\n' '# deb http://old.example/debian bookworm main' \
  'deb-src http://src.example/debian bookworm main' \
  'deb [arch=amd64 signed-by=/usr/share/keyrings/k.gpg] http://one.example/debian bookworm main' \
  > "$tmp/oneline/sources.list"
expect "one-line form, options skipped" "$tmp/oneline" "http://one.example/debian"

mk deb822
printf '%s\n' 'Types: deb' 'URIs: http://sec.example/debian-security' 'Suites: bookworm-security' '' \
  '# a comment' 'Types: deb-src deb' 'URIs: http://two.example/debian http://three.example/debian' \
  'Suites: bookworm bookworm-updates' 'Components: main' > "$tmp/deb822/sources.list.d/debian.sources"
expect "deb822 form, first URI of the suite" "$tmp/deb822" "http://two.example/debian"

mk none
printf '%s\n' 'deb http://sec.example/debian-security bookworm-security main' > "$tmp/none/sources.list"
expect "no entry for the release" "$tmp/none" ""
expect "no apt folder" "$tmp/missing" ""

hosts=$(grep -rnE 'deb\.debian\.org|ftp\.[a-z.]*debian\.org|archive\.ubuntu\.com|security\.debian\.org' \
  "$top/scripts" "$top/.ci" 2>/dev/null)
[ -z "$hosts" ] || { echo "FAIL scripts name an archive host:"; echo "$hosts"; fail=1; }
exit $fail
