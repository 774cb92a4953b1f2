#!/usr/bin/env bash
# Installs what is missing, builds KX Review and runs every test and a smoke run of the
# benchmarks, builds the Debian package and installs and removes it (scripts/package_test.sh,
# as root or through sudo), then builds it and its tests
# again with AddressSanitizer and UndefinedBehaviorSanitizer and runs those too, and
# last runs every fuzz target for a short while after replaying the crash inputs found so far
# (KX_FUZZ_SECONDS each, default 10).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"

jobs="$(nproc)"
echo "== Build and test"
"$root/scripts/build.sh" "$root/build"
ctest --test-dir "$root/build" --output-on-failure --parallel "$jobs"

echo "== Static checks: clang-format and clang-tidy (scripts/lint.sh)"
lint_start=$SECONDS
"$root/scripts/lint.sh" "$root/build"
echo "Static checks took $((SECONDS - lint_start)) s"

echo "== Benchmark smoke run (small records, a short round of each; scripts/bench.sh measures)"
KX_BENCH_EVENTS=3000 "$root/build/bin/kxbench" --benchmark_min_time=0.01
QT_QPA_PLATFORM=offscreen KX_BENCH_EVENTS=3000 "$root/build/bin/kxbench_view" \
    --benchmark_min_time=0.01
KX_BENCH_LIBRARY_RECORDS=300 "$root/build/bin/kxbench_library" --benchmark_min_time=0.01

echo "== Debian package: built from build/, lintian, installed, checked, removed"
"$root/scripts/package_test.sh" "$root/build"

echo "== Sanitizer build (address, undefined behaviour, leaks), widget tests included"
"$root/scripts/build.sh" "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DKX_SANITIZE=ON -DKX_WITH_WIDGETS=ON
# The window's time limits (how long the event loop may wait during a load) hold for the
# optimised build above, not for a sanitized debug build.
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    GTEST_FILTER='-ResponsivenessTest.*' \
    ctest --test-dir "$root/build-asan" --output-on-failure --parallel "$jobs"

echo "== Fuzzing (every target for ${KX_FUZZ_SECONDS:-10} s, after the regression inputs)"
"$root/scripts/fuzz.sh" "${KX_FUZZ_SECONDS:-10}"
