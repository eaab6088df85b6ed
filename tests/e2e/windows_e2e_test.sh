#!/usr/bin/env bash
# Drives the Windows program, installed into a Quvetra folder, under Wine in
# a real X display, with the keyboard through xdotool, and checks what it
# left on disk. Runs inside scripts/with-wine.sh, which makes the Wine prefix.
# Usage: windows_e2e_test.sh BUILD_DIR SOURCE_DIR SCENARIO
# Exits 77 (skipped) where Wine, its prefix or an X display cannot be had.
set -euo pipefail
build=$1
source=$2
scenario=$3

for tool in Xvfb xdotool cmp /usr/lib/wine/wine64; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIPPED: $tool is not installed, so the program cannot be driven in a display"
    exit 77
  fi
done
if [ -z "${WINEPREFIX:-}" ] || [ ! -d "$WINEPREFIX" ]; then
  echo "SKIPPED: no Wine prefix; run through scripts/with-wine.sh"
  exit 77
fi

work=$(mktemp -d /tmp/ruror-wine-e2e-XXXXXX)
xvfb=""
program=""
cleanup() {
  [ -n "$program" ] && kill "$program" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAILED: $*"; exit 1; }

for number in $(seq 200 239); do
  [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ] || break
done
export DISPLAY=:$number
Xvfb "$DISPLAY" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
xdotool getmouselocation >/dev/null 2>&1 || { echo "SKIPPED: Xvfb did not start"; exit 77; }

quvetra="$work/Quvetra"
destination="$work/Copias"
mkdir -p "$destination"
"$source/scripts/make-demo-folder.sh" "$quvetra" >/dev/null
cmake --install "$build" --prefix "$quvetra" >/dev/null
backup="$destination/Respaldo ($(date +%d-%m-%Y)).qvtdb"
# The program sees the Linux file system as drive Z:.
windows_destination="Z:${destination//\//\\}"
before=$(cd "$quvetra" && find "QVT Datos" "QVT Datos.mdb" -type f -exec md5sum {} + | sort)

wait_window() {
  for _ in $(seq 150); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  fail "no window named $1 appeared"
}
wait_no_window() {
  for _ in $(seq 150); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  fail "the window named $1 did not go"
}
wait_program_end() {
  for _ in $(seq 150); do
    kill -0 "$program" 2>/dev/null || { wait "$program" || true; program=""; return 0; }
    sleep 0.1
  done
  fail "the program did not end"
}
program_running() { kill -0 "$program" 2>/dev/null; }
press() { xdotool key --delay 80 "$@"; sleep 0.3; }
type_text() { xdotool type --delay 30 "$1"; sleep 0.3; }
quvetra_unchanged() {
  [ "$(cd "$quvetra" && find "QVT Datos" "QVT Datos.mdb" -type f -exec md5sum {} + | sort)" = "$before" ] ||
    fail "Quvetra's files changed"
}

# Wine's desktop belongs to the display its server first met: start a server
# of this display's own (the tests run one at a time).
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
/usr/lib/wine/wine64 "$quvetra/ruror.exe" &
program=$!
wait_window '^Respaldo de seguridad$'
window=$(xdotool search --onlyvisible --name '^Respaldo de seguridad$' | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + 200)) $((Y + 60))
sleep 0.5

case "$scenario" in
  backup)  # a whole backup by keyboard alone
    type_text "$windows_destination"
    press Return Return   # to the name, then to the toolbar with "Aceptar"
    press space
    wait_window '^RUROR$'
    cmp -s "$quvetra/QVT Datos.mdb" "$backup" || fail "the backup file differs from the database"
    for file in "notas.txt" "Índice.txt" "Archivo/Contrato 2026.pdf" "Plantillas/Carta.dot" "Referencias/Tarifas.xls"; do
      cmp -s "$quvetra/QVT Datos/$file" "$destination/Respaldo QVT/$file" || fail "$file was not copied whole"
    done
    [ ! -e "$destination/Respaldo QVT/Otros" ] || fail "a fourth sub-folder was copied"
    press Return          # closes the success box; the program ends
    wait_program_end
    ;;
  no-overwrite)
    echo "viejo" > "$backup"
    type_text "$windows_destination"
    press Return Return space
    wait_window '^RUROR$'
    press n               # "No"
    wait_no_window '^RUROR$'
    [ "$(cat "$backup")" = "viejo" ] || fail "the earlier backup was changed"
    [ ! -e "$destination/Respaldo QVT" ] || fail "the data centre was copied"
    program_running || fail "the program ended"
    press Escape
    wait_program_end
    ;;
  escape)
    press Escape
    wait_program_end
    ;;
  refused-character)
    press alt+n
    type_text "copia"
    press period
    wait_window '^RUROR$'
    press Return
    wait_no_window '^RUROR$'
    program_running || fail "the program ended"
    press Escape
    wait_program_end
    ;;
  reserved-name)
    type_text "$windows_destination"
    press alt+n
    type_text "CON"
    press Return space
    wait_window '^RUROR$'
    press Return
    wait_no_window '^RUROR$'
    [ -z "$(ls -A "$destination")" ] || fail "something was written: $(ls -A "$destination")"
    program_running || fail "the program ended"
    press Escape
    wait_program_end
    ;;
  *)
    fail "unknown scenario $scenario"
    ;;
esac
quvetra_unchanged
echo "PASSED: $scenario"
