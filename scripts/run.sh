#!/usr/bin/env bash
# Builds Dovra.scr (installing what is missing) and runs it under Wine.
#   bash scripts/run.sh            the full-screen saver (/s)
#   bash scripts/run.sh /c         another request of the screen-saver host
# On a display it runs there until you end it (Escape, a click or the mouse).
# Without a display it runs on a virtual 1920 x 1080 screen for a few seconds
# and saves screenshots into build/screenshots/.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
bash scripts/build-saver.sh
args=${1-/s}
source scripts/wine-env.sh
# Where no 32-bit program can run (see wine-env.sh), the saver's x64 build runs.
if [[ $DOVRA_WINE_BITS == 64 ]]; then
  cmake -S . -B "$DOVRA_WIN_BUILD" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-x86_64.cmake" >/dev/null
  cmake --build "$DOVRA_WIN_BUILD" -j "$(nproc 2>/dev/null || echo 2)" --target Dovra >/dev/null
fi

# The saver's own folder: it keeps its INI file and two pictures beside itself.
mkdir -p build/run
cp "$DOVRA_WIN_BUILD/Dovra.scr" build/run/Dovra.scr
wine_prefix_init

if [[ -n ${DISPLAY:-} && -z ${DOVRA_HEADLESS:-} ]]; then
  echo "Dovra: running 'Dovra.scr $args' on $DISPLAY (Escape, a click or moving the mouse ends it)"
  wine_cmd "$DOVRA_WINE" build/run/Dovra.scr $args
  exit 0
fi

shots=$ROOT/build/screenshots
mkdir -p "$shots"
export DOVRA_SCREEN=${DOVRA_SCREEN:-1920x1080x24}
wine_session_start
trap 'wine_session_stop' EXIT
echo "Dovra: no display here; running 'Dovra.scr $args' on a virtual ${DOVRA_SCREEN%x*} screen"
wine_cmd "$DOVRA_WINE" build/run/Dovra.scr $args &
saver=$!
for t in 2 5 8; do
  sleep $((t - ${last:-0})); last=$t
  import -window root "$shots/dovra-${t}s.png"
done
xdotool key Escape || true
for _ in $(seq 50); do kill -0 "$saver" 2>/dev/null || break; sleep 0.1; done
kill "$saver" 2>/dev/null || true
echo "Screenshots after 2, 5 and 8 seconds:"
ls -1 "$shots"/dovra-*s.png | sed 's/^/  /'
