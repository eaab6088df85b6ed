#!/usr/bin/env bash
# Counts what each copied file costs ruror.exe under Wine, in requests to
# Wine's server (every file call of a Windows program is one or more), against
# the Windows baseline of bench/windows: each program copies a Quvetra folder
# of N files and of 2N files, with Wine's own tracing (WINEDEBUG=+server), and
# the difference over N is the cost of one file, whatever the start and the
# window cost. ruror.exe is driven through its window in an X display.
#
# Usage: wine_requests_per_file.sh [--files N] [--build DIR]
# (DIR holds app/windows/ruror.exe and bench/windows/windows_baseline.exe;
# build-windows by default, the 32-bit programs.)
set -euo pipefail
cd "$(dirname "$0")/.."
files=200
build=build-windows
arguments=("$@")
while [ $# -gt 0 ]; do
  case "$1" in
    --files) files=$2 ;;
    --build) build=$2 ;;
    *) echo "unknown option $1" >&2; exit 2 ;;
  esac
  shift 2
done
if [ -z "${RUROR_WINE_HOME:-}" ]; then exec scripts/with-wine.sh "$0" "${arguments[@]}"; fi
build=$(realpath "$build")
loader=/usr/lib/wine/wine
[ -f "$build/app/windows/ruror.exe" ] && file "$build/app/windows/ruror.exe" | grep -q x86-64 && loader=/usr/lib/wine/wine64

# shellcheck source=window_session.sh
source bench/window_session.sh
start_display 160 179
work=$(mktemp -d /var/tmp/ruror-requests-XXXXXX)
trap 'kill "$xvfb" 2>/dev/null; wineserver -k 2>/dev/null; rm -rf "$work"' EXIT

# Requests, not their replies: "name( arguments )", never "name() = ...".
requests() { grep -cE '^[0-9a-f]+: [a-z_]+\( ' "$1" || true; }
windows_path() { local path="Z:${1//\//\\}"; echo "$path"; }

# The requests of one backup through ruror.exe's window, from the key that
# presses "Aceptar" to the result box.
with_ruror() {  # FOLDER
  local trace="$1/ruror.trace" before
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  WINEDEBUG=+server "$loader" "$1/Quvetra/ruror.exe" 2>"$trace" &
  local program=$!
  window_ready 60 >/dev/null
  xdotool type --delay 5 "$(windows_path "$1/Copias")\\"
  before=$(requests "$trace")
  xdotool key Return Return space
  for _ in $(seq 600); do
    xdotool search --onlyvisible --name '^RUROR$' >/dev/null 2>&1 && break
    sleep 0.1
  done
  echo $(($(requests "$trace") - before))
  xdotool key Return
  wait "$program" || true
}

with_baseline() {  # FOLDER
  local trace="$1/baseline.trace"
  rm -rf "$1/Copias"
  mkdir -p "$1/Copias"
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  WINEDEBUG=+server "$loader" "$build/bench/windows/windows_baseline.exe" "$(windows_path "$1/Quvetra")" \
    "$(windows_path "$1/Copias")" >/dev/null 2>"$trace"
  requests "$trace"
}

declare -A ruror baseline
for count in "$files" $((2 * files)); do
  folder="$work/$count"
  build/bench/ruror_bench --dir "$folder" --database-mib 1 --files "$count" --min-kib 4 --max-kib 64 --lay-out-only >/dev/null
  cp "$build/app/windows/ruror.exe" "$folder/Quvetra/"
  mkdir -p "$folder/Copias"
  ruror[$count]=$(with_ruror "$folder")
  baseline[$count]=$(with_baseline "$folder")
done
printf 'Requests to the Wine server per copied file: ruror.exe %s, Windows baseline %s\n' \
  "$(echo "scale=1; (${ruror[$((2 * files))]} - ${ruror[$files]}) / $files" | bc)" \
  "$(echo "scale=1; (${baseline[$((2 * files))]} - ${baseline[$files]}) / $files" | bc)"
