#!/usr/bin/env bash
# The standard receiver through every path of the channel simulator: the
# tables of BENCHMARKS.md ("Standard modes through radio paths"), for each photo
# card, mode family and path, the VIS of every mode through noise, and each
# mode's per-pixel bound. Takes about a quarter of an hour on the project's machine.
# Usage: scripts/standard-channels.sh [BUILD] [--vis | --noise] [MODE...] (default build/default
# and a mode of every family; --vis: the VIS table alone; --noise: the clean
# and noise columns alone, in a minute).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/${1:-build/default}"
shift || true
cmake --build "$build" --target tonobild-channel-table >/dev/null
"$build/bench/channel/tonobild-channel-table" "$@"
