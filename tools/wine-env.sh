# Sourced by test.sh, run.sh and tools/*: prepares and starts the private
# Wine prefix of one build folder.
#
#   qv_wine_env <build-dir>      exports WINEPREFIX and friends
#   qv_wine_prepare              creates the prefix once (fonts, Windows 10,
#                                no crash dialog, scratch drives); one WoW64
#                                prefix runs the x86_64 and the i686 programs
#   qv_wine_start                one persistent wineserver, Xvfb when no display
#   qv_wine_language <locale>    what runs next uses that language (LC_ALL,
#                                the prefix's system fonts; "" = English);
#                                stops the server: qv_wine_start after it
#   qv_wine_stop                 stops what qv_wine_start started
#
# Scratch drives of the prefix (all under <build-dir>/wine-drives):
#   Q:  a folder                 (file-system tests: Quick Access, File Access)
#   R:  a folder, and R:: a 64 MiB image file   (raw block tests)
#   S:  a folder, and S:: a 16 MiB image file   (second raw device)

qv_wine_env() {
    QV_BUILD_DIR="$(cd "$1" && pwd)"
    export WINEPREFIX="$QV_BUILD_DIR/wineprefix"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export WINEARCH=win64
    # The program checks for updates at start: here only ever on this
    # machine (a closed port unless a test or a developer names a server).
    export QUENVALE_UPDATE_URL="${QUENVALE_UPDATE_URL:-http://127.0.0.1:1/common/update.php}"
    QV_DRIVES="$QV_BUILD_DIR/wine-drives"
}

qv_wine_reg() {
    (cd /tmp && wine reg add "$@" /f >/dev/null 2>&1)
}

# Once Wine's 32-bit loader is installed, Debian's wine launcher starts it
# first, and a prefix made before it (no kernel32.dll in syswow64) then fails
# for 64-bit programs too ("could not load kernel32.dll"): such a prefix is
# made again.
qv_wine_prefix_usable() {
    [ -f "$WINEPREFIX/.qv-ready" ] || return 1
    [ -x /usr/lib/wine/wine ] || return 0
    [ -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]
}

qv_wine_prepare() {
    if qv_wine_prefix_usable; then
        qv_wine_drives
        return 0
    fi
    echo "== preparing Wine prefix $WINEPREFIX"
    [ -d "$WINEPREFIX" ] && { (cd /tmp && wineserver -k >/dev/null 2>&1) || true; }
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    (cd /tmp && wineboot -i >/dev/null 2>&1)
    qv_wine_reg 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp -f /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    for f in /usr/share/fonts/truetype/liberation/*.ttf /usr/share/fonts/truetype/dejavu/*.ttf; do
        [ -f "$f" ] && cp -f "$f" "$WINEPREFIX/drive_c/windows/Fonts/"
    done
    qv_wine_reg 'HKCU\Software\Wine\Fonts\Replacements' /v "Segoe UI" /d "DejaVu Sans"
    qv_wine_reg 'HKCU\Software\Wine\Fonts\Replacements' /v "Verdana" /d "DejaVu Sans"
    qv_wine_reg 'HKCU\Software\Wine\Fonts\Replacements' /v "Arial" /d "Liberation Sans"
    (cd /tmp && wine winecfg -v win10 >/dev/null 2>&1)
    qv_wine_drives
    (cd /tmp && wineserver -w)
    touch "$WINEPREFIX/.qv-ready"
}

# The languages of the string tables, as LC_ALL values (tools/deps.sh
# generates these locales).
QV_LANGUAGES="en_GB.UTF-8 de_DE.UTF-8 el_GR.UTF-8 fr_FR.UTF-8 it_IT.UTF-8 ru_RU.UTF-8"

# Wine keeps the system's fonts (message, menu, caption, status and icon
# font) in the prefix with the character set of the locale the prefix was
# made in. Made under C or English they are ANSI fonts; in a later Greek
# run "MS Shell Dlg" then stands for Wine's Tahoma, which Wine offers with
# Cyrillic but not with Greek, and dialogs show boxes in labels and Latin-1
# letters in drawn controls.
# Setting the fonts' character set to the language's before a run lets one
# prefix show every language. The server and its desktop process keep the
# language they were started in: this stops the server, and qv_wine_start
# starts it again.
qv_wine_language() {
    local locale="${1:-en_GB.UTF-8}" charset=00
    case "$locale" in
        el_*) charset=A1 ;;   # GREEK_CHARSET
        ru_*) charset=CC ;;   # RUSSIAN_CHARSET
    esac
    export LC_ALL="$locale"
    # The registry is written by a server of its own, which saves it as it ends.
    (cd /tmp && wineserver -k >/dev/null 2>&1) || true
    local key='HKCU\Control Panel\Desktop\WindowMetrics' name value
    for name in CaptionFont SmCaptionFont MenuFont StatusFont MessageFont IconFont; do
        value=$(cd /tmp && wine reg query "$key" /v "$name" 2>/dev/null | tr -d '\r' |
                awk -v n="$name" '$1 == n && $2 == "REG_BINARY" {print $3}')
        # A LOGFONT: lfCharSet is byte 23, hex digits 46 and 47.
        [ ${#value} -ge 48 ] || continue
        [ "${value:46:2}" = "$charset" ] && continue
        qv_wine_reg "$key" /v "$name" /t REG_BINARY /d "${value:0:46}${charset}${value:48}"
    done
    # Wine brings its font substitutes and font cache up to a new language
    # in the first program that uses fonts, too late for that program's own
    # dialogs: a throwaway one takes that turn.
    (cd /tmp && wine rundll32.exe user32.dll,GetDesktopWindow >/dev/null 2>&1) || true
    (cd /tmp && wineserver -w)
}

qv_wine_drives() {
    local dd="$WINEPREFIX/dosdevices"
    mkdir -p "$QV_DRIVES/q" "$QV_DRIVES/r" "$QV_DRIVES/s" "$dd"
    [ -f "$QV_DRIVES/r.img" ] || truncate -s 64M "$QV_DRIVES/r.img"
    [ -f "$QV_DRIVES/s.img" ] || truncate -s 16M "$QV_DRIVES/s.img"
    ln -sfn "$QV_DRIVES/q" "$dd/q:"
    ln -sfn "$QV_DRIVES/r" "$dd/r:"
    ln -sfn "$QV_DRIVES/r.img" "$dd/r::"
    ln -sfn "$QV_DRIVES/s" "$dd/s:"
    ln -sfn "$QV_DRIVES/s.img" "$dd/s::"
}

qv_wine_start() {
    if [ -z "${DISPLAY:-}" ]; then
        local n=99
        while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        QV_XVFB_PID=$!
        export DISPLAY=":$n"
        for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    fi
    (cd /tmp && wineserver -k >/dev/null 2>&1) || true
    (cd /tmp && wineserver -p </dev/null >/dev/null 2>&1)
    # Start Wine's background services now, outside any test.
    (cd /tmp && wine cmd /c exit </dev/null >/dev/null 2>&1) || true
}

qv_wine_stop() {
    (cd /tmp && wineserver -k >/dev/null 2>&1) || true
    if [ -n "${QV_XVFB_PID:-}" ]; then
        kill "$QV_XVFB_PID" 2>/dev/null || true
        wait "$QV_XVFB_PID" 2>/dev/null || true
        unset QV_XVFB_PID
    fi
}
