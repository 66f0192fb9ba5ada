#!/usr/bin/env bash
# usage: bench/saver_cpu.sh SECONDS [SAVER.scr ...]
# The CPU a full-screen run costs, against the floor of any saver: a bare
# window showing one still frame 60 times a second from a 32-bit DIB (the
# screen's format) and from a 24-bit one. Each program runs for SECONDS after a
# 3-second start; the CPU its process used is printed in CPU-seconds per 10 s.
# Screens: DOVRA_SCREENS (default "1920x1080x24 3840x2160x24"), one after
# the other in this one run. The savers default to this machine's Dovra.scr
# (see scripts/wine-env.sh for which build that is). DOVRA_MONITORS=right or
# left adds a second monitor (DOVRA_SECOND) beside the first.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$ROOT/scripts/wine-env.sh"
seconds=$1; shift
savers=("$@")
((${#savers[@]})) || savers=("$DOVRA_WIN_BUILD/Dovra.scr")
ticks=$(getconf CLK_TCK)
cpu_of() { awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null; }

# measure NAME PATTERN COMMAND...: starts the Windows program, prints its CPU
# and leaves the figure in $last.
measure() {
  local name=$1 pattern=$2; shift 2
  wine_cmd "$DOVRA_WINE" "$@" >/dev/null 2>&1 &
  local started=$!
  sleep 3
  local pid before after
  pid=$(pgrep -f "$pattern" | head -n1)
  before=$(cpu_of "$pid")
  sleep "$seconds"
  after=$(cpu_of "$pid")
  xdotool key Escape 2>/dev/null
  sleep 2
  kill "$pid" 2>/dev/null
  wait "$started" 2>/dev/null
  last=$(awk -v a="${before:-0}" -v b="${after:-0}" -v t="$ticks" -v s="$seconds" 'BEGIN { print 10 * (b - a) / t / s }')
  printf '  %-48s %6.2f CPU-s per 10 s\n' "$name" "$last"
}

for screen in ${DOVRA_SCREENS:-1920x1080x24 3840x2160x24}; do
  export DOVRA_SCREEN=$screen
  wine_session_start
  echo "screen ${screen%x24}${DOVRA_WINE_DPI:+ at $DOVRA_WINE_DPI dpi}:"
  measure "bare 60 fps present from a 32-bit DIB" static_present.exe "$DOVRA_WIN_BUILD/static_present.exe" "32 $((seconds + 5))"
  floor=$last
  measure "bare 60 fps present from a 24-bit DIB" static_present.exe "$DOVRA_WIN_BUILD/static_present.exe" "24 $((seconds + 5))"
  for scr in "${savers[@]}"; do
    dir=$(mktemp -d "$DOVRA_BUILD/cpu.XXXXXX")
    cp "$scr" "$dir/Dovra.scr"
    measure "$(basename "$(dirname "$scr")")/Dovra.scr /s" "$dir/Dovra.scr" "$dir/Dovra.scr" /s
    awk -v v="$last" -v f="$floor" 'BEGIN { if (f > 0) printf "  %-48s %6.2f x the 32-bit floor\n", "", v / f }'
    rm -rf "$dir"
  done
  wine_session_stop
done
