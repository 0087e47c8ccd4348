#!/usr/bin/env bash
# Checks that every include in src/ runs down the pipeline: each folder may
# include its own headers and those of the folders listed for it, nothing else.
# Prints each include that runs against it and fails when there is one.
set -euo pipefail
cd "$(dirname "$0")/../src"
declare -A allowed=(
  [main]="read arch prove vhdl model support"
  [prove]="arch tops modules vhdl model support"
  [read]="model support"
  [arch]="tops modules vhdl model support"
  [tops]="modules vhdl model support"
  [modules]="vhdl model support"
  [vhdl]="model support"
  [model]=""
  [support]=""
)
bad=0
for dir in */; do
  dir=${dir%/}
  [ -n "${allowed[$dir]+x}" ] || { echo "src/$dir: a folder the layer check does not know"; bad=1; continue; }
  while IFS=: read -r file _ line; do
    target=$(sed -E 's/.*#include "([^/"]+)\/.*/\1/' <<<"$line")
    [ "$target" = "$dir" ] && continue
    case " ${allowed[$dir]} " in *" $target "*) ;; *) echo "src/$file: $line"; bad=1 ;; esac
  done < <(grep -Hn '#include "' "$dir"/* || true)
done
exit $bad
