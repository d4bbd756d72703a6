#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The English translation is complete and covers every text the sources mark for translation:
# lupdate run over the sources into a copy adds nothing unfinished, and lrelease finds no
# unfinished or untranslated entry.
set -euo pipefail
lrelease=$1 lupdate=$2 source=$3
copy=$(mktemp --suffix=.ts)
trap 'rm -f "$copy"' EXIT
cp "$source/translations/kiv_en.ts" "$copy"
"$lupdate" -silent -locations none -tr-function-alias QT_TRANSLATE_NOOP+=KIV_TR_NOOP,translate+=KivTr \
    "$source/src" "$source/tools/kivtool" "$source/tools/scope-sim" -ts "$copy"
out=$("$lrelease" "$copy" -qm /dev/null)
echo "$out"
echo "$out" | grep -q ' 0 unfinished)'
! echo "$out" | grep -qi 'untranslated'
