#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running need, only
# those that are missing. Safe to run any number of times.
#
# Usage: install-deps.sh [linux]
#   With "linux", only what the Linux program and its tests need.
#
# The packages come in groups, installed one after the other, so that a
# group the mirror cannot give (a half-synced mirror is an everyday event)
# does not stop the others:
#   linux    the Linux program and its tests: without them nothing is built,
#            and the script ends with a non-zero status;
#   display  the X display, the keyboard driver and the accessibility bus of
#            the end-to-end tests, and the FAT drives of the fault tests:
#            without them those tests report themselves skipped;
#   windows  the Windows cross-compilers and the 64-bit Wine;
#   wine32   the 32-bit Wine, alone, on Debian's i386 architecture: without
#            it the 32-bit ruror.exe is still built, but not tested.
# A group that cannot be installed is named in one line, with what will not
# run without it, and the script goes on.
set -uo pipefail

linux=(cmake g++ make pkg-config clang-format clang-tidy qt6-base-dev qt6-translations-l10n libgl-dev
       libgtest-dev googletest libxxhash-dev fonts-wine)
display=(xvfb xauth xdotool xclip x11-utils imagemagick libx11-dev libxtst-dev openbox
         dbus at-spi2-core python3-pyatspi dosfstools fusefat python3-fusepy)
windows=(g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine wine64 locales)
wine32=(wine32:i386)

declare -A without=(
  [linux]="nothing can be built or tested"
  [display]="the end-to-end tests and the FAT drive tests are skipped"
  [windows]="ruror.exe is not built, and no Windows test runs"
  [wine32]="the 32-bit ruror.exe is built, but its tests do not run"
)

groups=(linux display windows wine32)
[ "${1:-}" = linux ] && groups=(linux)

# Pauses between tries of a failed index update; the tests set it to 0.
retry_pause=${RUROR_APT_RETRY_PAUSE:-10}
# The file that lists the locales to generate; the tests give one of their own.
locale_list=${RUROR_LOCALE_GEN_FILE:-/etc/locale.gen}

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

missing_of() {  # GROUP: the group's packages that are not installed, one a line
  local -n members=$1
  local package
  for package in "${members[@]}"; do installed "$package" || echo "$package"; done
}

# A mirror in the middle of a sync fails an index or two: tried again after
# a pause, then the indexes that did download are used.
update_indexes() {
  local attempt
  for attempt in 1 2 3; do
    $sudo apt-get update -qq && return 0
    [ "$attempt" -lt 3 ] && sleep "$retry_pause"
  done
  echo "WARNING: apt-get update failed 3 times (is the mirror being synced?); going on with the package indexes that did download."
}

# The 32-bit Wine comes from Debian's i386 architecture, whose indexes the
# update must fetch too.
if [[ " ${groups[*]} " = *" wine32 "* ]] && [ -n "$(missing_of wine32)" ] &&
   ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi

failed_groups=()
updated=no
for group in "${groups[@]}"; do
  mapfile -t missing < <(missing_of "$group")
  [ ${#missing[@]} -gt 0 ] || continue
  [ "$updated" = yes ] || update_indexes
  updated=yes
  echo "Installing ($group): ${missing[*]}"
  if ! $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null; then
    echo "NOT INSTALLED ($group): ${missing[*]}: ${without[$group]}."
    failed_groups+=("$group")
  fi
done

# The Windows program's tests run under Wine in Spanish, which needs the
# locale; without it Wine cannot even make a file with an accented name.
if [[ " ${groups[*]} " = *" windows "* ]] && installed locales && ! locale -a 2>/dev/null | grep -qi '^es_ES\.utf-\?8$'; then
  $sudo sed -i 's/^# *es_ES.UTF-8 UTF-8/es_ES.UTF-8 UTF-8/' "$locale_list"
  $sudo locale-gen >/dev/null || echo "WARNING: the es_ES.UTF-8 locale could not be generated: the Windows tests run in English."
fi

for group in "${failed_groups[@]}"; do
  if [ "$group" = linux ]; then
    echo "The packages the Linux program and its tests need could not be installed: $(missing_of linux | tr '\n' ' ')" >&2
    exit 1
  fi
done
exit 0
