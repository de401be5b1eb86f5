#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is needed, builds, and starts one program:
#   scripts/run.sh vesnal [/H]     the LAN messenger
#   scripts/run.sh tempral         the load-switching timer
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-vesnal}
shift || true
case "$program" in
  vesnal) exe=messenger/vesnal target=vesnal ;;
  tempral) exe=timer/tempral target=tempral ;;
  *) echo "usage: $0 vesnal|tempral [arguments]" >&2; exit 2 ;;
esac
"$top/scripts/deps.sh" run
"$top/scripts/build.sh" "$target"
exec "${BUILD_DIR:-$top/build}/$exe" "$@"
