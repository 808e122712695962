#!/usr/bin/env bash
# Sealed: over a whole match, watched by strace, the program writes no file, makes nothing in
# the file system, opens no socket but local ones to the display, the sound server and the
# session and system buses, and starts no program but the desktop's opener, handed exactly the
# instructions page, "http://" and the about box's host, "mailto:" and its address, with no
# shell in between. It runs on a virtual X display with a sound server and a session bus of its
# own, as on a player's desktop; the opener is a stand-in that writes down what it is handed.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${LOZETTA_BUILD:-build}
case $build in /*) ;; *) build=$root/$build ;; esac

if [ "${1:-}" != --inside ]; then
    cmake --build "$build" --target sealed_match
    exec bash tests/desktop/on-virtual-desktop.sh bash "$0" --inside
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/lozetta-sealed.XXXXXX")
helpers=()
cleanup() {
    for pid in "${helpers[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

# A desktop session's own directories, bus and sound server.
mkdir -m 700 "$work/runtime" "$work/home"
export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime XDG_CONFIG_HOME=$work/home/.config
dbus-daemon --session --nofork --nopidfile --address="unix:path=$work/bus" 2>"$work/bus.log" &
helpers+=($!)
cat >"$work/sound.pa" <<EOF
load-module module-null-sink sink_name=lozetta_null
load-module module-native-protocol-unix auth-anonymous=1 socket=$work/runtime/sound
set-default-sink lozetta_null
EOF
pulseaudio --daemonize=no --exit-idle-time=-1 --use-pid-file=no -n -F "$work/sound.pa" \
    2>"$work/sound.log" &
helpers+=($!)
for _ in $(seq 200); do
    [ -S "$work/bus" ] && [ -S "$work/runtime/sound" ] && break
    sleep 0.05
done
[ -S "$work/bus" ] || { cat "$work/bus.log" >&2; echo "the session bus did not start" >&2; exit 1; }
[ -S "$work/runtime/sound" ] || { cat "$work/sound.log" >&2; echo "no sound server" >&2; exit 1; }
export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/bus PULSE_SERVER=unix:$work/runtime/sound

# The program's two files are found beside it, where it is started from.
cd "$build"
calls=execve,execveat,open,openat,openat2,creat,truncate,mkdir,mkdirat,rename,renameat,renameat2
calls+=,link,linkat,symlink,symlinkat,unlink,unlinkat,rmdir,mknod,mknodat
calls+=,socket,connect,bind,clone,clone3,fork,vfork
strace -f -qq -z -s 1024 -o "$work/trace" -e trace="$calls" ./sealed_match

opener=$(dirname "$(command -v xdg-open)")/xdg-open
page="file://$build/Instrucciones.htm"
awk -v opener="$opener" -v page="$page" -v display="${DISPLAY#:}" \
    -v bus="$work/bus" -v sound="$work/runtime/sound" '
function problem(what) { print "sealed: " what ": " $0; bad = 1 }
function fromOpener(pid) {
    while (pid in parent) {
        pid = parent[pid]
        if (pid in openers) return 1
    }
    return 0
}
# First reading: who started whom, and which processes became the opener. A child may show up
# before the line of the call that made it, and a call that another thread interrupted ends on
# a line of its own ("<... clone3 resumed>").
NR == FNR {
    if ($2 ~ /^(clone|clone3|fork|vfork)\(/ || ($2 == "<..." && $3 ~ /^(clone|clone3|fork|vfork)$/))
        parent[$NF] = $1
    if ($2 ~ /^execve\("/ && index($2, "execve(\"" opener "\"") == 1) openers[$1] = 1
    next
}
# The opener, once it runs, and whatever it starts, are not the program.
fromOpener($1) || ($1 in opened) { next }
$2 ~ /^(clone|clone3|fork|vfork)\(/ { next }
/ execve(at)?\(/ {
    if (!started) { started = 1; next }
    if (match($0, /\["[^"]*", "[^"]*"\]/)) {
        split(substr($0, RSTART + 2, RLENGTH - 4), argv, "\", \"")
        if (argv[1] == opener && (argv[2] == page || argv[2] == "http://lozetta.example.org" ||
                                  argv[2] == "mailto:lozetta@example.org")) {
            handed[argv[2]] = 1
            opened[$1] = 1
            next
        }
    }
    problem("starts a program other than the opener with one address")
    next
}
/ (open|openat|openat2|creat)\(/ {
    if ($0 ~ /O_WRONLY|O_RDWR|O_CREAT|O_TRUNC|O_APPEND/ || $2 ~ /^creat\(/) {
        if ($0 !~ /\("\/dev\/|, "\/dev\//) problem("opens a file to write")
    }
    next
}
/ (truncate|mkdir|mkdirat|rename|renameat|renameat2|link|linkat|symlink|symlinkat|unlink|unlinkat|rmdir|mknod|mknodat)\(/ {
    problem("changes the file system")
    next
}
/ socket\(/ { if ($0 !~ /socket\(AF_UNIX,/) problem("opens a network socket"); next }
/ bind\(/ { problem("binds a socket"); next }
/ connect\(/ {
    if ($0 ~ "sun_path=@?\"/tmp/.X11-unix/X" display "\"" || index($0, "sun_path=\"" bus "\"") ||
        index($0, "sun_path=\"" sound "\"") || $0 ~ /sun_path="(\/var)?\/run\/dbus\/system_bus_socket"/)
        next
    problem("connects somewhere other than the display, the sound server or a bus")
    next
}
END {
    if (!started) { print "sealed: the match never ran"; bad = 1 }
    n = split(page " http://lozetta.example.org mailto:lozetta@example.org", wanted, " ")
    for (i = 1; i <= n; ++i)
        if (!(wanted[i] in handed)) { print "sealed: the opener was never handed " wanted[i]; bad = 1 }
    exit bad
}' "$work/trace" "$work/trace"
echo "sealed: no file written, no network, only the opener with its three addresses"
