#!/usr/bin/env bash
# The folders of src/ depend on each other only downwards, and each folder defines the members
# of its own classes only.
set -uo pipefail
src=$(cd "$(dirname "$0")/../../src" && pwd)
fail=0

# Which folders each folder may include from (besides itself). data and analysis need each
# other: a document owns its display modes, which are made from its data.
declare -A allowed=(
  [platform]=""
  [view]=""
  [data]="analysis platform view"
  [analysis]="data platform view"
  [acquisition]="data platform view"
  [platform/ui]="platform"
  [widgets/ui]="platform/ui view"
  [analysis/ui]="analysis data platform platform/ui view widgets/ui"
  [acquisition/ui]="acquisition data platform platform/ui view widgets/ui"
  [view/ui]="analysis analysis/ui app data platform platform/ui view widgets/ui"
)
for folder in "${!allowed[@]}"; do
  while read -r used; do
    [ "$used" = "$folder" ] && continue
    case " ${allowed[$folder]} " in *" $used "*) continue ;; esac
    echo "FAIL src/$folder includes from src/$used"
    fail=1
  done < <(cat "$src/$folder"/*.h "$src/$folder"/*.cpp 2>/dev/null |
           sed -n 's|^#include "\([a-z]*\)/\(ui/\)\?[A-Za-z0-9_]*\.h".*|\1/\2|p' | sed 's|/$||' | sort -u)
done

# Class::member definitions at the start of a line, in a folder other than the class's header.
while IFS=: read -r file cls; do
  header=$(find "$src" -name "$cls.h" | head -n 1)
  [ -n "$header" ] || continue
  [ "$(dirname "$header")" = "$(dirname "$file")" ] && continue
  echo "FAIL $file defines members of $cls (declared in ${header#$src/})"
  fail=1
done < <(grep -roE '^([A-Za-z_][A-Za-z0-9_:<>&* ]* )?C[A-Z][A-Za-z0-9]*::~?[A-Za-z_][A-Za-z0-9_]*\(' "$src" --include=*.cpp |
         sed -E 's/^([^:]*):(.* )?(C[A-Z][A-Za-z0-9]*)::.*/\1:\3/' | sort -u)
exit $fail
