# Sourced by the scripts that run Dovra's Windows programs: the one place that
# knows how Wine and Xvfb are set up for them.
#
#   wine_prefix_init        create (once) and configure the cached prefix
#   wine_session_start      own Xvfb on a free display + a persistent wineserver
#   wine_session_stop       end what wine_session_start started, by PID
#   wine_exec SECS PROG...  run a Windows program with a time limit; its exit code

DOVRA_ROOT=${DOVRA_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
DOVRA_BUILD=${DOVRA_BUILD:-$DOVRA_ROOT/build}
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# ANSI code page 932, as on the Japanese systems the program is written for.
# A prefix keeps one locale, so another locale needs its own prefix.
# (The locale need not be generated; it is given to Wine's commands only, so
# that the shell itself does not complain about it.)
DOVRA_WINE_LC=${DOVRA_WINE_LOCALE:-ja_JP.UTF-8}
export WINEPREFIX=${WINEPREFIX:-$DOVRA_BUILD/wineprefix-${DOVRA_WINE_LC%%.*}}

# Wine turns file names into Unix ones through the Unix locale: without the
# locale generated, a Japanese file name cannot be created or opened. It is made
# once into the build folder (well under a second) and found through LOCPATH.
DOVRA_LOCPATH=$DOVRA_BUILD/locale
_locale_init() {
  [[ $DOVRA_WINE_LC == C.* || -d $DOVRA_LOCPATH/$DOVRA_WINE_LC ]] && return 0
  mkdir -p "$DOVRA_LOCPATH"
  local name=${DOVRA_WINE_LC%%.*}
  localedef -i "$name" -f UTF-8 "$DOVRA_LOCPATH/$DOVRA_WINE_LC" >/dev/null 2>&1 || true
}
_locale_init
wine_cmd() { env LC_ALL="$DOVRA_WINE_LC" LOCPATH="$DOVRA_LOCPATH" "$@"; }
wine_reg() { wine_cmd wine reg add "$@" /f >/dev/null 2>&1; }

wine_prefix_init() {
  [[ -f $WINEPREFIX/.dovra-ready ]] && return 0
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    [[ -f $WINEPREFIX/.dovra-ready ]] && exit 0
    echo "wine: creating prefix $WINEPREFIX (once)" >&2
    local own_display=''
    if [[ -z ${DISPLAY:-} ]]; then own_display=1; _xvfb_start; fi
    wine_cmd wineboot -i >/dev/null 2>&1
    wine_cmd wineserver -w
    # Japanese fonts: without these, captions and Latin letters come out as boxes.
    local k='HKCU\Software\Wine\Fonts\Replacements'
    wine_reg "$k" /v 'ＭＳ Ｐゴシック' /t REG_SZ /d IPAPGothic
    wine_reg "$k" /v 'ＭＳ ゴシック' /t REG_SZ /d IPAGothic
    wine_reg "$k" /v 'MS PGothic' /t REG_SZ /d IPAPGothic
    wine_reg "$k" /v 'MS Gothic' /t REG_SZ /d IPAGothic
    wine_reg "$k" /v 'MS UI Gothic' /t REG_SZ /d IPAPGothic
    # No window manager under Xvfb: let Wine draw caption bars itself.
    wine_reg 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N
    wine_cmd wineserver -w
    [[ -n $own_display ]] && _xvfb_stop
    touch "$WINEPREFIX/.dovra-ready"
  ) 9>"$WINEPREFIX.lock"
}

_xvfb_start() {
  local fdfile
  fdfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${DOVRA_SCREEN:-1280x1024x24}" -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
  _DOVRA_XVFB_PID=$!
  local i
  for i in $(seq 100); do
    [[ -s $fdfile ]] && break
    sleep 0.05
  done
  export DISPLAY=":$(head -n1 "$fdfile")"
  rm -f "$fdfile"
  export _DOVRA_XVFB_PID
}

_xvfb_stop() {
  [[ -n ${_DOVRA_XVFB_PID:-} ]] && kill "$_DOVRA_XVFB_PID" 2>/dev/null && wait "$_DOVRA_XVFB_PID" 2>/dev/null
  _DOVRA_XVFB_PID=''
}

wine_session_start() {
  wine_prefix_init
  _xvfb_start
  # A server that stays up makes each program start in ~0.05 s instead of ~2.5 s.
  wine_cmd wineserver -p
  export DOVRA_WINE_SESSION=$WINEPREFIX
}

wine_session_stop() {
  wine_cmd wineserver -k 2>/dev/null
  wine_cmd wineserver -w 2>/dev/null
  _xvfb_stop
  unset DOVRA_WINE_SESSION
}

# wine_exec SECONDS PROGRAM [ARGS...]: runs the program, lines ending in LF.
wine_exec() {
  local limit=$1; shift
  timeout --kill-after=5 "$limit" env LC_ALL="$DOVRA_WINE_LC" LOCPATH="$DOVRA_LOCPATH" wine "$@" | tr -d '\r'
  return "${PIPESTATUS[0]}"
}
