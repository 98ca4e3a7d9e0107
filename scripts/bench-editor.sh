#!/usr/bin/env bash
# make bench-editor: the editor's own control beside the platform's EDIT under
# Wine, each case in a process of its own: whole-text set of 10 and 50 MB of
# Japanese and ASCII (without and with word wrap), the same through the narrow
# messages the component sends today, a keystroke at the end of 50 MB to the repaint, one 2 MB
# line with word wrap (set, then Ctrl+End), and the peak working set of each.
# The platform control's slowest cases are stopped after MOKE_BENCH_LIMIT
# seconds (default 120) and reported as such.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
limit=${MOKE_BENCH_LIMIT:-120}
source scripts/wine-env.sh
trap moke_wine_finish EXIT
moke_wine_prepare
bench=build/mingw/moke_editor_bench.exe

run() { # control case megabytes
    local out
    if out=$(timeout "$limit" wine "$bench" "$@" </dev/null 2>/dev/null); then
        echo "$out"
    else
        echo "$2 $3 MB $1: not finished within $limit s"
    fi
}

echo "== The editor's control beside the platform's EDIT under Wine"
for control in ours edit; do
    run "$control" set 10
    run "$control" set 50
    run "$control" setwrap 10
    run "$control" setwrap 50
    run "$control" key 50
    run "$control" narrow 50
    run "$control" wrapline 2
done
echo "Measured $(date -u '+%Y-%m-%d %H:%M') UTC on $(nproc) CPUs, $(wine --version)."
