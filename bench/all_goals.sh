#!/usr/bin/env bash
# Measures every performance goal in one run on this machine: the installed
# program through its real window, then the engine alone (headless), as
# docs/PERFORMANCE.md reports them. Takes about 20 minutes.
# Usage: bench/all_goals.sh [WORK_FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
work=${1:-/var/tmp/ruror-goals}

section() { printf '\n== %s\n' "$*"; }

section "1 GiB database, 100 files of 4 to 64 KiB, through the real program"
bench/real_program_bench.sh --dir "$work" --database-mib 1024 --files 100 --max-kib 64 --runs 5
section "2,000 files of 4 KiB to 4 MiB, 1 MiB database, through the real program"
bench/real_program_bench.sh --dir "$work" --database-mib 1 --files 2000 --runs 5
section "20,000 files of 4 to 64 KiB, 1 MiB database, through the real program"
bench/real_program_bench.sh --dir "$work" --database-mib 1 --files 20000 --max-kib 64 --runs 3
section "Freeze: 2 GiB database and 2,000 files, through the real program"
bench/real_program_bench.sh --dir "$work" --database-mib 2048 --files 2000 --runs 3
section "Memory: 100 MiB and 100 files, through the real program"
bench/real_program_bench.sh --dir "$work" --database-mib 100 --files 100 --max-kib 64 --runs 1
section "Memory: 4 GiB and 100 files, through the real program"
bench/real_program_bench.sh --dir "$work" --database-mib 4096 --files 100 --max-kib 64 --runs 1
section "Memory: 100 MiB and 20,000 files, through the real program"
bench/real_program_bench.sh --dir "$work" --database-mib 100 --files 20000 --max-kib 64 --runs 1
section "The engine alone (headless): 1 GiB database and 2,000 files"
build/bench/ruror_bench --dir "$work" --runs 5
section "The engine alone (headless): 20,000 files of 4 to 64 KiB"
build/bench/ruror_bench --dir "$work" --database-mib 1 --files 20000 --max-kib 64 --runs 3
rm -rf "$work"
