#!/bin/sh
# The viewer, started under a virtual X server from the folder that holds a record, opens the
# record named by a relative path although the browser remembers another folder; asked to, it
# reports when its window was first painted.
# Arguments: the viewer, a record file.
set -eu
viewer=$1
record=$2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work/home"
export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share"
export XDG_CACHE_HOME="$HOME/.cache" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$XDG_CONFIG_HOME/Velmora" "$XDG_RUNTIME_DIR" "$work/records" "$work/elsewhere"
chmod 700 "$XDG_RUNTIME_DIR"
name=$(basename "$record")
cp "$record" "$work/records/$name"
# Asked once already; the browser last listed another folder.
cat >"$XDG_CONFIG_HOME/Velmora/KXReview.conf" <<CONF
[0.5]
startup=1
browser\\lastFolder=$work/elsewhere
CONF

cd "$work/records"
status=0
KX_QUIT_AFTER_LOAD=1 QT_QPA_PLATFORM=xcb xvfb-run -a "$viewer" "$name" 2>"$work/errors" ||
    status=$?
if [ "$status" -ne 0 ]; then
    echo "the viewer did not open $name (exit status $status):" >&2
    cat "$work/errors" >&2
    exit 1
fi
echo "opened $name"

# The start-up figure of the benchmarks: the window is painted once, the time printed, the end.
painted=$(KX_QUIT_AFTER_PAINT=1 QT_QPA_PLATFORM=xcb xvfb-run -a "$viewer" "$name" 2>"$work/errors") ||
    { cat "$work/errors" >&2; exit 1; }
case "$painted" in
*"first paint: "[0-9]*) echo "painted $name" ;;
*) echo "no first paint reported: $painted" >&2; exit 1 ;;
esac
