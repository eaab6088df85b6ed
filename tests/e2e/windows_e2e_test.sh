#!/usr/bin/env bash
# Drives the Windows program, installed into a Quvetra folder, under Wine in
# a real X display, with the keyboard through xdotool, and checks what it
# left on disk. Runs inside scripts/with-wine.sh, which makes the Wine prefix.
# Usage: windows_e2e_test.sh BUILD_DIR SOURCE_DIR SCENARIO WINE_LOADER
# (the loader of the build's programs: /usr/lib/wine/wine for the 32-bit
# ones, /usr/lib/wine/wine64 for the 64-bit ones).
# Exits 77 (skipped) where Wine, its prefix or an X display cannot be had.
set -euo pipefail
build=$1
source=$2
scenario=$3
loader=$4

for tool in Xvfb xdotool cmp "$loader"; do
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
# shellcheck source=scenarios.sh
source "$(dirname "$0")/scenarios.sh"
probe() { "$loader" "$build/tests/windows_probe.exe" "$@" | tr -d '\r'; }
window_path() { local path="Z:${1//\//\\}"; echo "$path"; }
quvetra_at_work() {  # the lock file, and the database held open for writing, as Quvetra's engine does
  touch "$quvetra/QVT Datos.ldb"
  hold_file "$quvetra/QVT Datos.mdb" readwrite 60
}
quvetra_done() {
  kill "$holder"
  wait "$holder" 2>/dev/null || true
  rm -f "$quvetra/QVT Datos.ldb"
}
# As Windows ends a session: every window asked, then told.
end_session() { "$loader" wineboot --end-session >/dev/null 2>&1 || true; }
# The 1 MiB drive of scripts/with-wine.sh, where it could be mounted.
small_drive=""
mountpoint -q "${RUROR_WINE_HOME:-/nonexistent}/small" 2>/dev/null && small_drive="$RUROR_WINE_HOME/small"
click_on() {  # TITLE TEXT: a click with the mouse on what shows the text in that window
  local x y
  read -r x y < <(probe where "$1" "$2") || fail "nothing shows '$2' in '$1'"
  xdotool mousemove "$x" "$y" click 1
  sleep "${key_pause:-0.2}"
}
hold_file() {  # FILE SHARING SECONDS: a helper holds the file open, as another program would
  "$loader" "$build/tests/windows_probe.exe" hold "Z:${1//\//\\}" "$2" "$3" >"$work/holder.out" 2>&1 &
  holder=$!
  for _ in $(seq 100); do grep -q holding "$work/holder.out" 2>/dev/null && return 0; sleep 0.1; done
  fail "the helper could not hold $1: $(cat "$work/holder.out")"
}
pointer_image() { /usr/bin/python3 "$source/tests/e2e/pointer_image.py"; }
answer_box() {  # KEY: waits for a box, answers it with the key, waits for it to go
  wait_window '^RUROR$'
  press "$1"
  wait_no_window '^RUROR$'
}

# Wine's desktop belongs to the display its server first met: start a server
# of this display's own (the tests run one at a time).
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
"$loader" "$quvetra/ruror.exe" &
program=$!
wait_window '^Respaldo de seguridad$'
point_at "$(xdotool search --onlyvisible --name '^Respaldo de seguridad$' | head -n 1)" 60

if [[ " $shared_scenarios " == *" $scenario "* ]]; then run_shared_scenario "$scenario"; else case "$scenario" in
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
  mouse-and-busy)  # by mouse through the shell's browser; during the copy, busy and not to be closed
    head -c $((700 << 20)) /dev/urandom > "$quvetra/QVT Datos.mdb"
    before=$(quvetra_files)
    documents=$(realpath "$WINEPREFIX/drive_c/users/$(id -un)/Documents")
    mine=("$documents/$(basename "$backup")" "$documents/Respaldo QVT")
    rm -rf "${mine[@]}"
    trap 'rm -rf "${mine[@]}"; cleanup' EXIT
    click_on "Respaldo de seguridad" "Seleccione el destino de la información"
    wait_window '^Explorar carpeta$'
    click_on "Explorar carpeta" "Documentos"
    click_on "Explorar carpeta" "Aceptar"
    wait_no_window '^Explorar carpeta$'
    window=$(xdotool search --onlyvisible --name '^Respaldo de seguridad$' | head -n 1)
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool mousemove $((X + 40)) $((Y + HEIGHT - 12))
    sleep 0.3
    arrow=$(pointer_image)
    click_on "Respaldo de seguridad" "Aceptar"
    # At once the close box of the frame: the copy waits for the answer.
    xdotool mousemove $((X + WIDTH - 12)) $((Y + 10)) click 1
    expect_box "¿Desea detener el respaldo?"
    answer Return                   # "No", the default: the copy goes on
    xdotool mousemove $((X + 41)) $((Y + HEIGHT - 12))
    sleep 0.3
    [ "$(pointer_image)" != "$arrow" ] || fail "no busy pointer over the window during the copy"
    program_running && xdotool search --onlyvisible --name '^Respaldo de seguridad$' >/dev/null ||
      fail "the window closed under the running copy"
    wait_result
    cmp -s "$quvetra/QVT Datos.mdb" "$documents/$(basename "$backup")" || fail "no exact backup in $documents"
    press Return
    wait_program_end
    ;;
  long-name)  # a box about a name of 260 characters without a space fits the screen
    type_text "$windows_destination"
    press alt+n
    xdotool type --delay 5 "$(printf 'x%.0s' $(seq 260))"
    press Return space
    wait_window '^RUROR$'
    eval "$(xdotool getwindowgeometry --shell "$(xdotool search --onlyvisible --name '^RUROR$' | head -n 1)")"
    [ "$X" -ge 0 ] && [ $((X + WIDTH)) -le 1280 ] || fail "the box is ${WIDTH} pixels wide at $X, off the screen"
    press Return
    wait_no_window '^RUROR$'
    program_running || fail "the program ended"
    press Escape
    wait_program_end
    ;;
  held-backup)  # a scanner holds the earlier backup for a moment: the backup waits for it
    echo "respaldo anterior" > "$backup"
    type_text "$windows_destination"
    press Return Return space
    wait_window '^RUROR$'          # the question before replacing it
    hold_file "$backup" none 3
    press Return                   # "Sí"
    wait_no_window '^RUROR$'
    wait_result
    cmp -s "$quvetra/QVT Datos.mdb" "$backup" || fail "the backup is not exact"
    press Return
    wait_program_end
    ;;
  database-in-use)  # Quvetra writing its database is asked about, lock file or none
    hold_file "$quvetra/QVT Datos.mdb" readwrite 30   # as Quvetra's database engine holds it
    type_text "$windows_destination"
    press Return Return space
    answer_box n
    [ -z "$(ls -A "$destination")" ] || fail "something was written: $(ls -A "$destination")"
    kill "$holder"
    wait "$holder" 2>/dev/null || true
    touch "$quvetra/QVT Datos.ldb"   # left behind by a crash: nobody writes the database
    press space
    wait_result
    cmp -s "$quvetra/QVT Datos.mdb" "$backup" || fail "no question was due, and the backup is not exact"
    rm "$quvetra/QVT Datos.ldb"
    press Return
    wait_program_end
    ;;
  case-clash)  # names the drive takes for one, whatever their letters: told as not copied, never as outdated
    archive="$quvetra/QVT Datos/Archivo"
    printf primera >"$archive/Acta ẤN.txt"
    printf segunda >"$archive/Acta ấn.txt"
    printf uno >"$archive/ＡＢ.txt"
    printf dos >"$archive/ａｂ.txt"
    before=$(quvetra_files)
    type_text "$windows_destination"
    press Return Return space
    wait_window '^Carpetas no respaldadas$'
    press Return
    wait_no_window '^Carpetas no respaldadas$'
    wait_window '^Respaldo incompleto$'
    told=$(probe box "Respaldo incompleto")
    for name in "Acta ấn.txt" "ａｂ.txt"; do
      grep -qF "$name" <<<"$told" || fail "the report does not name $name: $told"
    done
    grep -qF "mismo nombre que" <<<"$told" || fail "the report does not say why: $told"
    press Return
    wait_no_window '^Respaldo incompleto$'
    expect_box "no ha sido realizada en completo éxito"
    [ "$(cat "$destination/Respaldo QVT/Archivo/Acta ẤN.txt")" = primera ] || fail "the first name was not copied"
    press Return
    wait_program_end
    ;;
  browser-cancel)  # the folder browser closed with Escape gives the focus back to its button
    press Tab Tab Tab space         # the name, Toolbar1, the browse button
    wait_window '^Explorar carpeta$'
    press Escape
    wait_no_window '^Explorar carpeta$'
    expect_focus Toolbar2 "the folder browser"
    nothing_written
    press Escape
    wait_program_end
    ;;
  *)
    fail "unknown scenario $scenario"
    ;;
esac; fi
quvetra_unchanged
echo "PASSED: $scenario"
