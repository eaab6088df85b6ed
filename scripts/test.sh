#!/usr/bin/env bash
# Builds RUROR and runs every suite the installed packages allow: the Linux
# suite as a normal build and under AddressSanitizer and
# UndefinedBehaviorSanitizer, and the Windows program's suites, cross-built
# with mingw-w64 for 32-bit Windows (the program handed out) and for 64-bit
# Windows, each run under Wine in a Wine prefix of the run's own. Needs no
# display. A suite that cannot run here (a package the mirror could not
# give) is listed as NOT RUN at the end, never counted as passed; only a
# failed build or test fails the command.
set -uo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh || exit 1
export RUROR_RESULTS
RUROR_RESULTS=$(mktemp /tmp/ruror-results-XXXXXX)
trap 'rm -f "$RUROR_RESULTS"' EXIT
# shellcheck source=suites.sh
source scripts/suites.sh

run_suite "Linux" build -DCMAKE_BUILD_TYPE=RelWithDebInfo
# The program as scripts/demo.sh builds it: the optimiser warns of other things.
build_only "Linux, release build" build-release -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
LSAN_OPTIONS=suppressions="$PWD/tests/lsan.supp" \
  run_suite "Linux, ASan and UBSan" build-sanitize -DCMAKE_BUILD_TYPE=Debug -DRUROR_SANITIZE=ON

mapfile -t windows_builds < <(windows_plan)
for line in "${windows_builds[@]}"; do
  read -r processor plan reason <<<"$line"
  bits=32 dir=build-windows
  [ "$processor" = x86_64 ] && bits=64 dir=build-windows64
  args=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-$processor.cmake")
  case "$plan" in
    test) scripts/with-wine.sh run_suite "Windows, $bits-bit" "$dir" "${args[@]}" </dev/null ;;
    build)
      build_only "Windows, $bits-bit" "$dir" "${args[@]}"
      note_result "NOT RUN: Windows, $bits-bit: every test of ruror.exe ($reason; the program was built)" ;;
    none) note_result "NOT RUN: Windows, $bits-bit: ruror.exe and its tests ($reason)" ;;
  esac
done

# The Windows program as it is handed out: the 32-bit ruror.exe and
# LÉAME.txt in a zip.
if [ -f build-windows/app/windows/ruror.exe ]; then
  (cd build-windows && cpack -G ZIP >/dev/null && ls "$PWD"/ruror-*-win32.zip) ||
    note_result "FAILED: the Windows zip could not be made"
fi

print_summary
