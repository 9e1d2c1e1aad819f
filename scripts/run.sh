#!/usr/bin/env bash
# Builds the station and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default
cmake --build --preset default --target tonobild tonobild-cli tonobild-recorder tonobild_testcards
exec build/default/src/app/tonobild "$@"
