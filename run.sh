#!/bin/bash
# Installs what is missing, builds the Windows program and starts it under
# Wine with the build folder's private prefix.
set -euo pipefail
cd "$(dirname "$0")"
jobs=$(nproc 2>/dev/null || echo 2)

tools/deps.sh
cmake --preset mingw64 >/dev/null
cmake --build --preset mingw64 -j "$jobs" --target Quenvale

source tools/wine-env.sh
qv_wine_env build/mingw64
qv_wine_prepare
trap qv_wine_stop EXIT
qv_wine_start
echo "== starting Quenvale.exe (display $DISPLAY)"
wine build/mingw64/app/main/Quenvale.exe "$@"
