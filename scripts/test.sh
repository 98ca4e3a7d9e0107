#!/usr/bin/env bash
# Every test: the platform-free rules natively under the sanitizers, then the
# whole suite of the Windows build under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

echo "== Rules, native build (AddressSanitizer, UndefinedBehaviorSanitizer)"
ctest --preset native

echo "== Windows build under Wine"
source scripts/wine-env.sh
trap moke_wine_finish EXIT
moke_wine_prepare
ctest --preset mingw "$@"
