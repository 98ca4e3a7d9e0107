#!/usr/bin/env bash
# House checks on the sources themselves:
#  - every source converts to code page 932 exactly (the compiler's narrow
#    literals are code page 932; nothing may be silently transliterated);
#  - dependencies point one way: the component layer includes nothing above it,
#    the subsystems do not include the main window;
#  - the platform-free rule files include no Windows header.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
status=0
fail() { echo "FAIL: $*"; status=1; }

sources=$(find app document editing shell about resources tests tools -type f \
          \( -name '*.cpp' -o -name '*.h' -o -name '*.rc' \) 2>/dev/null)
for f in $sources; do
    iconv -f UTF-8 -t CP932 "$f" >/dev/null 2>&1 || fail "$f does not convert to code page 932"
done

for f in app/frame/*.cpp app/frame/*.h; do
    grep -nE '#include "(document|editing|shell|about)/|#include "app/UMemo' "$f" \
        | sed "s|^|$f: component layer includes a higher layer: |" | grep . && status=1
done
for f in $(find document editing shell about -name '*.cpp' -o -name '*.h'); do
    grep -nE '#include "app/(UMemo|MokeMemo)' "$f" \
        | sed "s|^|$f: includes the main window: |" | grep . && status=1
done

rules=$(sed -n '/set(MOKE_RULES_SOURCES/,/)/p' cmake/RulesSources.cmake | grep -E '\.cpp' | tr -d ' ')
for cpp in $rules; do
    for f in "$cpp" "${cpp%.cpp}.h"; do
        [ -f "$f" ] || continue
        grep -nE '#include <(windows|winuser|commctrl|shellapi|commdlg)\.h>' "$f" \
            | sed "s|^|$f: platform-free file includes a Windows header: |" | grep . && status=1
    done
done

[ $status -eq 0 ] && echo "sources: code page 932, layering and platform-free rules hold"
exit $status
