#!/usr/bin/env bash
# Builds RUROR and runs the whole suite four times: as a normal build,
# under AddressSanitizer and UndefinedBehaviorSanitizer, and as the Windows
# program's suites, cross-built with mingw-w64 for 32-bit Windows (the
# program handed out) and for 64-bit Windows, each run under Wine in a Wine
# prefix of the run's own. Needs no display.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

run_suite() {
  local dir=$1; shift
  cmake -S . -B "$dir" "$@" >/dev/null
  cmake --build "$dir" -j"$(nproc)"
  ctest --test-dir "$dir" --output-on-failure -j2
}

run_suite build -DCMAKE_BUILD_TYPE=RelWithDebInfo
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
LSAN_OPTIONS=suppressions="$PWD/tests/lsan.supp" \
  run_suite build-sanitize -DCMAKE_BUILD_TYPE=Debug -DRUROR_SANITIZE=ON

scripts/with-wine.sh run_suite build-windows -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-i686.cmake"
scripts/with-wine.sh run_suite build-windows64 -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake"
# The Windows program as it is handed out: the 32-bit ruror.exe and
# LÉAME.txt in a zip.
(cd build-windows && cpack -G ZIP >/dev/null && ls "$PWD"/ruror-*-win32.zip)
