#!/usr/bin/env bash
# The standard receiver through every path of the channel simulator: the
# tables of BENCHMARKS.md ("Standard modes through radio paths"), for each photo
# card, mode family and path, and each mode's per-pixel bound. Takes about ten
# minutes on the project's machine.
# Usage: scripts/standard-channels.sh [BUILD] [MODE...] (default build/default and a mode of every family).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/${1:-build/default}"
shift || true
cmake --build "$build" --target tonobild-channel-table >/dev/null
"$build/bench/channel/tonobild-channel-table" "$@"
