#!/usr/bin/env bash
# make bench: the byte rules natively (Google Benchmark), then the editor and
# Wine's own notepad side by side under Wine, measured from outside by the
# same probe: start-up, opening 1/10/50 MB files (CR LF and LF-only), 10 MB
# of Japanese text in Shift-JIS and in UTF-8, and the peak working set with
# the 10 MB file; then the editor's word-wrap toggle beside a plain
# whole-text set of the same text.
#   MOKE_BENCH_RUNS   runs of each case (default 5)
#   MOKE_BENCH_ONLY   some of: rules startup ascii japanese line toggle (default all)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
runs=${MOKE_BENCH_RUNS:-5}

want() { [ -z "${MOKE_BENCH_ONLY:-}" ] || [[ " $MOKE_BENCH_ONLY " == *" $1 "* ]]; }

if want rules; then
    echo "== Byte rules (native, optimised)"
    ./build/bench/bench/moke_rules_bench 2>/dev/null
fi

source scripts/wine-env.sh
trap moke_wine_finish EXIT
moke_wine_prepare
probe=build/mingw/moke_probe.exe
ours_exe=build/mingw/MokeMemo.exe
peer_exe='C:\windows\system32\notepad.exe'
files=build/bench-files
mkdir -p "$files"
for made in 1:crlf 1:lf 10:crlf 10:lf 50:crlf 50:lf 10:sjis 10:utf8 50:sjis 2:line; do
    mb=${made%:*} kind=${made#*:}
    f="$files/${mb}mb-$kind.txt"
    [ -f "$f" ] || wine "$probe" make "$f" "$mb" "$kind" </dev/null
done

# Of "<ms> <peak KB>" lines: median, min and max of the times, median of the peaks.
median() { sort -n | awk '{v[NR]=$1} END {if (NR==0) print "nan"; else if (NR%2) print v[(NR+1)/2]; else print (v[NR/2]+v[NR/2+1])/2}'; }
stats() {
    local lines
    lines=$(cat)
    local times peaks
    times=$(echo "$lines" | awk '{print $1}')
    peaks=$(echo "$lines" | awk '{print $2}')
    printf "%.0f %.0f %.0f %.0f\n" "$(echo "$times" | median)" "$(echo "$times" | sort -n | head -1)" \
        "$(echo "$times" | sort -n | tail -1)" "$(echo "$peaks" | median)"
}

once() { # program class [file]
    local program=$1 class=$2 file=${3:-}
    if [ -z "$file" ]; then wine "$probe" start "$program" "$class" 1 </dev/null
    else wine "$probe" open "$program" "$class" "$(winepath -w "$file")" 1 </dev/null; fi
}
one() { # program class [file]: one measured start, "<ms> <peak KB>"
    # A run that Wine itself fails to start (rare, and silent) is made again.
    local out
    if ! out=$(once "$@") || [ -z "$out" ]; then
        echo "bench: a run of $1 did not complete; it is made again" >&2
        out=$(once "$@")
    fi
    echo "$out"
}
# Both programs in turns, one run each per turn, after one unmeasured turn:
# a drift of the machine during the runs falls on both alike. Sets `o` and
# `p` to the stats of ours and the peer's.
compare() { # [file]
    local file=${1:-} ours="" peer="" i
    one "$ours_exe" TMainForm "$file" >/dev/null
    one "$peer_exe" Notepad "$file" >/dev/null
    for i in $(seq "$runs"); do
        ours+="$(one "$ours_exe" TMainForm "$file")"$'\n'
        peer+="$(one "$peer_exe" Notepad "$file")"$'\n'
    done
    o=$(printf '%s' "$ours" | grep . | stats)
    p=$(printf '%s' "$peer" | grep . | stats)
}

echo
echo "== The editor against Wine's notepad under Wine ($runs runs each, in turns; times in ms, memory in MB)"
printf "%-24s %22s %22s %8s\n" "case" "MokeMemo median (min-max)" "notepad median (min-max)" "ratio"
row() { # label ours-stats peer-stats
    read -r om omin omax _ <<<"$2"
    read -r pm pmin pmax _ <<<"$3"
    printf "%-24s %8s (%6s-%6s) %8s (%6s-%6s) %8.2f\n" "$1" "$om" "$omin" "$omax" "$pm" "$pmin" "$pmax" \
        "$(awk -v a="$om" -v b="$pm" 'BEGIN{print (b>0)?a/b:0}')"
}
memory=""
empty_ours= empty_peer=
if want startup; then
    compare
    row "start-up" "$o" "$p"
    empty_ours=$(echo "$o" | awk '{print $4}') empty_peer=$(echo "$p" | awk '{print $4}')
fi
cases=()
if want ascii; then cases+=(1:crlf 1:lf 10:crlf 10:lf 50:crlf 50:lf); fi
if want japanese; then cases+=(10:sjis 10:utf8 50:sjis); fi
for made in "${cases[@]}"; do
    mb=${made%:*} kind=${made#*:}
    f="$files/${mb}mb-$kind.txt"
    compare "$f"
    row "open ${mb} MB ${kind}" "$o" "$p"
    if [ "$mb" = 10 ] || [ "$mb" = 50 ]; then memory+="${mb}MB-$kind $(echo "$o" | awk '{print $4}') $(echo "$p" | awk '{print $4}')"$'\n'; fi
done
if want line; then
    # One line of 2 MB with word wrap on: notepad's EDIT is given a minute, once.
    f="$files/2mb-line.txt"
    ours=""
    for i in $(seq "$runs"); do ours+="$(one "$ours_exe" TMainForm "$f")"$'\n'; done
    o=$(printf '%s' "$ours" | grep . | stats)
    if peer=$(MOKE_PROBE_SECONDS=60 once "$peer_exe" Notepad "$f" 2>/dev/null) && [ -n "$peer" ]; then
        row "open 2 MB single line" "$o" "$(echo "$peer" | stats)"
    else
        read -r om omin omax _ <<<"$o"
        printf "%-24s %8s (%6s-%6s) %22s\n" "open 2 MB single line" "$om" "$omin" "$omax" "not done in 60 s"
    fi
fi
while read -r kind ours peer; do
    [ -n "$kind" ] || continue
    printf "%-24s %8.1f MB %28.1f MB %8.2f\n" "peak memory, ${kind/MB-/ MB }" "$(awk -v k="$ours" 'BEGIN{print k/1024}')" \
        "$(awk -v k="$peer" 'BEGIN{print k/1024}')" "$(awk -v a="$ours" -v b="$peer" 'BEGIN{print (b>0)?a/b:0}')"
done <<<"$memory"
if [ -n "$empty_ours" ]; then
    # The growth of the peak working set over the empty editor's, against the file's size.
    while read -r kind ours peer; do
        [ -n "$kind" ] || continue
        bytes=$(stat -c %s "$files/${kind/MB-/mb-}.txt")
        printf "%-24s %8.2f x file %25.2f x file\n" "growth, ${kind/MB-/ MB }" \
            "$(awk -v k="$ours" -v e="$empty_ours" -v b="$bytes" 'BEGIN{print (k-e)*1024/b}')" \
            "$(awk -v k="$peer" -v e="$empty_peer" -v b="$bytes" 'BEGIN{print (k-e)*1024/b}')"
    done <<<"$memory"
fi
if want toggle; then
    echo
    echo "== Word-wrap toggle of the editor beside a plain whole-text set of the same text ($runs runs; ms)"
    printf "%-24s %12s %12s %12s %14s\n" "case" "text set" "wrap off" "wrap on" "on / text set"
    for mb in 1 10 50; do
        lines=$(wine build/mingw/moke_toggle_bench.exe "$runs" "$(winepath -w "$files/${mb}mb-crlf.txt")" </dev/null | tr -d "\r")
        set_ms=$(echo "$lines" | awk '{print $2}' | median)
        off_ms=$(echo "$lines" | awk '{print $3}' | median)
        on_ms=$(echo "$lines" | awk '{print $4}' | median)
        printf "%-24s %12.0f %12.0f %12.0f %14.2f\n" "toggle ${mb} MB crlf" "$set_ms" "$off_ms" "$on_ms" \
            "$(awk -v a="$on_ms" -v b="$set_ms" 'BEGIN{print (b>0)?a/b:0}')"
    done
fi
echo
echo "Measured $(date -u '+%Y-%m-%d') on $(nproc) CPUs, $(awk '/MemTotal/ {printf "%.0f GB", $2/1048576}' /proc/meminfo), $(wine --version)."
