#!/usr/bin/env bash
# Installs what is missing, builds KX Review and replays a record (the bundled sample when
# none is given).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build"

record="${1:-}"
if [ -z "$record" ]; then
    record="$(ls "$root"/resources/samples/*.kxr2 | head -n 1)"
fi

if [ -x "$root/build/bin/kxreview" ]; then
    exec "$root/build/bin/kxreview" "$record"
fi
# Until the viewer window exists: replay the whole record headless and print its state.
exec "$root/build/bin/kxrtool" replay "$record" --do end
