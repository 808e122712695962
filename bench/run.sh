#!/usr/bin/env bash
# Lozetta's benchmarks, each against a baseline measured in the same run, in turns: start-up,
# memory over a match, a tile laid, the wait for the player and the pacing of the moves. They run
# on a private X server (Xvfb, the xcb platform) and a private PulseAudio server with a null sink.
#
#   ./bench/run.sh [startup] [memory] [tile] [waiting] [pacing] [latency]    (all by default)
#
# LOZETTA_BENCH_ROUNDS sets the number of turns (25), LOZETTA_BENCH_BUILD the build directory
# (build-bench). Never part of the tests: timings depend on the machine and on what else it does.
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${LOZETTA_BENCH_ROUNDS:-25}
build=${LOZETTA_BENCH_BUILD:-build-bench}
parts=("$@")
[ ${#parts[@]} -gt 0 ] || parts=(startup memory tile waiting pacing latency)

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-svg-dev qt6-qpa-plugins libgl-dev fonts-liberation
    libxcb1-dev libxcb-damage0-dev xvfb xauth pulseaudio pulseaudio-utils libpulse-dev linux-perf
)
tools/install-packages.sh "${packages[@]}"

cmake -S bench -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build"
cd "$build"

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'echo "failed at line $LINENO; see below"; cat "$work/errors" 2>/dev/null | sort | uniq -c | tail -20' ERR

# A display of our own, so that nothing else draws or maps windows while we watch; far from the
# low numbers that desktops and other test runs take.
display=170
while [ -e /tmp/.X11-unix/X$display ] || [ -e /tmp/.X$display-lock ]; do
    display=$((display + 1))
done
Xvfb :$display -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do
    [ -e /tmp/.X11-unix/X$display ] && break
    sleep 0.1
done
DISPLAY=:$display
export DISPLAY QT_QPA_PLATFORM=xcb
mkdir -m 700 "$work/runtime" "$work/home"
export XDG_RUNTIME_DIR=$work/runtime

# A sound server of our own, with a null sink in place of the sound card.
cat >"$work/server.pa" <<EOF
load-module module-null-sink sink_name=bench_null
load-module module-native-protocol-unix auth-anonymous=1 socket=$work/native
set-default-sink bench_null
EOF
HOME=$work/home XDG_CONFIG_HOME=$work/home pulseaudio --daemonize=no --exit-idle-time=-1 \
    --use-pid-file=no --disallow-exit -n -F "$work/server.pa" --log-level=error 2>/dev/null &
pids+=($!)
export PULSE_SERVER=unix:$work/native
for _ in $(seq 100); do
    pactl info >/dev/null 2>&1 && break
    sleep 0.1
done

# median and 95th percentile (nearest rank) of the numbers on standard input
median() { sort -g | awk '{v[NR] = $1} END {print (NR ? v[int((NR + 1) / 2)] : "nan")}'; }
p95() { sort -g | awk '{v[NR] = $1} END {i = int(NR * 0.95); if (i < NR * 0.95) i++; print (NR ? v[i] : "nan")}'; }
field() { sed -n "s/.*$1=\([-0-9]*\).*/\1/p"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }
verdict() { awk -v v="$1" -v limit="$2" 'BEGIN {print (v <= limit ? "met" : "MISSED")}'; }
wants() { [[ " ${parts[*]} " == *" $1 "* ]]; }

results=$work/results
: >"$results"
say() { echo "$*" | tee -a "$results"; }

if wants startup || wants memory; then
    echo "== start-up and memory: $rounds turns of baseline, game, match of 20 hands"
    for _ in $(seq "$rounds"); do
        ./xwatch --wait ./baseline >>"$work/baseline" 2>>"$work/errors"
        if wants startup; then ./xwatch ./lozetta >>"$work/game" 2>>"$work/errors"; fi
        if wants memory; then ./xwatch --wait ./drive match 20 >>"$work/match" 2>>"$work/errors"; fi
    done
    base_map=$(field map_us <"$work/baseline" | median)
    base_pixels=$(field pixels_us <"$work/baseline" | median)
    base_cpu=$(field cpu_us <"$work/baseline" | median)
    base_rss=$(field maxrss_kib <"$work/baseline" | median)
fi
if wants startup; then
    game_map=$(field map_us <"$work/game" | median)
    game_pixels=$(field pixels_us <"$work/game" | median)
    game_cpu=$(field cpu_us <"$work/game" | median)
    say "start-up, exec to mapped: baseline $base_map us, game $game_map us:" \
        "$(ratio "$game_map" "$base_map") ($(verdict "$(ratio "$game_map" "$base_map")" 1.10))"
    say "start-up, exec to first pixels: baseline $base_pixels us, game $game_pixels us:" \
        "$(ratio "$game_pixels" "$base_map") of the baseline's mapped" \
        "($(verdict "$(ratio "$game_pixels" "$base_map")" 1.10)), $(ratio "$game_pixels" "$base_pixels") of its pixels"
    say "start-up, processor time until mapped: baseline $base_cpu us, game $game_cpu us:" \
        "$(ratio "$game_cpu" "$base_cpu")"
fi
if wants memory; then
    match_rss=$(field maxrss_kib <"$work/match" | median)
    extra=$(awk -v a="$match_rss" -v b="$base_rss" 'BEGIN {printf "%.1f", (a - b) / 1024}')
    say "memory, peak resident: baseline $base_rss KiB, 20-hand match $match_rss KiB:" \
        "+$extra MiB ($(verdict "$extra" 3))"
fi

if wants tile; then
    echo "== a tile laid: $rounds hands of 12 turns, with the Sound item off and on"
    for sound in quiet sound; do
        ./placetile "$rounds" "$sound" >"$work/tile-$sound" 2>/dev/null
        labels=$(awk '{print $2}' "$work/tile-$sound" | median)
        hidden=$(awk '{print $3}' "$work/tile-$sound" | median)
        player=$(awk '{print $4}' "$work/tile-$sound" | median)
        seat=$(awk '{print $5}' "$work/tile-$sound" | median)
        say "tile ($sound): three labels $labels ns, with a face-down tile hidden $hidden ns;" \
            "PlaceTile by the player $player ns: $(ratio "$player" "$labels")" \
            "($(verdict "$(ratio "$player" "$labels")" 1.25)); by a computer seat $seat ns:" \
            "$(ratio "$seat" "$labels") ($(verdict "$(ratio "$seat" "$labels")" 1.25))," \
            "$(ratio "$seat" "$hidden") of the labels with a tile hidden"
    done
fi

# Processor time of every thread of a process, in nanoseconds, from the scheduler's accounts.
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{s += $1} END {print s + 0}'; }
# System calls of a process and all its threads over the given seconds; which ones, by thread,
# are kept in the given file.
syscalls() {
    if timeout -s INT "$2" perf trace -s -p "$1" -o "$3" 2>/dev/null || [ -s "$3" ]; then
        # the calls column of each thread's table; a call already under way when the watch
        # began counts once it returns
        awk '$2 ~ /^[0-9]+$/ && $3 ~ /^[0-9]+$/ {n += $2} END {print n + 0}' "$3"
    else
        timeout -s INT "$2" strace -f -c -p "$1" -o "$3" 2>/dev/null || true
        awk '$NF == "total" {print $4}' "$3"
    fi
}

if wants waiting; then
    echo "== waiting: each state settles 2 s (the last tile's sound dies away), then 10 s watched"
    coproc DRIVE { exec ./drive waiting 2>/dev/null; }
    drive=$DRIVE_PID
    pids+=("$drive")
    # The coprocess's descriptors go when it ends; these stay.
    exec {from_drive}<&"${DRIVE[0]}" {to_drive}>&"${DRIVE[1]}"
    # Processor time and system calls of the game over 10 s, reported under the given name.
    watch() {
        local before after calls cpu ok=MISSED
        before=$(cpu_ns "$drive")
        calls=$(syscalls "$drive" 10 "waiting-${1// /-}.txt")
        calls=${calls:-0}
        after=$(cpu_ns "$drive")
        cpu=$(((after - before) / 1000))
        [ "$cpu" -eq 0 ] && [ "$calls" -eq 0 ] && ok=met
        say "waiting ($1): $cpu us of processor time, $calls system calls in 10 s ($ok)"
    }
    while read -r -t 120 word state <&"$from_drive"; do
        [ "$word" = ready ] || continue
        sleep 2
        watch "$state"
        if [ "$state" = ended ]; then
            # Watched again half a minute after the last tile: nothing of the sound may wake
            # later either.
            sleep 20
            watch "ended, 32 s on"
        fi
        echo go >&"$to_drive"
    done
fi

if wants pacing; then
    hands=$((rounds / 4 + 1))
    echo "== pacing: $hands hands at the game's pace"
    ./drive pacing "$hands" >"$work/pacing" 2>/dev/null
    for pace in 100 500; do
        # How far each delay is from the pace, either way.
        errors=$(awk -v p="$pace" '$1 == "pace" && $2 == p {e = $3 / 1000 - p; printf "%.3f\n", e < 0 ? -e : e}' "$work/pacing")
        n=$(echo "$errors" | grep -c . || true)
        m=$(echo "$errors" | median)
        q=$(echo "$errors" | p95)
        ok=$(awk -v m="$m" -v q="$q" 'BEGIN {print (m <= 2 && q <= 10 ? "met" : "MISSED")}')
        say "pacing ${pace} ms: $n delays, error median $m ms, 95th percentile $q ms ($ok)"
    done
fi

if wants latency; then
    hands=$((rounds / 4 + 1))
    echo "== latency: $hands hands at the game's pace, each tile's paint to its sound on the sink"
    coproc LISTEN { exec ./listen bench_null 2>/dev/null; }
    pids+=("$LISTEN_PID")
    exec {from_listen}<&"${LISTEN[0]}"
    read -r -t 20 word <&"$from_listen" && [ "$word" = ready ]
    cat <&"$from_listen" >"$work/sounds" &
    reader=$!
    ./drive pacing "$hands" >"$work/latency" 2>/dev/null
    sleep 1
    kill "$LISTEN_PID"
    wait "$reader"
    # Each tile is paired with the first sound that starts within 20 ms before its paint and
    # 90 ms after: the next tile comes 100 ms later at the earliest.
    awk '$1 == "sound" {s[n++] = $2} $1 == "tile" {t[m++] = $2}
        END {for (i = j = 0; i < m; i++) {
                 while (j < n && s[j] < t[i] - 20e6) j++
                 if (j < n && s[j] < t[i] + 90e6) printf "%.3f\n", (s[j++] - t[i]) / 1e6
             }}' "$work/sounds" "$work/latency" >"$work/latencies"
    tiles=$(grep -c '^tile' "$work/latency" || true)
    n=$(grep -c . "$work/latencies" || true)
    say "latency, paint to the sound's first samples: $n of $tiles tiles heard," \
        "median $(median <"$work/latencies") ms, 95th percentile $(p95 <"$work/latencies") ms"
fi

echo "== summary"
cat "$results"
cp "$results" results.txt
