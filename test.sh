#!/bin/bash
# Installs what is missing, builds every tier and runs every test:
#   1. the i686 Windows build,
#   2. the portable core natively with AddressSanitizer and UBSan,
#   3. the libFuzzer targets, replaying their saved corpora,
#   4. the x86_64 Windows build,
#   5. the i686 tests under Wine (32-bit pass-through layout, block
#      arithmetic and window calls), in a prefix of their own,
#   6. the x86_64 tests under Wine (GUI under Xvfb).
# The output ends with the summary of the last ctest run (the x86_64 one,
# which also takes this script's arguments).
set -euo pipefail
cd "$(dirname "$0")"
root=$(pwd)
jobs=$(nproc 2>/dev/null || echo 2)

tools/deps.sh

step() { echo; echo "=== $*"; }

step "i686 Windows build"
cmake --preset mingw32 >/dev/null
cmake --build --preset mingw32 -j "$jobs"

step "native build: portable core with sanitizers"
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
ctest --preset native -j "$jobs" --timeout 300

step "fuzz targets: replaying saved corpora"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"
ctest --preset fuzz -j "$jobs" --timeout 300

step "x86_64 Windows build"
cmake --preset mingw64 >/dev/null
cmake --build --preset mingw64 -j "$jobs"

source tools/wine-env.sh

step "i686 Windows tests under Wine"
(
    qv_wine_env build/mingw32
    qv_wine_prepare
    trap qv_wine_stop EXIT
    qv_wine_start
    ctest --test-dir build/mingw32 --output-on-failure --timeout 300
)

step "Windows tests under Wine"
qv_wine_env build/mingw64
qv_wine_prepare
trap qv_wine_stop EXIT
qv_wine_start
ctest --preset mingw64 --timeout 300 "$@"
