# What scripts/test.sh and scripts/with-wine.sh share: running one suite,
# deciding which Windows suites the installed packages allow, and the
# summary. Sourced, not run. Every suite's outcome goes as one line into the
# file $RUROR_RESULTS: "PASSED: ...", "FAILED: ..." or "NOT RUN: ...".

# The loaders of Debian's Wine: the 32-bit one comes with wine32:i386, the
# 64-bit one with wine64. The tests point these elsewhere.
wine32_loader=${RUROR_WINE32_LOADER:-/usr/lib/wine/wine}
wine64_loader=${RUROR_WINE64_LOADER:-/usr/lib/wine/wine64}

note_result() { echo "$*" >>"$RUROR_RESULTS"; }

# The tests a ctest run skipped (exit code 77: a tool it needs is missing),
# each with the reason it printed.
note_skipped() {  # SUITE BUILD_DIR
  local log="$2/Testing/Temporary/LastTest.log" name reason
  [ -f "$log" ] || return 0
  while read -r name; do
    reason=$(awk -v test="$name" '$0 ~ "Test: " test "$" {inside=1} inside && /SKIPPED:/ {sub(/.*SKIPPED: /, ""); print; exit}' "$log")
    note_result "NOT RUN: $1: $name (${reason:-skipped})"
  done < <(sed -n 's/^[[:space:]]*[0-9]* - \(.*\) (Skipped)$/\1/p' "$2/ctest.out")
}

run_suite() {  # SUITE BUILD_DIR CMAKE_ARGS...: configure, build and run every test
  local suite=$1 dir=$2
  shift 2
  if ! cmake -S . -B "$dir" "$@" >/dev/null || ! cmake --build "$dir" -j"$(nproc)"; then
    note_result "FAILED: $suite: the build failed"
    return 1
  fi
  if ctest --test-dir "$dir" --output-on-failure -j2 | tee "$dir/ctest.out"; then
    note_result "PASSED: $suite"
  else
    note_result "FAILED: $suite: some tests failed (above)"
  fi
  note_skipped "$suite" "$dir"
}

build_only() {  # SUITE BUILD_DIR CMAKE_ARGS...: configure and build, no test
  local suite=$1 dir=$2
  shift 2
  cmake -S . -B "$dir" "$@" >/dev/null && cmake --build "$dir" -j"$(nproc)" ||
    note_result "FAILED: $suite: the build failed"
}

# One line for each Windows build: "PROCESSOR test", "PROCESSOR build REASON"
# (built, its tests cannot run) or "PROCESSOR none REASON".
windows_plan() {
  local processor loader compiler
  for processor in i686 x86_64; do
    compiler=$processor-w64-mingw32-g++-posix
    loader=$wine64_loader
    [ "$processor" = i686 ] && loader=$wine32_loader
    if ! command -v "$compiler" >/dev/null; then
      echo "$processor none the cross-compiler $compiler is not installed"
    elif [ ! -x "$wine64_loader" ] || ! "$wine64_loader" --version >/dev/null 2>&1; then
      echo "$processor build Wine (wine64) is not installed"
    elif [ ! -x "$loader" ]; then
      echo "$processor build the 32-bit Wine (wine32:i386) is not installed"
    elif ! "$loader" --version >/dev/null 2>&1; then
      # Installed, yet this machine cannot start it: a kernel built without
      # 32-bit support refuses every 32-bit program.
      echo "$processor build $loader does not start on this machine (a kernel without 32-bit support?)"
    else
      echo "$processor test"
    fi
  done
}

# Failures first, then what did not run, last of all; fails if a suite failed.
print_summary() {
  echo
  echo "Summary:"
  grep '^PASSED: ' "$RUROR_RESULTS" || true
  grep '^FAILED: ' "$RUROR_RESULTS" || true
  grep '^NOT RUN: ' "$RUROR_RESULTS" || true
  ! grep -q '^FAILED: ' "$RUROR_RESULTS"
}
