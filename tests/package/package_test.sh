#!/usr/bin/env bash
# usage: tests/package/package_test.sh ZIP SETUP SCR
# Checks the zip a user downloads, then installs, runs and uninstalls Dovra with
# the installer under Wine, in a fresh copy of the test prefix, as a user would.
# Prints what it checks; exits non-zero on the first failure.
set -uo pipefail
zip=$1 setup=$2 scr=$3
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
source "$ROOT/scripts/wine-env.sh"
work=$(mktemp -d "$DOVRA_BUILD/package-test.XXXXXX")
fail() { echo "FAIL: $*"; exit 1; }
ok() { echo "ok: $*"; }

# ---- the zip
names=$(unzip -Z1 "$zip" | sort | tr '\n' ' ')
[[ $names == "Dovra.scr LICENSE.txt README-en.txt README-ja.txt " ]] || fail "zip holds: $names"
unzip -q "$zip" -d "$work/zip"
cmp -s "$work/zip/Dovra.scr" "$scr" || fail "the zip's Dovra.scr is not the built one"
for f in README-en.txt README-ja.txt LICENSE.txt; do
  [[ $(grep -c -v $'\r$' "$work/zip/$f") == 0 ]] || fail "$f has lines without CR LF"
done
[[ $(head -c 3 "$work/zip/README-ja.txt" | od -An -tx1 | tr -d ' ') == efbbbf ]] || fail "README-ja.txt has no UTF-8 mark"
iconv -f UTF-8 -t UTF-16LE "$work/zip/README-ja.txt" >/dev/null || fail "README-ja.txt is not UTF-8"
grep -q 'インストール' "$work/zip/README-ja.txt" || fail "README-ja.txt does not say how to install"
! LC_ALL=C grep -q -P '[^\x00-\x7F]' "$work/zip/README-en.txt" || fail "README-en.txt is not plain ASCII"
for f in README-en.txt README-ja.txt; do
  grep -q 'SysWOW64' "$work/zip/$f" && grep -q 'System32' "$work/zip/$f" || fail "$f names no system folder"
done
grep -q 'MIT License' "$work/zip/LICENSE.txt" || fail "LICENSE.txt is not the licence"
ok "zip: names, Dovra.scr identical, read-me encodings and line ends"

# ---- the installer, in a prefix of its own
wine_prefix_init
export WINEPREFIX=$work/prefix
cp -a "$DOVRA_BUILD/wineprefix-${DOVRA_WINE_LC%%.*}" "$WINEPREFIX"
rm -f "$WINEPREFIX/.dovra-ready"
_xvfb_start
trap '_xvfb_stop; wine_cmd wineserver -k 2>/dev/null; rm -rf "$work"' EXIT
sys=$WINEPREFIX/drive_c/windows/system32
user=$(ls "$WINEPREFIX/drive_c/users" | grep -v -x Public | head -n1)
store=$WINEPREFIX/drive_c/users/$user/AppData/Local/VirtualStore/Windows
# A registry value as `wine reg query` prints it, or nothing.
regval() { wine_cmd wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z]* *//p"; }
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Dovra'

wine_exec 120 "$setup" /S || fail "silent install exited $?"
wine_cmd wineserver -w
cmp -s "$sys/Dovra.scr" "$scr" || fail "installed Dovra.scr differs from the built one"
[[ ! -e $sys/Dovra.scr.new ]] || fail "a half-installed file is left"
saver=$(regval 'HKCU\Control Panel\Desktop' 'SCRNSAVE.EXE')
[[ ${saver,,} == 'c:\windows\system32\dovra.scr' ]] || fail "SCRNSAVE.EXE is '$saver'"
[[ $(regval 'HKCU\Control Panel\Desktop' ScreenSaveActive) == 1 ]] || fail "ScreenSaveActive is not 1"
[[ $(regval "$uninstall_key" DisplayName) == 'Dovra (ScreenSaver)' ]] || fail "no DisplayName"
version=$(sed -n 's/.*VALUE "ProductVersion", "\([^"]*\)".*/\1/p' "$ROOT/src/resources/dovra.rc")
[[ $(regval "$uninstall_key" DisplayVersion) == "$version" ]] || fail "DisplayVersion is not $version"
[[ -n $(regval "$uninstall_key" Publisher) ]] || fail "no Publisher"
[[ $(regval "$uninstall_key" DisplayIcon) == 'C:\windows\system32\Dovra.scr,0' ]] || fail "DisplayIcon"
[[ $(( $(regval "$uninstall_key" EstimatedSize) )) -ge 1000 ]] || fail "EstimatedSize"
[[ $(regval "$uninstall_key" QuietUninstallString) == *'uninstall.exe" /S' ]] || fail "QuietUninstallString"
[[ -n $(regval "$uninstall_key" UninstallString) ]] || fail "UninstallString"
ok "silent install: the file, the current screen saver, the uninstall entry"

# The installed saver runs from the system folder and writes its pictures there.
wine_cmd wine 'C:\windows\system32\Dovra.scr' /s >/dev/null 2>&1 &
run=$!
sleep 4
xdotool key Escape
for _ in $(seq 100); do kill -0 $run 2>/dev/null || break; sleep 0.1; done
! kill -0 $run 2>/dev/null || fail "the installed saver did not end on Escape"
[[ -s $sys/Vormix1.bmp && -s $sys/Vormix2.bmp ]] || fail "no pictures beside the installed saver"
ok "the installed saver runs (/s), ends on Escape and writes its pictures beside itself"

# While Dovra's settings are open the file is in use: a silent install gives
# up and changes nothing; once it is closed the same version installs over it.
printf 'X' >>"$sys/Dovra.scr"
wine_cmd wine 'C:\windows\system32\Dovra.scr' /c >/dev/null 2>&1 &
dialog=$!
sleep 4
wine_exec 120 "$setup" /S && fail "installing over a running Dovra reported success"
[[ $(tail -c 1 "$sys/Dovra.scr") == X && ! -e $sys/Dovra.scr.new ]] || fail "a running Dovra was half replaced"
kill $dialog 2>/dev/null; pkill -f 'Dovra.scr /c' 2>/dev/null; sleep 2
wine_exec 120 "$setup" /S || fail "installing over the same version exited $?"
cmp -s "$sys/Dovra.scr" "$scr" || fail "installing again did not replace Dovra.scr"
ok "a running Dovra is left whole; the same version installs over a stopped one"

# What the uninstaller must take away, and what it must leave.
printf '[Section]\r\n' >"$sys/VormixDovra.ini"
for d in System32 SysWOW64; do
  mkdir -p "$store/$d"
  for f in VormixDovra.ini Vormix1.bmp Vormix2.bmp; do printf 'x' >"$store/$d/$f"; done
done
printf 'keep' >"$sys/other.ini"
wine_cmd wine reg add 'HKCU\Control Panel\Desktop' /v ScreenSaveTimeOut /t REG_SZ /d 600 /f >/dev/null 2>&1
wine_exec 120 'C:\Program Files\Dovra\uninstall.exe' /S || fail "silent uninstall exited $?"
wine_cmd wineserver -w
for f in Dovra.scr VormixDovra.ini Vormix1.bmp Vormix2.bmp; do [[ ! -e $sys/$f ]] || fail "$f is left"; done
for d in System32 SysWOW64; do
  [[ -z $(ls -A "$store/$d") ]] || fail "the virtual store still holds $(ls "$store/$d")"
done
[[ ! -e "$WINEPREFIX/drive_c/Program Files/Dovra" ]] || fail "the uninstaller's folder is left"
[[ -z $(regval 'HKCU\Control Panel\Desktop' 'SCRNSAVE.EXE') ]] || fail "SCRNSAVE.EXE still names Dovra"
wine_cmd wine reg query "$uninstall_key" >/dev/null 2>&1 && fail "the uninstall entry is left"
[[ -e $sys/other.ini && $(regval 'HKCU\Control Panel\Desktop' ScreenSaveTimeOut) == 600 ]] || fail "touched something else"
ok "silent uninstall: files, virtual store, entry and SCRNSAVE.EXE gone; nothing else touched"
