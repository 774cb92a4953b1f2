#!/usr/bin/env bash
# Builds kxrtool at two commits and compares, byte for byte, what both print for the same
# generated records: replays with random action sequences, summaries, conversions, figures
# and folder listings, damaged records included. Use it to show that a change of the code's
# shape changed no behaviour.
#
#   scripts/compare-outputs.sh BASE [OTHER]     (commits or branches; OTHER defaults to HEAD)
#
#   KX_COMPARE_RECORDS  number of generated worlds (default 240; each gives both formats)
#   KX_COMPARE_WORK     keep the builds, records and outputs in this folder (default: a
#                       temporary folder removed at the end)
# Prints the number of differing outputs and the first differences; exits 1 if there are any.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
base="${1:?usage: scripts/compare-outputs.sh BASE [OTHER]}"
other="${2:-HEAD}"
records="${KX_COMPARE_RECORDS:-240}"
jobs="$(nproc)"

if [ -n "${KX_COMPARE_WORK:-}" ]; then
    work="$KX_COMPARE_WORK"
    mkdir -p "$work"
else
    work="$(mktemp -d)"
fi
cleanup() {
    for side in base other; do
        git -C "$root" worktree remove --force "$work/src-$side" 2>/dev/null || true
    done
    [ -n "${KX_COMPARE_WORK:-}" ] || rm -rf "$work"
}
trap cleanup EXIT

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

build_at() { # side commit: checks the commit out and builds kxrtool and kxrgen
    local side="$1" commit="$2"
    git -C "$root" worktree remove --force "$work/src-$side" 2>/dev/null || true
    git -C "$root" worktree add --detach "$work/src-$side" "$commit" >/dev/null
    echo "== Building $side: $commit ($(git -C "$root" rev-parse --short "$commit"))" >&2
    cmake -S "$work/src-$side" -B "$work/build-$side" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DKX_WITH_WIDGETS=OFF -DKX_BUILD_TESTS=OFF -DKX_BUILD_BENCH=OFF "${launcher[@]}" \
        >/dev/null
    cmake --build "$work/build-$side" --parallel "$jobs" --target kxrtool kxrgen >/dev/null
}
build_at base "$base"
build_at other "$other"

echo "== Generating $records worlds in both formats" >&2
rec="$work/records"
rm -rf "$rec"
mkdir -p "$rec"
gen="$work/build-base/bin/kxrgen"
RANDOM=20261208
pick() { # pick VAR CHOICE...: sets VAR to one of the choices, from the seeded sequence
    local var="$1"
    shift
    local choices=("$@")
    printf -v "$var" '%s' "${choices[RANDOM % ${#choices[@]}]}"
}
letters=ABCDEFGHIJKLMNOPQRSTUVWXYZ
: >"$work/jobs"
for i in $(seq "$records"); do
    if ((i % 8 == 0)); then # a large world
        pick w 60 120 200
        pick h 40 100 200
        pick events 2000 8000 20000
    else
        w=$((1 + RANDOM % 20)) h=$((1 + RANDOM % 20))
        pick events 0 1 5 40 300 1500
    fi
    pick players 1 2 4 8 12 30
    ((players * 4 <= w * h)) || players=1
    pick name Arena 'Kopretinová louka' 'Černý les' Žlutá
    pick speed 1 4 7
    stem="$rec/World${i}_2026-$(printf %02d $((1 + i % 12)))-14"
    "$gen" --seed "$i" --players "$players" --events "$events" --width "$w" --height "$h" \
        --speed "$speed" --name "$name" --kxr2 "$stem.kxr2" --kxr "$stem.kxr"
    files=("$stem.kxr2" "$stem.kxr")
    if ((i % 5 == 0)); then # damaged copies: cut off somewhere
        for ext in kxr2 kxr; do
            size=$(stat -c %s "$stem.$ext")
            head -c $((RANDOM * 32768 % (size + 1) + RANDOM % 7)) "$stem.$ext" \
                >"${stem}_cut.$ext"
            files+=("${stem}_cut.$ext")
        done
    fi
    for f in "${files[@]}"; do
        actions=()
        count=$((RANDOM % 14))
        for ((k = 0; k < count; k++)); do
            case $((RANDOM % 14)) in
            0 | 1 | 2) actions+=(f) ;;
            3) actions+=(f10) ;;
            4) actions+=(b) ;;
            5) actions+=(b10) ;;
            6)
                pick a end next start stop tick
                actions+=("$a")
                ;;
            7) actions+=("sel:$((RANDOM % (players + 2) - 1))") ;;
            8) actions+=("pt:${letters:RANDOM % w % 26:1}$((RANDOM % h))") ;;
            9) actions+=("hl:$((RANDOM % 2))") ;;
            10) actions+=("view:$((RANDOM % 4))") ;;
            11)
                pick a 00 50 x1 1200 7
                actions+=("ed:$a")
                ;;
            *) actions+=(f) ;;
            esac
        done
        do_list="$(
            IFS=,
            echo "${actions[*]:-f}"
        )"
        id="$(basename "$f")"
        printf '%s\t%s\n' "$id.replay" "replay|$f" >>"$work/jobs"
        printf '%s\t%s\n' "$id.replay-do" "replay|$f|--do|$do_list" >>"$work/jobs"
        pick as xml log
        printf '%s\t%s\n' "$id.replay-as" "replay|$f|--as|$as|--do|end,b" >>"$work/jobs"
        printf '%s\t%s\n' "$id.summary" "summary|$f" >>"$work/jobs"
        printf '%s\t%s\n' "$id.stats" "stats|$f|--csv" >>"$work/jobs"
        printf '%s\t%s\n' "$id.stats-summary" "stats|$f|--csv|--summary" >>"$work/jobs"
        [[ "$f" == *.kxr2 ]] && printf '%s\t%s\n' "$id.convert" "convert|$f" >>"$work/jobs"
    done
done
printf '%s\t%s\n' "folder.browse" "browse|$rec" >>"$work/jobs"

run_side() { # side: runs every job with that side's kxrtool
    local side="$1"
    local out="$work/out-$side"
    rm -rf "$out"
    mkdir -p "$out" "$work/home-$side"
    export KX_TOOL="$work/build-$side/bin/kxrtool" KX_OUT="$out" LC_ALL=C.UTF-8 \
        HOME="$work/home-$side" XDG_CONFIG_HOME="$work/home-$side/.config" \
        XDG_DATA_HOME="$work/home-$side/.local/share" XDG_CACHE_HOME="$work/home-$side/.cache"
    # shellcheck disable=SC2016
    tr '\t' '\n' <"$work/jobs" | xargs -d '\n' -n 2 -P "$jobs" bash -c '
        IFS="|" read -r -a args <<<"$1"
        rc=0
        "$KX_TOOL" "${args[@]}" >"$KX_OUT/$0.out" 2>"$KX_OUT/$0.err" || rc=$?
        echo "$rc" >"$KX_OUT/$0.rc"'
}
echo "== Running $(wc -l <"$work/jobs") commands on each side" >&2
run_side base
run_side other

differing="$(diff -rq "$work/out-base" "$work/out-other" | wc -l || true)"
echo "outputs compared: $(find "$work/out-base" -type f | wc -l), differing: $differing"
if [ "$differing" -ne 0 ]; then
    diff -rq "$work/out-base" "$work/out-other" | head -20
    exit 1
fi
