#!/usr/bin/env bash
# Regenerates the bundled sample records in resources/samples with the built kxrgen.
# Usage: scripts/make-samples.sh [BUILD_DIR]   (default: build)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build}"
kxrgen="$build/bin/kxrgen"
if [[ ! -x "$kxrgen" ]]; then
    echo "make-samples: $kxrgen not found; build the project first" >&2
    exit 1
fi
out="$root/resources/samples"
mkdir -p "$out"
"$kxrgen" --seed 2029 --events 300 --players 5 --width 20 --height 20 --speed 4 \
    --name "Kopretinová louka" --start 1794639600 \
    --kxr2 "$out/Kopretinova_louka_2026-11-14.kxr2" --kxr "$out/Kopretinova_louka_2026-11-14.kxr"
echo "make-samples: wrote $out/Kopretinova_louka_2026-11-14.kxr2 and .kxr"
