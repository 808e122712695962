#!/usr/bin/env bash
# Sets up a Debian 12 machine for Lozetta and builds it, then plays the game (play) or runs the
# whole test suite headless (test).
set -euo pipefail
cd "$(dirname "$0")"

packages=(
    cmake ninja-build g++ pkg-config clang-format git
    qt6-base-dev qt6-svg-dev qt6-qpa-plugins libgl-dev libxcb1-dev
    fonts-liberation
    xvfb xauth pulseaudio pulseaudio-utils pipewire pipewire-pulse wireplumber
    desktop-file-utils appstream dpkg-dev fakeroot file lintian locales
    qt6-base-private-dev clang libclang-rt-14-dev clang-tidy cppcheck strace dbus-daemon
    openbox weston qt6-wayland
    at-spi2-core gir1.2-atspi-2.0 python3-gi
)
tools/install-packages.sh "${packages[@]}"
# The players' own locale, where the decimal mark is a comma: the suite runs in it too.
tools/install-locale.sh es_ES.UTF-8

# Installed under /usr, as the Debian package is made from this same build (checks/20-package.sh).
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLOZETTA_WERROR=ON \
    -DCMAKE_INSTALL_PREFIX=/usr
cmake --build build

case "${1:-play}" in
play)
    # The tile sound is looked up in the current directory, beside the program.
    cd build && exec ./lozetta
    ;;
test)
    # clang-tidy, the longest check, needs only the build: it runs meanwhile, at the lowest
    # priority, on the processor time the suite leaves while it waits on servers and timers.
    tidy=checks/40-tidy.sh
    # In a process group of its own, so that a failing suite takes all of it down on the way out.
    setsid nice -n 19 bash "$tidy" >build/tidy.log 2>&1 &
    tidy_job=$!
    trap 'kill -- "-$tidy_job" 2>/dev/null || true' EXIT
    # The suite in both locales at once, four tests at a time: most of them wait more than compute.
    ctest --test-dir build --output-on-failure -j4
    # Checks beyond the unit tests (formatting, packaging, sanitizers, ...), each its own script.
    for check in checks/*.sh; do
        echo "== $check (${SECONDS} s in)"
        if [ "$check" = "$tidy" ]; then
            wait "$tidy_job" || { cat build/tidy.log && exit 1; }
            cat build/tidy.log
        else
            bash "$check"
        fi
    done
    echo "== all passed in ${SECONDS} s"
    ;;
*)
    echo "usage: $0 [play|test]" >&2
    exit 2
    ;;
esac
