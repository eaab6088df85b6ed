#!/usr/bin/env bash
# The test command's decisions, without building anything: which Windows
# suites run with the packages at hand, what a skipped test is reported as,
# and that what did not run is the last thing said.
# Usage: suites_test.sh SOURCE_DIR
set -euo pipefail
source_dir=$1
work=$(mktemp -d /tmp/ruror-suites-XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*"; exit 1; }

# Stand-ins for the cross-compilers and Wine's two loaders; the plan looks
# at nothing else.
mkdir -p "$work/bin"
for tool in i686-w64-mingw32-g++-posix x86_64-w64-mingw32-g++-posix wine wine64; do
  printf '#!/bin/sh\n' >"$work/bin/$tool"
  chmod +x "$work/bin/$tool"
done
plan() {  # what windows_plan says with the stand-ins at hand
  (
    PATH="$work/bin"
    RUROR_WINE32_LOADER="$work/bin/wine" RUROR_WINE64_LOADER="$work/bin/wine64"
    # shellcheck source=../../scripts/suites.sh
    source "$source_dir/scripts/suites.sh"
    windows_plan
  )
}

[ "$(plan)" = $'i686 test\nx86_64 test' ] || fail "with everything at hand: $(plan)"
printf '#!/bin/sh\nexit 126\n' >"$work/bin/wine"
grep -qxF "i686 build $work/bin/wine does not start on this machine (a kernel without 32-bit support?)" <<<"$(plan)" ||
  fail "with a 32-bit Wine that cannot start: $(plan)"
rm "$work/bin/wine"
[ "$(plan)" = $'i686 build the 32-bit Wine (wine32:i386) is not installed\nx86_64 test' ] ||
  fail "without the 32-bit Wine: $(plan)"
rm "$work/bin/wine64"
[ "$(plan)" = $'i686 build Wine (wine64) is not installed\nx86_64 build Wine (wine64) is not installed' ] ||
  fail "without Wine: $(plan)"
rm "$work/bin/x86_64-w64-mingw32-g++-posix"
grep -qx "x86_64 none the cross-compiler x86_64-w64-mingw32-g++-posix is not installed" <<<"$(plan)" ||
  fail "without the 64-bit cross-compiler: $(plan)"

# A test that ctest skipped is reported with the reason it printed, and the
# lines of what did not run come last, after a failure; a failure fails.
export RUROR_RESULTS="$work/results"
# shellcheck source=../../scripts/suites.sh
source "$source_dir/scripts/suites.sh"
mkdir -p "$work/build/Testing/Temporary"
printf 'The following tests did not run:\n\t 45 - EndToEnd.backup (Skipped)\n' >"$work/build/ctest.out"
printf '45/52 Test: EndToEnd.backup\nOutput:\nSKIPPED: xdotool is not installed\n' >"$work/build/Testing/Temporary/LastTest.log"
note_result "NOT RUN: Windows, 32-bit: every test of ruror.exe (the 32-bit Wine (wine32:i386) is not installed)"
note_result "PASSED: Linux"
note_skipped "Linux" "$work/build"
note_result "FAILED: Windows, 64-bit: some tests failed (above)"
status=0
print_summary >"$work/summary" || status=$?
[ "$status" -ne 0 ] || fail "a failed suite did not fail the summary"
tail -n 2 "$work/summary" | grep -c '^NOT RUN: ' | grep -qx 2 || fail "NOT RUN is not last: $(cat "$work/summary")"
grep -qxF "NOT RUN: Linux: EndToEnd.backup (xdotool is not installed)" "$work/summary" ||
  fail "the skipped test is not told with its reason: $(cat "$work/summary")"
sed -i '/^FAILED/d' "$RUROR_RESULTS"
print_summary >/dev/null || fail "what did not run alone failed the summary"
echo "PASSED"
