#!/usr/bin/env bash
# Mutation testing of the Qt-free core: changes one line of one source file at
# a time with a fixed list of operators, rebuilds the test programs without
# windows (the core's and the reference-vector comparisons) in their own build
# folder (build/mutate), runs them and lists the changes no test noticed
# (survivors).
#
#   scripts/mutate.sh [--limit N] [--timeout SECONDS] [--jobs N] [--build-dir DIR] [--list]
#                     [--sanitize] [--at FILE:LINE]... [FILES...]
#
# FILES default to the .cpp files that src/decoder, src/encoder, src/signature,
# src/picture and src/settings add to the Qt-free core (tonobild_core); headers
# may be named too.
# --limit N takes N mutants spread evenly over the whole list; --list only
# prints the mutants; --timeout bounds each test program's run (default 120 s).
# --at FILE:LINE takes only the mutants of that line (may be repeated; the
# files named so need not be named again). --sanitize builds with
# AddressSanitizer and UndefinedBehaviorSanitizer (in build/mutate-sanitize
# unless --build-dir says otherwise), so that a mutant which reads or writes
# past a buffer, or overflows, stops the tests instead of passing unseen.
# Every file is restored after each mutant, also when the script is interrupted.
# Needs what the default build needs (CMake, Ninja, Qt 6, GoogleTest): the build
# folder is configured like it, without the benchmarks. Not part of CI: a
# mutant costs a rebuild of one object, a relink and a test run.
#
# Operators: <= -> <, >= -> >, < -> <=, > -> >=, == <-> !=, && <-> ||,
# + 1 <-> - 1, true <-> false, and a decimal number n -> n + 1. Comments,
# preprocessor lines and string literals are left alone.
set -u

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
limit=0
timeout_seconds=120
jobs=2
build="$root/build/mutate"
list_only=0
sanitize=0
files=()
lines=() # FILE:LINE, from --at

usage() { sed -n '2,28p' "${BASH_SOURCE[0]}" | sed 's/^# \{0,1\}//'; }

while [ $# -gt 0 ]; do
    case "$1" in
    --limit) limit=${2:?--limit needs a number}; shift 2 ;;
    --timeout) timeout_seconds=${2:?--timeout needs seconds}; shift 2 ;;
    --jobs) jobs=${2:?--jobs needs a number}; shift 2 ;;
    --build-dir) build=${2:?--build-dir needs a folder}; build_named=1; shift 2 ;;
    --sanitize) sanitize=1; shift ;;
    --at)
        case "${2:-}" in
        *:[0-9]*) lines+=("$2") ;;
        *) echo "--at needs FILE:LINE" >&2; exit 2 ;;
        esac
        shift 2 ;;
    --list) list_only=1; shift ;;
    -h | --help) usage; exit 0 ;;
    --) shift; files+=("$@"); break ;;
    -*) echo "unknown option: $1" >&2; usage >&2; exit 2 ;;
    *) files+=("$1"); shift ;;
    esac
done
for number in "$limit" "$timeout_seconds" "$jobs"; do
    case "$number" in '' | *[!0-9]*) echo "not a number: $number" >&2; exit 2 ;; esac
done

[ "$sanitize" -eq 1 ] && [ -z "${build_named:-}" ] && build="$root/build/mutate-sanitize"
for at in "${lines[@]}"; do
    file=${at%:*}
    case " ${files[*]} " in *" $file "*) ;; *) files+=("$file") ;; esac
done

cd "$root" || exit 1
if [ ${#files[@]} -eq 0 ]; then
    # The Qt-free files: the .cpp files each folder adds to tonobild_core.
    for dir in src/decoder src/encoder src/signature src/picture src/settings; do
        while IFS= read -r name; do
            files+=("$dir/$name")
        done < <(awk '/target_sources\(tonobild_core/ { inside = 1 }
                      inside { for (i = 1; i <= NF; i++) if ($i ~ /\.cpp\)?$/) { sub(/\)$/, "", $i); print $i } }
                      inside && /\)/ { inside = 0 }' "$dir/CMakeLists.txt")
    done
fi
for file in "${files[@]}"; do
    [ -f "$file" ] || { echo "no such file: $file" >&2; exit 2; }
done

# One mutant per line of output: line number, column, length, replacement, operator.
list_mutants() {
    awk '
    function emit(col, len, rep, name) { printf "%d\t%d\t%d\t%s\t%s\n", NR, col, len, rep, name }
    {
        line = $0
        trimmed = line
        sub(/^[ \t]+/, "", trimmed)
        if (trimmed ~ /^(#|\/\/|\*|\/\*)/)
            next
        n = length(line)
        instring = 0
        for (i = 1; i <= n; i++) {
            c = substr(line, i, 1)
            if (instring) {
                if (c == "\\") i++
                else if (c == instring) instring = 0
                continue
            }
            if (c == "\"" || c == "\x27") { instring = c; continue }
            two = substr(line, i, 2)
            if (two == "//") break
            prev = i > 1 ? substr(line, i - 1, 1) : ""
            after = substr(line, i + 1, 1)
            spaced = prev == " " && substr(line, i + 2, 1) == " "
            if (two == "<=" && spaced) { emit(i, 2, "<", "<= to <"); i++; continue }
            if (two == ">=" && spaced) { emit(i, 2, ">", ">= to >"); i++; continue }
            if (two == "==") { emit(i, 2, "!=", "== to !="); i++; continue }
            if (two == "!=") { emit(i, 2, "==", "!= to =="); i++; continue }
            if (two == "&&") { emit(i, 2, "||", "&& to ||"); i++; continue }
            if (two == "||") { emit(i, 2, "&&", "|| to &&"); i++; continue }
            if (two == "<<" || two == ">>" || two == "->") { i++; continue }
            # comparisons stand between spaces; template brackets do not
            if (c == "<" && prev == " " && after == " ") { emit(i, 1, "<=", "< to <="); continue }
            if (c == ">" && prev == " " && after == " ") { emit(i, 1, ">=", "> to >="); continue }
            three = substr(line, i, 3)
            if ((three == "+ 1" || three == "- 1") && substr(line, i + 3, 1) !~ /[0-9.]/ && prev != "+" && prev != "-") {
                emit(i, 3, three == "+ 1" ? "- 1" : "+ 1", three " to " (three == "+ 1" ? "- 1" : "+ 1"))
                i += 2
                continue
            }
            if (prev !~ /[A-Za-z0-9_]/ && (substr(line, i, 4) == "true" || substr(line, i, 5) == "false")) {
                word = substr(line, i, 4) == "true" ? "true" : "false"
                if (substr(line, i + length(word), 1) !~ /[A-Za-z0-9_]/) {
                    emit(i, length(word), word == "true" ? "false" : "true", word " to " (word == "true" ? "false" : "true"))
                    i += length(word) - 1
                    continue
                }
            }
            if (c ~ /[0-9]/ && prev !~ /[A-Za-z0-9_.]/) {
                j = i
                while (j <= n && substr(line, j, 1) ~ /[0-9]/) j++
                digits = substr(line, i, j - i)
                follow = substr(line, j, 1)
                if (follow !~ /[.xXeEbB\x27]/ && length(digits) < 10)
                    emit(i, j - i, digits + 1, "number " digits " to " (digits + 1))
                i = j - 1
                continue
            }
            if (c ~ /[A-Za-z_]/) {
                while (i < n && substr(line, i + 1, 1) ~ /[A-Za-z0-9_]/) i++
            }
        }
    }' "$1"
}

# Writes the file with one replacement made.
apply_mutant() { # file line column length replacement output
    awk -v target="$2" -v col="$3" -v len="$4" -v rep="$5" \
        'NR == target { $0 = substr($0, 1, col - 1) rep substr($0, col + len) } { print }' "$1" >"$6"
}

mutants=() # file<TAB>line<TAB>col<TAB>len<TAB>replacement<TAB>operator
# With --at, a mutant is taken when its file and line were named.
wanted() { # file line
    [ ${#lines[@]} -eq 0 ] && return 0
    local at
    for at in "${lines[@]}"; do
        [ "$at" = "$1:$2" ] && return 0
    done
    return 1
}
for file in "${files[@]}"; do
    while IFS= read -r entry; do
        wanted "$file" "${entry%%$'\t'*}" && mutants+=("$file"$'\t'"$entry")
    done < <(list_mutants "$file")
done
total=${#mutants[@]}
selected=()
if [ "$limit" -gt 0 ] && [ "$limit" -lt "$total" ]; then
    for ((k = 0; k < limit; k++)); do
        selected+=("${mutants[$((k * total / limit))]}")
    done
else
    selected=("${mutants[@]}")
fi

describe() { # entry -> "file:line: operator: original line -> mutated line"
    local file line col len rep op
    IFS=$'\t' read -r file line col len rep op <<<"$1"
    local original
    original=$(sed -n "${line}p" "$file")
    printf '%s:%s:%s: %s: %s\n' "$file" "$line" "$col" "$op" "$(printf '%s' "$original" | sed 's/^[ \t]*//')"
}

if [ "$list_only" -eq 1 ]; then
    for entry in "${selected[@]}"; do describe "$entry"; done
    echo "${#selected[@]} of $total mutants"
    exit 0
fi

mkdir -p "$build"
log="$build/mutate.log"
backup_dir=$(mktemp -d)
current=""
restore() {
    if [ -n "$current" ] && [ -f "$backup_dir/original" ]; then
        cp "$backup_dir/original" "$current"
        current=""
    fi
}
finish() {
    restore
    rm -rf "$backup_dir"
}
trap finish EXIT
interrupted() {
    local file=$current
    restore
    echo "interrupted${file:+; $file restored}" >&2
    exit 130
}
trap interrupted INT TERM HUP

# The test programs without windows: those that link the core alone, and the
# comparisons with the reference vectors (which read their pictures through Qt);
# only they are built and run.
core_tests=(common_tests picture_tests encoder_tests decoder_tests signature_tests settings_tests digital_tests
    soundfile_tests frontend_tests detector_tests receiver_tests transmitter_tests app_logic_tests audio_tests recorder_tests
    encoder_vector_tests decoder_vector_tests signature_vector_tests digital_vector_tests)
build_tests() { cmake --build "$build" -j "$jobs" --target "${core_tests[@]}" >>"$log" 2>&1; }
run_tests() { # stops at the first failing program
    local name program
    for name in "${core_tests[@]}"; do
        program=$(find "$build/tests" -type f -name "$name" -perm -u+x | head -n 1)
        [ -n "$program" ] || { echo "test program $name not built" >>"$log"; return 1; }
        QT_QPA_PLATFORM=offscreen timeout "$timeout_seconds" "$program" --gtest_brief=1 >>"$log" 2>&1 || return 1
    done
}

echo "configuring $build" | tee "$log"
if [ "$sanitize" -eq 1 ]; then
    build_options=(-DCMAKE_BUILD_TYPE=Debug -DTONOBILD_SANITIZE=ON)
else
    build_options=(-DCMAKE_BUILD_TYPE=Release -DTONOBILD_SANITIZE=OFF)
fi
cmake -S "$root" -B "$build" -G Ninja "${build_options[@]}" \
    -DTONOBILD_BUILD_BENCHMARKS=OFF -DTONOBILD_BUILD_TESTS=ON >>"$log" 2>&1 || { echo "configure failed, see $log" >&2; exit 1; }
build_tests || { echo "the unchanged core does not build, see $log" >&2; exit 1; }
run_tests || { echo "the tests fail without any mutant, see $log" >&2; exit 1; }

killed=0
survived=0
unbuilt=0
survivors=()
index=0
for entry in "${selected[@]}"; do
    index=$((index + 1))
    IFS=$'\t' read -r file line col len rep op <<<"$entry"
    cp -p "$file" "$backup_dir/original"
    current="$file"
    apply_mutant "$backup_dir/original" "$line" "$col" "$len" "$rep" "$backup_dir/mutant"
    cp "$backup_dir/mutant" "$file"
    what=$(describe "$entry")
    echo "=== mutant $index: $what" >>"$log"
    if ! build_tests; then
        result="not built"
        unbuilt=$((unbuilt + 1))
    elif run_tests; then
        result="SURVIVED"
        survived=$((survived + 1))
        survivors+=("$what")
    else
        result="killed"
        killed=$((killed + 1))
    fi
    restore
    printf '[%d/%d] %-9s %s\n' "$index" "${#selected[@]}" "$result" "$what"
done
# Leave the build folder on the unchanged sources.
build_tests || true

echo
echo "mutants: ${#selected[@]} of $total; killed $killed, survived $survived, not built $unbuilt"
if [ "$survived" -gt 0 ]; then
    echo "survivors:"
    printf '  %s\n' "${survivors[@]}"
fi
printf '%s\n' "${survivors[@]}" >"$build/survivors.txt"
[ "$survived" -eq 0 ]
