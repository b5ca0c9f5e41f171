#!/bin/bash
# Installs what is missing, builds the Windows programs and runs the main
# job under Wine with the build folder's private prefix:
#
#   ./run.sh [quick options]   the Quick Access sequence on the scratch drive Q:
#                              (a folder in the build tree), with a small test
#                              file; options are added to the command, e.g.
#                              ./run.sh --size 1000 --block 64k --json
#   ./run.sh --gui [args]      starts Quenvale.exe
set -euo pipefail
cd "$(dirname "$0")"
jobs=$(nproc 2>/dev/null || echo 2)

gui=0
if [ "${1:-}" = "--gui" ]; then
    gui=1
    shift
fi

tools/deps.sh
cmake --preset mingw64 >/dev/null
if [ $gui -eq 1 ]; then
    cmake --build --preset mingw64 -j "$jobs" --target Quenvale
else
    cmake --build --preset mingw64 -j "$jobs" --target quenvale-cli
fi

source tools/wine-env.sh
qv_wine_env build/mingw64
qv_wine_prepare
trap qv_wine_stop EXIT
qv_wine_start

if [ $gui -eq 1 ]; then
    echo "== starting Quenvale.exe (display $DISPLAY)"
    wine build/mingw64/app/main/Quenvale.exe "$@"
    exit 0
fi

log="$QV_BUILD_DIR/quick-run.log"
rm -f "$log"
winlog="Z:${log//\//\\}"
echo "== quenvale-cli quick Q (Q: is $QV_DRIVES/q)"
status=0
wine build/mingw64/app/cli/quenvale-cli.exe quick Q --size 256 --block 1m --log "$winlog" "$@" || status=$?
echo "== log file $log"
exit $status
