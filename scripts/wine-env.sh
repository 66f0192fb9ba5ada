# Sourced by the scripts that run Dovra's Windows programs: the one place that
# knows how Wine and Xvfb are set up for them.
#
#   wine_prefix_init        create (once) and configure the cached prefix
#   wine_session_start      own Xvfb on a free display + a persistent wineserver
#   wine_session_stop       end what wine_session_start started, by PID
#   wine_exec SECS PROG...  run a Windows program with a time limit; its exit code

DOVRA_ROOT=${DOVRA_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
DOVRA_BUILD=${DOVRA_BUILD:-$DOVRA_ROOT/build}
# Dovra is a 32-bit program, run in a 32-bit prefix. A machine whose kernel
# runs no 32-bit programs (32-bit emulation off) cannot run 32-bit Wine at
# all: there the Windows programs are built for x64 as well (build/windows64)
# and run by the 64-bit Wine in a 64-bit prefix. DOVRA_WINE_BITS says which.
if [[ -z ${DOVRA_WINE_BITS:-} ]]; then
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then DOVRA_WINE_BITS=32; else DOVRA_WINE_BITS=64; fi
fi
export DOVRA_WINE_BITS
if [[ $DOVRA_WINE_BITS == 64 ]]; then
  export WINEARCH=win64 DOVRA_WINE=/usr/lib/wine/wine64 DOVRA_WIN_BUILD=$DOVRA_BUILD/windows64
  export WINELOADER=$DOVRA_WINE
else
  export WINEARCH=win32 DOVRA_WINE=wine DOVRA_WIN_BUILD=$DOVRA_BUILD/windows
fi
export WINEDEBUG=-all
# DOVRA_DLL_OVERRIDES adds Wine DLL overrides: "winmm,msimg32,oleacc,wtsapi32=n,b" makes
# Wine look for those DLLs as Windows does, the program's folder first.
export WINEDLLOVERRIDES="mscoree,mshtml=${DOVRA_DLL_OVERRIDES:+;$DOVRA_DLL_OVERRIDES}"
# ANSI code page 932, as on the Japanese systems the program is written for.
# A prefix keeps one locale, so another locale needs its own prefix.
# (The locale need not be generated; it is given to Wine's commands only, so
# that the shell itself does not complain about it.)
DOVRA_WINE_LC=${DOVRA_WINE_LOCALE:-ja_JP.UTF-8}
# DOVRA_WINE_DPI=144 or 192 gives a scaled screen (150 %, 200 %): a prefix of
# its own, since the setting stays in the prefix.
_dovra_arch=''; [[ $DOVRA_WINE_BITS == 64 ]] && _dovra_arch=-win64
export WINEPREFIX=${WINEPREFIX:-$DOVRA_BUILD/wineprefix${_dovra_arch}-${DOVRA_WINE_LC%%.*}${DOVRA_WINE_DPI:+-$DOVRA_WINE_DPI}}

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
wine_reg() { wine_cmd "$DOVRA_WINE" reg add "$@" /f >/dev/null 2>&1; }

wine_prefix_init() {
  [[ -f $WINEPREFIX/.dovra-ready ]] && return 0
  # A scaled screen's prefix starts as a copy of the usual one (a second or so
  # instead of a new prefix's quarter of a minute).
  if [[ -n ${DOVRA_WINE_DPI:-} ]]; then
    local base=$DOVRA_BUILD/wineprefix${_dovra_arch}-${DOVRA_WINE_LC%%.*}
    ( unset DOVRA_WINE_DPI; WINEPREFIX=$base wine_prefix_init )
    rm -rf "$WINEPREFIX"
    cp -a "$base" "$WINEPREFIX"
    wine_reg 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$DOVRA_WINE_DPI"
    wine_cmd wineserver -w
    touch "$WINEPREFIX/.dovra-ready"
    return 0
  fi
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    [[ -f $WINEPREFIX/.dovra-ready ]] && exit 0
    echo "wine: creating prefix $WINEPREFIX (once)" >&2
    local own_display=''
    if [[ -z ${DISPLAY:-} ]]; then own_display=1; _xvfb_start; fi
    wine_cmd "$DOVRA_WINE" wineboot -i >/dev/null 2>&1
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
    [[ -n ${DOVRA_WINE_DPI:-} ]] && wine_reg 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$DOVRA_WINE_DPI"
    wine_cmd wineserver -w
    [[ -n $own_display ]] && _xvfb_stop
    touch "$WINEPREFIX/.dovra-ready"
  ) 9>"$WINEPREFIX.lock"
}

# Two monitors: Xvfb's Xinerama heads all sit at 0,0, so a two-monitor desktop is
# Xorg's dummy driver: one screen with two RandR outputs, which the 32-bit and
# the 64-bit Wine both see as two monitors (the 64-bit one sees only one on a
# Xinerama desktop of two screens). DOVRA_MONITORS=right or left places the
# second monitor (DOVRA_SECOND, default 1024x768) beside the primary one
# (DOVRA_SCREEN, default 1280x1024). DOVRA_MONITORS=one is a single monitor that
# can be switched between those two sizes (Xvfb's screen cannot change size).
# Xorg runs as root, as the tests do.
_xorg_conf() {
  local primary=${DOVRA_SCREEN:-1280x1024x24} second=${DOVRA_SECOND:-1024x768} where=$1
  primary=${primary%x24}
  local -A modeline=(
    [1280x1024]='108.00 1280 1328 1440 1688 1024 1025 1028 1066'
    [1024x768]='65.00 1024 1048 1184 1344 768 771 777 806'
    [1920x1080]='148.50 1920 2008 2052 2200 1080 1084 1089 1125'
  )
  local pw=${primary%x*} ph=${primary#*x} sw=${second%x*} sh=${second#*x}
  printf '%s\n' 'Section "ServerFlags"' '  Option "AutoAddDevices" "false"' '  Option "AllowMouseOpenFail" "true"' 'EndSection'
  if [[ $where == one ]]; then
    # One monitor whose size can change: both modes, the primary's first.
    printf '%s\n' 'Section "Monitor"' '  Identifier "m"' '  HorizSync 5.0 - 1000.0' '  VertRefresh 5.0 - 200.0' \
      "  Modeline \"$primary\" ${modeline[$primary]}" "  Modeline \"$second\" ${modeline[$second]}" 'EndSection' \
      'Section "Device"' '  Identifier "d0"' '  Driver "dummy"' '  VideoRam 65536' 'EndSection' \
      'Section "Screen"' '  Identifier "s0"' '  Device "d0"' '  Monitor "m"' '  DefaultDepth 24' \
      '  SubSection "Display"' '    Depth 24' "    Modes \"$primary\" \"$second\"" "    Virtual $pw $ph" \
      '  EndSubSection' 'EndSection' 'Section "ServerLayout"' '  Identifier "l"' '  Screen 0 "s0"' 'EndSection'
    return
  fi
  local side=RightOf; [[ $where == left ]] && side=LeftOf
  printf '%s\n' 'Section "Monitor"' '  Identifier "m0"' '  HorizSync 5.0 - 1000.0' '  VertRefresh 5.0 - 200.0' \
    "  Modeline \"$primary\" ${modeline[$primary]}" "  Option \"PreferredMode\" \"$primary\"" '  Option "Primary" "true"' \
    'EndSection' \
    'Section "Monitor"' '  Identifier "m1"' '  HorizSync 5.0 - 1000.0' '  VertRefresh 5.0 - 200.0' \
    "  Modeline \"$second\" ${modeline[$second]}" "  Option \"PreferredMode\" \"$second\"" "  Option \"$side\" \"m0\"" '  Option "Enable" "true"' \
    'EndSection' \
    'Section "Device"' '  Identifier "d0"' '  Driver "dummy"' '  VideoRam 131072' \
    '  Option "Monitor-DUMMY0" "m0"' '  Option "Monitor-DUMMY1" "m1"' 'EndSection' \
    'Section "Screen"' '  Identifier "s0"' '  Device "d0"' '  Monitor "m0"' '  DefaultDepth 24' \
    '  SubSection "Display"' '    Depth 24' "    Virtual $((pw + sw)) $((ph > sh ? ph : sh))" '  EndSubSection' 'EndSection' \
    'Section "ServerLayout"' '  Identifier "l"' '  Screen 0 "s0"' 'EndSection'
}

_xvfb_start() {
  local fdfile
  fdfile=$(mktemp)
  if [[ -n ${DOVRA_MONITORS:-} ]]; then
    local conf=$DOVRA_BUILD/xorg-$DOVRA_MONITORS.conf
    _xorg_conf "$DOVRA_MONITORS" >"$conf"
    Xorg -displayfd 3 -config "$conf" -noreset -nolisten tcp -logfile "$DOVRA_BUILD/xorg-$DOVRA_MONITORS.log" \
      3>"$fdfile" >/dev/null 2>&1 &
  else
    Xvfb -displayfd 3 -screen 0 "${DOVRA_SCREEN:-1280x1024x24}" -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
  fi
  _DOVRA_XVFB_PID=$!
  local i
  for i in $(seq 200); do
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
  # A server left from another display would keep that display's monitors.
  # (With none running these fail, which callers under set -e must not see.)
  wine_cmd wineserver -k 2>/dev/null || true
  wine_cmd wineserver -w 2>/dev/null || true
  _xvfb_start
  # A server that stays up makes each program start in ~0.05 s instead of ~2.5 s.
  wine_cmd wineserver -p
  # Wine's own services start with the first program and live on with the
  # server: started here, they hold no test's output open.
  wine_cmd "$DOVRA_WINE" cmd /c exit </dev/null >/dev/null 2>&1 || true
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
  timeout --kill-after=5 "$limit" env LC_ALL="$DOVRA_WINE_LC" LOCPATH="$DOVRA_LOCPATH" "$DOVRA_WINE" "$@" | tr -d '\r'
  return "${PIPESTATUS[0]}"
}
