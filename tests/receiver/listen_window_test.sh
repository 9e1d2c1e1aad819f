#!/usr/bin/env bash
# Usage: listen_window_test.sh TEST-PROGRAM, run against a private PulseAudio server (77 without).
set -euo pipefail
. "$(dirname "$0")/../support/private_sound_server.sh"
start_private_sound_server
"$1"
