#!/usr/bin/env bash
# The lenient reading of the options dialog's target, fuzzed with libFuzzer against a second
# reading: the kept corpus, then a short run from a fixed seed. The long run is
# `fuzz/run.sh long` (see the README).
set -euo pipefail
cd "$(dirname "$0")/.."
bash fuzz/run.sh short
echo "fuzz: the two readings agree"
