#!/usr/bin/env bash
# End to end, as a person would: the built editor in Wine's desktop on a
# (virtual) display, driven by real X input (xdotool), its state read from
# outside through its windows (caption, status bar, editor text) by the probe.
#   tests/e2e/run.sh [runs]      (default 1; exit 77 = skipped)
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
runs=${1:-1}

for tool in xdotool Xvfb wine iconv; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "e2e: skipped: $tool is not installed"
        exit 77
    fi
done
exe=$root/build/mingw/MokeMemo.exe
probe=$root/build/mingw/moke_probe.exe
[ -f "$exe" ] && [ -f "$probe" ] || { echo "e2e: build first (make build)"; exit 1; }

source scripts/wine-env.sh
moke_wine_prepare

failures=0
step() { echo "  - $*"; }
fail() { echo "  FAIL: $*"; failures=$((failures + 1)); }
sjis() { printf '%s' "$1" | iconv -f UTF-8 -t CP932; }
q() { wine "$probe" "$@" </dev/null 2>/dev/null; }
expect_eq() { # what actual(cp932) expected(utf-8)
    if [ "$2" != "$(sjis "$3")" ]; then
        fail "$1: expected '$3', got '$(printf '%s' "$2" | iconv -f CP932 -t UTF-8 2>/dev/null)'"
    fi
}
settle() { sleep "${1:-0.6}"; }
desktop() { xdotool search --name "Wine desktop" 2>/dev/null | head -1; }
key() { xdotool key --delay 80 "$@"; settle 0.4; }
type_text() { xdotool type --delay 60 "$1"; settle 0.4; }
start_editor() { # [file]
    (cd "$work" && wine "$exe" "$@" </dev/null >/dev/null 2>&1 &)
    q wait TMainForm 20000 || { fail "the main window did not appear"; return 1; }
    settle 1
    local d
    d=$(desktop)
    [ -n "$d" ] && xdotool windowfocus --sync "$d" 2>/dev/null
    # Click into the editor so that it has the keyboard focus.
    read -r l t r b <<<"$(q rect TMainForm Edit)"
    if [ -n "${l:-}" ]; then xdotool mousemove $(((l + r) / 2)) $(((t + b) / 2)) click 1; settle 0.4; fi
}
close_editor() { q gone TMainForm 10000 || fail "the editor did not close"; }
# File > 終了 on a modified document: the save question must come.
ask_to_close() { key alt+f x; q wait TMessageForm 5000 || fail "the save question did not appear${1:+ $1}"; }

one_run() {
    work=$(mktemp -d "$root/build/e2e.XXXXXX")
    echo "e2e run in $work"

    step "start with no document"
    start_editor || return
    expect_eq "caption" "$(q caption TMainForm)" "無題 - もけらメモ帳"
    expect_eq "status" "$(q status TMainForm)" ""

    typed=$(printf 'hello world\r\nsecond line')

    step "type two lines; the status bar says 変更あり"
    type_text "hello world"
    key Return
    type_text "second line"
    expect_eq "text" "$(q text TMainForm)" "$typed"
    expect_eq "status" "$(q status TMainForm)" "変更あり"

    step "File > 名前を付けて保存 with the real dialog, a name without extension"
    key alt+f a
    q wait '#32770' 10000 || fail "the save dialog did not appear"
    settle 1
    # The full path: the dialog may start in the folder it saw last.
    key End shift+Home Delete
    type_text "$(winepath -w "$work/saved")"
    key Return
    q gone '#32770' 10000 || fail "the save dialog did not close"
    settle 1
    if [ -f "$work/saved.txt" ]; then
        [ "$(od -An -tx1 "$work/saved.txt" | tr -d ' \n')" = "$(printf '%s' "$typed" | od -An -tx1 | tr -d ' \n')" ] ||
            fail "saved.txt does not hold the typed bytes"
    else
        fail "saved.txt was not written (the default extension txt was not added?)"
    fi
    expect_eq "caption after saving" "$(q caption TMainForm)" "saved.txt - もけらメモ帳"
    expect_eq "status after saving" "$(q status TMainForm)" ""
    key alt+f x
    close_editor

    step "reopen it from the command line, by its bare name in the current folder"
    start_editor saved.txt || return
    expect_eq "caption" "$(q caption TMainForm)" "saved.txt - もけらメモ帳"
    expect_eq "text" "$(q text TMainForm)" "$typed"

    step "the 編集 menu: hint of the highlighted item; 切り取り greyed without a selection"
    key alt+e
    key Down
    hint=$(q status TMainForm)
    if [ "$hint" != "$(sjis "直前に行った操作を取り消します。")" ] &&
        [ "$hint" != "$(sjis "選択範囲を切り取ってクリップボードに移動します。")" ]; then
        fail "the status bar does not show the highlighted item's hint: '$(printf '%s' "$hint" | iconv -f CP932 -t UTF-8)'"
    fi
    key t
    key Escape Escape
    expect_eq "text after a greyed 切り取り" "$(q text TMainForm)" "$typed"
    key ctrl+a
    key alt+e t
    expect_eq "text after 切り取り of everything" "$(q text TMainForm)" ""
    expect_eq "status after cutting" "$(q status TMainForm)" "変更あり"
    key ctrl+z
    expect_eq "text after undo" "$(q text TMainForm)" "$typed"

    step "insert a phrase from the drop-down"
    key ctrl+End
    read -r l t r b <<<"$(q rect TMainForm ComboBox)"
    xdotool mousemove $(((l + r) / 2)) $(((t + b) / 2)) click 1
    settle 0.6
    key Down Return
    key alt+e b
    expect_eq "text with the phrase" "$(q text TMainForm)" "${typed}お世話になっております。"

    step "close: Cancel keeps the window, No discards"
    ask_to_close
    key Escape
    settle 0.6
    q wait TMainForm 1000 || fail "Cancel closed the window"
    expect_eq "text after Cancel" "$(q text TMainForm)" "${typed}お世話になっております。"
    ask_to_close again
    key n
    close_editor
    [ "$(cat "$work/saved.txt")" = "$typed" ] || fail "No changed the file"

    step "close: Yes saves the named document"
    start_editor "$(winepath -w "$work/saved.txt")" || return
    key ctrl+End
    type_text "!"
    ask_to_close
    key y
    close_editor
    [ "$(cat "$work/saved.txt")" = "${typed}!" ] || fail "Yes did not save the change"

    step "close an untitled document: Yes, then cancelling the save dialog keeps the window"
    start_editor || return
    type_text "draft"
    ask_to_close
    key y
    q wait '#32770' 10000 || fail "the save dialog did not appear"
    settle 0.6
    key Escape
    settle 1
    q wait TMainForm 1000 || fail "cancelling the save dialog closed the window (changes lost)"
    expect_eq "text kept" "$(q text TMainForm)" "draft"
    ask_to_close
    key n
    close_editor

    rm -rf "$work"
}

for run in $(seq "$runs"); do
    before=$failures
    one_run
    if [ "$failures" -eq "$before" ]; then echo "e2e run $run: passed"; else echo "e2e run $run: FAILED"; fi
done
# A display started here goes with the run; under `make test` the caller's stays.
[ -n "${moke_xvfb_pid:-}" ] && moke_wine_finish
[ "$failures" -eq 0 ]
