#!/usr/bin/env bash
# Builds Dovra.scr (installing what is missing) and writes the two packages a
# Windows user downloads:
#   dist/Dovra-<version>.zip          Dovra.scr, read-mes in English and Japanese, the licence
#   dist/Dovra-<version>-setup.exe    the installer (NSIS), Japanese or English by the system
#   dist/SHA256SUMS                   the two packages' SHA-256 sums, as sha256sum writes them
# The same commit gives the same bytes on any machine, at any time, in any
# folder: every date in the packages is the commit's (SOURCE_DATE_EPOCH, if
# set, overrides it).
# The version is the one in the program's version record.
#
#   bash scripts/package.sh --x64-test-installer OUT
# writes only a test build of the same installer as a 64-bit program carrying
# the saver's x64 build (build/windows64/Dovra.scr), for machines that cannot
# run 32-bit programs. It is never shipped.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
x64_test_out=''
if [[ ${1-} == --x64-test-installer ]]; then
  x64_test_out=$(realpath -m "${2:?"usage: package.sh --x64-test-installer OUT"}")
else
  bash scripts/build-saver.sh
fi

version=$(sed -n 's/.*VALUE "ProductVersion", "\([^"]*\)".*/\1/p' src/resources/dovra.rc)
[[ $version =~ ^[0-9]+\.[0-9]+$ ]] || { echo "package: no version in the version record" >&2; exit 1; }
scr=$ROOT/build/windows/Dovra.scr
if [[ -z ${SOURCE_DATE_EPOCH:-} ]]; then
  # Outside a git checkout of its own (a copy of the sources), a fixed date.
  if [[ $(git -C "$ROOT" rev-parse --show-toplevel 2>/dev/null) -ef $ROOT ]]; then
    SOURCE_DATE_EPOCH=$(git -C "$ROOT" log -1 --format=%ct)
  else
    SOURCE_DATE_EPOCH=$(date -u -d '2026-01-01 00:00:00' +%s)
  fi
fi
# zip stores local times: the same in every time zone only in one.
export SOURCE_DATE_EPOCH TZ=UTC
stage=$ROOT/build/package${x64_test_out:+-x64-test}
rm -rf "$stage"
mkdir -p "$stage/zip" dist

# Texts as Windows Notepad shows them on any system: CR LF line ends; the
# Japanese one in UTF-8 with its byte-order mark, the English one plain ASCII.
crlf() { sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' "$1"; }
crlf packaging/readme-en.txt >"$stage/zip/README-en.txt"
{ printf '\xEF\xBB\xBF'; crlf packaging/readme-ja.txt; } >"$stage/zip/README-ja.txt"
crlf LICENSE >"$stage/zip/LICENSE.txt"

# installer OUT SCR [NSIS TARGET]
installer() {
  makensis -V2 -INPUTCHARSET UTF8 ${3:+"-XTarget $3"} \
    "-DVERSION=$version" "-DSCR=$2" "-DOUT=$1" "-DICON=$ROOT/src/resources/dovra.ico" "-DSIDE=$ROOT/src/resources/installer_side.bmp" \
    "-DLICENSE_FILE=$stage/zip/LICENSE.txt" "-DLICENSE_TXT=$stage/zip/LICENSE.txt" \
    "-DREADME_EN=$stage/zip/README-en.txt" "-DREADME_JA=$stage/zip/README-ja.txt" \
    packaging/dovra.nsi >"$stage/makensis.log" || { cat "$stage/makensis.log"; exit 1; }
}
if [[ -n $x64_test_out ]]; then
  installer "$x64_test_out" "$ROOT/build/windows64/Dovra.scr" amd64-unicode
  exit 0
fi

# The same bytes from the same sources: the commit's date, the same modes
# whatever the umask, a fixed order, no extra fields.
cp "$scr" "$stage/zip/Dovra.scr"
zip_out=$ROOT/dist/Dovra-$version.zip
rm -f "$zip_out"
chmod 644 "$stage/zip/"*
touch -d "@$SOURCE_DATE_EPOCH" "$stage/zip/"*
(cd "$stage/zip" && zip -q -X -D "$zip_out" Dovra.scr README-en.txt README-ja.txt LICENSE.txt)

setup_out=$ROOT/dist/Dovra-$version-setup.exe
installer "$setup_out" "$scr"
(cd dist && sha256sum "$(basename "$zip_out")" "$(basename "$setup_out")" >SHA256SUMS)

ls -l "$zip_out" "$setup_out" | awk '{ printf "%10d  %s\n", $5, $NF }'
