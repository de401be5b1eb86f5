#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Checks that every tracked C++, CMake and shell source starts with the
# licence line (after the #! line of a script):
#   // SPDX-License-Identifier: GPL-3.0-or-later     C++
#   # SPDX-License-Identifier: GPL-3.0-or-later      CMake, shell
# Lists the files without it and exits 1; exit 0 when all have it.
#   scripts/spdx-check.sh [SOURCE_DIR]
set -euo pipefail
top=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$top"
licence='SPDX-License-Identifier: GPL-3.0-or-later'

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  files=$(git ls-files)
else
  files=$(find . -type f ! -path './build*' ! -path './.git/*' | sed 's|^\./||')
fi

missing=0
checked=0
while IFS= read -r file; do
  case "$file" in
    *.cpp | *.h) want="// $licence" ;;
    CMakeLists.txt | */CMakeLists.txt | *.cmake | *.sh | .ci/run) want="# $licence" ;;
    *) continue ;;
  esac
  [ -f "$file" ] || continue
  checked=$((checked + 1))
  first=$(head -n 1 "$file")
  [[ "$first" == '#!'* ]] && first=$(sed -n 2p "$file")
  if [ "$first" != "$want" ]; then
    echo "no licence line: $file"
    missing=$((missing + 1))
  fi
done <<<"$files"

if [ $missing -gt 0 ]; then
  echo "$missing of $checked sources lack the line '$licence'"
  exit 1
fi
echo "all $checked sources carry the licence line"
