#!/usr/bin/env bash
# usage: wine-run.sh PROGRAM.exe [ARGS...]
# Runs one Windows program headless under Wine and exits with its exit code.
# Inside a test session (see wine-env.sh) it reuses the session's display and
# server; otherwise it starts its own and ends them afterwards.
# DOVRA_WINE_TIMEOUT (seconds, default 300) bounds the run.
set -uo pipefail
source "$(cd "$(dirname "$0")" && pwd)/wine-env.sh"

own=''
if [[ ${DOVRA_WINE_SESSION:-} != "$WINEPREFIX" ]]; then
  own=1
  wine_session_start
  trap 'wine_session_stop' EXIT
fi
wine_exec "${DOVRA_WINE_TIMEOUT:-300}" "$@"
rc=$?
exit $rc
