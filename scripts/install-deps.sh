#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running need,
# only those that are missing. Safe to run any number of times.
set -euo pipefail

packages=(
  cmake g++ make pkg-config clang-format clang-tidy
  qt6-base-dev qt6-translations-l10n libgl-dev
  libgtest-dev googletest
  fonts-wine
  dosfstools fusefat python3-fusepy libxxhash-dev
  xvfb xdotool xclip x11-utils imagemagick libx11-dev libxtst-dev
  dbus at-spi2-core python3-pyatspi
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine wine64 wine32:i386 locales
)

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
# The 32-bit Windows program runs under Debian's 32-bit Wine, beside the
# 64-bit one: it needs the i386 architecture.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
  $sudo apt-get update -qq
fi

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The Windows program's tests run under Wine in Spanish, which needs the
# locale; without it Wine cannot even make a file with an accented name.
if ! locale -a 2>/dev/null | grep -qi '^es_ES\.utf-\?8$'; then
  $sudo sed -i 's/^# *es_ES.UTF-8 UTF-8/es_ES.UTF-8 UTF-8/' /etc/locale.gen
  $sudo locale-gen >/dev/null
fi
