#!/usr/bin/env bash
# The options dialog's lenient reading of the target, fuzzed with libFuzzer (built with clang,
# with ASan and UBSan; the game itself is built with g++) against a second reading.
#   checks/35-fuzz.sh [short]  the kept corpus and 300,000 inputs from a fixed seed (CI)
#   checks/35-fuzz.sh long     ten million new inputs; those that reach new code join fuzz/corpus
set -euo pipefail
cd "$(dirname "$0")/.."
case "${1:-short}" in short | long) ;; *) echo "usage: $0 [short|long]" >&2 && exit 2 ;; esac
fuzzer=build-fuzz/fuzz_targetreading
mkdir -p build-fuzz
# shellcheck disable=SC2046 # pkg-config's flags are meant to split
clang++ -std=c++20 -g -O1 -Wall -Wextra -Wpedantic -Werror -fPIC -fsanitize=fuzzer,address,undefined \
    -fno-sanitize-recover=all -I. $(pkg-config --cflags Qt6Core) options/targetreading.cpp \
    fuzz/fuzz_targetreading.cpp $(pkg-config --libs Qt6Core) -o "$fuzzer"
found=$(mktemp -d)
trap 'rm -rf "$found"' EXIT
if [ "${1:-short}" = short ]; then
    "$fuzzer" -runs=300000 -seed=1 -max_len=256 "$found" fuzz/corpus
else
    "$fuzzer" -runs=10000000 -max_len=4096 "$found" fuzz/corpus
    "$fuzzer" -merge=1 fuzz/corpus "$found"
fi
echo "fuzz: the two readings agree"
