#!/usr/bin/env bash
# usage: bench/saver_cpu.sh SECONDS SAVER.scr [SAVER.scr ...]
# Runs each saver full screen (/s) under Wine for SECONDS after a 3-second
# start and prints the CPU its process used, in percent of one core. The
# screen comes from DOVRA_SCREEN (default 1280x1024x24); DOVRA_MONITORS=right
# or left adds a second monitor (DOVRA_SECOND) beside it.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$ROOT/scripts/wine-env.sh"
seconds=$1; shift
wine_session_start
trap 'wine_session_stop' EXIT
ticks=$(getconf CLK_TCK)
cpu_of() { awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null; }
for scr in "$@"; do
  dir=$(mktemp -d "$DOVRA_BUILD/cpu.XXXXXX")
  cp "$scr" "$dir/Dovra.scr"
  wine_cmd wine "$dir/Dovra.scr" /s >/dev/null 2>&1 &
  sleep 3
  pid=$(pgrep -f "$dir/Dovra.scr" | head -n1)
  [[ -n $pid ]] || pid=$(pgrep -f 'Dovra.scr' | tail -n1)
  before=$(cpu_of "$pid")
  sleep "$seconds"
  after=$(cpu_of "$pid")
  awk -v a="$before" -v b="$after" -v t="$ticks" -v s="$seconds" -v n="$scr" \
    'BEGIN { printf "%-40s %5.1f %% of one core over %d s\n", n, 100 * (b - a) / t / s, s }'
  xdotool key Escape 2>/dev/null
  sleep 3
  kill "$pid" 2>/dev/null
  rm -rf "$dir"
done
