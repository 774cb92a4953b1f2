#!/usr/bin/env bash
# Builds the Debian package kxreview_<version>_<arch>.deb into the repository's top folder with
# CPack, from the build in build/ (or the directory given as $1), which is configured and
# brought up to date first. Install it with: sudo apt-get install ./kxreview_*.deb
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build}"
"$root/scripts/build.sh" "$build"
rm -rf "$build/package"
(cd "$build" && cpack -G DEB --config CPackConfig.cmake >/dev/null)
shopt -s nullglob
debs=("$build"/package/kxreview_*.deb)
if [ ${#debs[@]} -ne 1 ]; then
    echo "package.sh: CPack made ${#debs[@]} packages in $build/package, expected one" >&2
    exit 1
fi
rm -f "$root"/kxreview_*.deb
mv "${debs[0]}" "$root/"
echo "$root/$(basename "${debs[0]}")"
