#!/usr/bin/env bash
# on-virtual-desktop.sh [--wayland] COMMAND [ARGUMENT...]: COMMAND on a private virtual X display
# (or headless Wayland), a stand-in opener first on the PATH logging to LOZETTA_OPENER_LOG.
set -euo pipefail
work=$(mktemp -d "${TMPDIR:-/tmp}/lozetta-desktop.XXXXXX")
trap '{ kill "${server:-}" && wait "$server"; } 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -m 700 "$work/bin" "$work/runtime"
if [ "${1:-}" = --wayland ]; then
    shift
    export XDG_RUNTIME_DIR=$work/runtime WAYLAND_DISPLAY=lozetta QT_QPA_PLATFORM=wayland && unset DISPLAY
    weston --backend=headless-backend.so --socket=lozetta --no-config --idle-time=0 >"$work/log" 2>&1 &
    ready=$work/runtime/lozetta
else
    # The server picks a free display number itself and writes it down once it takes clients.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/log" &
    ready=$work/display && export QT_QPA_PLATFORM=xcb && unset WAYLAND_DISPLAY
fi
server=$!
timeout 10 bash -c "until [ -s '$ready' ] || [ -S '$ready' ]; do sleep 0.05; done" ||
    { echo "the virtual desktop did not start:" && cat "$work/log" && exit 1; } >&2
[ -S "$ready" ] || export DISPLAY=":$(tr -d '[:space:]' <"$ready")"
for name in xdg-open xdg-email; do install -m 755 "$(dirname "$0")/stand-in-opener" "$work/bin/$name"; done
# Nothing of the machine's own desktop may answer in the stand-in's place.
unset BROWSER DBUS_SESSION_BUS_ADDRESS
export PATH="$work/bin:$PATH" LOZETTA_OPENER_LOG="$work/opened.log" XDG_CURRENT_DESKTOP=X-Generic
"$@"
