#!/usr/bin/env bash
# make dist: a zip that a Windows user unpacks and runs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
out=dist/MokeMemo
rm -rf dist
mkdir -p "$out"
cp build/mingw/MokeMemo.exe "$out/"
x86_64-w64-mingw32-strip "$out/MokeMemo.exe"
cp resources/MokeList.txt resources/readme.txt "$out/"
(cd dist && zip -q -r MokeMemo.zip MokeMemo)
echo "dist/MokeMemo.zip:"
unzip -l dist/MokeMemo.zip
