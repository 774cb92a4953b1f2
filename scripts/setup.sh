#!/usr/bin/env bash
# Installs what building and testing KX Review needs on Debian 12 (apt-get, as root or via sudo).
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config clang-14 libclang-rt-14-dev
    clang-tidy-14 clang-format-14
    qt6-base-dev qt6-base-dev-tools qt6-translations-l10n
    libqt6sql6-sqlite libqt6sql6-psql postgresql
    libspng-dev
    # Clips: FFmpeg's libraries to encode, its tools and libwebp's to read them back in tests.
    libavcodec-dev libavformat-dev libavutil-dev libswscale-dev ffmpeg webp
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth
    # Icons rendered at build time; the Debian package and its install test.
    librsvg2-bin dpkg-dev file lintian desktop-file-utils appstream shared-mime-info
    xdg-utils libfile-mimeinfo-perl man-db
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    SUDO=()
elif command -v sudo >/dev/null 2>&1; then
    SUDO=(sudo)
else
    echo "These packages are missing and neither root nor sudo is available: ${missing[*]}" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update -qq
"${SUDO[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
