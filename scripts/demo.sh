#!/usr/bin/env bash
# Builds RUROR, installs it into a demo Quvetra program folder inside the
# build tree and opens its window there.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
demo="$PWD/build/demo-quvetra"
scripts/make-demo-folder.sh "$demo"
cmake --install build --prefix "$demo" >/dev/null
echo "Carpeta de Quvetra de prueba: $demo"
exec "$demo/ruror"
