#!/usr/bin/env bash
# Every test: the platform-free rules natively under the sanitizers, then the
# whole suite of the Windows build under Wine, then the GUI tests named in
# tests/OtherLocaleTests.txt once more under another locale.
#   scripts/test.sh [ctest arguments]   arguments go to the Windows run; with
#                                       any, the other-locale run is left out
#   scripts/test.sh --other-locale      only the other-locale run
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

other_locale_only=
if [ "${1:-}" = "--other-locale" ]; then other_locale_only=1; shift; fi
other_locale=
if [ -n "$other_locale_only" ] || [ $# -eq 0 ]; then other_locale=1; fi

if [ -z "$other_locale_only" ]; then
    echo "== Rules, native build (AddressSanitizer, UndefinedBehaviorSanitizer)"
    ctest --preset native
fi

echo "== Windows build under Wine"
source scripts/wine-env.sh

# A real full disk for the save tests: a tiny tmpfs (skipped by the tests,
# with a message, where mounting is refused).
full_disk="$MOKE_BUILD/fulldisk"
mkdir -p "$full_disk"
if mountpoint -q "$full_disk" || mount -t tmpfs -o size=64k tmpfs "$full_disk" 2>/dev/null; then
    export MOKE_FULL_DISK="$full_disk"
else
    echo "note: cannot mount a small tmpfs at $full_disk; the full-disk tests will be skipped"
fi
# A file reached through a symbolic link, for the save that must write the
# file the link points to and leave the link a link (Windows programs under
# Wine cannot make such a link themselves).
links="$MOKE_BUILD/links"
rm -rf "$links"
mkdir -p "$links/docs" "$links/links"
: > "$links/docs/notes.txt"
ln -s ../docs/notes.txt "$links/links/notes.txt"
export MOKE_LINK_FOLDER="$links"
# The other locale: C.UTF-8, where Wine's system code page is not 932, in a
# Wine prefix of its own made under that locale.
other_locale_name=C.UTF-8
other_prefix="$MOKE_BUILD/wineprefix-c.utf8"
finish() {
    moke_wine_finish
    WINEPREFIX="$other_prefix" wineserver -k >/dev/null 2>&1 || true
    if [ -n "${MOKE_FULL_DISK:-}" ]; then umount "$full_disk" 2>/dev/null || true; fi
}
trap finish EXIT

if [ -z "$other_locale_only" ]; then
    moke_wine_prepare
    ctest --preset mingw "$@"
    wineserver -k >/dev/null 2>&1 || true
fi

if [ -n "$other_locale" ]; then
    filter=$(grep -vE '^[[:space:]]*(#|$)' tests/OtherLocaleTests.txt | sed 's/[[:space:]]//g' | paste -sd: -)
    echo "== GUI tests under LANG=$other_locale_name (Wine's system code page is not 932)"
    (
        export MOKE_LOCALE=$other_locale_name LANG=$other_locale_name LC_ALL=$other_locale_name
        export WINEPREFIX="$other_prefix"
        moke_wine_prepare
        acp=$(wine reg query 'HKLM\System\CurrentControlSet\Control\Nls\CodePage' /v ACP </dev/null 2>/dev/null |
              tr -d '\r' | awk '$1 == "ACP" { print $3 }')
        echo "Wine's system code page in this prefix: ${acp:-unknown} (the program asks for 932 in its manifest)"
        cd "$MOKE_BUILD/tests"
        started=$(date +%s)
        code=0
        wine moke_gui_tests.exe --gtest_brief=1 --gtest_filter="$filter" </dev/null || code=$?
        echo "other-locale GUI run: $(( $(date +%s) - started )) s, exit code $code"
        exit $code
    )
fi
