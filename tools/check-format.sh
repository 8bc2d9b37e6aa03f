#!/bin/sh
# Fails when a C++ source of the project does not follow the repository's
# .clang-format; run from anywhere. Prints each deviation.
set -e
cd "$(dirname "$0")/.."
find app engine media player game screens data tools tests bench \( -name '*.cpp' -o -name '*.h' \) -print0 |
    xargs -0 clang-format --dry-run --Werror
