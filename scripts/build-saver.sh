#!/usr/bin/env bash
# Installs what is missing and builds build/windows/Dovra.scr: the one build
# step the run and package commands share.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
bash scripts/setup.sh
cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" >/dev/null
cmake --build build/windows -j "$(nproc 2>/dev/null || echo 2)" --target Dovra >/dev/null
