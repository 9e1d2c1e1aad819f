#!/usr/bin/env bash
# The real sound path: a private PulseAudio server with a null sink; an encoded
# 160 x 120 transmission is played into the sink while what the sink puts out
# is recorded; the recording decodes to the same picture as the clean
# transmission, pixel for pixel, and its signature reads back.
#   - by default "tonobild-cli play" and "tonobild-cli record" at the server's
#     own rate, decoded with the decoder's default settings;
#   - with "player-wav", the 44100 player WAV through paplay into a sink at
#     48000, which resamples it on its own; parecord records the monitor at the
#     sink's rate and "decode --condition" undoes the rest.
#
# Usage: sound_path_test.sh TONOBILD-CLI PICTURE.bmp [player-wav]
# Exit 77 (skipped) when PulseAudio (or paplay or parecord) is not installed.
set -euo pipefail

cli=$1
. "$(dirname "$0")/../support/private_sound_server.sh"
if [ "${3:-}" = player-wav ]; then
  require_programs paplay parecord
  start_private_sound_server 48000
  pactl list short sinks | grep -q 48000Hz || { echo "FAIL: the sink does not run at 48000"; exit 1; }
  signature=PLAYERWAV
  "$cli" encode --player-wav --signature $signature "$2" "$work/clean.wav"
  parecord --device=capture --rate=48000 --format=s16le --channels=1 --file-format=wav "$work/recorded.wav" &
  recorder=$!
  sleep 1
  paplay --device=null "$work/clean-player.wav"
  sleep 1
  kill -INT "$recorder"
  wait "$recorder" || true
  condition=--condition
else
  start_private_sound_server
  signature=SOUNDPATH
  "$cli" encode --signature $signature "$2" "$work/clean.wav"
  # The transmission lasts about 26 seconds; the recording starts first and runs
  # on past the end. Only the decoder aligns it (it waits for the leader).
  "$cli" record "$work/recorded.wav" --seconds 32 --input capture > "$work/record.log" 2>&1 &
  recorder=$!
  wait_until_started "$work/record.log" Recording
  "$cli" play --output null "$work/clean.wav"
  wait "$recorder" || { cat "$work/record.log"; exit 1; }
  cat "$work/record.log"
  condition=
fi
"$cli" decode "$work/clean.wav" "$work/clean.bmp" > /dev/null
"$cli" decode $condition "$work/recorded.wav" "$work/recorded.bmp" | tee "$work/recorded.txt"
expect_clean_decode $signature
exit $status
