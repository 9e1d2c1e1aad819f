#!/usr/bin/env bash
# Runs a test program inside a private PulseAudio server of its own (see
# private_sound_server.sh); exits 77, skipped, without PulseAudio.
# Usage: in_private_sound_server.sh PROGRAM [ARGUMENT...]
set -euo pipefail

. "$(dirname "$0")/private_sound_server.sh"
start_private_sound_server
"$@"
