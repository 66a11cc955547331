#!/usr/bin/env bash
# Installs what building, testing and running need on Debian 12, and the
# extra packages named as arguments; does nothing when everything is already
# there.
#
# Wine's 32-bit loader needs a kernel that runs 32-bit programs. Where the
# kernel cannot, the loader is run under qemu's user-mode emulation instead
# (TAVRIN_EMULATE_I386=1 asks for that on any machine, to try it).
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

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi

missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -q
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
fi

loader=/usr/lib/wine/wine
native_loader=/usr/lib/wine/wine.i386

kernel_runs_i386() {
  # Exits at once either way: 126 (Exec format error) where the kernel lacks it.
  timeout 10 /lib/ld-linux.so.2 --help >/dev/null 2>&1
}

# qemu 7.2 of Debian 12 takes over a minute to start each 32-bit process;
# the backported qemu 10 takes about a second.
install_qemu() {
  if installed qemu-user && dpkg --compare-versions "$(dpkg-query -W -f='${Version}' qemu-user)" ge 1:10; then
    return
  fi
  if ! grep -rqs 'bookworm-backports' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    printf '%s\n' 'Types: deb' 'URIs: http://deb.debian.org/debian' 'Suites: bookworm-backports' \
      'Components: main' 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' |
      $sudo tee /etc/apt/sources.list.d/bookworm-backports.sources >/dev/null
  fi
  $sudo apt-get update -q
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
    -t bookworm-backports qemu-user
}

# The loader re-executes its own path for every new process, so the system's
# file itself must start the emulator; dpkg keeps the real one aside, also
# across upgrades of Wine.
emulate_loader() {
  install_qemu
  if ! dpkg-divert --list "$loader" | grep -q .; then
    $sudo dpkg-divert --local --rename --divert "$native_loader" --add "$loader"
  fi
  local wrapper
  wrapper=$(printf '#!/bin/sh\nexec /usr/bin/qemu-i386 -0 %s %s "$@"\n' "$loader" "$native_loader")
  if [[ $(cat "$loader" 2>/dev/null) != "$wrapper" ]]; then
    echo "$wrapper" | $sudo tee "$loader" >/dev/null
    $sudo chmod 755 "$loader"
  fi
}

restore_loader() {
  dpkg-divert --list "$loader" | grep -q . || return 0
  $sudo rm -f "$loader"
  $sudo dpkg-divert --local --rename --remove "$loader"
}

if ! kernel_runs_i386; then
  echo "setup: this kernel cannot run 32-bit programs; Wine's 32-bit loader runs under qemu-i386 emulation (slower)"
  emulate_loader
elif [[ ${TAVRIN_EMULATE_I386:-0} == 1 ]]; then
  echo "setup: TAVRIN_EMULATE_I386=1: Wine's 32-bit loader runs under qemu-i386 emulation (slower)"
  emulate_loader
else
  restore_loader
fi
