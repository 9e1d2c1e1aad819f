#!/usr/bin/env bash
# Runs the window's listening test against a private PulseAudio server.
# Usage: listen_window_test.sh TEST-PROGRAM
# Exit 77 (skipped) when PulseAudio is not installed.
set -euo pipefail
. "$(dirname "$0")/../support/private_sound_server.sh"
start_private_sound_server
"$1"
