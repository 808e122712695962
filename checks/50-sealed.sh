#!/usr/bin/env bash
# Sealed: over a whole match, watched by strace, the program writes no file, makes nothing in
# the file system, opens no socket but local ones to the display, the sound server and the
# session and system buses, and starts no program but the desktop's opener, handed exactly the
# instructions page, "http://" and the about box's host, "mailto:" and its address, with no
# shell in between. It runs on a virtual X display with a sound server and a session bus of its
# own; the opener is a stand-in that only writes down what it is handed.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${LOZETTA_BUILD:-build}")
if [ "${1:-}" != --inside ]; then
    cmake --build "$build" --target sealed_match
    exec bash tests/desktop/on-virtual-desktop.sh bash "$0" --inside
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/lozetta-sealed.XXXXXX")
trap 'kill $(jobs -p) 2>/dev/null || true; wait; rm -rf "$work"' EXIT
# A desktop session's own directories, bus and sound server.
mkdir -m 700 "$work/runtime" "$work/home"
export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime XDG_CONFIG_HOME=$work/home/.config
dbus-daemon --session --nofork --nopidfile --address="unix:path=$work/bus" 2>"$work/bus.log" &
pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --load=module-null-sink \
    --load="module-native-protocol-unix auth-anonymous=1 socket=$work/runtime/sound" 2>"$work/sound.log" &
up() { [ -S "$work/bus" ] && [ -S "$work/runtime/sound" ]; }
for _ in $(seq 200); do up && break; sleep 0.05; done
up || { cat "$work"/*.log && echo "no session bus or sound server" && exit 1; } >&2
export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/bus PULSE_SERVER=unix:$work/runtime/sound
# The program's two files are found beside it, where it is started from.
cd "$build"
strace -f -qq -z -s 1024 -o "$work/trace" \
    -e trace='/^(execve|open|creat|truncate|mkdir|rename|link|symlink|unlink|rmdir|mknod|socket|connect|bind)' ./sealed_match
# Every program started after the match itself must be the opener, handed one wanted address;
# the opener's own record is the one file written.
awk -v opener="$(command -v xdg-open)" -v record="\"$LOZETTA_OPENER_LOG\"" -v display="${DISPLAY#:}" -v bus="$work/bus" -v sound="$work/runtime/sound" \
    -v wanted="file://$build/Instrucciones.htm http://lozetta.example.org mailto:lozetta@example.org" '
function problem(what) { print "sealed: " what ": " $0; bad = 1 }
function reaches(path) { return index($0, "sun_path=\"" path "\"") }
BEGIN { split(wanted, address, " "); for (i in address) allowed[address[i]] = 1 }
/ execve(at)?\(/ && started++ {
    n = match($0, /\["[^"]*", "[^"]*"\]/) ? split(substr($0, RSTART + 2, RLENGTH - 4), argv, "\", \"") : 0
    if (n == 2 && argv[1] == opener && argv[2] in allowed) handed[argv[2]] = 1
    else problem("starts a program other than the opener with one address")
}
/ (open|openat|openat2|creat)\(/ && (/O_WRONLY|O_RDWR|O_CREAT|O_TRUNC|O_APPEND/ || / creat\(/) && !/\("\/dev\/|, "\/dev\// &&
    !index($0, record) { problem("opens a file to write") }
/ (truncate|mkdir|rename|link|symlink|unlink|rmdir|mknod)(at|at2)?\(/ { problem("changes the file system") }
/ socket\(/ && !/socket\(AF_UNIX,/ { problem("opens a network socket") }
/ bind\(/ { problem("binds a socket") }
/ connect\(/ && $0 !~ "sun_path=@?\"/tmp/.X11-unix/X" display "\"" && !reaches(bus) && !reaches(sound) &&
    !reaches("/run/dbus/system_bus_socket") && !reaches("/var/run/dbus/system_bus_socket") { problem("connects somewhere other than the display, the sound server or a bus") }
END {
    if (!started) { print "sealed: the match never ran"; bad = 1 }
    for (a in allowed) if (!(a in handed)) { print "sealed: the opener was never handed " a; bad = 1 }
    exit bad
}' "$work/trace"
echo "sealed: no file written, no network, only the opener with its three addresses"
