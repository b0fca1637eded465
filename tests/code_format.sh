#!/bin/sh
# The code as .clang-format has it: any file that formatting would change fails, by name.
set -eu
source=$1
command -v clang-format >/dev/null || { echo "SKIP: clang-format is missing (scripts/install-deps.sh test installs it)"; exit 77; }
files=$(git -C "$source" ls-files '*.cpp' '*.h' '*.c' 2>/dev/null) || { echo "SKIP: not a git checkout"; exit 77; }
cd "$source"
# shellcheck disable=SC2086
clang-format --dry-run --Werror $files
echo "every file is formatted"
