#!/usr/bin/env bash
# Holds the tree to its shape:
#   - every include of a folder of src/ runs down the signal path: a file in one
#     stage includes only its own stage and the stages before it in
#     src/stages.txt, so that no two folders include each other;
#   - no function is longer than 60 lines, from its first line to its closing brace.
# Prints each fault and exits 1 when there is one. Needs universal-ctags.
set -euo pipefail
cd "$(dirname "$0")/.."

longest_function=60
faults=0

mapfile -t stages < <(grep -E '^[a-z]+$' src/stages.txt)
declare -A place
for i in "${!stages[@]}"; do place[${stages[$i]}]=$i; done

for folder in src/*/; do
    stage=$(basename "$folder")
    if [ -z "${place[$stage]+set}" ]; then
        echo "src/$stage/ is not a stage of src/stages.txt"
        faults=$((faults + 1))
    fi
done

# file:line:#include "stage/name.h"
while IFS=: read -r file line text; do
    stage=${file#src/}
    stage=${stage%%/*}
    included=$(sed -E 's/^#include "([a-z_]+)\/.*/\1/' <<<"$text")
    [ "$included" = "$stage" ] && continue
    if [ -z "${place[$included]+set}" ]; then
        echo "$file:$line: includes $included/, which is not a stage of src/stages.txt"
        faults=$((faults + 1))
    elif [ "${place[$included]}" -gt "${place[$stage]}" ]; then
        echo "$file:$line: $stage/ includes $included/, which comes after it on the signal path"
        faults=$((faults + 1))
    fi
done < <(grep -rnE '^#include "[a-z_]+/' src --include='*.h' --include='*.cpp')

command -v ctags >/dev/null || { echo "check-structure: universal-ctags is not installed" >&2; exit 2; }
while read -r length where name; do
    echo "$where: $name is $length lines long, more than $longest_function"
    faults=$((faults + 1))
done < <(ctags -x --_xformat="%F %n %{end} %{scope} %N" --kinds-C++=f -R src |
         awk -v most="$longest_function" '$3 != "" && $3 - $2 + 1 > most { print $3 - $2 + 1, $1 ":" $2, $4 "::" $5 }')

if [ "$faults" -gt 0 ]; then
    echo "check-structure: $faults fault(s)"
    exit 1
fi
echo "check-structure: every include runs down the signal path, no function is longer than $longest_function lines"
