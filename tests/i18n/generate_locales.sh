#!/usr/bin/env bash
# generate_locales.sh DIR NAME...: compiles each NAME (e.g. fr_FR) as
# DIR/NAME.UTF-8 unless it is there already.
set -euo pipefail
dir=$1
shift
mkdir -p "$dir"
for name in "$@"; do
  [[ -f $dir/$name.UTF-8/LC_CTYPE ]] || localedef -i "$name" -f UTF-8 "$dir/$name.UTF-8"
done
