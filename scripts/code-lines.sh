#!/bin/sh
# Counts the lines that carry code (neither blank nor only a comment) in the
# station's sources and in its tests, and the share of the tests.
#   src:   src/**/*.cpp, *.h
#   tests: tests/**/*.cpp, *.h, *.sh
set -eu
cd "$(dirname "$0")/.."

count() {
    # $1: comment mark of a whole-line comment ("//" or "#"); the files on stdin.
    xargs -r awk -v mark="$1" '
        /^[[:space:]]*$/ { next }
        {
            line = $0
            sub(/^[[:space:]]+/, "", line)
            if (index(line, mark) == 1) next
            if (mark == "#" && index(line, "#!") == 1) next
            n++
        }
        END { print n + 0 }'
}

src=$(find src -name '*.cpp' -o -name '*.h' | count //)
tests_cpp=$(find tests -name '*.cpp' -o -name '*.h' | count //)
tests_sh=$(find tests -name '*.sh' | count '#')
tests=$((tests_cpp + tests_sh))
echo "src   $src"
echo "tests $tests ($tests_cpp C++, $tests_sh shell)"
# Both readings of "the tests' share of the code": against the sources, and
# against all the lines, tests included.
awk -v t="$tests" -v s="$src" 'BEGIN { printf "tests / src %.1f%%, tests / (src + tests) %.1f%%\n", 100 * t / s, 100 * t / (s + t) }'
