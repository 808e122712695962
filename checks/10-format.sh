#!/usr/bin/env bash
# Every C++ source follows the repository's clang-format style.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
echo "formatting: all files clean"
