#!/usr/bin/env bash
# Takes the screenshots of the README: the main window, the About box opened
# from the menu with the keyboard (Alt+H, then A), and the save question
# asked when a changed document is closed. Builds nothing: run
# `make build` first. The editor runs in Wine's own 1024 x 768 desktop on a
# virtual display of the same size, so each picture is exactly the desktop.
#   docs/screenshots/main-window.png
#   docs/screenshots/about.png
#   docs/screenshots/save-question.png
# The Wine prefix is a separate one in the build tree, so that the program
# started here meets no other program of a test run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
exe=build/mingw/MokeMemo.exe
out=docs/screenshots
if [ ! -f "$exe" ]; then
    echo "screenshots: $exe is missing; run 'make build' first" >&2
    exit 1
fi
for tool in Xvfb xdotool import wine; do
    command -v "$tool" >/dev/null || { echo "screenshots: $tool is missing; run 'make build' first" >&2; exit 1; }
done

# A virtual display of its own, of the desktop's size.
unset DISPLAY
export MOKE_SCREEN=1024x768x24
export MOKE_BUILD="$root/build/mingw"
export WINEPREFIX="$MOKE_BUILD/wineprefix-screenshots"
source scripts/wine-env.sh
moke_wine_prepare

editor_pid=
finish() {
    if [ -n "$editor_pid" ]; then kill "$editor_pid" 2>/dev/null || true; fi
    # Only this script's own prefix and display are ended.
    moke_wine_finish
}
trap finish EXIT

shoot() {
    import -window root -crop 1024x768+0+0 +repage "$1"
    echo "screenshots: $root/$1"
}

mkdir -p "$out"
wine explorer /desktop=MokeScreenshots,1024x768 "$exe" </dev/null >/dev/null 2>&1 &
editor_pid=$!

# The main window is up once the desktop shows more than its background.
for _ in $(seq 60); do
    sleep 0.5
    colours=$(import -window root -format '%k' info: 2>/dev/null || echo 0)
    [ "${colours:-0}" -gt 20 ] && break
done
sleep 2
# The pointer rests in a corner of the desktop, away from buttons and hints.
xdotool mousemove 1020 764
sleep 0.5
shoot "$out/main-window.png"

# Help menu, then its About item, as the user types them.
xdotool key alt+h
sleep 0.7
xdotool key a
sleep 2
shoot "$out/about.png"

# Close the box, type a line, and close the editor: the save question.
xdotool key Return
sleep 0.5
xdotool type --delay 40 "Hello, world."
sleep 0.5
xdotool key alt+f x
sleep 1.5
xdotool mousemove 1020 764
sleep 0.3
shoot "$out/save-question.png"
# No: the editor closes without saving.
xdotool key n
for _ in $(seq 20); do
    kill -0 "$editor_pid" 2>/dev/null || { editor_pid=; break; }
    sleep 0.25
done
