#!/bin/sh
# Builds everything with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer in its own folder (build-sanitize, or the first
# argument) and runs every test but the real-window checks. Any report fails
# the run. The asset compilers run under the sanitizers too while the game's
# data is built.
set -e
cd "$(dirname "$0")/.."
folder=${1:-build-sanitize}
flags="-O1 -gline-tables-only -fno-omit-frame-pointer -fsanitize=address,undefined -fno-sanitize-recover=all"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$(pwd)/tools/sanitize-leaks.supp:print_suppressions=0"
launcher=""
if command -v ccache >/dev/null 2>&1; then
    launcher="-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
fi
# shellcheck disable=SC2086
CC=clang CXX=clang++ cmake -S . -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE=Sanitize \
    -DCMAKE_C_FLAGS_SANITIZE="$flags" -DCMAKE_CXX_FLAGS_SANITIZE="$flags" \
    -DCMAKE_EXE_LINKER_FLAGS_SANITIZE="-fsanitize=address,undefined" $launcher
cmake --build "$folder" -j2
ctest --test-dir "$folder" --output-on-failure -j2 -E '_window_check$'
