#!/bin/sh
# Prints how the test lines compare with the code lines: non-blank lines of
# C++ under tests/ (shared fixtures included) against non-blank lines of every
# other C++ file outside tests/ and bench/, per source folder and in total.
# The project keeps the total between 0.25 and 0.33; with --check the script
# fails when the total is outside that range.
#
#   tools/test-ratio.sh [--check] [repository root]
set -eu
check=0
if [ "${1:-}" = "--check" ]; then
    check=1
    shift
fi
cd "${1:-$(dirname "$0")/..}"

# Tracked and new (not ignored) files, so build trees never count.
files() {
    if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        git ls-files --cached --others --exclude-standard
    else
        find . -path './build*' -prune -o -type f -print | sed 's|^\./||'
    fi
}

report=$(files | grep -E '\.(cpp|cc|cxx|h|hpp|inl)$' | while IFS= read -r f; do
    [ -f "$f" ] || continue
    printf '%s %s\n' "$(grep -cv '^[[:space:]]*$' "$f" || true)" "$f"
done | awk '
    {
        n = $1; path = $0; sub(/^[0-9]+ /, "", path)
        split(path, part, "/")
        if (part[1] == "bench") next
        # engine/platform has a test folder and a test program of its own.
        if (part[1] == "tests") {
            folder = (part[3] == "" ? "(top)" : part[2] == "engine" && part[3] == "platform" && part[4] != "" ? "engine/platform" : part[2])
            test[folder] += n; tests += n
        } else {
            folder = (part[2] == "" ? "(top)" : part[1] == "engine" && part[2] == "platform" && part[3] != "" ? "engine/platform" : part[1])
            code[folder] += n; codes += n
        }
        seen[folder] = 1
    }
    END {
        printf "0 %-15s %8s %8s %7s\n", "folder", "tests", "code", "ratio"
        for (f in seen) {
            ratio = code[f] > 0 ? sprintf("%.3f", test[f] / code[f]) : "-"
            printf "1 %-15s %8d %8d %7s\n", f, test[f], code[f], ratio
        }
        printf "2 %-15s %8d %8d %7.3f\n", "total", tests, codes, (codes > 0 ? tests / codes : 0)
    }' | sort -k1,1n -k2,2 | cut -c3-)
printf '%s\n' "$report"

[ "$check" = 1 ] || exit 0
total=$(printf '%s\n' "$report" | awk '$1 == "total" { print $2, $3 }')
# Compared in whole lines, so the limits hold exactly: 4 * tests >= code and
# 100 * tests <= 33 * code.
printf '%s\n' "$total" | awk '{
    if ($2 == 0 || 4 * $1 < $2 || 100 * $1 > 33 * $2) {
        printf "test lines over code lines: %d / %d, outside 0.25 to 0.33\n", $1, $2
        exit 1
    }
}'

