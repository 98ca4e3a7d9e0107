#!/usr/bin/env bash
# Starts the editor under Wine. Without a display it runs in Wine's own
# desktop on a virtual display, takes a screenshot and prints its path.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
exe=build/mingw/MokeMemo.exe

had_display=${DISPLAY:-}
source scripts/wine-env.sh
[ -n "$had_display" ] || trap moke_wine_finish EXIT
moke_wine_prepare
[ -z "$had_display" ] || exec wine "$exe" "$@"

shots=build/screenshots
mkdir -p "$shots"
wine explorer /desktop=MokeMemo,1024x768 "$exe" "$@" >/dev/null 2>&1 &
# Wait until the main window is there and has painted.
for _ in $(seq 100); do
    xdotool search --name 'もけらメモ帳' >/dev/null 2>&1 && break
    sleep 0.2
done
sleep 2
shot="$shots/main-window.png"
import -window root -crop 1024x768+0+0 +repage "$shot"
echo "The editor ran on a virtual display; screenshot: $root/$shot"
