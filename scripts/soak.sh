#!/usr/bin/env bash
# The viewer's soak test: builds kxsoak in build/ (or $KX_BUILD_DIR) and runs the slide show of
# the main window over a record of a million events for 30 minutes (--minutes N for another
# length; kxsoak --help lists the other options), at low priority. Prints a table of the run
# and fails when the resident set grows by 1 % or more after the first minute.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
dir="${KX_BUILD_DIR:-$root/build}"
if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$dir" --target kxsoak >/dev/null
exec nice -n 10 "$dir/bin/kxsoak" "$@"
