#!/usr/bin/env bash
# Installs what building, testing and running need on Debian 12, and the
# extra packages named as arguments; does nothing when everything is already
# there.
set -euo pipefail

packages=(
  cmake make g++ python3 googletest
  g++-mingw-w64-i686-posix mingw-w64-tools
  wine wine64 wine32:i386 xvfb xauth x11-utils xdotool imagemagick
  locales openssl osslsigncode
  clang-16 libclang-rt-16-dev
  "$@"
)

if [[ $(id -u) -ne 0 ]]; then sudo=sudo; else sudo=; fi

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -q
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
fi
