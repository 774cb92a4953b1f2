#!/usr/bin/env bash
# Builds the libFuzzer targets (clang with address and undefined-behaviour sanitizers) into
# build-fuzz/ and replays every committed input (the corpora of fuzz/corpus/ and the crash
# inputs of fuzz/regressions/); then either
#   scripts/fuzz.sh [SECONDS]            runs every target for SECONDS each (default 60), or
#   scripts/fuzz.sh --campaign HOURS     runs all targets at once for at most HOURS (a decimal
#                                        number), each until fuzz/campaigns.tsv counts
#                                        KX_FUZZ_GOAL (10 million) executions of it over all
#                                        campaigns; merges what they found into fuzz/corpus/
#                                        (minimised with -merge=1), adds a row per target to
#                                        the ledger and writes a table of executions,
#                                        coverage, corpus size and crashes per target to
#                                        <build>/campaign/table.md.
#   scripts/fuzz.sh --stop               ends a running campaign early: its fuzzers finish
#                                        their rounds (at most ten minutes), then it merges
#                                        and counts what they did as usual.
#   scripts/fuzz.sh --finish             merges and counts what the last campaign's fuzzers
#                                        did, when the campaign itself ended before that.
# Fails when any target crashes, hangs or runs out of memory; a short run keeps the input under
# build-fuzz/artifacts/<target>/, a campaign under build-fuzz/campaign/<target>/artifacts/
# (commit it to fuzz/regressions/<target>/ with the fix). KX_FUZZ_BUILD_DIR overrides the
# build directory.
# KX_FUZZ_SANITIZERS=undefined builds without AddressSanitizer into build-fuzz-undefined/: two to
# three times the executions a second for a long campaign, whose corpora the next ordinary run
# replays with AddressSanitizer.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
usage() {
    echo "Usage: scripts/fuzz.sh [SECONDS] | --campaign HOURS | --stop | --finish" >&2
    exit 2
}
campaign_hours=""
seconds=60
finish=""
if [ "${1:-}" = "--finish" ]; then
    finish=1
    campaign_hours=0
elif [ "${1:-}" = "--stop" ]; then
    stopped=0
    for dir in "$root"/build-fuzz*/campaign; do
        [ -d "$dir" ] && [ ! -f "$dir/table.md" ] && touch "$dir/stop" && stopped=1 &&
            echo "fuzz.sh: the campaign in $dir ends after its current rounds"
    done
    [ "$stopped" -eq 1 ] || echo "fuzz.sh: no campaign is running" >&2
    exit 0
elif [ "${1:-}" = "--campaign" ]; then
    [[ "${2:-}" =~ ^[0-9]+([.][0-9]+)?$ ]] || usage
    campaign_hours="$2"
elif [ $# -gt 0 ]; then
    [[ "$1" =~ ^[0-9]+$ ]] && [ "$1" -ge 1 ] || usage
    seconds="$1"
fi
sanitizers="${KX_FUZZ_SANITIZERS:-address,undefined}"
default_build="$root/build-fuzz"
[ "$sanitizers" = "address,undefined" ] || default_build="$root/build-fuzz-${sanitizers//,/-}"
build="${KX_FUZZ_BUILD_DIR:-$default_build}"
targets=(event_line xml_converter replay time_address record_summary record_names map_file)

echo "== Fuzz build (clang, libFuzzer, sanitizers: $sanitizers) in $build"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++-14 "${launcher[@]}" -DKX_FUZZ=ON \
    -DKX_FUZZ_SANITIZERS="$sanitizers" -DKX_WITH_WIDGETS=OFF \
    -DKX_BUILD_TESTS=OFF -DKX_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target "${targets[@]/#/fuzz_}"

# Small allocation stacks and a small quarantine: several times the executions a second, and
# a crash is still caught where it happens (replay its input for the full report).
export ASAN_OPTIONS="detect_leaks=1:malloc_context_size=2:quarantine_size_mb=16:max_malloc_fill_size=0:allocator_release_to_os_interval_ms=-1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# The targets write their records to files: keep those in memory where the system allows.
scratch="$(mktemp -d "$( [ -d /dev/shm ] && [ -w /dev/shm ] && echo /dev/shm || echo "${TMPDIR:-/tmp}")/kxfuzz.XXXXXX")"
trap 'rm -rf "$scratch"' EXIT
export TMPDIR="$scratch"
failed=()

max_len_of() { # Records of a few kilobytes reach every rule; larger ones only slow the targets.
    case "$1" in
    replay | record_names) echo 4096 ;;
    map_file) echo 2048 ;;
    *) echo 16384 ;;
    esac
}

# Options every run of target $1 takes.
fuzz_options() {
    # Each run has a corpus folder of its own: no need to look for other runs' inputs in it.
    local options=(-timeout=30 -rss_limit_mb=2560 -max_len="$(max_len_of "$1")" -reload=0)
    [ -f "$root/fuzz/dict/$1.dict" ] && options+=(-dict="$root/fuzz/dict/$1.dict")
    printf '%s\n' "${options[@]}"
}

# The number of inputs run, from a libFuzzer log.
executions_in() {
    local runs
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$1" | tail -n 1)"
    [ -n "$runs" ] || runs="$(grep -o '^#[0-9]*' "$1" | tail -n 1 | tr -d '#')"
    echo "${runs:-0}"
}

echo "== Replaying the committed inputs (corpora and crash inputs)"
for t in "${targets[@]}"; do
    dirs=()
    for d in "$root/fuzz/corpus/$t" "$root/fuzz/regressions/$t"; do
        [ -d "$d" ] && dirs+=("$d")
    done
    [ ${#dirs[@]} -eq 0 ] && continue
    count="$(find "${dirs[@]}" -type f ! -name '*.md' | wc -l)"
    log="$build/replay_$t.log"
    # Folders given with -runs=0 run each of their files once.
    if "$build/fuzz/fuzz_$t" -runs=0 -timeout=60 -rss_limit_mb=2560 "${dirs[@]}" >"$log" 2>&1; then
        echo "fuzz_$t: $count committed inputs pass"
    else
        echo "fuzz_$t: a committed input fails; the end of $log:" >&2
        tail -n 40 "$log" >&2
        failed+=("$t (committed inputs)")
    fi
done
if [ ${#failed[@]} -ne 0 ]; then
    echo "Fuzzing failed: ${failed[*]}" >&2
    exit 1
fi

if [ -z "$campaign_hours" ]; then
    echo "== Fuzzing each target for $seconds s"
    for t in "${targets[@]}"; do
        work="$build/corpus/$t"
        artifacts="$build/artifacts/$t"
        log="$build/fuzz_$t.log"
        mkdir -p "$work" "$artifacts"
        mapfile -t options < <(fuzz_options "$t")
        start=$(date +%s)
        status=0
        # New inputs go into the first corpus folder only: the committed seeds stay as they are.
        "$build/fuzz/fuzz_$t" "${options[@]}" -max_total_time="$seconds" -print_final_stats=1 \
            -artifact_prefix="$artifacts/" "$work" "$root/fuzz/corpus/$t" >"$log" 2>&1 ||
            status=$?
        took=$(($(date +%s) - start))
        runs="$(executions_in "$log")"
        if [ "$status" -eq 0 ] && ! grep -q -E '^==[0-9]+==ERROR|runtime error:' "$log"; then
            echo "fuzz_$t: ran $took s, $runs executions, no crash"
        else
            echo "fuzz_$t: FAILED after $took s, $runs executions (exit $status); the end of $log:" >&2
            tail -n 60 "$log" >&2
            ls -1 "$artifacts" >&2 || true
            failed+=("$t")
        fi
    done
    if [ ${#failed[@]} -ne 0 ]; then
        echo "Fuzzing failed: ${failed[*]}" >&2
        exit 1
    fi
    exit 0
fi

# ---- Campaign ----------------------------------------------------------------------------
# Every target runs at once, so the system shares the cores among them; a target stops early
# once the executions of all campaigns in the ledger reach the goal, leaving its share to the
# slower ones, and a target far from the goal runs as several processes. The ledger,
# fuzz/campaigns.tsv, keeps one row per target and campaign: a long campaign may be run in
# parts, each going on from the corpora the last one merged.
goal="${KX_FUZZ_GOAL:-10000000}"
ledger="$root/fuzz/campaigns.tsv"
[ -f "$ledger" ] || printf 'date\ttarget\tsanitizers\tseconds\texecutions\tcrashes\n' >"$ledger"
total_seconds="$(awk -v h="$campaign_hours" 'BEGIN { printf "%d", h * 3600 }')"
[ -n "$finish" ] || [ "$total_seconds" -ge 10 ] ||
    { echo "fuzz.sh: a campaign of $campaign_hours h is too short" >&2; exit 2; }
out="$build/campaign"
if [ -n "$finish" ]; then
    [ -d "$out" ] && [ ! -f "$out/table.md" ] ||
        { echo "fuzz.sh: no unfinished campaign in $out" >&2; exit 2; }
else
    rm -rf "$out"
    mkdir -p "$out"
fi
ledger_runs() { # executions of target $1 over all campaigns in the ledger
    awk -F '\t' -v t="$1" '$2 == t { n += $5 } END { printf "%d", n }' "$ledger"
}
[ -n "$finish" ] ||
    echo "== Campaign: $campaign_hours h, all targets at once, each until $goal executions in all"

# Seconds target $1 still needs, at the rate the ledger shows for it (one a second if none).
seconds_left() {
    awk -F '\t' -v t="$1" -v goal="$goal" '$2 == t { n += $5; s += $4 }
        END { rate = (s > 0 && n > 0) ? n / s : 1; left = goal - n;
              printf "%d", (left > 0 ? left / rate + 1 : 0) }' "$ledger"
}
# Workers of target $1: a share of the processes (at least the number of cores) by the time
# each target still needs, so that the slowest target does not run alone at the end.
workers_of() {
    local t s mine total=0 busy=0
    mine="$(seconds_left "$1")"
    [ "$mine" -gt 0 ] || { echo 0; return; }
    for t in "${targets[@]}"; do
        s="$(seconds_left "$t")"
        total=$(( total + s )); [ "$s" -eq 0 ] || busy=$(( busy + 1 ))
    done
    local processes=$(( busy > $(nproc) ? busy : $(nproc) ))
    local share=$(( (processes * mine + total / 2) / total ))
    echo $(( share > 0 ? share : 1 ))
}

# Worker $2 of target $1 runs its share of the executions the target still needs, until that
# share, the campaign's end or a stop request, starting again after a crash (its input is kept), and writes its
# seconds, executions and crashes to $out/$1/result.$2. The workers of a target share its
# corpus folder.
run_worker() {
    local t="$1" w="$2" workers="$3" dir="$out/$1"
    local options
    mapfile -t options < <(fuzz_options "$t")
    local begin end runs=0 crashes=0 round=0
    begin=$(date +%s)
    end=$(( begin + total_seconds ))
    local share=$(( (goal - $(ledger_runs "$t") + workers - 1) / workers ))
    while [ ! -e "$out/stop" ]; do
        local left=$(( end - $(date +%s) )) wanted=$(( share - runs ))
        [ "$left" -ge 5 ] && [ "$wanted" -gt 0 ] || break
        # Rounds of at most ten minutes, so that a stop request is heard.
        [ "$left" -le 600 ] || left=600
        round=$((round + 1))
        local log="$dir/worker_${w}_round_$round.log" status=0
        "$build/fuzz/fuzz_$t" "${options[@]}" -max_total_time="$left" -runs="$wanted" \
            -print_final_stats=1 -artifact_prefix="$dir/artifacts/" "$dir/corpus" \
            "$root/fuzz/corpus/$t" >"$log" 2>&1 || status=$?
        runs=$(( runs + $(executions_in "$log") ))
        if [ "$status" -ne 0 ] || grep -q -E '^==[0-9]+==ERROR|runtime error:' "$log"; then
            crashes=$((crashes + 1))
            echo "fuzz_$t: a crash (exit $status), see $log" >&2
        fi
    done
    echo "$(( $(date +%s) - begin )) $runs $crashes" >"$dir/result.$w"
}
export -f run_worker fuzz_options max_len_of executions_in ledger_runs
export root build out total_seconds goal ledger
jobs=()
for t in "${targets[@]}"; do
    [ -z "$finish" ] || break
    mkdir -p "$out/$t/corpus" "$out/$t/artifacts"
    n="$(workers_of "$t")"
    echo "fuzz_$t: $n worker(s)"
    for ((w = 1; w <= n; w++)); do jobs+=("$t $w $n"); done
done
[ ${#jobs[@]} -eq 0 ] || printf '%s\n' "${jobs[@]}" |
    xargs -P "${#jobs[@]}" -L 1 bash -c 'run_worker "$@"' worker
for t in "${targets[@]}"; do # the workers' results summed: the longest time, all executions
    mkdir -p "$out/$t/corpus"
    { cat "$out/$t"/result.* 2>/dev/null || true; } |
        awk '{ if ($1 > s) s = $1; n += $2; c += $3 } END { printf "%d %d %d\n", s, n, c }' \
            >"$out/$t/result"
    read -r seconds runs crashes <"$out/$t/result"
    echo "fuzz_$t: $runs executions, $crashes crashes"
done

echo "== Merging and minimising the corpora into fuzz/corpus/"
table="$out/table.md"
{
    echo "| Target | Executions | Executions/s | All campaigns | Edges covered | Corpus (files, KiB) | Crashes |"
    echo "|---|---:|---:|---:|---:|---:|---:|"
} >"$table"
crashed=()
today="$(date -u +%Y-%m-%d)"
for t in "${targets[@]}"; do
    corpus="$root/fuzz/corpus/$t"
    merged="$out/$t/merged"
    mkdir -p "$merged" "$corpus"
    # The seeds stay as they are; the merge adds only inputs that cover something new.
    cp -p "$corpus"/* "$merged"/ 2>/dev/null || true
    mapfile -t options < <(fuzz_options "$t")
    "$build/fuzz/fuzz_$t" "${options[@]}" -merge=1 "$merged" "$corpus" "$out/$t/corpus" \
        >"$out/$t/merge.log" 2>&1
    rm -f "$corpus"/*
    cp -p "$merged"/* "$corpus"/
    # What the kept corpus covers.
    "$build/fuzz/fuzz_$t" "${options[@]}" -runs=0 "$corpus" >"$out/$t/cover.log" 2>&1
    edges="$(grep -o 'INITED cov: [0-9]*' "$out/$t/cover.log" | tail -n 1 | grep -o '[0-9]*$')"
    read -r seconds runs crashes <"$out/$t/result"
    [ "$runs" -eq 0 ] || printf '%s\t%s\t%s\t%s\t%s\t%s\n' "$today" "$t" "$sanitizers" \
        "$seconds" "$runs" "$crashes" >>"$ledger"
    files="$(find "$corpus" -type f | wc -l)"
    kib="$(( ($(cat "$corpus"/* | wc -c) + 1023) / 1024 ))"
    printf '| `fuzz_%s` | %s | %s | %s | %s | %s, %s | %s |\n' "$t" "$runs" \
        "$(( seconds > 0 ? runs / seconds : 0 ))" "$(ledger_runs "$t")" "${edges:-?}" \
        "$files" "$kib" "$crashes" >>"$table"
    [ "$crashes" -eq 0 ] || crashed+=("$t")
done
cat "$table"
if [ ${#crashed[@]} -ne 0 ]; then
    echo "Campaign found crashes in: ${crashed[*]} (inputs under $out/<target>/artifacts/)" >&2
    exit 1
fi
