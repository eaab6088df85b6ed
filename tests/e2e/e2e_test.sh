#!/usr/bin/env bash
# Drives the installed program in a real X display, as a person would, with
# the keyboard through xdotool, and checks what it left on disk.
# Usage: e2e_test.sh BUILD_DIR SOURCE_DIR SCENARIO
# Exits 77 (skipped) when no X display can be had here.
set -euo pipefail
build=$1
source=$2
scenario=$3

for tool in Xvfb xdotool cmp; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIPPED: $tool is not installed, so the program cannot be driven in a display"
    exit 77
  fi
done

# The window is read as a screen reader reads it, through the accessibility
# bus, on a session bus of the run's own; and it runs under a window
# manager, as on a desktop, which activates the window again when a box
# closes.
if [ -z "${RUROR_SESSION_BUS:-}" ]; then
  if ! command -v dbus-run-session >/dev/null || [ ! -x /usr/libexec/at-spi-bus-launcher ] ||
     ! /usr/bin/python3 -c 'import pyatspi' 2>/dev/null || ! command -v openbox >/dev/null; then
    echo "SKIPPED: the window is read through dbus, at-spi2-core and python3-pyatspi, under openbox"
    exit 77
  fi
  exec env RUROR_SESSION_BUS=1 dbus-run-session -- bash "$0" "$@"
fi

work=$(mktemp -d /tmp/ruror-e2e-XXXXXX)
xvfb=""
program=""
cleanup() {
  [ -n "$program" ] && kill "$program" 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  umount "$work/small" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# shellcheck source=e2e_common.sh
source "$(dirname "$0")/e2e_common.sh"
start_display 140 199

# A home folder of the run's own: the program must leave nothing in it.
export HOME="$work/home"
mkdir -p "$HOME"
unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME XDG_STATE_HOME

lay_out_quvetra
# shellcheck source=scenarios.sh
source "$(dirname "$0")/scenarios.sh"
probe() { HOME=$reader_home /usr/bin/python3 "$source/tests/e2e/qt_probe.py" "$@"; }
window_path() { echo "$1"; }
quvetra_at_work() { touch "$quvetra/QVT Datos.ldb"; }
quvetra_done() { rm -f "$quvetra/QVT Datos.ldb"; }
end_session() { kill -TERM "$program"; }
# A 1 MiB drive that really fills up, where this run may mount one.
mkdir -p "$work/small"
small_drive=""
mount -t tmpfs -o size=1M tmpfs "$work/small" 2>/dev/null && small_drive="$work/small"

# The bus and the screen reader's side keep files of their own, elsewhere.
reader_home="$work/lector"
mkdir -p "$reader_home"
HOME=$reader_home /usr/libexec/at-spi-bus-launcher --launch-immediately &
sleep 1
# As a screen reader does when it starts.
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.freedesktop.DBus.Properties.Set \
  string:org.a11y.Status string:IsEnabled variant:boolean:true >/dev/null
HOME=$reader_home openbox >/dev/null 2>&1 &
sleep 0.5

# The program takes no command line: not even the toolkit's own options.
arguments=()
[ "$scenario" = toolkit-options ] && arguments=(-qwindowtitle Otro -reverse)
(cd / && exec "$quvetra/ruror" "${arguments[@]}") &
program=$!
wait_window '^Respaldo de seguridad$'
point_at "$(xdotool search --onlyvisible --name '^Respaldo de seguridad$' | head -n 1)" 20

if [[ " $shared_scenarios " == *" $scenario "* ]]; then run_shared_scenario "$scenario"; else case "$scenario" in
  browse)
    press Tab Tab Tab      # the name, Toolbar1, the browse button
    press space
    wait_window '^Buscar carpeta$'
    type_text "$destination"
    press Return
    wait_no_window '^Buscar carpeta$'
    press alt+u
    expect_field "$destination/" 0 "$((${#destination} + 1))" "the folder chosen"
    press alt+n Return space   # to the name, on to "Aceptar", and press it
    wait_result
    cmp -s "$quvetra/QVT Datos.mdb" "$backup" || fail "the backup file differs from the database"
    press Return
    wait_program_end
    ;;
  accessible-names)  # every control named as a screen reader reads it
    names=$(HOME=$reader_home /usr/bin/python3 "$source/tests/e2e/accessible_names.py" RUROR)
    for expected in "text: Ubicación" "text: Nombre" "check box: Centro de datos QVT Datos" \
                    "push button: Seleccione el destino de la información" "push button: Aceptar" \
                    "push button: Cancelar" "label: Estado del respaldo"; do
      grep -qxF "$expected" <<<"$names" || fail "no '$expected' among: $names"
    done
    press Escape
    wait_program_end
    ;;
  toolkit-options)
    press Escape
    wait_program_end
    ;;
  *)
    fail "unknown scenario $scenario"
    ;;
esac; fi
quvetra_unchanged
[ -z "$(find "$HOME" -mindepth 1)" ] || fail "the program left in the home folder: $(find "$HOME" -mindepth 1)"
echo "PASSED: $scenario"
