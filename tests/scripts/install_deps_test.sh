#!/usr/bin/env bash
# Runs scripts/install-deps.sh against stand-ins for apt-get, dpkg,
# dpkg-query, locale, locale-gen and sudo, on a half-synced mirror: nothing
# on the machine changes. Usage: install_deps_test.sh SOURCE_DIR
set -euo pipefail
source_dir=$1
work=$(mktemp -d /tmp/ruror-deps-XXXXXX)
trap 'rm -rf "$work"' EXIT

fail() { echo "FAILED: $*"; exit 1; }

# The stand-ins keep the machine they pretend to be in $work/state: the
# packages installed, the architectures, and every apt-get call made.
stand_ins="$work/bin"
mkdir -p "$stand_ins" "$work/state"
cat >"$stand_ins/apt-get" <<'EOF'
#!/usr/bin/env bash
echo "apt-get $*" >>"$STATE/calls"
case "$1" in
  update)
    echo "E: Failed to fetch .../binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?" >&2
    exit 100 ;;
  install)
    for package in "$@"; do
      case " $REFUSED " in *" $package "*)
        echo "E: Unable to correct problems, you have held broken packages." >&2
        exit 100 ;;
      esac
    done
    for package in "$@"; do [[ $package = -* || $package = install ]] || echo "$package" >>"$STATE/installed"; done ;;
esac
EOF
cat >"$stand_ins/dpkg-query" <<'EOF'
#!/usr/bin/env bash
package=${!#}
grep -qxF "$package" "$STATE/installed" 2>/dev/null || exit 1
printf 'install ok installed'
EOF
cat >"$stand_ins/dpkg" <<'EOF'
#!/usr/bin/env bash
case "$1" in
  --print-foreign-architectures) cat "$STATE/architectures" 2>/dev/null ;;
  --add-architecture) echo "$2" >>"$STATE/architectures" ;;
esac
EOF
printf '#!/bin/sh\n' >"$stand_ins/locale"
printf '#!/bin/sh\necho locale-gen >>"$STATE/calls"\n' >"$stand_ins/locale-gen"
printf '#!/bin/sh\nexec "$@"\n' >"$stand_ins/sudo"
chmod +x "$stand_ins"/*

run() {  # REFUSED_PACKAGES [ARGS...]: the script on the stand-ins; its output in $work/out, its status in $status
  : >"$work/state/installed"
  : >"$work/state/calls"
  : >"$work/state/architectures"
  echo "es_ES.UTF-8 UTF-8" | sed 's/^/# /' >"$work/locale.gen"
  local refused=$1
  shift
  status=0
  PATH="$stand_ins:$PATH" STATE="$work/state" REFUSED="$refused" RUROR_APT_RETRY_PAUSE=0 \
    RUROR_LOCALE_GEN_FILE="$work/locale.gen" bash "$source_dir/scripts/install-deps.sh" "$@" >"$work/out" 2>&1 ||
    status=$?
}
installed() { grep -qxF "$1" "$work/state/installed" || fail "$1 was not installed: $(cat "$work/out")"; }

# The 32-bit Wine cannot be had: everything else is installed, and the
# script says so and ends well.
run "wine32:i386"
[ "$status" -eq 0 ] || fail "the script ended with $status: $(cat "$work/out")"
[ "$(grep -c '^apt-get update' "$work/state/calls")" -eq 3 ] || fail "the index update was not tried three times"
grep -q "^WARNING: apt-get update failed" "$work/out" || fail "no warning about the indexes: $(cat "$work/out")"
grep -q "^NOT INSTALLED (wine32): wine32:i386: the 32-bit ruror.exe is built, but its tests do not run" "$work/out" ||
  fail "wine32 is not named: $(cat "$work/out")"
for package in qt6-base-dev libgtest-dev xvfb g++-mingw-w64-i686-posix wine64 locales; do installed "$package"; done
grep -qx i386 "$work/state/architectures" || fail "the i386 architecture was not added"
grep -q '^es_ES.UTF-8 UTF-8' "$work/locale.gen" || fail "the Spanish locale was not enabled"
grep -qx locale-gen "$work/state/calls" || fail "the locales were not generated"

# What the Linux program needs cannot be had: the script says which, and fails.
run "qt6-base-dev"
[ "$status" -ne 0 ] || fail "the script ended well without Qt"
grep -q "could not be installed: .*qt6-base-dev" "$work/out" || fail "Qt is not named: $(cat "$work/out")"
installed wine64

# The demo asks for the Linux packages alone: no Windows package, no i386.
run "wine32:i386 wine64" linux
[ "$status" -eq 0 ] || fail "the Linux packages alone ended with $status: $(cat "$work/out")"
installed cmake
grep -qE "^(wine|g\+\+-mingw)" "$work/state/installed" && fail "a Windows package was installed for the Linux program"
[ -s "$work/state/architectures" ] && fail "the i386 architecture was added for the Linux program"

# Nothing missing: nothing updated, nothing installed.
run ""
calls_before=$(grep -c '^apt-get' "$work/state/calls")
PATH="$stand_ins:$PATH" STATE="$work/state" REFUSED="" RUROR_APT_RETRY_PAUSE=0 \
  RUROR_LOCALE_GEN_FILE="$work/locale.gen" bash "$source_dir/scripts/install-deps.sh" >"$work/out" 2>&1
[ "$(grep -c '^apt-get' "$work/state/calls")" -eq "$calls_before" ] || fail "apt-get was called with nothing missing"

echo "PASSED"
