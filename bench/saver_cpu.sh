#!/usr/bin/env bash
# usage: bench/saver_cpu.sh SECONDS [SAVER.scr ...]
# The CPU a full-screen run costs, against the floor of any saver: a bare
# window showing one still frame 60 times a second from a 32-bit DIB (the
# screen's format) and from a 24-bit one. Then the saver while the display is
# off (dovra_probe, the saver as Dovra.scr runs it, told so by its own thread
# as Windows tells it), against the goal of at most 2 % of that floor. Each
# program runs for SECONDS after a 3-second start; the CPU its process used
# (all its threads) is printed in CPU-seconds per 10 s.
# Screens: DOVRA_SCREENS (default "1920x1080x24 3840x2160x24"), one after
# the other in this one run. The savers default to this machine's Dovra.scr
# (see scripts/wine-env.sh for which build that is), built first with the
# bare window and the probe. DOVRA_MONITORS=right or left adds a second
# monitor (DOVRA_SECOND) beside the first.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$ROOT/scripts/wine-env.sh"
seconds=$1; shift
savers=("$@")
((${#savers[@]})) || savers=("$DOVRA_WIN_BUILD/Dovra.scr")
ticks=$(getconf CLK_TCK)

fail() { echo "saver_cpu: $*" >&2; exit 1; }

# What it runs, built (or brought up to date) first: after the run command
# only Dovra.scr exists.
toolchain=$ROOT/cmake/mingw-i686.cmake
[[ $DOVRA_WINE_BITS == 64 ]] && toolchain=$ROOT/cmake/mingw-x86_64.cmake
if [[ ! -f $DOVRA_WIN_BUILD/CMakeCache.txt ]]; then
  cmake -S "$ROOT" -B "$DOVRA_WIN_BUILD" -DCMAKE_TOOLCHAIN_FILE="$toolchain" >/dev/null ||
    fail "cannot configure the Windows build in $DOVRA_WIN_BUILD"
fi
cmake --build "$DOVRA_WIN_BUILD" -j "$(nproc 2>/dev/null || echo 2)" --target Dovra static_present dovra_probe >/dev/null ||
  fail "the build of Dovra.scr, static_present.exe and dovra_probe.exe in $DOVRA_WIN_BUILD failed"
for program in "$DOVRA_WIN_BUILD/static_present.exe" "$DOVRA_WIN_BUILD/dovra_probe.exe" "${savers[@]}"; do
  [[ -f $program ]] || fail "$program is not there"
done

# CPU time of a process in seconds: every thread's time on a CPU, in
# nanoseconds where the kernel keeps it, else in clock ticks.
cpu_of() {
  local pid=$1 sum
  sum=$(cat "/proc/$pid"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { if (NR) printf "%.6f", s / 1e9 }')
  [[ -n $sum ]] && { echo "$sum"; return; }
  awk -v t="$ticks" '{ printf "%.6f", ($14 + $15) / t }' "/proc/$pid/stat" 2>/dev/null
}

# measure NAME PATTERN COMMAND...: starts the Windows program, prints its CPU
# and leaves the figure in $last. A program that never started fails the run.
# PATTERN is the program's whole path: the same program run from elsewhere
# (another worktree, another user's run) is neither measured nor ended here.
measure() {
  local name=$1 pattern=$2; shift 2
  wine_cmd "$DOVRA_WINE" "$@" >/dev/null 2>&1 &
  local started=$!
  sleep 3
  local pid before after
  pid=$(pgrep -f "$pattern" | head -n1)
  [[ -n $pid ]] || fail "$name: $pattern did not start"
  before=$(cpu_of "$pid")
  sleep "$seconds"
  after=$(cpu_of "$pid")
  [[ -n $before && -n $after ]] || fail "$name: $pattern ended before its time"
  xdotool key Escape 2>/dev/null
  sleep 2
  kill "$pid" 2>/dev/null
  wait "$started" 2>/dev/null
  last=$(awk -v a="$before" -v b="$after" -v s="$seconds" 'BEGIN { printf "%.4f", 10 * (b - a) / s }')
  printf '  %-48s %7.4f CPU-s per 10 s\n' "$name" "$last"
}

for screen in ${DOVRA_SCREENS:-1920x1080x24 3840x2160x24}; do
  export DOVRA_SCREEN=$screen
  wine_session_start
  echo "screen ${screen%x24}${DOVRA_WINE_DPI:+ at $DOVRA_WINE_DPI dpi} ($DOVRA_WIN_BUILD):"
  measure "bare 60 fps present from a 32-bit DIB" "$DOVRA_WIN_BUILD/static_present.exe" \
    "$DOVRA_WIN_BUILD/static_present.exe" "32 $((seconds + 5))"
  floor=$last
  measure "bare 60 fps present from a 24-bit DIB" "$DOVRA_WIN_BUILD/static_present.exe" \
    "$DOVRA_WIN_BUILD/static_present.exe" "24 $((seconds + 5))"
  for scr in "${savers[@]}"; do
    dir=$(mktemp -d "$DOVRA_BUILD/cpu.XXXXXX")
    cp "$scr" "$dir/Dovra.scr"
    measure "$(basename "$(dirname "$scr")")/Dovra.scr /s" "$dir/Dovra.scr" "$dir/Dovra.scr" /s
    awk -v v="$last" -v f="$floor" 'BEGIN { if (f > 0) printf "  %-48s %7.2f x the 32-bit floor\n", "", v / f }'
    rm -rf "$dir"
  done
  dir=$(mktemp -d "$DOVRA_BUILD/cpu.XXXXXX")
  cp "$DOVRA_WIN_BUILD/dovra_probe.exe" "$dir/"
  DOVRA_PROBE_NEWS="0 display 0" measure "the saver, display off from its first frame" "$dir/dovra_probe.exe" \
    "$dir/dovra_probe.exe"
  awk -v v="$last" -v f="$floor" 'BEGIN { if (f > 0) printf "  %-48s %7.2f %% of the 32-bit floor (goal: at most 2 %%)\n", "", 100 * v / f }'
  rm -rf "$dir"
  wine_session_stop
done
