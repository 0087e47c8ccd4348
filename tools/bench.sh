#!/usr/bin/env bash
# Performance benchmark of velmorn (not a test). Builds velmorn in Release in its
# own build directory, generates its inputs in a scratch directory, runs every
# switch on every input and prints a Markdown report on standard output
# (progress goes to standard error):
#   - the ratio of velmorn's time to the time of `cp -r` of the tree that it
#     writes: BENCH_REPS pairs of runs that alternate (velmorn, cp, velmorn,
#     cp, ...), each command removing the tree of its previous run first
#     (`rm -rf` is part of both); the ratio is the median of the pairs' ratios;
#   - the median times, peak RSS (a run of its own under /usr/bin/time) and
#     the files and bytes written per input and switch;
#   - growth: 100 MiB body against 10 MiB body, 10,000 ports against 1,000
#     ports, 1,000 generics against 100 generics (median times).
#
# Usage: bash tools/bench.sh [> report.md]
# Environment: BENCH_REPS (pairs of runs, default 5), BENCH_DIR (scratch
#              directory, default a fresh one under /tmp, removed at the end),
#              BENCH_BUILD (build directory, default build-bench in the
#              repository), BENCH_SIZES (body sizes in MiB, default "1 10 100"),
#              BENCH_SWITCHES (default all eleven), BENCH_INPUTS (input names,
#              default all: ports1k ports10k generics1k generics100 body<N>m),
#              BENCH_VELMORN (a velmorn binary to measure instead of building one).
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
REPS=${BENCH_REPS:-5}
BUILD=${BENCH_BUILD:-$ROOT/build-bench}
SIZES=${BENCH_SIZES:-"1 10 100"}
SWITCHES=${BENCH_SWITCHES:-"-tmr0 -tmr1 -tmr2 -dpl4 -dpl5 -dpl6 -dpl0 -fuch -tmr3 -dpl1 -dpl2"}

log() { printf '%s\n' "$*" >&2; }
die() { log "bench: $*"; exit 1; }

[ -x /usr/bin/time ] || die "/usr/bin/time is missing: apt-get install -y time"
command -v cmake >/dev/null || die "cmake is missing"
[ -n "${EPOCHREALTIME:-}" ] || die "bash 5 or newer is needed (EPOCHREALTIME)"

if [ -n "${BENCH_DIR:-}" ]; then
  SCRATCH=$BENCH_DIR
  mkdir -p "$SCRATCH"
else
  SCRATCH=$(mktemp -d /tmp/velmorn-bench.XXXXXX)
  trap 'rm -rf "$SCRATCH"' EXIT
fi
case "$SCRATCH" in "$ROOT"|"$ROOT"/*) die "the scratch directory must lie outside the repository" ;; esac

# ---------------------------------------------------------------- build
if [ -n "${BENCH_VELMORN:-}" ]; then
  VELMORN=$(cd "$(dirname "$BENCH_VELMORN")" && pwd)/$(basename "$BENCH_VELMORN")
else
  log "building velmorn (Release) in $BUILD"
  gen=(); command -v ninja >/dev/null && gen=(-G Ninja)
  cmake -S "$ROOT" -B "$BUILD" "${gen[@]}" -DCMAKE_BUILD_TYPE=Release -DVELMORN_TESTS=OFF >/dev/null
  cmake --build "$BUILD" --target velmorn -j 2 >/dev/null
  VELMORN=$BUILD/velmorn
fi
[ -x "$VELMORN" ] || die "no velmorn binary in $BUILD"

# ---------------------------------------------------------------- inputs
# gen_source FILE PORTS GENERICS BODY_BYTES (tools/gen_source.sh)
gen_source() { bash "$ROOT/tools/gen_source.sh" "$@"; }

INPUTS=()    # name|description|file
add_input() {
  case " ${BENCH_INPUTS:-$1} " in *" $1 "*) INPUTS+=("$1|$2|$SCRATCH/inputs/$1.vhd") ;; esac
}
mkdir -p "$SCRATCH/inputs"
log "generating inputs in $SCRATCH/inputs"
gen_source "$SCRATCH/inputs/ports1k.vhd" 1000 100 4096
add_input ports1k "1,000 ports, 100 generics"
gen_source "$SCRATCH/inputs/ports10k.vhd" 10000 100 4096
add_input ports10k "10,000 ports, 100 generics"
gen_source "$SCRATCH/inputs/generics1k.vhd" 100 1000 4096
add_input generics1k "100 ports, 1,000 generics"
gen_source "$SCRATCH/inputs/generics100.vhd" 100 100 4096
add_input generics100 "100 ports, 100 generics"
for mb in $SIZES; do
  gen_source "$SCRATCH/inputs/body${mb}m.vhd" 16 4 $((mb * 1048576))
  add_input "body${mb}m" "${mb} MiB body, 16 ports, 4 generics"
done

# ---------------------------------------------------------------- measuring
now_us() { local t=${EPOCHREALTIME/[.,]/}; echo "$((10#$t))"; }

tree_bytes() { find "$1" -type f -printf '%s\n' | awk '{ s += $1 } END { print s + 0 }'; }
tree_files() { find "$1" -type f | wc -l; }
fmt_ms() { awk -v u="$1" 'BEGIN { printf (u < 100000 ? "%.2f" : "%.1f"), u / 1000 }'; }
fmt_mib() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }
le() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a <= b) }'; }
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }

declare -A T F R RSS BYTES FILES SRC
RUN=$SCRATCH/run
for entry in "${INPUTS[@]}"; do
  IFS='|' read -r name desc file <<<"$entry"
  SRC[$name]=$(stat -c %s "$file")
  for sw in $SWITCHES; do
    args=("$sw" "$file")
    case "$sw" in -fuch|-tmr3|-dpl1|-dpl2) args+=("checker.vhd") ;; esac  # never opened
    log "  $name $sw"
    rm -rf "$RUN" "$SCRATCH/copy"
    mkdir -p "$RUN"
    tree=$RUN/$name
    # warm-up, and the peak RSS in a run of its own
    (cd "$RUN" && /usr/bin/time -f %M -o "$SCRATCH/rss" "$VELMORN" "${args[@]}" >/dev/null) ||
      die "velmorn ${args[*]} failed"
    [ -d "$tree" ] || die "velmorn ${args[*]} wrote no tree $tree"
    RSS[$name$sw]=$(cat "$SCRATCH/rss")
    BYTES[$name$sw]=$(tree_bytes "$tree")
    FILES[$name$sw]=$(tree_files "$tree")
    cp -r "$tree" "$SCRATCH/copy"
    ts=(); cs=(); rs=()
    cd "$RUN"
    for ((r = 0; r < REPS; r++)); do
      t0=$(now_us)
      rm -rf "$name"
      "$VELMORN" "${args[@]}" >/dev/null || die "velmorn ${args[*]} failed"
      t1=$(now_us)
      rm -rf "$SCRATCH/copy"
      cp -r "$tree" "$SCRATCH/copy"
      t2=$(now_us)
      ts+=($((t1 - t0))); cs+=($((t2 - t1))); rs+=("$(ratio $((t1 - t0)) $((t2 - t1)))")
    done
    cd "$ROOT"
    T[$name$sw]=$(median "${ts[@]}"); F[$name$sw]=$(median "${cs[@]}"); R[$name$sw]=$(median "${rs[@]}")
  done
  rm -rf "$RUN" "$SCRATCH/copy"
done

# ---------------------------------------------------------------- report
cpu=$(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)
mem=$(awk '/^MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo)
fs=$(df -T "$SCRATCH" | awk 'NR == 2 { print $1 " (" $2 ")" }')
os=$(. /etc/os-release 2>/dev/null && echo "$PRETTY_NAME")
echo "## Run of $(date -u '+%Y-%m-%d %H:%M UTC')"
echo
echo "- Command: \`bash tools/bench.sh\` (BENCH_REPS=$REPS pairs of alternating runs, velmorn then \`cp -r\` of its tree, each removing its previous tree first)"
echo "- Machine: $(nproc) CPUs, $cpu, $mem memory, scratch on $fs, $os, kernel $(uname -r)"
if [ -n "${BENCH_VELMORN:-}" ]; then
  echo "- velmorn: the binary $BENCH_VELMORN"
else
  echo "- Compiler: $(c++ --version 2>/dev/null | head -1); velmorn commit $(git -C "$ROOT" rev-parse --short HEAD 2>/dev/null || echo unknown)"
fi
echo "- velmorn / cp: the median of the pairs' ratios; the times are the medians of each command (\`rm -rf\` included); peak RSS from a run of its own."
echo
echo "| Input | Source | Switch | Files | Bytes written | velmorn ms | cp -r ms | velmorn / cp | Peak RSS MiB | RSS limit MiB |"
echo "|---|---:|---|---:|---:|---:|---:|---:|---:|---:|"
fails=()
for entry in "${INPUTS[@]}"; do
  IFS='|' read -r name desc file <<<"$entry"
  limit=$(( (SRC[$name] + 20 * 1048576) / 1024 ))
  for sw in $SWITCHES; do
    k=$name$sw
    r=${R[$k]}
    echo "| $desc | ${SRC[$name]} | \`$sw\` | ${FILES[$k]} | ${BYTES[$k]} | $(fmt_ms "${T[$k]}") | $(fmt_ms "${F[$k]}") | $r | $(fmt_mib "${RSS[$k]}") | $(fmt_mib "$limit") |"
    le "${RSS[$k]}" "$limit" || fails+=("peak RSS of $name $sw: $(fmt_mib "${RSS[$k]}") MiB > $(fmt_mib "$limit") MiB")
    case "$name" in
      ports10k|body100m) le "$r" 1.5 || fails+=("velmorn / cp of $name $sw: $r > 1.5") ;;
    esac
  done
done

echo
echo "velmorn / cp per switch:"
echo
printf '| Input |'; for sw in $SWITCHES; do printf ' `%s` |' "$sw"; done; echo
printf '|---|'; for sw in $SWITCHES; do printf -- '---:|'; done; echo
for entry in "${INPUTS[@]}"; do
  IFS='|' read -r name desc file <<<"$entry"
  printf '| %s |' "$desc"
  for sw in $SWITCHES; do printf ' %s |' "${R[$name$sw]}"; done
  echo
done

growth_row() {  # big small label
  local big=$1 small=$2 label=$3 sw r
  [ -n "${T[$big${SWITCHES%% *}]:-}" ] && [ -n "${T[$small${SWITCHES%% *}]:-}" ] || return 0
  printf '| %s |' "$label"
  for sw in $SWITCHES; do
    r=$(ratio "${T[$big$sw]}" "${T[$small$sw]}")
    printf ' %s |' "$r"
    le "$r" 11 || fails+=("growth $label $sw: $r > 11")
  done
  echo
}
echo
echo "Growth (median time of the larger input divided by that of the ten times smaller one; linear is at most 11):"
echo
printf '| Inputs |'; for sw in $SWITCHES; do printf ' `%s` |' "$sw"; done; echo
printf '|---|'; for sw in $SWITCHES; do printf -- '---:|'; done; echo
growth_row body100m body10m "100 MiB / 10 MiB body"
growth_row ports10k ports1k "10,000 / 1,000 ports"
growth_row generics1k generics100 "1,000 / 100 generics"
for key in ports10k body100m; do
  [ -n "${SRC[$key]:-}" ] || fails+=("velmorn / cp of $key: not measured (BENCH_INPUTS, BENCH_SIZES)")
done
echo
if [ ${#fails[@]} -eq 0 ]; then
  echo "All targets met: velmorn / cp <= 1.5 on the 100 MiB body and on 10,000 ports, growth <= 11, peak RSS <= source + 20 MiB."
else
  echo "Targets missed:"
  echo
  for f in "${fails[@]}"; do echo "- $f"; done
fi
