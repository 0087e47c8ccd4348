#!/usr/bin/env bash
# Checksums of everything velmorn writes, for comparing two builds byte for byte:
# every switch on every design of the repository (corpus, test designs, fault
# designs, the example) and on two large generated ones, plus the wrong command
# lines; for each run the exit status, standard output, standard error and every
# file of the tree.
#
#   bash tools/tree-checksums.sh VELMORN > before.txt
#   ... change, rebuild ...
#   bash tools/tree-checksums.sh VELMORN > after.txt && diff before.txt after.txt
#
# Environment: SUMS_LARGE=0 skips the large generated designs.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
VELMORN=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
[ -x "$VELMORN" ] || { echo "usage: $0 VELMORN" >&2; exit 2; }
SWITCHES="-tmr0 -tmr1 -tmr2 -dpl4 -dpl5 -dpl6 -dpl0 -fuch -tmr3 -dpl1 -dpl2"
SCRATCH=$(mktemp -d /tmp/velmorn-sums.XXXXXX)
trap 'rm -rf "$SCRATCH"' EXIT

inputs=()
while IFS= read -r f; do inputs+=("$f"); done < <(
  cd "$ROOT" && ls tests/corpus/*.vhd tests/designs/*.vhd tests/fault/designs/*.vhd examples/*.vhd 2>/dev/null)
if [ "${SUMS_LARGE:-1}" != 0 ]; then
  mkdir -p "$SCRATCH/large"
  bash "$ROOT/tools/gen_source.sh" "$SCRATCH/large/ports10k.vhd" 10000 100 4096
  bash "$ROOT/tools/gen_source.sh" "$SCRATCH/large/body20m.vhd" 16 4 $((20 * 1048576))
  inputs+=("$SCRATCH/large/ports10k.vhd" "$SCRATCH/large/body20m.vhd")
fi

sha() { sha256sum | cut -c1-16; }

# run NAME SOURCE ARGS...: runs velmorn in a fresh directory holding a copy of
# SOURCE under its own name and prints what it wrote.
run() {
  local name=$1 src=$2; shift 2
  local dir=$SCRATCH/run
  rm -rf "$dir"; mkdir -p "$dir"
  [ -n "$src" ] && cp "$src" "$dir/"
  local status=0
  (cd "$dir" && exec -a velmorn "$VELMORN" "$@" >"$SCRATCH/out" 2>"$SCRATCH/err") || status=$?
  rm -f "$dir/$(basename "${src:-none}")"
  echo "$name $*: status=$status stdout=$(sha <"$SCRATCH/out") stderr=$(sha <"$SCRATCH/err")"
  (cd "$dir" && find . -type f | LC_ALL=C sort | while IFS= read -r f; do echo "  $f $(sha <"$f")"; done)
}

for f in "${inputs[@]}"; do
  case "$f" in /*) path=$f ;; *) path=$ROOT/$f ;; esac
  base=$(basename "$f")
  for sw in $SWITCHES; do
    case "$sw" in
      -fuch|-tmr3|-dpl1|-dpl2) run "${f#"$SCRATCH"/}" "$path" "$sw" "$base" "${base%.vhd}_ch.vhd" ;;
      *) run "${f#"$SCRATCH"/}" "$path" "$sw" "$base" ;;
    esac
  done
done

# Command lines that print the usage text or refuse.
ex=$ROOT/examples/counter.vhd
run usage ""
run usage "" -h
run usage "" --help
run usage "$ex" -TMR0 counter.vhd
run usage "$ex" counter.vhd -tmr0
run usage "$ex" -tmr0 counter.vhd extra.vhd
run usage "$ex" -fuch counter.vhd
run usage "$ex" tmr0 counter.vhd
run missing "" -tmr0 missing.vhd
