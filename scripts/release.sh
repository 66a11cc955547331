#!/usr/bin/env bash
# Makes a release of the checked-out commit in dist/: tavrin.exe for the
# maker's real hosts (the windows-release preset), built from a clean export of
# the commit, with SHA256SUMS and RELEASE.md.
#   scripts/release.sh            build once
#   scripts/release.sh --verify   build twice, in two directories, a day apart
#                                 by the clock and with another time zone,
#                                 locale and umask; stop unless both builds
#                                 are byte for byte the same
# Signing: see scripts/release-package.sh for the variables it takes.
set -euo pipefail
cd "$(dirname "$0")/.."

case ${1:-} in
  '') verify=false ;;
  --verify) verify=true ;;
  *) echo "usage: scripts/release.sh [--verify]" >&2; exit 2 ;;
esac

if [[ -n $(git status --porcelain) ]]; then
  echo "release.sh: the work tree has changes: commit them, or stash them, first" >&2
  exit 1
fi
if $verify; then scripts/setup.sh faketime; else scripts/setup.sh; fi

commit=$(git rev-parse HEAD)
epoch=$(git log -1 --format=%ct "$commit")
rm -rf dist
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# build DIR [WRAPPER...]: exports the commit to DIR and builds tavrin.exe there,
# without the compiler cache, so that every object is really compiled.
build() {
  local dir=$1
  shift
  mkdir -p "$dir"
  git -c core.autocrlf=false archive "$commit" | tar -x -C "$dir"
  # The linker takes the PE time stamp from SOURCE_DATE_EPOCH.
  if ! (cd "$dir" && env -u CMAKE_C_COMPILER_LAUNCHER -u CMAKE_CXX_COMPILER_LAUNCHER \
    CCACHE_DISABLE=1 SOURCE_DATE_EPOCH="$epoch" "$@" bash -c \
    'cmake --preset windows-release && cmake --build --preset windows-release -j "$(nproc)" --target tavrin' \
    >"$dir/build.log" 2>&1); then
    tail -n 40 "$dir/build.log" >&2
    echo "release.sh: the build in $dir failed" >&2
    exit 1
  fi
}

pe_time_stamp() {
  local header
  header=$(od -An -tu4 -j 60 -N 4 "$1" | tr -d ' ')
  od -An -tu4 -j $((header + 8)) -N 4 "$1" | tr -d ' '
}

first=$work/first
echo "Building $commit in $first"
build "$first"
exe=$first/build/windows-release/tavrin.exe
if [[ $(pe_time_stamp "$exe") != "$epoch" ]]; then
  echo "release.sh: the PE time stamp is not the commit's date: the linker ignored SOURCE_DATE_EPOCH" >&2
  exit 1
fi

if $verify; then
  second=$work/elsewhere/in/a/deeper/folder
  echo "Building $commit again in $second, on $(faketime -f +1d date -u +%F) by the clock"
  (umask 077 && build "$second" faketime -f +1d env TZ=Pacific/Kiritimati LC_ALL=C.UTF-8)
  first_sum=$(sha256sum <"$exe" | cut -d ' ' -f 1)
  second_sum=$(sha256sum <"$second/build/windows-release/tavrin.exe" | cut -d ' ' -f 1)
  echo "  first build:  $first_sum"
  echo "  second build: $second_sum"
  if [[ $first_sum != "$second_sum" ]]; then
    echo "release.sh: the two builds differ (offset, octal bytes):" >&2
    cmp -l "$exe" "$second/build/windows-release/tavrin.exe" | head -n 20 >&2 || true
    exit 1
  fi
  echo "The two builds are identical."
fi

scripts/release-package.sh "$exe" "$commit" dist
echo "Release in dist/:"
cat dist/SHA256SUMS
