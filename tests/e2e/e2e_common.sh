# What both end-to-end tests share: a display of their own, a Quvetra folder
# with the program installed into it, and the moves of a person at the
# keyboard. Sourced by e2e_test.sh and windows_e2e_test.sh, which set $work,
# $build and $source first.

# With RUROR_E2E_SHOTS set to a folder, the screen at a failure is kept there.
fail() {
  echo "FAILED: $*"
  [ -n "${RUROR_E2E_SHOTS:-}" ] && import -window root "$RUROR_E2E_SHOTS/$(date +%s%N).png" 2>/dev/null
  exit 1
}

start_display() {  # FIRST LAST: an Xvfb on the first free display number of the range
  local number
  for number in $(seq "$1" "$2"); do
    [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ] || break
  done
  export DISPLAY=:$number
  Xvfb "$DISPLAY" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
  xdotool getmouselocation >/dev/null 2>&1 || { echo "SKIPPED: Xvfb did not start"; exit 77; }
}

lay_out_quvetra() {  # a Quvetra folder with the program installed into it, and a destination
  quvetra="$work/Quvetra"
  destination="$work/Copias"
  mkdir -p "$destination"
  "$source/scripts/make-demo-folder.sh" "$quvetra" >/dev/null
  cmake --install "$build" --prefix "$quvetra" >/dev/null
  backup="$destination/Respaldo ($(date +%d-%m-%Y)).qvtdb"
  before=$(quvetra_files)
}

quvetra_files() { (cd "$quvetra" && find "QVT Datos" "QVT Datos.mdb" -type f -exec md5sum {} + | sort); }
quvetra_unchanged() { [ "$(quvetra_files)" = "$before" ] || fail "Quvetra's files changed"; }
nothing_overwritten() {  # after "No" to replacing the earlier backup: nothing written, the window still open
  [ "$(cat "$backup")" = "viejo" ] || fail "the earlier backup was changed"
  [ ! -e "$destination/Respaldo QVT" ] || fail "the data centre was copied"
  program_running || fail "the program ended"
}

wait_window() {  # NAME: until a window of that name is shown
  for _ in $(seq 150); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  fail "no window named $1 appeared"
}
wait_no_window() {  # NAME: until no window of that name is shown
  for _ in $(seq 150); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  fail "the window named $1 did not go"
}
wait_program_end() {  # until the program has ended, and ended well
  local status
  for _ in $(seq 150); do
    if ! kill -0 "$program" 2>/dev/null; then
      status=0
      wait "$program" || status=$?
      program=""
      [ "$status" -eq 0 ] || fail "the program ended with status $status"
      return 0
    fi
    sleep 0.1
  done
  fail "the program did not end"
}
wait_result() {  # the end of a backup of the demo folder: the notice of its left-out folder, then the result
  wait_window '^Carpetas no respaldadas$'
  press Return
  wait_no_window '^Carpetas no respaldadas$'
  wait_window '^RUROR$'
}
program_running() { kill -0 "$program" 2>/dev/null; }
press() { xdotool key --delay 80 "$@"; sleep "${key_pause:-0.2}"; }
type_text() { xdotool type --delay 30 "$1"; sleep "${key_pause:-0.2}"; }
# Without a window manager the keyboard follows the pointer: put it on the window.
point_at() {  # WINDOW_ID DY
  eval "$(xdotool getwindowgeometry --shell "$1")"
  xdotool mousemove $((X + 200)) $((Y + $2))
  sleep 0.4
}
