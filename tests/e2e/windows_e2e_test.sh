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
# shellcheck source=e2e_common.sh
source "$(dirname "$0")/e2e_common.sh"
start_display 200 239
lay_out_quvetra
key_pause=0.3
# The program sees the Linux file system as drive Z:.
windows_destination="Z:${destination//\//\\}"

# Wine's desktop belongs to the display its server first met: start a server
# of this display's own (the tests run one at a time).
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
/usr/lib/wine/wine64 "$quvetra/ruror.exe" &
program=$!
wait_window '^Respaldo de seguridad$'
point_at "$(xdotool search --onlyvisible --name '^Respaldo de seguridad$' | head -n 1)" 60

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
