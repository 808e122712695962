#!/usr/bin/env bash
# Builds the fuzzer of the options dialog's target reading with clang (libFuzzer, ASan, UBSan;
# the game itself is built with g++) and runs it against the kept corpus.
#   fuzz/run.sh short   the corpus and a short run from a fixed seed (what CI runs)
#   fuzz/run.sh long    ten million new inputs; those that reach new code join fuzz/corpus
set -euo pipefail
cd "$(dirname "$0")/.."
case "${1:-short}" in short | long) ;; *) echo "usage: $0 [short|long]" >&2 && exit 2 ;; esac
fuzzer=${LOZETTA_FUZZ_BUILD:-build-fuzz}/fuzz_targetreading
mkdir -p "$(dirname "$fuzzer")"
# shellcheck disable=SC2046 # pkg-config's flags are meant to split
clang++ -std=c++20 -g -O1 -Wall -Wextra -Wpedantic -Werror -fPIC -fsanitize=fuzzer,address,undefined \
    -fno-sanitize-recover=all -I. $(pkg-config --cflags Qt6Core) options/targetreading.cpp \
    fuzz/fuzz_targetreading.cpp $(pkg-config --libs Qt6Core) -o "$fuzzer"
found=$(mktemp -d)
trap 'rm -rf "$found"' EXIT
[ "${1:-short}" = long ] || { "$fuzzer" -runs=1000000 -seed=1 -max_len=256 "$found" fuzz/corpus; exit; }
"$fuzzer" -runs=10000000 -max_len=4096 "$found" fuzz/corpus
"$fuzzer" -merge=1 fuzz/corpus "$found"
