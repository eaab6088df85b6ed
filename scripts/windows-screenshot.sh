#!/usr/bin/env bash
# Takes a screenshot of the Windows program's window under Wine and Xvfb,
# opened on the demo Quvetra folder, at a given DPI.
# Usage: windows-screenshot.sh [OUTPUT.png] [DPI]
set -euo pipefail
cd "$(dirname "$0")/.."
output=$(realpath -m "${1:-docs/ventana-windows.png}")
dpi=${2:-96}

scripts/install-deps.sh
cmake -S . -B build-windows -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-i686.cmake" >/dev/null
cmake --build build-windows -j"$(nproc)" --target ruror >/dev/null

shoot() {
  local demo="$RUROR_WINE_HOME/Quvetra"
  scripts/make-demo-folder.sh "$demo" >/dev/null
  cp build-windows/app/windows/ruror.exe "$demo/"
  /usr/lib/wine/wine64 reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  local display=:$((240 + RANDOM % 9))
  Xvfb "$display" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
  local xvfb=$!
  sleep 1
  DISPLAY=$display /usr/lib/wine/wine "$demo/ruror.exe" &
  local program=$!
  for _ in $(seq 100); do
    DISPLAY=$display xdotool search --onlyvisible --name '^Respaldo de seguridad$' >/dev/null 2>&1 && break
    sleep 0.1
  done
  sleep 1
  local window
  window=$(DISPLAY=$display xdotool search --onlyvisible --name '^Respaldo de seguridad$' | head -n 1)
  DISPLAY=$display import -window "$window" "$output"
  kill "$program" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  kill "$xvfb"
  echo "$output"
}
export output dpi
export -f shoot
scripts/with-wine.sh bash -c shoot
