#!/usr/bin/env bash
# clang-tidy (checks chosen in .clang-tidy) and cppcheck over the product code, both from the
# main build's compile commands: both clean.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${LOZETTA_BUILD:-build}
[ -f "$build/compile_commands.json" ] || { echo "tidy: build first ($build)" >&2; exit 1; }
build=$(cd "$build" && pwd) # cppcheck matches its file filters only against a full path
dirs=(about options rules shell table)
git ls-files "${dirs[@]/%//*.cpp}" main.cpp | xargs -P "$(nproc)" -n 4 clang-tidy -p "$build" --quiet
filters=("${dirs[@]/#/--file-filter=$PWD/}")
cppcheck --project="$build/compile_commands.json" --library=qt --std=c++20 -j "$(nproc)" \
    --enable=warning,performance,portability --inline-suppr --suppress=missingIncludeSystem \
    --suppress-xml=checks/cppcheck-suppressions.xml "${filters[@]/%//*}" "--file-filter=$PWD/main.cpp" \
    --quiet --error-exitcode=1
echo "tidy: clang-tidy and cppcheck find nothing"
