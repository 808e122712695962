#!/usr/bin/env bash
# clang-tidy, with the checks chosen in .clang-tidy, and cppcheck over the product code, both
# from the main build's compile commands: both clean.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${LOZETTA_BUILD:-build}
[ -f "$build/compile_commands.json" ] || { echo "tidy: build first ($build)" >&2; exit 1; }
# cppcheck matches its file filters only against a project given by its full path.
build=$(cd "$build" && pwd)

mapfile -t sources < <(git ls-files 'about/*.cpp' 'options/*.cpp' 'rules/*.cpp' 'shell/*.cpp' \
    'table/*.cpp' main.cpp)
printf '%s\n' "${sources[@]}" | xargs -P "$(nproc)" -n 4 clang-tidy -p "$build" --quiet

filters=()
for directory in about options rules shell table; do
    filters+=("--file-filter=$PWD/$directory/*")
done
cppcheck --project="$build/compile_commands.json" --library=qt --std=c++20 \
    --enable=warning,performance,portability --inline-suppr --suppress=missingIncludeSystem \
    --suppress-xml=checks/cppcheck-suppressions.xml "${filters[@]}" "--file-filter=$PWD/main.cpp" \
    -j "$(nproc)" --quiet --error-exitcode=1
echo "tidy: clang-tidy and cppcheck find nothing"
