# What the benchmarks that drive the real window share: a display of their
# own, and the program's window found and pointed at, ready for the keys.
# Sourced by real_program_bench.sh and wine_requests_per_file.sh.

start_display() {  # FIRST LAST: an Xvfb on the first free display number of the range; sets $xvfb
  local number
  for number in $(seq "$1" "$2"); do
    [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ] || break
  done
  export DISPLAY=:$number
  Xvfb "$DISPLAY" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
}

# Waits for the program's window, puts the pointer on it (without a window
# manager the keyboard follows the pointer) and prints its id.
window_ready() {  # DY: how far below the window's top the pointer goes
  local window=""
  for _ in $(seq 200); do
    window=$(xdotool search --onlyvisible --name '^Respaldo de seguridad$' 2>/dev/null | head -n 1) && [ -n "$window" ] && break
    sleep 0.05
  done
  eval "$(xdotool getwindowgeometry --shell "$window")"
  xdotool mousemove $((X + 200)) $((Y + $1))
  sleep 0.4
  echo "$window"
}
