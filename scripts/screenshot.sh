#!/usr/bin/env bash
# Takes a screenshot of the real window under Xvfb, opened on the demo
# Quvetra folder. Usage: screenshot.sh [OUTPUT.png] [SCALE]
# Builds first (README's demo command does the same); needs Xvfb and ImageMagick.
set -euo pipefail
cd "$(dirname "$0")/.."
output=${1:-docs/ventana.png}
scale=${2:-1}

scripts/install-deps.sh
cmake -S . -B build >/dev/null
cmake --build build -j"$(nproc)" >/dev/null
demo="$PWD/build/demo-quvetra"
scripts/make-demo-folder.sh "$demo"
cmake --install build --prefix "$demo" >/dev/null

display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $app $xvfb 2>/dev/null || true' EXIT
sleep 1
DISPLAY=$display QT_SCALE_FACTOR=$scale "$demo/ruror" &
app=$!
# Wait for the window to be mapped.
for _ in $(seq 50); do
  DISPLAY=$display xdotool search --name '^Respaldo de seguridad$' >/dev/null 2>&1 && break
  sleep 0.1
done
sleep 0.5
window=$(DISPLAY=$display xdotool search --name '^Respaldo de seguridad$' | head -n 1)
DISPLAY=$display import -window "$window" "$output"
echo "$output"
