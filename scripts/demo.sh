#!/usr/bin/env bash
# Builds RUROR as it is handed out (a release build, without debug
# information, in a build folder of its own), installs it into a demo
# Quvetra program folder there and opens its window. Needs only the Linux
# packages: no Windows package is installed or waited for.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh linux
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build-release -j"$(nproc)" --target ruror
demo="$PWD/build-release/demo-quvetra"
scripts/make-demo-folder.sh "$demo"
cmake --install build-release --prefix "$demo" --strip >/dev/null
echo "Carpeta de Quvetra de prueba: $demo"
exec "$demo/ruror"
