#!/usr/bin/env bash
# Measures every performance goal in one run on this machine, through the
# installed program in its real window, against the verified baseline (cp,
# sync, then every copy read back past the cache in one process), and says
# of each goal whether it was met; then ruror.exe under Wine against the
# plainest Windows program doing the same verified copy (its goals are
# against that program, not against Linux), and the engine alone. Takes
# about half an hour.
# Usage: bench/all_goals.sh [WORK_FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
work=${1:-/var/tmp/ruror-goals}
export LC_NUMERIC=C
verdicts=()

section() { printf '\n== %s\n' "$*"; }

# measure "GOAL TEXT" KEY LIMIT BENCH-OPTIONS...: one bench run and its verdict.
measure() {
  local goal=$1 key=$2 limit=$3 output value
  shift 3
  output=$(bench/real_program_bench.sh --dir "$work" "$@" 2>&1 | grep -v '^QStandardPaths')
  printf '%s\n' "$output"
  value=$(sed -n "s/^SUMMARY.* $key=\\([0-9.]*\\).*/\\1/p" <<<"$output")
  if [ -z "$value" ]; then
    verdicts+=("NOT MEASURED  $goal")
  elif [ "$(echo "$value <= $limit" | bc -l)" = 1 ]; then
    verdicts+=("met ($value)  $goal")
  else
    verdicts+=("NOT MET ($value)  $goal")
  fi
}

section "1 GiB database, every copy read back: each of 3 runs within 1.10 of the verified baseline"
measure "1 GiB database: every run <= 1.10" ratio_max 1.10 --database-mib 1024 --files 100 --max-kib 64 --runs 3
section "20,000 files of 4 to 64 KiB: median of 5 pairs within 1.30 of the verified baseline"
measure "20,000 files of 4-64 KiB: median <= 1.30" ratio_median 1.30 --database-mib 1 --files 20000 --max-kib 64 \
  --runs 5
section "2,000 files of 4 KiB to 4 MiB: median of 5 pairs within 1.30 of the verified baseline"
measure "2,000 files of 4 KiB-4 MiB: median <= 1.30" ratio_median 1.30 --database-mib 1 --files 2000 --runs 5
section "Freeze: 2 GiB database and 2,000 files, the window never still for more than 100 ms"
measure "2 GiB and 2,000 files: longest freeze <= 100 ms" freeze_max 100 --database-mib 2048 --files 2000 --runs 3
section "Memory, flat whatever the work: 100 MiB, 4 GiB, and 20,000 files"
measure "100 MiB database: peak memory <= 64 MiB" peak_max 64 --database-mib 100 --files 100 --max-kib 64 --runs 1
measure "4 GiB database: peak memory <= 64 MiB" peak_max 64 --database-mib 4096 --files 100 --max-kib 64 --runs 1
measure "20,000 files: peak memory <= 64 MiB" peak_max 64 --database-mib 100 --files 20000 --max-kib 64 --runs 1

section "ruror.exe under Wine against the Windows baseline, alternating pairs"
measure "ruror.exe, 2,000 files of 4-64 KiB: median <= 1.30 of the Windows baseline" windows_ratio_median 1.30 \
  --windows --database-mib 1 --files 2000 --max-kib 64 --runs 3
measure "ruror.exe, 1 GiB database: median <= 1.15 of the Windows baseline" windows_ratio_median 1.15 \
  --windows --database-mib 1024 --files 100 --max-kib 64 --runs 5
bench/wine_requests_per_file.sh

section "The engine alone (headless): 1 GiB database and 2,000 files"
build/bench/ruror_bench --dir "$work" --runs 5
rm -rf "$work"

section "Goals"
printf '%s\n' "${verdicts[@]}"
! printf '%s\n' "${verdicts[@]}" | grep -q '^NOT'
