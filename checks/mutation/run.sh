#!/usr/bin/env bash
# Plants each fault of mutants.txt in turn, builds incrementally, runs the suite and says whether
# the suite caught it (killed) or not (survived); the file is put back after each.
#
#   checks/mutation/run.sh [BUILD_DIR] [NAME_FILTER]
#
# BUILD_DIR (default build-mutation) is configured when missing; NAME_FILTER keeps only the
# faults whose description holds it. The monkey and the soak are left out for time: what they
# alone catch is not counted; nor is the screen reader's match, for its length.
set -uo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build-mutation}
filter=${2:-}
# ccache, where there is one, makes the many rebuilds cheap.
[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER_LAUNCHER="$(command -v ccache)" >/dev/null
cmake --build "$build" >/dev/null || { echo "mutation: the unchanged tree does not build" >&2; exit 2; }

# The window-free and table tests first, built alone: most faults fall there, and the slower
# desktop tests then need neither linking nor running for them.
quick=(test_rules test_table test_windows)
only_quick="^($(IFS='|' && echo "${quick[*]}"))\$"
builds() { cmake --build "$build" "$@" >/dev/null 2>&1; }
# One locale is enough to catch a planted fault.
suite() { ctest --test-dir "$build" -j2 --timeout 120 -L "^C$" "$@" >/dev/null 2>&1; }
mapfile -t faults < <(sed -n 's/^@ //p' checks/mutation/mutants.txt)
killed=0 survived=0 total=0
for n in "${!faults[@]}"; do
    file=${faults[n]%%: *} what=${faults[n]#*: }
    [[ -z $filter || $what == *"$filter"* ]] || continue
    cp "$file" "$file.orig"
    if ! python3 checks/mutation/apply.py "$n" >/dev/null; then
        mv "$file.orig" "$file"
        echo "mutation: fault $((n + 1)) no longer applies" >&2
        exit 2
    fi
    total=$((total + 1))
    if ! builds --target "${quick[@]}"; then
        verdict="killed (does not build)"
    elif ! suite -R "$only_quick"; then
        verdict=killed
    elif ! builds; then
        verdict="killed (does not build)"
    elif suite -E "$only_quick|robustness|atspi"; then
        verdict=survived
    else
        verdict=killed
    fi
    mv "$file.orig" "$file"
    touch "$file"
    [ "$verdict" = survived ] && survived=$((survived + 1)) || killed=$((killed + 1))
    printf '%-10s %s: %s\n' "${verdict%% *}" "$file" "$what"
done
cmake --build "$build" >/dev/null
echo "mutation: $killed of $total killed ($((100 * killed / (total > 0 ? total : 1)))%), $survived survived"
