#!/usr/bin/env bash
# Times a backup as a user gets it: the installed program with its real
# window in an X display, the location typed and "Aceptar" pressed, timed
# from the key to the result box; alternated with `cp` + `sync -f` of the
# same data into fresh destinations. Also the longest time the window took
# to answer (its freeze) and the program's peak memory.
#
# With --windows, the Windows program (build-windows/) under Wine instead, in
# a Wine prefix of the run's own: a figure under Wine is no Windows figure.
# It is then also timed against the plainest Windows program that does the
# same verified work (bench/windows/windows_baseline.cpp), alternating with
# it under the same prefix and the same wine server.
#
# Usage: real_program_bench.sh [--windows] [--dir FOLDER] [--database-mib N]
#                              [--files N] [--min-kib N] [--max-kib N] [--runs N]
# Needs a build (build/, and build-windows/ for --windows) and Xvfb and
# xdotool (scripts/install-deps.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
# Figures with a decimal point, whatever language the program runs in.
export LC_NUMERIC=C

work=/var/tmp/ruror-bench-real
runs=3
shape=()
windows=""
arguments=("$@")
while [ $# -gt 0 ]; do
  case "$1" in
    --windows) windows=yes; shift; continue ;;
    --dir) work=$2 ;;
    --runs) runs=$2 ;;
    --database-mib|--files|--min-kib|--max-kib) shape+=("$1" "$2") ;;
    *) echo "unknown option $1" >&2; exit 2 ;;
  esac
  shift 2
done
if [ -n "$windows" ] && [ -z "${RUROR_WINE_HOME:-}" ]; then
  exec scripts/with-wine.sh "$0" "${arguments[@]}"
fi

quvetra="$work/Quvetra"
destination="$work/Copias"
build/bench/ruror_bench --dir "$work" "${shape[@]}" --lay-out-only
if [ -n "$windows" ]; then
  cp build-windows/app/windows/ruror.exe "$quvetra/"
  start_program() { ${RUROR_WRAPPER:-} /usr/lib/wine/wine "$quvetra/ruror.exe" & }
  typed_destination="Z:${destination//\//\\}\\"
else
  cmake --install build --prefix "$quvetra" >/dev/null
  start_program() { HOME="$work/home" ${RUROR_WRAPPER:-} "$quvetra/ruror" & }
  typed_destination="$destination/"
fi

# shellcheck source=window_session.sh
source bench/window_session.sh
start_display 120 139
# Wine's desktop belongs to the display its server first met.
[ -n "$windows" ] && { wineserver -k 2>/dev/null || true; wineserver -w 2>/dev/null || true; }
program=""
trap '[ -n "$program" ] && kill "$program" 2>/dev/null; kill "$xvfb" 2>/dev/null; rm -rf "$destination"' EXIT

fresh_destination() {
  rm -rf "$destination"
  mkdir -p "$destination"
  sync -f "$destination"
}

now() { date +%s.%N; }
elapsed() { echo "$2 - $1" | bc -l; }

# One backup through the program's window; prints seconds, freeze ms and peak MiB.
with_ruror() {
  fresh_destination
  start_program
  program=$!
  local window
  window=$(window_ready 20)
  xdotool type --delay 5 "$typed_destination"
  xdotool key Return Return   # to the name, then to "Aceptar"
  sleep 0.3
  local measured peak
  measured=$(build/bench/ruror_window_probe "$window" space RUROR 600)
  peak=$(awk '/VmHWM/ { printf "%.1f", $2 / 1024 }' "/proc/$program/status")
  xdotool key Return          # closes the result box; the program ends
  wait "$program"
  program=""
  echo "$measured $peak"
}

# The same copy with cp and sync; prints its seconds, then those of reading
# every copy back from the drive past the cache, in one process, as RUROR
# also does.
with_cp() {
  fresh_destination
  local start copied
  start=$(now)
  cp "$quvetra/QVT Datos.mdb" "$destination/cp.qvtdb"
  for sub in "" Archivo Plantillas Referencias; do
    mkdir -p "$destination/Respaldo QVT/$sub"
    find "$quvetra/QVT Datos/$sub" -maxdepth 1 -type f -exec cp -p -t "$destination/Respaldo QVT/$sub" {} +
  done
  sync -f "$destination"
  copied=$(now)
  build/bench/ruror_read_back_all "$destination" >/dev/null
  echo "$(elapsed "$start" "$copied") $(elapsed "$copied" "$(now)")"
}

# The Windows baseline's own time for the same work, in one process.
with_windows_baseline() {
  fresh_destination
  local took copied
  read -r took copied < <(/usr/lib/wine/wine build-windows/bench/windows/windows_baseline.exe \
    "Z:${quvetra//\//\\}" "Z:${destination//\//\\}" | tr -d '\r')
  echo "$took"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# One run of each that is not counted: the disk is still settling.
with_ruror >/dev/null
with_cp >/dev/null

[ -n "$windows" ] && with_windows_baseline >/dev/null
ruror_times=() cp_times=() verified_times=() ratios=() freezes=() peaks=() windows_ratios=()
for run in $(seq "$runs"); do
  if [ $((run % 2)) -eq 1 ]; then
    read -r seconds freeze peak < <(with_ruror); read -r copy readback < <(with_cp)
    [ -n "$windows" ] && baseline=$(with_windows_baseline)
  else
    [ -n "$windows" ] && baseline=$(with_windows_baseline)
    read -r copy readback < <(with_cp); read -r seconds freeze peak < <(with_ruror)
  fi
  if [ -n "$windows" ]; then
    windows_ratios+=("$(echo "$seconds / $baseline" | bc -l)")
    printf 'run %d: ruror.exe %.3f s | Windows baseline %.3f s | ratio %.2f\n' "$run" "$seconds" "$baseline" \
      "${windows_ratios[-1]}"
  fi
  verified=$(echo "$copy + $readback" | bc -l)
  printf 'run %d: RUROR %.3f s (longest freeze %s ms, peak %s MiB) | cp + sync %.3f s, + read back %.3f s | ratio to cp + sync %.2f, to cp + sync + read back %.2f\n' \
    "$run" "$seconds" "$freeze" "$peak" "$copy" "$verified" "$(echo "$seconds / $copy" | bc -l)" \
    "$(echo "$seconds / $verified" | bc -l)"
  ruror_times+=("$seconds") cp_times+=("$copy") verified_times+=("$verified") freezes+=("$freeze") peaks+=("$peak")
  ratios+=("$(echo "$seconds / $verified" | bc -l)")
done

ruror_median=$(printf '%s\n' "${ruror_times[@]}" | median)
cp_median=$(printf '%s\n' "${cp_times[@]}" | median)
verified_median=$(printf '%s\n' "${verified_times[@]}" | median)
printf '\nMedians of %d runs: RUROR %.3f s, cp + sync %.3f s (ratio %.2f), cp + sync + read back %.3f s (ratio %.2f)\n' \
  "$runs" "$ruror_median" "$cp_median" "$(echo "$ruror_median / $cp_median" | bc -l)" "$verified_median" \
  "$(echo "$ruror_median / $verified_median" | bc -l)"
freeze_max=$(printf '%s\n' "${freezes[@]}" | sort -g | tail -n 1)
peak_max=$(printf '%s\n' "${peaks[@]}" | sort -g | tail -n 1)
printf 'Longest freeze of the window: %s ms; peak memory: %s MiB\n' "$freeze_max" "$peak_max"
if [ -n "$windows" ]; then
  printf 'Ratio of ruror.exe to the Windows baseline: median %.2f, each run %s\n' \
    "$(printf '%s\n' "${windows_ratios[@]}" | median)" "$(printf '%.2f ' "${windows_ratios[@]}")"
fi
# For bench/all_goals.sh: the ratios to the verified baseline, pair by pair.
windows_summary=""
[ -n "$windows" ] && windows_summary=$(printf ' windows_ratio_median=%.3f' "$(printf '%s\n' "${windows_ratios[@]}" | median)")
printf 'SUMMARY ratio_median=%.3f ratio_max=%.3f freeze_max=%s peak_max=%s%s\n' \
  "$(printf '%s\n' "${ratios[@]}" | median)" "$(printf '%s\n' "${ratios[@]}" | sort -g | tail -n 1)" \
  "$freeze_max" "$peak_max" "$windows_summary"
