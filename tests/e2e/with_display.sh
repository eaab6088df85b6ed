#!/usr/bin/env bash
# Runs a command in an X display of its own, with a Wine server of that
# display's own: for the Windows window's suite, whose windows Wine makes
# only where there is a display. Exits 77 (skipped) where Xvfb is missing.
# Usage: with_display.sh COMMAND...
set -euo pipefail
if ! command -v Xvfb >/dev/null || ! command -v xdotool >/dev/null; then
  echo "SKIPPED: Xvfb and xdotool are needed for a display"
  exit 77
fi
xvfb=""
trap '[ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null; wineserver -k 2>/dev/null || true' EXIT
# shellcheck source=e2e_common.sh
source "$(dirname "$0")/e2e_common.sh"
start_display 240 279
# Wine's desktop belongs to the display its server first met.
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
"$@"
