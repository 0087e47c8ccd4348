#!/usr/bin/env bash
# Builds the libFuzzer target (scanner, analysis and every plan, in memory) with
# clang, AddressSanitizer and UndefinedBehaviorSanitizer, and runs it for the
# given number of seconds (default 60) on one worker, seeded with the VHDL
# corpus. The inputs it finds are kept in build-fuzz/corpus; a crash leaves its
# input in build-fuzz/ and makes the script fail.
set -euo pipefail
cd "$(dirname "$0")/.."
secs=${1:-60}
out=${FUZZ_BUILD_DIR:-build-fuzz}
mkdir -p "$out/obj" "$out/corpus"

flags=(-std=c++20 -O1 -g -Wall -Wextra -fno-omit-frame-pointer -fsanitize=fuzzer-no-link,address,undefined
       -fno-sanitize-recover=undefined -Isrc -Itests)
mapfile -t sources < <(find src -name '*.cpp' ! -path src/main/main.cpp | sort)
sources+=(tests/fuzz/fuzz_analysis.cpp)
objects=()
for s in "${sources[@]}"; do objects+=("$out/obj/$(echo "$s" | tr / _).o"); done
printf '%s\n' "${sources[@]}" |
  xargs -P "$(nproc)" -I{} sh -c 'o="$1/obj/$(echo "$2" | tr / _).o"; shift 2; clang++ "$@" -c "$0" -o "$o"' \
    {} "$out" "{}" "${flags[@]}"
clang++ -fsanitize=fuzzer,address,undefined "${objects[@]}" -o "$out/fuzz_analysis"

echo "fuzzing for ${secs}s"
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  "$out/fuzz_analysis" -max_total_time="$secs" -max_len=16384 -timeout=20 -rss_limit_mb=4096 \
    -dict=tests/fuzz/vhdl.dict -artifact_prefix="$out/" -print_final_stats=1 \
    "$out/corpus" tests/corpus
