#!/usr/bin/env bash
# Runs a command on a private virtual X display, as on a player's desktop, with a stand-in
# opener first on the PATH that writes down what the program hands to the desktop. With
# --wayland the desktop is a headless Wayland compositor instead, in a runtime directory of its
# own.
#
#   on-virtual-desktop.sh [--wayland] COMMAND [ARGUMENT...]
#
# The command finds the display in DISPLAY (or WAYLAND_DISPLAY) and the opener's record in
# LOZETTA_OPENER_LOG.
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

# Waits for the server to write what its clients need, a file or a socket, or fails with its
# log.
ready() { [ -s "$1" ] || [ -S "$1" ]; }
await() {
    for _ in $(seq 200); do
        ready "$1" && break
        kill -0 "$server" 2>/dev/null || break
        sleep 0.05
    done
    if ! ready "$1"; then
        echo "the virtual desktop did not start:" >&2
        cat "$work/server.log" >&2
        exit 1
    fi
}

if [ "${1:-}" = --wayland ]; then
    shift
    mkdir -m 700 "$work/runtime"
    export XDG_RUNTIME_DIR=$work/runtime
    weston --backend=headless-backend.so --socket=lozetta --no-config --idle-time=0 \
        >"$work/server.log" 2>&1 &
    server=$!
    await "$work/runtime/lozetta"
    export WAYLAND_DISPLAY=lozetta QT_QPA_PLATFORM=wayland
    unset DISPLAY
else
    # The server picks a free display number itself and writes it down once it takes clients.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" \
        2>"$work/server.log" &
    server=$!
    await "$work/display"
    export DISPLAY=":$(tr -d '[:space:]' <"$work/display")" QT_QPA_PLATFORM=xcb
    unset WAYLAND_DISPLAY
fi

mkdir "$work/bin"
for name in xdg-open xdg-email; do
    cp "$here/stand-in-opener" "$work/bin/$name"
    chmod +x "$work/bin/$name"
done

export PATH="$work/bin:$PATH"
export LOZETTA_OPENER_LOG="$work/opened.log"
# Nothing of the machine's own desktop may answer in the stand-in's place.
unset BROWSER DBUS_SESSION_BUS_ADDRESS
export XDG_CURRENT_DESKTOP=X-Generic
"$@"
