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

# A real full disk for the save tests: a tiny tmpfs (skipped by the tests,
# with a message, where mounting is refused).
full_disk="$MOKE_BUILD/fulldisk"
mkdir -p "$full_disk"
if mountpoint -q "$full_disk" || mount -t tmpfs -o size=64k tmpfs "$full_disk" 2>/dev/null; then
    export MOKE_FULL_DISK="$full_disk"
else
    echo "note: cannot mount a small tmpfs at $full_disk; the full-disk tests will be skipped"
fi
finish() {
    moke_wine_finish
    if [ -n "${MOKE_FULL_DISK:-}" ]; then umount "$full_disk" 2>/dev/null || true; fi
}
trap finish EXIT
moke_wine_prepare
ctest --preset mingw "$@"
