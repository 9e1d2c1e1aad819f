#!/usr/bin/env bash
# The real sound path: a private PulseAudio server with a null sink; an encoded
# 160 x 120 transmission is played into the sink with "tonobild-cli play" while
# "tonobild-cli record" records what the sink puts out; the recording decodes,
# with the decoder's default settings, to the same picture as the clean
# transmission, pixel for pixel, and its signature reads back.
#
# Usage: sound_path_test.sh TONOBILD-CLI PICTURE.bmp
# Exit 77 (skipped) when PulseAudio is not installed.
set -euo pipefail

cli=$1
. "$(dirname "$0")/../support/private_sound_server.sh"
start_private_sound_server

"$cli" encode --signature SOUNDPATH "$2" "$work/clean.wav"
"$cli" decode "$work/clean.wav" "$work/clean.bmp" | tee "$work/clean.txt"

# The transmission lasts about 26 seconds; the recording starts first and runs
# on past the end. Only the decoder aligns it (it waits for the leader).
"$cli" record "$work/recorded.wav" --seconds 32 --input capture > "$work/record.log" 2>&1 &
recorder=$!
wait_until_started "$work/record.log" Recording
"$cli" play --output null "$work/clean.wav"
wait "$recorder" || { cat "$work/record.log"; exit 1; }
cat "$work/record.log"

"$cli" decode "$work/recorded.wav" "$work/recorded.bmp" | tee "$work/recorded.txt"
expect_clean_decode SOUNDPATH
exit $status
