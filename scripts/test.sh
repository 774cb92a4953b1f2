#!/usr/bin/env bash
# Installs what is missing, builds KX Review and runs every test, then builds the core and its
# tests again with AddressSanitizer and UndefinedBehaviorSanitizer and runs those too, and
# last runs every fuzz target for a short while after replaying the crash inputs found so far
# (KX_FUZZ_SECONDS each, default 10).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"

jobs="$(nproc)"
echo "== Build and test"
"$root/scripts/build.sh" "$root/build"
ctest --test-dir "$root/build" --output-on-failure --parallel "$jobs"

echo "== Sanitizer build (address, undefined behaviour)"
"$root/scripts/build.sh" "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DKX_SANITIZE=ON -DKX_WITH_WIDGETS=OFF
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir "$root/build-asan" --output-on-failure --parallel "$jobs"

echo "== Fuzzing (every target for ${KX_FUZZ_SECONDS:-10} s, after the regression inputs)"
"$root/scripts/fuzz.sh" "${KX_FUZZ_SECONDS:-10}"
