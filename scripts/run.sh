#!/usr/bin/env bash
# The main job: builds Dovra (installing what is missing) and shows what is there.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
bash scripts/setup.sh
JOBS=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build/native >/dev/null
cmake --build build/native -j "$JOBS" >/dev/null
cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" >/dev/null
cmake --build build/windows -j "$JOBS" >/dev/null
echo "Built:"
ls -1 build/windows/*.exe build/windows/*.scr 2>/dev/null | sed 's/^/  /' || true
echo "Figure logic, one frame of the largest figure (native):"
build/native/core_bench --benchmark_min_time=0.2 2>/dev/null | grep BM_ || true
