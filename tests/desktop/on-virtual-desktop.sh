#!/usr/bin/env bash
# Runs a command on a private virtual X display, as on a player's desktop, with a stand-in
# opener first on the PATH that writes down what the program hands to the desktop.
#
#   on-virtual-desktop.sh COMMAND [ARGUMENT...]
#
# The command finds the display in DISPLAY and the opener's record in LOZETTA_OPENER_LOG.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d "${TMPDIR:-/tmp}/lozetta-desktop.XXXXXX")
server=
cleanup() {
    if [ -n "$server" ]; then
        kill "$server" 2>/dev/null || true
        wait "$server" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

# The server picks a free display number itself and writes it down once it takes clients.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" \
    2>"$work/server.log" &
server=$!
for _ in $(seq 200); do
    [ -s "$work/display" ] && break
    kill -0 "$server" 2>/dev/null || break
    sleep 0.05
done
if [ ! -s "$work/display" ]; then
    echo "the virtual display did not start:" >&2
    cat "$work/server.log" >&2
    exit 1
fi

mkdir "$work/bin"
for name in xdg-open xdg-email; do
    cp "$here/stand-in-opener" "$work/bin/$name"
    chmod +x "$work/bin/$name"
done

export DISPLAY=":$(tr -d '[:space:]' <"$work/display")"
export PATH="$work/bin:$PATH"
export LOZETTA_OPENER_LOG="$work/opened.log"
export QT_QPA_PLATFORM=xcb
# Nothing of the machine's own desktop may answer in the stand-in's place.
unset WAYLAND_DISPLAY BROWSER DBUS_SESSION_BUS_ADDRESS
export XDG_CURRENT_DESKTOP=X-Generic
"$@"
