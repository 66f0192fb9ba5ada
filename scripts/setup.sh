#!/usr/bin/env bash
# Installs what building and testing Dovra needs on a Debian 12 machine.
# Idempotent: when everything is already there it returns in well under a second.
set -euo pipefail

need_pkgs=(make cmake gcc g++ clang libclang-rt-14-dev googletest libgtest-dev libbenchmark-dev
           g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine32:i386 wine64 xvfb xdotool imagemagick
           gstreamer1.0-plugins-base:i386 gstreamer1.0-plugins-good:i386
           gstreamer1.0-plugins-base gstreamer1.0-plugins-good
           fonts-ipafont-gothic sox lame locales
           xserver-xorg-core xserver-xorg-video-dummy libxinerama1:i386 libxinerama1 libxrandr2 libxrandr2:i386 nsis zip unzip libstb-dev)

missing=()
installed=$(dpkg-query -W -f='${Package}:${Architecture} ${db:Status-Status}\n' 2>/dev/null || true)
for p in "${need_pkgs[@]}"; do
  name=${p%%:*}; arch=${p#*:}; [[ $arch == "$p" ]] && arch=''
  if [[ -n $arch ]]; then
    grep -Fqx "$name:$arch installed" <<<"$installed" || missing+=("$p")
  else
    grep -Fqx -e "$name:amd64 installed" -e "$name:all installed" <<<"$installed" || missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  SUDO=''; [[ $EUID -ne 0 ]] && SUDO=sudo
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
