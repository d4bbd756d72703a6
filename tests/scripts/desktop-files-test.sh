#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The manual pages, the desktop entry and the AppStream metadata as Debian's tools read them;
# kiv and kivtool name the build's version.
#   desktop-files-test.sh BUILD_DIR VERSION KIV KIVTOOL DESKTOP_FILE
set -uo pipefail
build=$1 version=$2 kiv=$3 kivtool=$4 desktop=$5
fail=0
same() {  # what, expected, actual
    [ "$2" = "$3" ] || { printf 'FAIL %s\n  expected: %s\n  actual:   %s\n' "$1" "$2" "$3"; fail=1; }
}
words() { tr -s ' \n' '  ' | sed 's/ $//'; }

for page in kiv kivtool kiv-scope-sim; do
    same "man -l $page.1 warnings" "" "$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$build/man/$page.1" 2>&1 >/dev/null)"
    same "lexgrog $page.1" "$page" "$(lexgrog "$build/man/$page.1" 2>&1 | sed -n 's/.*: "\([^ ]*\) - .*/\1/p')"
done

# Every command kivtool --help lists has a section of its own, which names every option the
# command's --help lists.
man=$build/man/kivtool.1
commands=$(KIV_LANG=pl "$kivtool" --help | sed -n 's/^  \([a-z]\+\) .*/\1/p' | words)
same "kivtool(1) commands" "$commands" "$(sed -n 's/^\.SS //p' "$man" | words)"
for c in $commands; do
    same "kivtool(1) options of $c" "$(KIV_LANG=pl "$kivtool" "$c" --help | sed -n 's/^  \(--[a-z0-9-]*\).*/\1/p' |
        grep -vx -- --help | sort -u | words)" \
        "$(sed -n "/^\.SS $c\$/,/^\.S[SH] /p" "$man" | grep -o '\\fB--[a-z0-9-]*' | cut -c4- | sort -u | words)"
done

same "kivtool --version" "kivtool $version" "$("$kivtool" --version)"
# Before any window: without a display the version still comes.
here=$(mktemp -d)
same "kiv --version" "kiv $version" "$(cd "$here" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$kiv" --version 2>&1)"
# Only a program that really starts reads and writes Kiv.cfg.
same "kiv --version leaves no Kiv.cfg" "" "$(ls -A "$here")"
rm -rf "$here"
# The README's package file is this version's.
readme=$(dirname "$desktop")/../../../README.md
same "README's package" "kiv_${version}_amd64.deb" "$(grep -o 'kiv_[0-9.]*_amd64\.deb' "$readme" | sort -u)"
same "desktop-file-validate" "" "$(desktop-file-validate "$desktop" 2>&1)"
# Pedantic: not even a hint (the network is not asked, so the addresses are not tried).
out=$(appstreamcli validate --pedantic --no-net "$build"/*.metainfo.xml 2>&1) || { echo "FAIL appstreamcli: $out"; fail=1; }
same "appstreamcli hints" "" "$(printf '%s\n' "$out" | grep -E '^[IWE]:')"
exit $fail
