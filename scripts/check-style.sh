#!/usr/bin/env bash
# Checks that every source is formatted as .clang-format says and passes the
# static checks of .clang-tidy. Needs a configured build folder, which it
# makes when there is none.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror
cmake -S . -B build -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
# The Qt sources include files that the build generates.
cmake --build build -j"$(nproc)" >/dev/null
run-clang-tidy -quiet -p build -j "$(nproc)" "$PWD/(app|backup|bench|core|folder_picker|main_window|os|tests|ui)/" \
  >build/clang-tidy.log 2>&1 || { grep -E "(warning|error):" build/clang-tidy.log | sort -u; exit 1; }
echo "Formato y comprobaciones estáticas: correctos."
