#!/usr/bin/env bash
# Lays out a demo Quvetra program folder: a database of a few MiB and a data
# centre with files at its top level and in its three sub-folders, plus a
# fourth sub-folder and a hidden file that a backup must leave out.
# Usage: make-demo-folder.sh FOLDER
set -euo pipefail
folder=${1:?usage: make-demo-folder.sh FOLDER}
centre="$folder/QVT Datos"

mkdir -p "$centre/Archivo" "$centre/Plantillas" "$centre/Referencias" "$centre/Otros"
[ -f "$folder/QVT Datos.mdb" ] || head -c $((4 * 1024 * 1024)) /dev/urandom > "$folder/QVT Datos.mdb"

echo "Índice de documentos adjuntos" > "$centre/Índice.txt"
echo "Notas del centro de datos" > "$centre/notas.txt"
head -c 200000 /dev/urandom > "$centre/Archivo/Contrato 2026.pdf"
head -c 50000 /dev/urandom > "$centre/Archivo/Recibo #17.pdf"
echo "Estimado cliente:" > "$centre/Plantillas/Carta.dot"
head -c 80000 /dev/urandom > "$centre/Referencias/Tarifas.xls"
echo "no se respalda" > "$centre/Otros/fuera.txt"
echo "no se respalda" > "$centre/.oculto"
