#!/usr/bin/env bash
# Sets up a Debian 12 machine for Lozetta and builds it, then plays the game (play) or runs the
# whole test suite headless (test).
set -euo pipefail
cd "$(dirname "$0")"

packages=(
    cmake ninja-build g++ pkg-config clang-format git
    qt6-base-dev qt6-svg-dev libpulse-dev qt6-qpa-plugins libgl-dev libxcb1-dev
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
    # Two at a time: most tests wait on a server or a timer more than they compute.
    QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j2
    echo "== the suite again in es_ES.UTF-8 (${SECONDS} s in)"
    LANG=es_ES.UTF-8 LC_ALL=es_ES.UTF-8 QT_QPA_PLATFORM=offscreen \
        ctest --test-dir build --output-on-failure -j2
    # Checks beyond the unit tests (formatting, packaging, sanitizers, ...), each its own script.
    for check in checks/*.sh; do
        [ -e "$check" ] || continue
        echo "== $check (${SECONDS} s in)"
        bash "$check"
    done
    echo "== all passed in ${SECONDS} s"
    ;;
*)
    echo "usage: $0 [play|test]" >&2
    exit 2
    ;;
esac
