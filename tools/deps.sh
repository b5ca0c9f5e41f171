#!/bin/bash
# Installs the Debian/Ubuntu packages the build and the tests need, when
# any is missing. Safe to run again: it does nothing when all are present.
set -euo pipefail

packages=(
    cmake ninja-build g++ clang libclang-rt-dev
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64-x86-64
    binutils-mingw-w64-i686 googletest
    libz-mingw-w64-dev zlib1g-dev
    wine wine64 wine32:i386 fonts-liberation fonts-dejavu-core fonts-wine
    xvfb xauth imagemagick xdotool xclip python3 fio locales
    genisoimage xorriso
)
if [ "${1:-}" = "--list" ]; then
    printf '%s\n' "${packages[@]}"
    exit 0
fi

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$p")
done
# Debian names the runtime package libclang-rt-<n>-dev; accept any version.
if [[ " ${missing[*]} " == *" libclang-rt-dev "* ]] && ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
    missing=("${missing[@]/libclang-rt-dev}")
fi
missing=($(printf '%s\n' "${missing[@]}" | grep -v '^$' || true))

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
if [ ${#missing[@]} -ne 0 ]; then
    echo "== installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    # The i686 test programs run on Wine's 32-bit loader, an i386 package.
    if [[ " ${missing[*]} " == *":i386 "* ]] && [ "$(dpkg --print-architecture)" = "amd64" ] &&
       ! dpkg --print-foreign-architectures | grep -qx i386; then
        $SUDO dpkg --add-architecture i386
    fi
    $SUDO apt-get update -qq
    $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The locales of the six string tables, so that Wine runs in each language
# with a UTF-8 Unix side (tools/wine-env.sh: qv_wine_language).
for locale in en_GB de_DE el_GR fr_FR it_IT ru_RU; do
    if ! locale -a 2>/dev/null | grep -qi "^$locale\.utf-\?8$"; then
        echo "== generating locale $locale.UTF-8"
        $SUDO localedef -i "$locale" -c -f UTF-8 "$locale.UTF-8"
    fi
done
