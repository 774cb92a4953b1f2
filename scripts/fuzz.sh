#!/usr/bin/env bash
# Builds the libFuzzer targets (clang with address and undefined-behaviour sanitizers) into
# build-fuzz/, replays the committed crash inputs of fuzz/regressions/, then runs every target
# for SECONDS each (default 60) and prints how long it ran and how many inputs it tried.
# Fails when any target crashes, hangs or runs out of memory; the input is kept under
# build-fuzz/artifacts/<target>/ (commit it to fuzz/regressions/<target>/ with the fix).
#
# Usage: scripts/fuzz.sh [SECONDS]          KX_FUZZ_BUILD_DIR overrides the build directory.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-60}"
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -lt 1 ]; then
    echo "Usage: scripts/fuzz.sh [SECONDS]" >&2
    exit 2
fi
build="${KX_FUZZ_BUILD_DIR:-$root/build-fuzz}"
targets=(event_line xml_converter replay time_address record_summary record_names map_file)

echo "== Fuzz build (clang, libFuzzer, address and undefined behaviour) in $build"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++-14 -DKX_FUZZ=ON -DKX_WITH_WIDGETS=OFF \
    -DKX_BUILD_TESTS=OFF -DKX_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target "${targets[@]/#/fuzz_}"

export ASAN_OPTIONS="detect_leaks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
failed=()

echo "== Replaying the regression inputs"
for t in "${targets[@]}"; do
    inputs=()
    if [ -d "$root/fuzz/regressions/$t" ]; then
        while IFS= read -r -d '' f; do inputs+=("$f"); done \
            < <(find "$root/fuzz/regressions/$t" -type f ! -name '*.md' -print0 | sort -z)
    fi
    [ ${#inputs[@]} -eq 0 ] && continue
    log="$build/regressions_$t.log"
    if "$build/fuzz/fuzz_$t" -timeout=60 -rss_limit_mb=2560 "${inputs[@]}" >"$log" 2>&1; then
        echo "fuzz_$t: ${#inputs[@]} regression inputs pass"
    else
        echo "fuzz_$t: a regression input fails; the end of $log:" >&2
        tail -n 40 "$log" >&2
        failed+=("$t (regressions)")
    fi
done

echo "== Fuzzing each target for $seconds s"
for t in "${targets[@]}"; do
    work="$build/corpus/$t"
    artifacts="$build/artifacts/$t"
    log="$build/fuzz_$t.log"
    mkdir -p "$work" "$artifacts"
    # Records of a few kilobytes reach every rule of the replay; larger ones only slow it.
    # Names and map texts are short; larger inputs only slow those targets.
    max_len=16384
    case "$t" in
    replay | record_names) max_len=4096 ;;
    map_file) max_len=2048 ;;
    esac
    options=(-max_total_time="$seconds" -timeout=30 -rss_limit_mb=2560 -max_len="$max_len"
             -print_final_stats=1 -artifact_prefix="$artifacts/")
    [ -f "$root/fuzz/dict/$t.dict" ] && options+=(-dict="$root/fuzz/dict/$t.dict")
    start=$(date +%s)
    status=0
    # New inputs go into the first corpus folder only: the committed seeds stay as they are.
    "$build/fuzz/fuzz_$t" "${options[@]}" "$work" "$root/fuzz/corpus/$t" >"$log" 2>&1 || status=$?
    took=$(( $(date +%s) - start ))
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)"
    if [ -z "$runs" ]; then
        runs="$(grep -o '#[0-9]*' "$log" | tail -n 1 | tr -d '#')"
    fi
    if [ "$status" -eq 0 ] && ! grep -q -E '^==[0-9]+==ERROR|runtime error:' "$log"; then
        echo "fuzz_$t: ran $took s, ${runs:-?} executions, no crash"
    else
        echo "fuzz_$t: FAILED after $took s, ${runs:-?} executions (exit $status); the end of $log:" >&2
        tail -n 60 "$log" >&2
        ls -1 "$artifacts" >&2 || true
        failed+=("$t")
    fi
done

if [ ${#failed[@]} -ne 0 ]; then
    echo "Fuzzing failed: ${failed[*]}" >&2
    exit 1
fi
