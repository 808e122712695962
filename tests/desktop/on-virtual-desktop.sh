#!/usr/bin/env bash
# Runs COMMAND on a private virtual X display (with --wayland, a headless Wayland compositor in a
# runtime directory of its own) as on a player's desktop, found in DISPLAY (or WAYLAND_DISPLAY),
# with a stand-in opener first on the PATH that writes down in LOZETTA_OPENER_LOG what the program
# hands to the desktop.   Usage: on-virtual-desktop.sh [--wayland] COMMAND [ARGUMENT...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/lozetta-desktop.XXXXXX")
trap '{ kill "${server:-}" && wait "$server"; } 2>/dev/null || true; rm -rf "$work"' EXIT
# Waits for server PID ($2) to write what its clients need ($1, a file or socket), or fails.
await() {
    server=$2
    for _ in $(seq 200); do
        [ -s "$1" ] || [ -S "$1" ] && return
        kill -0 "$server" 2>/dev/null || break
        sleep 0.05
    done
    { echo "the virtual desktop did not start:" && cat "$work/server.log"; } >&2; exit 1
}
if [ "${1:-}" = --wayland ]; then
    shift
    mkdir -m 700 "$work/runtime"
    export XDG_RUNTIME_DIR=$work/runtime
    weston --backend=headless-backend.so --socket=lozetta --no-config --idle-time=0 >"$work/server.log" 2>&1 &
    await "$work/runtime/lozetta" $!
    export WAYLAND_DISPLAY=lozetta QT_QPA_PLATFORM=wayland
    unset DISPLAY
else
    # The server picks a free display number itself and writes it down once it takes clients.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/server.log" &
    await "$work/display" $!
    export DISPLAY=":$(tr -d '[:space:]' <"$work/display")" QT_QPA_PLATFORM=xcb
    unset WAYLAND_DISPLAY
fi
mkdir "$work/bin"
for name in xdg-open xdg-email; do install -m 755 "$here/stand-in-opener" "$work/bin/$name"; done
# Nothing of the machine's own desktop may answer in the stand-in's place.
unset BROWSER DBUS_SESSION_BUS_ADDRESS
export PATH="$work/bin:$PATH" LOZETTA_OPENER_LOG="$work/opened.log" XDG_CURRENT_DESKTOP=X-Generic
"$@"
