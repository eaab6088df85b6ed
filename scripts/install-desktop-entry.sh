#!/usr/bin/env bash
# Optional: adds RUROR, with its icon, to the applications menu of the
# current user's Linux desktop. Usage: install-desktop-entry.sh QUVETRA_FOLDER
set -euo pipefail
folder=$(cd "${1:?usage: install-desktop-entry.sh QUVETRA_FOLDER}" && pwd)
[ -x "$folder/ruror" ] || { echo "No está instalado RUROR en $folder" >&2; exit 1; }
applications="${XDG_DATA_HOME:-$HOME/.local/share}/applications"
mkdir -p "$applications"
cat > "$applications/ruror.desktop" <<ENTRY
[Desktop Entry]
Type=Application
Name=Respaldo de seguridad de Quvetra
GenericName=Respaldo de seguridad
Comment=Copia la base de datos y el centro de datos de Quvetra
Exec="$folder/ruror"
Path=$folder
Icon=$folder/ruror.png
Terminal=false
Categories=Utility;Archiving;
ENTRY
echo "$applications/ruror.desktop"
