#!/usr/bin/env bash
# Builds the Debian package from the build in build/ (or the directory given as $1) with
# scripts/package.sh, checks it with lintian, installs it on this machine with apt-get, checks
# the installed program, then removes and purges it and checks that none of its files is left.
# Installing needs root (or sudo); CI runs as root. Nothing is downloaded: the package's
# dependencies are those setup.sh installs.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build}"
if [ "$(id -u)" -eq 0 ]; then
    SUDO=()
else
    SUDO=(sudo)
fi
apt=("${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -y -qq -o DPkg::Lock::Timeout=300)
fail() {
    echo "package_test: $*" >&2
    exit 1
}
installed() { dpkg-query -W -f='${Status}' kxreview 2>/dev/null | grep -q "install ok installed"; }

work="$(mktemp -d)"
cleanup() {
    # A failed check leaves no package behind.
    if dpkg-query -W kxreview >/dev/null 2>&1; then "${SUDO[@]}" dpkg --purge kxreview >/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

if installed; then
    echo "== Removing the kxreview package installed before this test"
    "${SUDO[@]}" dpkg --purge kxreview >/dev/null
fi

echo "== Package"
deb="$("$root/scripts/package.sh" "$build" | tail -n 1)"
version="$(dpkg-deb -f "$deb" Version)"
echo "$deb (version $version)"

echo "== lintian"
lintian_status=0
lintian --fail-on error "$deb" >"$work/lintian.log" 2>&1 || lintian_status=$?
grep -v 'root privileges' "$work/lintian.log" || echo "lintian: no errors, no warnings"
[ "$lintian_status" -eq 0 ] || fail "lintian reports errors"

echo "== Install"
"${apt[@]}" install --no-install-recommends "$deb" >"$work/install.log" 2>&1 ||
    { cat "$work/install.log" >&2; fail "apt-get install failed"; }
installed || fail "the package is not installed after apt-get install"
mapfile -t files < <(dpkg -L kxreview | while read -r f; do [ -f "$f" ] && echo "$f"; done)
echo "${#files[@]} files installed"

# The checks run as a user with a home of their own and the system's data folders.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_CACHE_HOME="$work/home/.cache"
export XDG_DATA_HOME="$work/home/.local/share"
unset XDG_DATA_DIRS XDG_CURRENT_DESKTOP DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME"

expect() { # expect WHAT EXPECTED ACTUAL
    [ "$2" = "$3" ] || fail "$1: expected '$2', got '$3'"
    echo "$1: $3"
}
expect "kxrtool --version" "kxrtool $version" "$(/usr/bin/kxrtool --version)"
expect "kxreview --version (no display)" "kxreview $version" "$(/usr/bin/kxreview --version)"
/usr/bin/kxrtool stats "$root/resources/samples/Kopretinova_louka_2026-11-14.kxr" --csv \
    >/dev/null || fail "the installed kxrtool cannot read the sample record"
# Pictures and clips: kxrtool runs its program in /usr/libexec/kxreview, which loads the encoder.
/usr/bin/kxrtool render "$root/resources/samples/Kopretinova_louka_2026-11-14.kxr2" --at 100 \
    -o "$work/map.png" >/dev/null || fail "the installed kxrtool cannot render the sample"
/usr/bin/kxrtool clip "$root/resources/samples/Kopretinova_louka_2026-11-14.kxr2" --from 7 \
    --to 40 -o "$work/clip.mp4" >/dev/null || fail "the installed kxrtool cannot make a clip"
expect "frames of the installed kxrtool's clip" 34 "$(ffprobe -v error -count_frames \
    -show_entries stream=nb_read_frames -of csv=p=0 "$work/clip.mp4")"

desktop-file-validate /usr/share/applications/kxreview.desktop ||
    fail "desktop-file-validate reports errors"
echo "desktop-file-validate: no errors"
appstreamcli validate --no-net /usr/share/metainfo/example.kxreview.KXReview.metainfo.xml \
    >"$work/appstream.log" 2>&1 || { cat "$work/appstream.log" >&2; fail "appstreamcli validate"; }
echo "appstreamcli validate --no-net: passed"

sample="$root/resources/samples/Kopretinova_louka_2026-11-14"
cp "$sample.kxr2" "$work/record.kxr2"
cp "$sample.kxr" "$work/record.kxr"
cp "$sample.kxr2" "$work/record-without-extension"
expect "xdg-mime query filetype record.kxr2" application/x-kxreview-record \
    "$(xdg-mime query filetype "$work/record.kxr2")"
expect "xdg-mime query filetype record.kxr" application/x-kxreview-log \
    "$(xdg-mime query filetype "$work/record.kxr")"
expect "xdg-mime query filetype (by content)" application/x-kxreview-record \
    "$(xdg-mime query filetype "$work/record-without-extension")"
for type in application/x-kxreview-record application/x-kxreview-log; do
    expect "xdg-mime query default $type" kxreview.desktop "$(xdg-mime query default "$type")"
done
# A double click: xdg-open starts the installed viewer through its desktop entry on a virtual
# X server; KX_QUIT_AFTER_LOAD makes it end after the load, 0 when the record loaded, and the
# record joins the viewer's recent records.
for record in record.kxr2 record.kxr; do
    KX_QUIT_AFTER_LOAD=1 xvfb-run -a xdg-open "$work/$record" >"$work/open.log" 2>&1 ||
        { cat "$work/open.log" >&2; fail "xdg-open $record did not open it in the viewer"; }
    grep -q "^recentFiles=.*$work/$record" "$XDG_CONFIG_HOME/Velmora/KXReview.conf" ||
        fail "the viewer started by xdg-open did not open $record"
    echo "xdg-open $record: opened by the installed viewer"
done
for page in kxreview kxrtool; do
    expect "man -w $page" "/usr/share/man/man1/$page.1.gz" "$(man -w "$page")"
    man --warnings "$page" 2>&1 >/dev/null | grep . && fail "man $page prints warnings"
done

echo "== Remove and purge"
"${apt[@]}" remove kxreview >/dev/null
# The package has no configuration files, so remove may leave nothing for purge to do.
if dpkg-query -W kxreview >/dev/null 2>&1; then "${SUDO[@]}" dpkg --purge kxreview >/dev/null; fi
dpkg-query -W kxreview >/dev/null 2>&1 && fail "dpkg still knows the package after purge"
for f in "${files[@]}"; do
    [ -e "$f" ] && fail "left behind after purge: $f"
done
[ -e /usr/share/doc/kxreview ] && fail "left behind after purge: /usr/share/doc/kxreview"
type="$(xdg-mime query filetype "$work/record.kxr2")"
[ "$type" = application/x-kxreview-record ] && fail "the MIME database still knows the record type"
echo "removed; none of the ${#files[@]} files is left, record.kxr2 is $type again"
