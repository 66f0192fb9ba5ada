#!/usr/bin/env bash
# Runs every test of Dovra: installs what is missing, builds the native, the
# sanitizer and the Windows configurations, runs the native tests, the same tests
# under address and undefined-behaviour sanitizers, and the Windows test programs
# under Wine. Ends with the line "N passed, N failed".
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
export DOVRA_ROOT=$ROOT DOVRA_BUILD=$ROOT/build
JOBS=$(nproc 2>/dev/null || echo 2)
LOG=$DOVRA_BUILD/logs
passed=0 failed=0

say() { printf '== %s\n' "$*"; }
pass() { passed=$((passed + $1)); }
fail() { failed=$((failed + $1)); printf 'FAILED: %s\n' "$2"; }

bash scripts/setup.sh || { echo "setup failed"; echo "0 passed, 1 failed"; exit 1; }
mkdir -p "$LOG"

# build NAME DIR [CMAKE ARGS...]: configure and build one configuration.
build() {
  local name=$1 dir=$2; shift 2
  say "build: $name"
  if cmake -S . -B "$dir" "$@" >"$LOG/$name-configure.log" 2>&1 &&
     cmake --build "$dir" -j "$JOBS" >"$LOG/$name-build.log" 2>&1; then
    if grep -q 'warning:' "$LOG/$name-build.log"; then
      grep 'warning:' "$LOG/$name-build.log" | head -n 20
      fail 1 "$name build has warnings"
    fi
    return 0
  fi
  tail -n 30 "$LOG/$name-configure.log" "$LOG/$name-build.log" 2>/dev/null
  fail 1 "$name build"
  return 1
}

# gtest NAME COMMAND...: runs a GoogleTest program and counts its results.
gtest() {
  local name=$1; shift
  say "tests: $name"
  local out=$LOG/$name.log
  "$@" --gtest_brief=1 >"$out" 2>&1
  local rc=$?
  local p f
  p=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\?\..*/\1/p' "$out" | tail -n1)
  f=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) tests\?, listed below.*/\1/p' "$out" | tail -n1)
  if [[ -z $p && -z $f ]]; then
    tail -n 40 "$out"
    fail 1 "$name did not finish (exit $rc)"
    return
  fi
  pass "${p:-0}"
  if [[ -n $f && $f != 0 ]] || [[ $rc != 0 && -z $f ]]; then
    grep -E '^\[  FAILED  \]|Failure|rror' "$out" | head -n 40
    fail "${f:-1}" "$name"
  fi
}

# check NAME COMMAND...: a script-level check counts as one test.
check() {
  local name=$1; shift
  say "check: $name"
  if "$@" >"$LOG/$name.log" 2>&1; then pass 1; else tail -n 30 "$LOG/$name.log"; fail 1 "$name"; fi
}

if build native "$DOVRA_BUILD/native"; then
  gtest native "$DOVRA_BUILD/native/core_tests"
fi
if build sanitize "$DOVRA_BUILD/sanitize" -DDOVRA_SANITIZE=ON -DDOVRA_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug; then
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 gtest sanitize "$DOVRA_BUILD/sanitize/core_tests"
fi
for extra in scripts/tests.d/*.sh; do
  [[ -f $extra ]] && source "$extra"
done

if build windows "$DOVRA_BUILD/windows" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake"; then
  source scripts/wine-env.sh
  wine_session_start
  trap 'wine_session_stop' EXIT
  check windows-static-link bash -c "! i686-w64-mingw32-objdump -p '$DOVRA_BUILD/windows/core_tests.exe' | grep -iE 'DLL Name: (libstdc|libgcc|libwinpthread)'"
  gtest wine-core scripts/wine-run.sh "$DOVRA_BUILD/windows/core_tests.exe"
  for t in "$DOVRA_BUILD"/windows/win32_tests.exe; do
    [[ -f $t ]] && gtest wine-win32 scripts/wine-run.sh "$t"
  done
  for extra in scripts/tests.d/wine/*.sh; do
    [[ -f $extra ]] && source "$extra"
  done
fi

echo "$passed passed, $failed failed"
[[ $failed == 0 ]]
