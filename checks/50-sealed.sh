#!/usr/bin/env bash
# Sealed: a whole match under strace, with a sound server and bus of its own, writes no file, opens
# no network socket and starts nothing but the opener, handed the page and the two addresses.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${LOZETTA_BUILD:-build}")
if [ "${1:-}" != --inside ]; then
    cmake --build "$build" --target sealed_match
    exec bash tests/desktop/on-virtual-desktop.sh bash "$0" --inside
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/lozetta-sealed.XXXXXX")
trap 'kill $(jobs -p) 2>/dev/null || true; wait; rm -rf "$work"' EXIT
export HOME=$work XDG_RUNTIME_DIR=$work XDG_CONFIG_HOME=$work/.config
export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/bus PULSE_SERVER=unix:$work/sound
dbus-daemon --session --nofork --nopidfile --address="$DBUS_SESSION_BUS_ADDRESS" 2>"$work/bus.log" &
pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --load=module-null-sink \
    --load="module-native-protocol-unix auth-anonymous=1 socket=$work/sound" 2>"$work/sound.log" &
timeout 10 bash -c "until [ -S '$work/bus' ] && [ -S '$work/sound' ]; do sleep 0.05; done" ||
    { cat "$work"/*.log && echo "no session bus or sound server" && exit 1; } >&2
cd "$build" # the program's two files are found beside it, where it is started from
strace -f -qq -z -s 1024 -o "$work/trace" \
    -e trace='/^(execve|open|creat|truncate|mkdir|rename|link|symlink|unlink|rmdir|mknod|socket|connect|bind)' ./sealed_match
awk -v opener="$(command -v xdg-open)" -v record="\"$LOZETTA_OPENER_LOG\"" \
    -v places="/tmp/.X11-unix/X${DISPLAY#:} $work/bus $work/sound /run/dbus/system_bus_socket /var/run/dbus/system_bus_socket" \
    -v wanted="file://$build/Instrucciones.htm http://lozetta.example.org mailto:lozetta@example.org" '
function problem(what) { print "sealed: " what ": " $0; bad = 1 }
BEGIN { split(wanted, w, " "); for (i in w) allowed[w[i]] = 1; split(places, p, " "); for (i in p) place[p[i]] = 1 }
/ execve(at)?\(/ && started++ {
    n = match($0, /\["[^"]*", "[^"]*"\]/) ? split(substr($0, RSTART + 2, RLENGTH - 4), argv, "\", \"") : 0
    if (n == 2 && argv[1] == opener && argv[2] in allowed) handed[argv[2]] = 1
    else problem("starts a program other than the opener with one address")
}
/ (open|openat|openat2|creat)\(/ && /O_WRONLY|O_RDWR|O_CREAT|O_TRUNC|O_APPEND| creat\(/ && !/\("\/dev\/|, "\/dev\// &&
    !index($0, record) { problem("opens a file to write") }
/ (truncate|mkdir|rename|link|symlink|unlink|rmdir|mknod)(at|at2)?\(/ { problem("changes the file system") }
/ socket\(/ && !/socket\(AF_UNIX,/ { problem("opens a network socket") }
/ bind\(/ { problem("binds a socket") }
/ connect\(/ { path = match($0, /sun_path=@?"[^"]*"/) ? substr($0, RSTART + 9, RLENGTH - 9) : ""; gsub(/^@|"/, "", path) }
/ connect\(/ && !(path in place) { problem("connects somewhere other than the display, the sound server or a bus") }
END { if (!started) { print "sealed: the match never ran"; bad = 1 }
    for (a in allowed) if (!(a in handed)) { print "sealed: the opener was never handed " a; bad = 1 }
    exit bad }' "$work/trace"
echo "sealed: no file written, no network, only the opener with its three addresses"
