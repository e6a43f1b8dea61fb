#!/usr/bin/env bash
# Fails when a C++ source of ours is not formatted as .clang-format says.
# Generated code lives in build*/ and is never checked.
set -euo pipefail
cd "$(dirname "$0")/.."

files=$(git ls-files -- '*.cc' '*.h' | grep -E '^(src|sim|tools|tests|bench)/' || true)
[ -n "$files" ] || exit 0
if ! printf '%s\n' "$files" | xargs clang-format --dry-run -Werror; then
    echo "check-format: run clang-format -i on the files above" >&2
    exit 1
fi
