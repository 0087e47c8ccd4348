#!/usr/bin/env bash
# Installs the test tools (Debian), builds velmorn and its tests twice (plain and
# with AddressSanitizer/UndefinedBehaviorSanitizer) and runs every test; the
# GHDL and Yosys suites (test names containing "Ghdl") run in the plain build only.
set -euo pipefail
cd "$(dirname "$0")/.."

need=()
for pkg in g++ cmake ninja-build libgtest-dev ghdl yosys clang libclang-rt-14-dev; do
  dpkg -s "$pkg" >/dev/null 2>&1 || need+=("$pkg")
done
if [ ${#need[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${need[@]}"
fi

jobs=$(nproc)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMORN_TESTS=ON >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --no-tests=error --output-on-failure -j "$jobs"

cmake -S . -B build-san -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELMORN_SANITIZE=ON -DVELMORN_TESTS=ON >/dev/null
cmake --build build-san -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-san --no-tests=error --output-on-failure -j "$jobs" -E Ghdl
bash tools/fuzz.sh 60
