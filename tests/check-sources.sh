#!/usr/bin/env bash
# House checks on the sources themselves:
#  - every source converts to code page 932 exactly (the compiler's narrow
#    literals are code page 932; nothing may be silently transliterated);
#  - dependencies point one way: the component layer includes nothing above it,
#    the subsystems do not include the main window;
#  - the platform-free rule files include no Windows header;
#  - the program draws, measures and names fonts only through the wide GDI
#    calls: the narrow ones follow the system's code page, not the program's.
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

# Narrow GDI text calls (and the user32 ones that draw or measure text):
# their strings are taken in the system's code page, whatever the program's.
narrow_gdi='TextOutA|ExtTextOutA|PolyTextOutA|TabbedTextOutA|GetTabbedTextExtentA|DrawTextA|DrawTextExA'
narrow_gdi+='|GetTextExtentPointA|GetTextExtentPoint32A|GetTextExtentExPointA|GetCharacterPlacementA'
narrow_gdi+='|CreateFontA|CreateFontIndirectA|CreateFontIndirectExA|GetTextFaceA|GetTextMetricsA'
narrow_gdi+='|GetOutlineTextMetricsA|GetCharWidthA|GetCharWidth32A|GetCharWidthFloatA|GetCharABCWidthsA'
narrow_gdi+='|GetCharABCWidthsFloatA|GetGlyphOutlineA|GetKerningPairsA|EnumFontsA|EnumFontFamiliesA'
narrow_gdi+='|EnumFontFamiliesExA|AddFontResourceA|AddFontResourceExA|RemoveFontResourceA|GrayStringA|DrawStateA'
product=$(find app document editing shell about -type f \( -name '*.cpp' -o -name '*.h' \) 2>/dev/null)
for f in $product; do
    grep -nE "\b($narrow_gdi)\b" "$f" | sed "s|^|$f: narrow GDI text call (use the wide one, text through WideFromProgram): |" \
        | grep . && status=1
done

[ $status -eq 0 ] && echo "sources: code page 932, layering, platform-free rules and wide GDI text calls hold"
exit $status
