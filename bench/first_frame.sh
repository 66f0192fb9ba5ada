#!/usr/bin/env bash
# usage: bench/first_frame.sh RUNS PROBE.exe [PROBE.exe ...]
# Start to first frame of the full-screen saver: each probe (dovra_probe.exe,
# the saver with a measuring hook) runs RUNS times, taking turns, each in a
# fresh folder; prints the median seconds from process start to the first
# frame on screen. The screen comes from DOVRA_SCREEN, the density from
# DOVRA_WINE_DPI (see scripts/wine-env.sh).
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$ROOT/scripts/wine-env.sh"
runs=$1; shift
wine_session_start
trap 'wine_session_stop' EXIT
declare -A times
for ((i = 0; i < runs; i++)); do
  for probe in "$@"; do
    dir=$(mktemp -d "$DOVRA_BUILD/first-frame.XXXXXX")
    cp "$probe" "$dir/"
    DOVRA_PROBE_FRAMES=2 DOVRA_PROBE_STATS="Z:${dir//\//\\}\\stats.txt" \
      wine_exec 60 "$dir/$(basename "$probe")" >/dev/null 2>&1
    t=$(tr -d '\r' <"$dir/stats.txt" 2>/dev/null | sed -n 's/^first_frame_s=//p')
    times[$probe]+="$t "
    rm -rf "$dir"
  done
done
for probe in "$@"; do
  median=$(tr ' ' '\n' <<<"${times[$probe]}" | grep . | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')
  printf '%-50s first frame after %s s (median of %d)\n' "$probe" "$median" "$runs"
done
