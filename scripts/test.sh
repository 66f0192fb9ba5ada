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
  # A skipped test here means a set-up step of this script went wrong.
  local s
  s=$(sed -n 's/^\[  SKIPPED \] \([0-9]*\) tests\?,.*/\1/p' "$out" | tail -n1)
  if [[ -n $s && $s != 0 ]]; then grep -E '^\[  SKIPPED \]' "$out" | head; fail "$s" "$name (skipped)"; fi
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

# pictures_match: the committed pictures are exactly what the generator makes now.
pictures_match() {
  local out
  out=$(mktemp -d)
  "$DOVRA_BUILD/native/picture_generator" "$out" || return 1
  local f rc=0
  for f in "$out"/*; do
    cmp "$f" "src/resources/$(basename "$f")" || rc=1
  done
  [[ $(ls "$out" | wc -l) -gt 0 ]] || rc=1
  rm -rf "$out"
  return $rc
}

if build native "$DOVRA_BUILD/native"; then
  gtest native "$DOVRA_BUILD/native/core_tests"
  gtest pictures "$DOVRA_BUILD/native/picture_tests"
  check pictures-reproduce pictures_match
fi
if build sanitize "$DOVRA_BUILD/sanitize" -DDOVRA_SANITIZE=ON -DDOVRA_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug; then
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 gtest sanitize "$DOVRA_BUILD/sanitize/core_tests"
fi
# soak PROBE FRAMES: runs the full-screen saver unpaced for FRAMES frames and
# checks that GDI and USER objects and private memory did not grow.
soak() {
  local probe=$1 frames=$2 dir
  dir=$(mktemp -d "$DOVRA_BUILD/soak.XXXXXX")
  cp "$probe" "$dir/"
  DOVRA_PROBE_UNPACED=1 DOVRA_PROBE_FRAMES=$frames DOVRA_PROBE_STATS="Z:${dir//\//\\}\\stats.txt" \
    DOVRA_WINE_TIMEOUT=600 scripts/wine-run.sh "$dir/$(basename "$probe")"
  cat "$dir/stats.txt" || return 1
  local -A v
  while IFS="=" read -r k val; do v[$k]=$val; done < <(tr -d "\r" <"$dir/stats.txt")
  rm -rf "$dir"
  [[ ${v[frames]} -ge $frames ]] || return 1
  [[ ${v[gdi_start]} -gt 0 && ${v[gdi_end]} -le ${v[gdi_start]} ]] || { echo "GDI objects grew"; return 1; }
  [[ ${v[user_end]} -le ${v[user_start]} ]] || { echo "USER objects grew"; return 1; }
  # Memory may settle by a few pages; growth with the frame count would not.
  (( ${v[private_end]} <= ${v[private_start]} + 1048576 )) || { echo "private memory grew"; return 1; }
}

# replay TARGET DIR...: runs a fuzz target once on every file in the folders.
replay() {
  local target=$1; shift
  local files=()
  for d in "$@"; do for f in "$d"/*; do [[ -f $f ]] && files+=("$f"); done; done
  ((${#files[@]} == 0)) || "$target" "${files[@]}"
}

if build fuzz "$DOVRA_BUILD/fuzz" -DDOVRA_FUZZ=ON -DDOVRA_SANITIZE=ON -DDOVRA_BENCH=OFF \
     -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++; then
  # Each target replays its kept crash inputs and seeds, then fuzzes briefly.
  for target in "$DOVRA_BUILD"/fuzz/*_fuzz; do
    name=$(basename "$target" _fuzz)
    work=$DOVRA_BUILD/fuzz/corpus-$name
    mkdir -p "$work"
    cp -n tests/fuzz/corpus/"$name"/* "$work"/ 2>/dev/null
    check "fuzz-replay-$name" replay "$target" tests/fuzz/regressions/"$name" tests/fuzz/corpus/"$name"
    check "fuzz-$name" "$target" -max_total_time="${DOVRA_FUZZ_SECONDS:-5}" -artifact_prefix="$DOVRA_BUILD/fuzz/crash-$name-" "$work"
  done
fi

# Dovra.scr and its test programs, 32-bit. On a machine that cannot run 32-bit
# programs (see wine-env.sh) the test programs run as their x64 build instead.
source scripts/wine-env.sh
windows_ok=''
if build windows "$DOVRA_BUILD/windows" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake"; then
  windows_ok=1
  if [[ $DOVRA_WINE_BITS == 64 ]]; then
    echo "This machine runs no 32-bit programs: the Windows tests run as x64 programs in a 64-bit prefix."
    build windows64 "$DOVRA_WIN_BUILD" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-x86_64.cmake" || windows_ok=''
  fi
fi
if [[ -n $windows_ok ]]; then
  wine_session_start
  trap 'wine_session_stop' EXIT
  check windows-static-link bash -c "! i686-w64-mingw32-objdump -p '$DOVRA_BUILD/windows/core_tests.exe' | grep -iE 'DLL Name: (libstdc|libgcc|libwinpthread)'"
  # Dovra.scr imports only DLLs that Windows always takes from its own folder
  # (known DLLs); the others are loaded from the system folder when first used.
  check windows-known-dlls-only bash -c "i686-w64-mingw32-objdump -p '$DOVRA_BUILD/windows/Dovra.scr' | grep 'DLL Name:' | \
    grep -viE 'DLL Name: (kernel32|user32|gdi32|comdlg32|shell32|msvcrt|advapi32|ole32|oleaut32)\.dll\$' | grep . && exit 1 || true"
  # 4 GB of addresses for the 32-bit saver on 64-bit Windows, not 2.
  check windows-large-address-aware bash -c "i686-w64-mingw32-objdump -p '$DOVRA_BUILD/windows/Dovra.scr' | grep -q 'large address aware'"
  gtest wine-core scripts/wine-run.sh "$DOVRA_WIN_BUILD/core_tests.exe"
  # Sounds for the playback tests, and ALSA pointed at a capture file so that
  # what Wine plays can be checked (there is no sound card here).
  media=$DOVRA_BUILD/media
  mkdir -p "$media"
  sox -q -n -r 44100 -c 2 -b 16 "$media/tone.wav" synth 0.5 sine 440 vol 0.5 2>/dev/null
  sox -q -n -r 44100 -c 2 -b 16 -t wav - synth 1.0 sine 660 vol 0.5 2>/dev/null | lame --quiet -b 128 - "$media/tone.mp3"
  printf 'pcm.!default { type file; slave.pcm { type null }; file "%s"; format "raw" }\n' "$media/capture.raw" >"$media/alsa.conf"
  winpath() { printf 'Z:%s' "${1//\//\\}"; }
  gtest wine-win32 scripts/wine-run.sh "$DOVRA_WIN_BUILD/win32_tests.exe" --gtest_filter='-Playback.*:FullDisk.*'
  # A save on a full disk: a small file system of its own (a tmpfs, mounted as
  # root, as the tests run), which the test fills.
  (
    full=$(mktemp -d "$DOVRA_BUILD/full-disk.XXXXXX")
    trap 'umount "$full" 2>/dev/null; rmdir "$full"' EXIT
    if mount -t tmpfs -o size=256k dovra-full-disk "$full"; then
      DOVRA_TEST_FULL_DISK=$(winpath "$full") gtest wine-full-disk scripts/wine-run.sh "$DOVRA_WIN_BUILD/win32_tests.exe" \
        --gtest_filter='FullDisk.*'
    else
      fail 1 "full disk: no tmpfs could be mounted"
    fi
    echo "$passed $failed" >"$LOG/fulldisk.counts"
  )
  read -r passed failed <"$LOG/fulldisk.counts"
  # One process per playback test: a sound device left open by one test would
  # write into the same capture file as the next one's.
  for t in WavLoopsUntilStopped Mp3PlaysStopsAtItsEndAndRestartsFromZero CdWithoutADriveEndsTheWatch AWavOfAnySizeOnAnyPathPlaysAtOnceInBoundedMemory \
           LongJapanesePathIsKeptAndPlays; do
    rm -f "$media/capture.raw"
    ALSA_CONFIG_PATH=$media/alsa.conf DOVRA_TEST_MEDIA=$(winpath "$media") DOVRA_TEST_CAPTURE=$(winpath "$media/capture.raw") \
      gtest "wine-playback-$t" scripts/wine-run.sh "$DOVRA_WIN_BUILD/win32_tests.exe" --gtest_filter="Playback.$t"
  done
  # The saver's music needs a wave device too (its sound goes to the capture
  # file, which a test watches), and Wine looks for the DLLs Dovra must never
  # take from its own folder as Windows does, there first.
  export ALSA_CONFIG_PATH=$media/alsa.conf DOVRA_TEST_CAPTURE=$(winpath "$media/capture.raw") \
    DOVRA_DLL_OVERRIDES='winmm,msimg32,oleacc,wtsapi32=n,b'
  gtest wine-e2e scripts/wine-run.sh "$DOVRA_WIN_BUILD/e2e_tests.exe" --gtest_filter='-TwoMonitors.*:DisplayChange.*'
  # Once more with Wine's heap checking on in the saver's own processes: a heap
  # block written past its end or freed twice fails the run.
  DOVRA_SAVER_WINEDEBUG=warn+heap gtest wine-e2e-heap scripts/wine-run.sh "$DOVRA_WIN_BUILD/e2e_tests.exe" \
    --gtest_filter='-TwoMonitors.*:DisplayChange.*:StepsAside.RunsUndisturbed*'

  check heap-clean bash -c "! grep -E ':(warn|err):heap:' '$LOG/wine-e2e-heap.log'"
  check soak-short soak "$DOVRA_WIN_BUILD/dovra_probe.exe" "${DOVRA_SOAK_FRAMES:-3000}"
  wine_session_stop
  # A desktop of two monitors, the second right of the primary and then left of
  # it (a negative virtual origin), each on a display and server of its own.
  for layout in right left; do
    (
      export DOVRA_MONITORS=$layout
      wine_session_start
      trap 'wine_session_stop' EXIT
      gtest "wine-two-monitors-$layout" scripts/wine-run.sh "$DOVRA_WIN_BUILD/e2e_tests.exe" --gtest_filter='TwoMonitors.*'
      echo "$passed $failed" >"$LOG/monitors.counts"
    )
    read -r passed failed <"$LOG/monitors.counts"
  done
  # A real change of the screen's size while the saver runs: one monitor of
  # Xorg's dummy driver, switched between two sizes.
  (
    export DOVRA_MONITORS=one
    wine_session_start
    trap 'wine_session_stop' EXIT
    gtest wine-display-change scripts/wine-run.sh "$DOVRA_WIN_BUILD/e2e_tests.exe" --gtest_filter='DisplayChange.*'
    echo "$passed $failed" >"$LOG/display.counts"
  )
  read -r passed failed <"$LOG/display.counts"
  # Scaled screens, 150 % and 200 %, each in a prefix of its own.
  for dpi in 144 192; do
    (
      export DOVRA_WINE_DPI=$dpi WINEPREFIX=''
      [[ $dpi == 144 ]] && export DOVRA_SCREEN=2880x1620x24 || export DOVRA_SCREEN=3840x2160x24
      source scripts/wine-env.sh
      wine_session_start
      trap 'wine_session_stop' EXIT
      gtest "wine-win32-$dpi-dpi" scripts/wine-run.sh "$DOVRA_WIN_BUILD/win32_tests.exe" --gtest_filter='ScaledScreen.*'
      gtest "wine-e2e-$dpi-dpi" scripts/wine-run.sh "$DOVRA_WIN_BUILD/e2e_tests.exe" --gtest_filter='ScaledScreen.*'
      echo "$passed $failed" >"$LOG/dpi.counts"
    )
    read -r passed failed <"$LOG/dpi.counts"
  done
  # Other ANSI code pages: a Western system (1252), where the INI keys are still
  # their Shift-JIS bytes, and the UTF-8 code page (Wine gives a process 65001
  # under a Unix locale that has no ANSI code page of its own), where the keys
  # are their text and paths of any script are kept whole and play.
  for cp in en_US:1252 hi_IN:65001; do
    (
      export DOVRA_WINE_LOCALE=${cp%%:*}.UTF-8 WINEPREFIX=''
      source scripts/wine-env.sh
      wine_session_start
      trap 'wine_session_stop' EXIT
      filter='IniFile*'
      [[ ${cp#*:} == 65001 ]] && filter='IniFile*:ProgramServices*:SettingsDialog.*'
      gtest "wine-win32-cp${cp#*:}" scripts/wine-run.sh "$DOVRA_WIN_BUILD/win32_tests.exe" --gtest_filter="$filter"
      if [[ ${cp#*:} == 65001 ]]; then
        rm -f "$media/capture.raw"
        ALSA_CONFIG_PATH=$media/alsa.conf DOVRA_TEST_MEDIA=$(winpath "$media") DOVRA_TEST_CAPTURE=$(winpath "$media/capture.raw") \
          gtest wine-playback-cp65001 scripts/wine-run.sh "$DOVRA_WIN_BUILD/win32_tests.exe" \
          --gtest_filter=Playback.LongJapanesePathIsKeptAndPlays
      fi
      echo "$passed $failed" >"$LOG/codepage.counts"
    )
    read -r passed failed <"$LOG/codepage.counts"
  done
  # Dovra on 64-bit Windows, as most users run it: where 32-bit programs run,
  # the shipped program's smoke cases in a 64-bit prefix too, under WoW64.
  # (Where they do not, every Windows test above ran in such a prefix.)
  if [[ $DOVRA_WINE_BITS == 32 ]]; then
    (
      export DOVRA_WINE_BITS=64 WINEPREFIX=''
      source scripts/wine-env.sh
      wine_session_start
      trap 'wine_session_stop' EXIT
      gtest wine-e2e-wow64 scripts/wine-run.sh "$DOVRA_BUILD/windows/e2e_tests.exe" \
        --gtest_filter='FullScreen.EachFullScreenRequest*:Preview.EmbedsInThePaneAndEndsWithIt:DialogRun.StoredCdChoice*:DialogRun.CancelAndTheCloseBox*'
      echo "$passed $failed" >"$LOG/wow64.counts"
    )
    read -r passed failed <"$LOG/wow64.counts"
  fi
  # The two packages a user downloads, built as the README says and then
  # installed, run and removed under Wine: the shipped 32-bit installer in a
  # 32-bit and in a 64-bit prefix; where no 32-bit program runs, a test build of
  # the same installer script as a 64-bit program, carrying the saver's x64 build.
  check package bash scripts/package.sh
  version=$(sed -n 's/.*VALUE "ProductVersion", "\([^"]*\)".*/\1/p' src/resources/dovra.rc)
  check package-zip tests/package/package_test.sh zip "dist/Dovra-$version.zip" "$DOVRA_BUILD/windows/Dovra.scr"
  # The committed HEAD packaged twice, from two clones: the same bytes (their
  # SHA-256 sums are in the log). It needs no Wine.
  check package-reproducible tests/package/package_test.sh reproduce
  if [[ $DOVRA_WINE_BITS == 64 ]]; then
    echo "This machine runs no 32-bit programs: the installer's tests run its x64 test build."
    check package-x64-test-installer bash scripts/package.sh --x64-test-installer "$DOVRA_BUILD/x64-test-setup.exe"
    check package-install-64-bit-prefix-x64-test-build tests/package/package_test.sh install 64 \
      "$DOVRA_BUILD/x64-test-setup.exe" "$DOVRA_WIN_BUILD/Dovra.scr" "$DOVRA_WIN_BUILD/preview_host.exe" \
      "$DOVRA_WIN_BUILD/planted.dll"
  else
    for bits in 32 64; do
      check "package-install-$bits-bit-prefix" tests/package/package_test.sh install "$bits" \
        "dist/Dovra-$version-setup.exe" "$DOVRA_BUILD/windows/Dovra.scr" "$DOVRA_BUILD/windows/preview_host.exe" \
        "$DOVRA_BUILD/windows/planted.dll"
    done
  fi
fi

echo "$passed passed, $failed failed"
[[ $failed == 0 ]]
