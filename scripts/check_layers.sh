#!/usr/bin/env bash
# Checks that every include in src/ keeps the layer order: a file includes
# from its own folder or from the folders its row allows, nothing else.
set -euo pipefail
cd "$(dirname "$0")/../src"

# folder      what it may include besides itself (bottom to top); the build's
# settings (build_config.h, the maker's hosts among them) are read in app only.
declare -A allowed=(
  [base]=""
  [sys]="base"
  [settings]="base sys"
  [i18n]="base sys"
  [service]="base sys settings i18n"
  [widgets]="base sys settings i18n service"
  [appearance]="base sys settings i18n service widgets"
  [app]="base sys settings i18n service widgets appearance build_config.h"
)

status=0
while IFS=: read -r file _ include; do
  folder=${file%%/*}
  [[ $include =~ \"([^\"]*)\" ]] && target=${BASH_REMATCH[1]}
  if [[ $target == */* ]]; then target_folder=${target%%/*}; else target_folder=$target; fi
  [[ -v allowed[$folder] ]] || { echo "src/$file: folder '$folder' has no row in the layer table"; status=1; continue; }
  [[ $target_folder == "$folder" ]] && continue
  [[ " ${allowed[$folder]} " == *" $target_folder "* ]] && continue
  echo "src/$file: #include \"$target\" breaks the layer order ($folder may include: ${allowed[$folder]:-nothing else})"
  status=1
done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' --include='*.h' --include='*.cpp' . |
         sed 's|^\./||')
exit $status
