#!/usr/bin/env bash
# Builds the fuzzer of the options dialog's target reading with clang (libFuzzer with
# AddressSanitizer and UndefinedBehaviorSanitizer) and runs it against the kept corpus.
#
#   fuzz/run.sh short   the corpus and a short run from a fixed seed (what CI runs)
#   fuzz/run.sh long    ten million new inputs; those that reach new code join fuzz/corpus
set -euo pipefail
cd "$(dirname "$0")/.."

build=${LOZETTA_FUZZ_BUILD:-build-fuzz}
short_runs=1000000
long_runs=10000000
mkdir -p "$build"
# Only this target is built with clang; the game itself is built with g++.
# shellcheck disable=SC2046 # pkg-config's flags are meant to split
clang++ -std=c++20 -g -O1 -Wall -Wextra -Wpedantic -Werror -fPIC \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
    -I. $(pkg-config --cflags Qt6Core) \
    options/targetreading.cpp fuzz/fuzz_targetreading.cpp \
    $(pkg-config --libs Qt6Core) -o "$build/fuzz_targetreading"

found=$(mktemp -d)
trap 'rm -rf "$found"' EXIT
case "${1:-short}" in
short)
    "$build/fuzz_targetreading" -runs=$short_runs -seed=1 -max_len=256 "$found" fuzz/corpus
    ;;
long)
    "$build/fuzz_targetreading" -runs=$long_runs -max_len=4096 "$found" fuzz/corpus
    "$build/fuzz_targetreading" -merge=1 fuzz/corpus "$found"
    ;;
*)
    echo "usage: $0 [short|long]" >&2
    exit 2
    ;;
esac
