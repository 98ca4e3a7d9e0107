# Sourced by the scripts: the environment in which the program and its tests
# run under Wine. Starts a virtual display when there is none, prepares one
# Wine prefix per build tree and keeps one wineserver alive for the run.
#   MOKE_BUILD   build tree (default: build/mingw)
#   MOKE_SCREEN  size of the virtual display (default: 1280x1024x24)
#   MOKE_LOCALE  the locale Wine runs in (default: ja_JP.UTF-8, code page 932)
moke_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
MOKE_BUILD=${MOKE_BUILD:-$moke_root/build/mingw}
export WINEPREFIX=${WINEPREFIX:-$MOKE_BUILD/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
export LANG=${MOKE_LOCALE:-ja_JP.UTF-8} LC_ALL=${MOKE_LOCALE:-ja_JP.UTF-8}

# A virtual display when there is no real one; Xvfb picks a free number.
if [ -z "${DISPLAY:-}" ]; then
    moke_display_file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 "${MOKE_SCREEN:-1280x1024x24}" -nolisten tcp 3>"$moke_display_file" >/dev/null 2>&1 &
    moke_xvfb_pid=$!
    for _ in $(seq 100); do [ -s "$moke_display_file" ] && break; sleep 0.05; done
    export DISPLAY=:$(head -n1 "$moke_display_file")
    rm -f "$moke_display_file"
fi

moke_wine_prepare() {
    mkdir -p "$(dirname "$WINEPREFIX")"
    local configured=
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Preparing the Wine prefix $WINEPREFIX (once)..."
        wineboot -i >/dev/null 2>&1 || true
        wineserver -w
    fi
    if [ ! -f "$WINEPREFIX/.moke-fonts" ]; then
        # The Japanese fonts of Windows, played by the IPA fonts (proportional
        # where the Windows font is proportional).
        local reg="$WINEPREFIX/moke-fonts.reg"
        printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
            '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
            '"ＭＳ Ｐゴシック"="IPAPGothic"' '"ＭＳ ゴシック"="IPAGothic"' \
            '"ＭＳ Ｐ明朝"="IPAPMincho"' '"ＭＳ 明朝"="IPAMincho"' \
            '"MS PGothic"="IPAPGothic"' '"MS Gothic"="IPAGothic"' '"MS UI Gothic"="IPAPGothic"' \
            | { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE; } > "$reg"
        wine regedit /S "$reg" </dev/null >/dev/null 2>&1 && touch "$WINEPREFIX/.moke-fonts"
        configured=1
    fi
    if [ ! -f "$WINEPREFIX/.moke-desktop" ]; then
        # Every program in Wine's own desktop window: Wine then moves the
        # activation between the program's windows itself, without waiting for
        # a window manager that a virtual display does not have.
        wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f </dev/null >/dev/null 2>&1 &&
            wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f </dev/null >/dev/null 2>&1 &&
            touch "$WINEPREFIX/.moke-desktop"
        configured=1
    fi
    if [ -n "$configured" ]; then
        # Settings are written, and Wine's own programs (the desktop among
        # them) start again with them, once this server has ended.
        timeout 60 wineserver -w || wineserver -k >/dev/null 2>&1 || true
    fi
    # One server for the whole run, and Wine's own services started now with
    # no terminal or pipe of ours: every program after this starts quickly,
    # and no service keeps a caller's output pipe open.
    wineserver -p </dev/null >/dev/null 2>&1 || true
    wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
}

moke_wine_finish() {
    wineserver -k >/dev/null 2>&1 || true
    if [ -n "${moke_xvfb_pid:-}" ]; then kill "$moke_xvfb_pid" 2>/dev/null || true; fi
}
