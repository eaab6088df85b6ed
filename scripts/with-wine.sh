#!/usr/bin/env bash
# Runs a command (here, the Windows suites) with a Wine prefix of its own,
# made for the run and removed after it (never the user's), one wine server
# kept up for the whole run, and Spanish as the language.
set -euo pipefail

prefix_home=$(mktemp -d /tmp/ruror-wine-XXXXXX)
export RUROR_WINE_HOME="$prefix_home"
export WINEPREFIX="$prefix_home/pfx"
# Wine links the prefix's Documents and Desktop to the home folder: a home
# of the run's own keeps what the tests write there out of the user's.
export HOME="$prefix_home/home"
mkdir -p "$HOME"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=es_ES.UTF-8
finish() {
  wineserver -k 2>/dev/null || true
  umount "$prefix_home/small" 2>/dev/null || true
  rm -rf "$prefix_home"
}
trap finish EXIT

/usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1
wineserver -w
# Wine does not load the Tahoma of fonts-wine by itself, nor Marlett for
# the caption buttons; and with no window manager it draws its own frames.
# Its Tahoma Bold is bold in its small bitmaps only, with regular outlines
# and widths of its own: without it, Wine makes the bold from Tahoma, as a
# real bold face draws.
cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
rm -f "$WINEPREFIX/drive_c/windows/Fonts/tahomabd.ttf"
/usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1 || true
# Nor is there a window manager to acknowledge a window taken down, which
# Wine otherwise waits two seconds for, each time.
/usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || true
wineserver -w
wineserver -p
/usr/lib/wine/wine64 cmd /c exit >/dev/null 2>&1 || true

# A 1 MiB disk that really fills up, as drive R: (where the run may mount).
mkdir -p "$prefix_home/small"
if mount -t tmpfs -o size=1M tmpfs "$prefix_home/small" 2>/dev/null; then
  ln -s "$prefix_home/small" "$WINEPREFIX/dosdevices/r:"
  export RUROR_SMALL_DRIVE='R:\'
fi

# shellcheck source=suites.sh
source "$(dirname "$0")/suites.sh"
"$@"
