#!/usr/bin/env bash
# The standard receiver's memory against the recording's length: a Martin 1
# and a PD 290 transmission behind 0, 5 and 30 minutes of noise, received by
# "tonobild-cli decode --standard"; prints the peak resident size of each.
# Usage: scripts/standard-memory.sh [BUILD] (default build/default).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cli="$root/${1:-build/default}/src/cli/tonobild-cli"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$root/${1:-build/default}/src/cli/tonobild-cli" testcards "$work/cards" >/dev/null
card="$work/cards/FACE320.BMP"
printf '| Mode | Noise before it | Recording | Peak resident size |\n|---|---|---|---|\n'
for mode in M1 PD290; do
    "$cli" encode --standard "$mode" "$card" "$work/$mode.wav" >/dev/null
    for minutes in 0 5 30; do
        recording="$work/$mode-$minutes.wav"
        if [ "$minutes" -eq 0 ]; then
            cp "$work/$mode.wav" "$recording"
        else
            sox -n -r 44100 -b 16 -c 1 "$work/noise.wav" synth $((minutes * 60)) whitenoise vol 0.05
            sox "$work/noise.wav" "$work/$mode.wav" "$recording"
        fi
        peak=$(/usr/bin/time -f '%M' "$cli" decode --standard "$recording" "$work/out.bmp" 2>&1 >/dev/null | tail -1)
        printf '| %s | %s min | %s MB | %s MB |\n' "$mode" "$minutes" \
            "$(( $(stat -c %s "$recording") / 1000000 ))" "$((peak / 1024))"
    done
done
