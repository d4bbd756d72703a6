#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The folders of src/ and tools/ are layers: a folder includes only from folders of a lower
# layer (or from itself), and each folder defines the members of its own classes only. No
# folder is let off. An instrument simulator (a driver folder's sim/) shares nothing with the
# program beyond number text: it includes only the simulator's own headers and units/. The
# simulator's server (tools/scope-sim) also speaks kiv's language: the translation's marker and
# lookup (platform/TrNoop.h, platform/Translate.h) and its loader (qtcore/KivLanguage.h), no more.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
src=$root/src
fail=0

# The layer of a folder, bottom up. Folders of one layer never include each other.
layer() {
  case "$1" in
    units) echo 0 ;;
    platform) echo 1 ;;
    data) echo 2 ;;
    analysis | acquisition) echo 3 ;;
    acquisition/drivers/*/sim) echo sim ;;
    acquisition/drivers/*) echo 4 ;;
    document) echo 5 ;;
    sigrok) echo 6 ;;
    qtcore) echo 7 ;;
    render) echo 8 ;;
    platform/ui | widgets/ui) echo 9 ;;
    analysis/ui | acquisition/ui) echo 10 ;;
    view/ui) echo 11 ;;
    app) echo 12 ;;
    app/ui) echo 13 ;;
    tools/kivtool) echo 14 ;;
    tools/kivtool/forms) echo 15 ;;
    tools/scope-sim) echo sim ;;
    *) echo unknown ;;
  esac
}

# Every folder that holds sources, relative to src/ (tools' folders keep their tools/ prefix).
folders=$( { (cd "$src" && find . -name '*.h' -o -name '*.cpp') | sed 's|^\./||';
             (cd "$root" && find tools -name '*.h' -o -name '*.cpp'); } |
           xargs -n1 dirname | sort -u | grep -v '/tests$')
for folder in $folders; do
  case "$folder" in tools/*) dir=$root/$folder ;; *) dir=$src/$folder ;; esac
  mine=$(layer "$folder")
  if [ "$mine" = unknown ]; then
    echo "FAIL $folder has no layer"
    fail=1
    continue
  fi
  while read -r used; do
    [ -n "$used" ] || continue
    [ "$used" = "$folder" ] && continue
    if [ "$mine" = sim ]; then
      [ "$used" = units ] && continue
      [ "$folder" = tools/scope-sim ] && [[ $used == platform || $used == qtcore ]] && continue
      echo "FAIL $folder (a simulator) includes from src/$used"
      fail=1
      continue
    fi
    theirs=$(layer "$used")
    if [ "$theirs" = unknown ] || [ "$theirs" = sim ] || [ "$theirs" -ge "$mine" ]; then
      echo "FAIL $folder (layer $mine) includes from src/$used (layer $theirs)"
      fail=1
    fi
  done < <(cat "$dir"/*.h "$dir"/*.cpp 2>/dev/null |
           sed -n 's|^#include "\(.*\)/[A-Za-z0-9_]*\.[a-z]*".*|\1|p' | sort -u)
done

lent=$(grep -ho '^#include "\(platform\|qtcore\)/[^"]*"' "$root"/tools/scope-sim/*.h "$root"/tools/scope-sim/*.cpp |
       grep -v -e '"platform/TrNoop.h"' -e '"platform/Translate.h"' -e '"qtcore/KivLanguage.h"')
[ -z "$lent" ] || { echo "FAIL tools/scope-sim includes more than the language: $lent"; fail=1; }

# Class::member definitions at the start of a line, in a folder other than the class's header.
while IFS=: read -r file cls; do
  header=$(find "$src" "$root/tools" -name "$cls.h" | head -n 1)
  [ -n "$header" ] || continue
  [ "$(dirname "$header")" = "$(dirname "$file")" ] && continue
  echo "FAIL $file defines members of $cls (declared in ${header#$root/})"
  fail=1
done < <(grep -roE '^([A-Za-z_][A-Za-z0-9_:<>&* ]* )?C[A-Z][A-Za-z0-9]*::~?[A-Za-z_][A-Za-z0-9_]*\(' "$src" "$root/tools" \
           --include=*.cpp | sed -E 's/^([^:]*):(.* )?(C[A-Z][A-Za-z0-9]*)::.*/\1:\3/' | sort -u)
exit $fail
