#!/usr/bin/env bash
# usage: tests/package/package_test.sh zip ZIP SCR
#        tests/package/package_test.sh install 32|64 SETUP SCR PREVIEW_HOST PLANTED_DLL
#        tests/package/package_test.sh reproduce
# "zip" checks the zip a user downloads and the sums beside it. "reproduce"
# packages the committed HEAD twice and compares the bytes. "install" installs, runs and
# uninstalls Dovra with the installer under Wine, in a fresh copy of the 32-bit
# or the 64-bit test prefix, as users do on 32-bit and on 64-bit Windows, and
# looks at what it leaves as a program of the system's own width sees it (on
# 64-bit Windows the logon process and the settings page are 64-bit).
# Prints what it checks; exits non-zero on the first failure.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
fail() { echo "FAIL: $*"; exit 1; }
ok() { echo "ok: $*"; }

check_zip() {
  local zip=$1 scr=$2
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  local names
  names=$(unzip -Z1 "$zip" | sort | tr '\n' ' ')
  [[ $names == "Dovra.scr LICENSE.txt README-en.txt README-ja.txt " ]] || fail "zip holds: $names"
  unzip -q "$zip" -d "$work/zip"
  cmp -s "$work/zip/Dovra.scr" "$scr" || fail "the zip's Dovra.scr is not the built one"
  local f
  for f in README-en.txt README-ja.txt LICENSE.txt; do
    [[ $(grep -c -v $'\r$' "$work/zip/$f") == 0 ]] || fail "$f has lines without CR LF"
  done
  [[ $(head -c 3 "$work/zip/README-ja.txt" | od -An -tx1 | tr -d ' ') == efbbbf ]] || fail "README-ja.txt has no UTF-8 mark"
  iconv -f UTF-8 -t UTF-16LE "$work/zip/README-ja.txt" >/dev/null || fail "README-ja.txt is not UTF-8"
  grep -q 'インストール' "$work/zip/README-ja.txt" || fail "README-ja.txt does not say how to install"
  ! LC_ALL=C grep -q -P '[^\x00-\x7F]' "$work/zip/README-en.txt" || fail "README-en.txt is not plain ASCII"
  for f in README-en.txt README-ja.txt; do
    grep -q 'SysWOW64' "$work/zip/$f" && grep -q 'System32' "$work/zip/$f" && grep -q 'VirtualStore' "$work/zip/$f" ||
      fail "$f names no system folder or no virtual store"
    grep -q 'certutil -hashfile .* SHA256' "$work/zip/$f" && grep -q 'Get-FileHash' "$work/zip/$f" ||
      fail "$f does not say how to check the sums"
  done
  grep -q 'MIT License' "$work/zip/LICENSE.txt" || fail "LICENSE.txt is not the licence"
  ok "zip: names, Dovra.scr identical, read-me encodings, line ends and places"
  local dist=${zip%/*}
  [[ $(<"$dist/SHA256SUMS") == "$(cd "$dist" && sha256sum "${zip##*/}" "$(basename "$zip" .zip)-setup.exe")" ]] ||
    fail "SHA256SUMS does not hold the packages' sums"
  ok "SHA256SUMS: the zip's and the installer's sums"
}

# Packages the committed HEAD from two clones in two folders, one after the
# other, the second in another time zone and with another umask, and compares
# what they make.
check_reproducible() {
  mkdir -p "$ROOT/build"
  work=$(mktemp -d "$ROOT/build/reproduce.XXXXXX") || fail "no folder for the clones"
  trap 'rm -rf "$work"' EXIT
  local commit clone
  commit=$(git -C "$ROOT" rev-parse HEAD) || fail "not a git checkout"
  for clone in a b/elsewhere; do
    git clone -q --no-checkout "$ROOT" "$work/$clone" && git -C "$work/$clone" checkout -q --detach "$commit" || fail "cannot clone $commit"
  done
  (cd "$work/a" && bash scripts/package.sh) || fail "packaging in $work/a"
  (cd "$work/b/elsewhere" && umask 077 && TZ=JST-9 bash scripts/package.sh) || fail "packaging in $work/b/elsewhere"
  local f
  for f in "$work/a/build/windows/Dovra.scr" "$work/a"/dist/*.zip "$work/a"/dist/*-setup.exe "$work/a/dist/SHA256SUMS"; do
    f=${f#"$work/a/"}
    (cd "$work" && sha256sum "a/$f" "b/elsewhere/$f")
    cmp "$work/a/$f" "$work/b/elsewhere/$f" || fail "$f differs between two builds of $commit"
  done
  ok "two builds of $commit: Dovra.scr, the zip and the installer byte for byte the same"
}

install_table() {
  local bits=$1 setup=$2 scr=$3 host=$4 planted=$5
  export DOVRA_WINE_BITS=$bits WINEPREFIX=''
  unset DISPLAY
  source "$ROOT/scripts/wine-env.sh"
  wine_prefix_init
  local base=$WINEPREFIX
  work=$(mktemp -d "$DOVRA_BUILD/package-test.XXXXXX")
  export WINEPREFIX=$work/prefix
  cp -a "$base" "$WINEPREFIX"
  rm -f "$WINEPREFIX/.dovra-ready"
  _xvfb_start
  trap '_xvfb_stop; wine_cmd wineserver -k 2>/dev/null; rm -rf "$work"' EXIT
  # Where the saver belongs: the 32-bit programs' system folder as a program
  # of the system's width names it.
  local dir='C:\windows\system32' sys=$WINEPREFIX/drive_c/windows/system32 view=''
  if [[ $bits == 64 ]]; then
    dir='C:\windows\syswow64' sys=$WINEPREFIX/drive_c/windows/syswow64
    # A 32-bit installer's entry is in the 32-bit view of the registry.
    x86_64-w64-mingw32-objdump -f "$setup" | grep -q 'file format pei-i386' && view=/reg:32
  fi
  local user store
  user=$(ls "$WINEPREFIX/drive_c/users" | grep -v -x Public | head -n1)
  store=$WINEPREFIX/drive_c/users/$user/AppData/Local/VirtualStore/Windows
  local desktop='HKCU\Control Panel\Desktop' entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Dovra'
  # A registry value as the system's own reg prints it, or nothing.
  regval() { wine_cmd "$DOVRA_WINE" reg query "$1" /v "$2" ${3-} 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z]* *//p"; }
  exists() { [[ $(wine_cmd "$DOVRA_WINE" cmd /c if exist "$1" echo yes 2>/dev/null | tr -d '\r') == yes ]]; }
  # Ends Windows programs by image name, as the system sees them. (Matching
  # Linux command lines could hit this very script: its arguments hold the
  # same file names, followed by whatever folder the clone sits in.)
  # STARTER is the background job that started them; it ends with them.
  stop_programs() {
    local starter=$1 image; shift
    for image; do wine_cmd "$DOVRA_WINE" taskkill /f /im "$image" >/dev/null 2>&1; done
    for _ in $(seq 100); do kill -0 "$starter" 2>/dev/null || break; sleep 0.1; done
    ! kill -0 "$starter" 2>/dev/null || fail "$* did not end"
  }
  # refused CODE TEXT: a silent install exits CODE, and the message it would
  # have shown, which it leaves in %TEMP%\Dovra-setup.log, holds TEXT.
  local log
  log=$(wine_cmd "$DOVRA_WINE" winepath -u "$(wine_cmd "$DOVRA_WINE" cmd /c echo %TEMP% | tr -d '\r')")/Dovra-setup.log
  refused() {
    rm -f "$log"
    wine_exec 120 "$setup" /S
    local rc=$?
    [[ $rc == "$1" ]] || fail "an install that should fail with $1 exited $rc"
    iconv -f UTF-16 -t UTF-8 "$log" | grep -qiF "$2" || fail "the install's message is not about '$2': $(iconv -f UTF-16 -t UTF-8 "$log")"
  }
  local version
  version=$(sed -n 's/.*VALUE "ProductVersion", "\([^"]*\)".*/\1/p' "$ROOT/src/resources/dovra.rc")

  # 0. Something in the way of a first install: a file named like its folder,
  # a folder named like the saver. It exits 3, says what it could not write,
  # and takes away what it had put down: no folder, no entry, no screen saver.
  local folder='C:\Program Files\Dovra' block in_way
  [[ -n $view ]] && folder='C:\Program Files (x86)\Dovra'
  for block in "$folder" "$dir\Dovra.scr"; do
    in_way=$(wine_cmd "$DOVRA_WINE" winepath -u "$block" 2>/dev/null)
    if [[ $block == *.scr ]]; then mkdir "$in_way"; else printf 'x' >"$in_way"; fi
    refused 3 "$block に書き込めませんでした"
    [[ -e $in_way && ! -f $sys/Dovra.scr && ! -e $sys/Dovra.scr.new && ! -d $(wine_cmd "$DOVRA_WINE" winepath -u "$folder") &&
       -z $(regval "$entry" UninstallString $view) && -z $(regval "$desktop" 'SCRNSAVE.EXE') ]] ||
      fail "an install blocked by $block left something"
    rm -rf "$in_way"
  done
  ok "$bits-bit: a first install blocked by a file or folder in the way exits 3, names it and leaves nothing"

  # 1. A silent install from the folder it was downloaded to, where DLLs with
  # the names of system DLLs it might load were planted (Wine told to look
  # there first, as Windows does): none is loaded by the installer. A load that
  # Wine's own DLLs ask for (its user32 loads uxtheme by name) is not the
  # installer's; its user32 also imports version.dll, so that one is not planted.
  # The built file is put in place, and nothing half-done.
  local download=$work/download names='uxtheme winmm msimg32 oleacc dwmapi riched20 shfolder userenv profapi cryptbase propsys'
  mkdir -p "$download"
  cp "$setup" "$download/"
  for d in $names; do cp "$planted" "$download/$d.dll"; done
  WINEDLLOVERRIDES="$WINEDLLOVERRIDES;${names// /,}=n,b" wine_exec 120 "$download/$(basename "$setup")" /S ||
    fail "silent install exited $?"
  wine_cmd wineserver -w
  local marker
  for marker in "$download"/*.loaded; do
    [[ -e $marker ]] || continue
    iconv -f UTF-16LE -t UTF-8 "$marker" | grep -qvixE "ntdll.dll|kernel32.dll|kernelbase.dll|$(basename "$setup")" ||
      fail "the installer loaded the planted $(basename "$marker" .loaded)"
  done
  cmp -s "$sys/Dovra.scr" "$scr" || fail "installed Dovra.scr differs from the built one"
  [[ ! -e $sys/Dovra.scr.new ]] || fail "a half-installed file is left"
  # 2. The current screen saver and the uninstall entry name files that exist.
  local saver icon instdir
  saver=$(regval "$desktop" 'SCRNSAVE.EXE')
  [[ ${saver,,} == "${dir,,}\\dovra.scr" ]] || fail "SCRNSAVE.EXE is '$saver'"
  exists "$saver" || fail "SCRNSAVE.EXE names no file for a $bits-bit program"
  [[ $(regval "$desktop" ScreenSaveActive) == 1 ]] || fail "ScreenSaveActive is not 1"
  icon=$(regval "$entry" DisplayIcon $view)
  [[ ${icon,,} == "${dir,,}\\dovra.scr,0" ]] || fail "DisplayIcon is '$icon'"
  exists "${icon%,0}" || fail "DisplayIcon names no file for a $bits-bit program"
  [[ $(regval "$entry" DisplayName $view) == 'Dovra (ScreenSaver)' ]] || fail "no DisplayName"
  [[ $(regval "$entry" DisplayVersion $view) == "$version" ]] || fail "DisplayVersion is not $version"
  [[ -n $(regval "$entry" Publisher $view) ]] || fail "no Publisher"
  local size=$(( $(regval "$entry" EstimatedSize $view) ))
  (( size >= 1000 && size <= 20000 )) || fail "EstimatedSize is $size KB"
  [[ $(regval "$entry" QuietUninstallString $view) == *'uninstall.exe" /S' ]] || fail "QuietUninstallString"
  [[ -n $(regval "$entry" UninstallString $view) ]] || fail "UninstallString"
  instdir=$(regval "$entry" InstallLocation $view)
  ok "$bits-bit: silent install beside planted DLLs; SCRNSAVE.EXE '$saver' and the entry's icon exist as a $bits-bit program sees them"

  # 3. The saver as the system starts it: the value, with /s, by the system's own cmd.
  wine_cmd "$DOVRA_WINE" cmd /c "$saver" /s >/dev/null 2>&1 &
  local run=$!
  sleep 4
  xdotool key Escape
  for _ in $(seq 100); do kill -0 $run 2>/dev/null || break; sleep 0.1; done
  ! kill -0 $run 2>/dev/null || fail "the installed saver did not end on Escape"
  [[ -s $sys/Vormix1.bmp && -s $sys/Vormix2.bmp ]] || fail "no pictures beside the installed saver"
  ok "$bits-bit: SCRNSAVE.EXE /s runs Dovra, which ends on Escape and writes its pictures beside itself"

  # 4. While Dovra's settings are open the file is in use: a silent install gives
  # up and changes nothing; once it is closed the same version installs over it.
  printf 'X' >>"$sys/Dovra.scr"
  wine_cmd "$DOVRA_WINE" "$dir\\Dovra.scr" /c >/dev/null 2>&1 &
  local dialog=$!
  sleep 4
  refused 2 'Dovra（スクリーンセーバーまたはその設定）が実行中'
  [[ $(tail -c 1 "$sys/Dovra.scr") == X && ! -e $sys/Dovra.scr.new ]] || fail "a running Dovra was half replaced"
  stop_programs $dialog Dovra.scr
  # With nothing running, a file in the way of the new saver is not Dovra
  # running: exit 3, the old one left whole.
  mkdir "$sys/Dovra.scr.new"
  refused 3 "$dir\Dovra.scr.new に書き込めませんでした"
  [[ $(tail -c 1 "$sys/Dovra.scr") == X && -n $(regval "$entry" DisplayName $view) ]] || fail "a failed install changed the old one"
  rmdir "$sys/Dovra.scr.new"
  wine_exec 120 "$setup" /S || fail "installing over the same version exited $?"
  cmp -s "$sys/Dovra.scr" "$scr" || fail "installing again did not replace Dovra.scr"
  ok "$bits-bit: a running Dovra (exit 2) or a file in the way (exit 3) leaves the old one whole; the same version installs over a stopped one"

  # 5. A preview in the settings page holds the file: an install says so and
  # exits 2, and the uninstaller (waited for with _?=) refuses with exit code 2;
  # neither changes anything.
  wine_cmd "$DOVRA_WINE" "$host" "$dir\\Dovra.scr" >/dev/null 2>&1 &
  local preview=$!
  sleep 4
  local inode
  inode=$(stat -c %i "$sys/Dovra.scr")
  refused 2 'Dovra.scr がほかのプログラムで使用中'
  [[ $(stat -c %i "$sys/Dovra.scr") == "$inode" ]] || fail "an install under a running preview replaced Dovra.scr"
  # NSIS takes the rest of the command line, unquoted, as the folder after _?=.
  local wait
  read -r -a wait <<<"_?=$instdir"
  wine_exec 120 "$instdir\\uninstall.exe" /S "${wait[@]}"
  local rc=$?
  [[ $rc == 2 ]] || fail "uninstalling under a running preview exited $rc"
  [[ -e $sys/Dovra.scr && -n $(regval "$entry" DisplayName $view) && -n $(regval "$desktop" 'SCRNSAVE.EXE') ]] ||
    fail "uninstalling under a running preview removed something"
  stop_programs $preview preview_host.exe Dovra.scr
  ok "$bits-bit: under a running preview, install and uninstall exit 2 and leave everything"

  # 6. SCRNSAVE.EXE as the settings page writes it (SysWOW64 on 64-bit
  # Windows), or in capitals: a silent uninstall takes away exactly what Dovra
  # put on the machine, the files it writes in the virtual store included.
  local other='C:\WINDOWS\SYSTEM32\DOVRA.SCR'
  [[ $bits == 64 ]] && other='C:\Windows\SysWOW64\Dovra.scr'
  wine_cmd "$DOVRA_WINE" reg add "$desktop" /v SCRNSAVE.EXE /t REG_SZ /d "$other" /f >/dev/null 2>&1
  printf '[Section]\r\n' >"$sys/VormixDovra.ini"
  printf '[Section]\r\n' >"$sys/VormixDovra.ini.new"  # a save cut short
  local d f
  for d in System32 SysWOW64; do
    mkdir -p "$store/$d"
    for f in VormixDovra.ini VormixDovra.ini.new Vormix1.bmp Vormix2.bmp; do printf 'x' >"$store/$d/$f"; done
  done
  printf 'keep' >"$sys/other.ini"
  wine_cmd "$DOVRA_WINE" reg add "$desktop" /v ScreenSaveTimeOut /t REG_SZ /d 600 /f >/dev/null 2>&1
  wine_exec 120 "$instdir\\uninstall.exe" /S || fail "silent uninstall exited $?"
  wine_cmd wineserver -w
  for f in Dovra.scr VormixDovra.ini VormixDovra.ini.new Vormix1.bmp Vormix2.bmp; do [[ ! -e $sys/$f ]] || fail "$f is left"; done
  for d in System32 SysWOW64; do
    [[ -z $(ls -A "$store/$d") ]] || fail "the virtual store still holds $(ls "$store/$d")"
  done
  [[ ! -e $(wine_cmd "$DOVRA_WINE" winepath -u "$instdir" 2>/dev/null) ]] || fail "the uninstaller's folder is left"
  [[ -z $(regval "$desktop" 'SCRNSAVE.EXE') ]] || fail "SCRNSAVE.EXE still names Dovra"
  [[ -z $(regval "$entry" DisplayName $view) ]] || fail "the uninstall entry is left"
  [[ -e $sys/other.ini && $(regval "$desktop" ScreenSaveTimeOut) == 600 ]] || fail "touched something else"
  ok "$bits-bit: silent uninstall with SCRNSAVE.EXE '$other': files, virtual store, entry and value gone; nothing else touched"
}

case ${1-} in
  zip) check_zip "$2" "$3" ;;
  install) install_table "$2" "$3" "$4" "$5" "$6" ;;
  reproduce) check_reproducible ;;
  *) echo "usage: $0 zip ZIP SCR | install 32|64 SETUP SCR PREVIEW_HOST PLANTED_DLL | reproduce" >&2; exit 2 ;;
esac
