#!/usr/bin/env bash
# Line coverage of the headless core: builds with clang's source-based coverage into
# build-coverage/ (no widgets, no benchmarks), runs every test program and kxrtool under them,
# replays the fuzz corpora and regression inputs once through the fuzz targets, merges the
# profiles and prints the line coverage of src/ per folder and in total. Widget code (every
# ui/ folder and src/widgets/) is left out of the figure; src/cli counts as core. The full
# llvm-cov report goes to build-coverage/html/index.html.
#
# Usage: scripts/coverage.sh      KX_COVERAGE_BUILD_DIR overrides the build directory.
# Fails when a test or a fuzz input fails (the figure is still printed).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${KX_COVERAGE_BUILD_DIR:-$root/build-coverage}"
profiles="$build/profiles"
start=$(date +%s)

launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
echo "== Coverage build (clang, source-based coverage) in $build"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++-14 -DKX_COVERAGE=ON -DKX_WITH_WIDGETS=OFF \
    -DKX_BUILD_TESTS=ON -DKX_BUILD_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build "$build" --parallel "$(nproc)"

rm -rf "$profiles"
mkdir -p "$profiles"
# One profile per process: the test programs, the kxrtool runs they start, the fuzz targets.
export LLVM_PROFILE_FILE="$profiles/%p.profraw"
failed=()

echo "== Tests"
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)" || failed+=(tests)

echo "== Fuzz corpora and regression inputs, each input once"
fuzzers=()
for binary in "$build"/fuzz/fuzz_*; do
    [ -x "$binary" ] || continue
    fuzzers+=("$binary")
    t="${binary##*/fuzz_}"
    inputs=()
    for dir in "$root/fuzz/corpus/$t" "$root/fuzz/regressions/$t"; do
        [ -d "$dir" ] || continue
        while IFS= read -r -d '' f; do inputs+=("$f"); done \
            < <(find "$dir" -type f ! -name '*.md' -print0 | sort -z)
    done
    [ ${#inputs[@]} -eq 0 ] && continue
    log="$build/fuzz_$t.log"
    if "$binary" -runs=0 -timeout=60 "${inputs[@]}" >"$log" 2>&1; then
        echo "fuzz_$t: ${#inputs[@]} inputs"
    else
        echo "fuzz_$t: an input fails; the end of $log:" >&2
        tail -n 30 "$log" >&2
        failed+=("fuzz_$t")
    fi
done

echo "== Merging the profiles"
find "$profiles" -name '*.profraw' >"$build/profiles.list"
# It warns of functions with "mismatched data": functions of one name in several programs
# (each program's main(), the test fixtures); the core's functions are the same in all.
if ! llvm-profdata-14 merge -sparse --input-files="$build/profiles.list" \
    -o "$build/coverage.profdata" 2>"$build/merge.log"; then
    cat "$build/merge.log" >&2
    exit 1
fi

# Every program that ran: the test programs, kxrtool and the fuzz targets.
objects=()
while IFS= read -r -d '' f; do objects+=(-object "$f"); done \
    < <(find "$build/tests" "$build/bin" -maxdepth 1 -type f -perm -u+x -print0 | sort -z)
for f in "${fuzzers[@]}"; do objects+=(-object "$f"); done
# The compiler runs in the build directory; a file name it was given relative to that (as
# ccache with CCACHE_BASEDIR passes them) is stored as "$build/../src/...": read as "$root/src".
cov=("${objects[@]:1}" -instr-profile="$build/coverage.profdata"
     -path-equivalence="$build/$(realpath --relative-to="$build" "$root"),$root"
     -ignore-filename-regex='/ui/|/src/widgets/')

llvm-cov-14 report "${cov[@]}" "$root/src" >"$build/report.txt" 2>"$build/llvm-cov.log" ||
    { cat "$build/llvm-cov.log" >&2; exit 1; }
rm -rf "$build/html"
llvm-cov-14 show "${cov[@]}" -format=html -output-dir="$build/html" \
    -show-line-counts-or-regions "$root/src" >/dev/null 2>"$build/llvm-cov.log" ||
    { cat "$build/llvm-cov.log" >&2; exit 1; }

# Core sources that no program links have no line in the report: a warning, not a zero. The
# viewer's main() is built only with the widgets.
missing=()
while IFS= read -r f; do
    rel="${f#"$root"/}"
    grep -q -F "${rel#src/}" "$build/report.txt" || missing+=("$rel")
done < <(find "$root/src" -name '*.cpp' ! -path '*/ui/*' ! -path '*/src/widgets/*' \
    ! -name kxreview_main.cpp | sort)

echo "== Line coverage of the core (src/ without ui/ and widgets/)"
# The report's columns: file, regions, missed, cover, functions, missed, executed, lines,
# missed, cover, branches, missed, cover.
totals="$(awk '
    $1 ~ /\.(cpp|h)$/ {
        folder = $1; sub(/\/[^\/]*$/, "", folder); sub(/^.*src\//, "", folder)
        lines[folder] += $8; missed[folder] += $9
    }
    END { for (f in lines) print f, lines[f], missed[f] }' "$build/report.txt" | sort)"
printf '%-10s %7s %7s %7s\n' folder lines missed cover
awk '{
        printf "%-10s %7d %7d %6.1f%%\n", $1, $2, $3, 100 * ($2 - $3) / $2
        lines += $2; missed += $3
    }
    END { printf "%-10s %7d %7d %6.1f%%\n", "total", lines, missed, 100 * (lines - missed) / lines }' \
    <<<"$totals"
for f in "${missing[@]}"; do echo "not linked by any program, not counted: $f" >&2; done
echo "Per file: $build/report.txt; HTML: $build/html/index.html"
echo "Took $(( $(date +%s) - start )) s"

if [ ${#failed[@]} -ne 0 ]; then
    echo "Failed: ${failed[*]}" >&2
    exit 1
fi
