#!/usr/bin/env bash
# The player WAV through ordinary programs: a private PulseAudio server whose
# sink runs at 48000 takes the 44100 player WAV from paplay and resamples it on
# its own; parecord records the sink's monitor at the sink's rate, and "decode
# --condition" gives the clean transmission's picture, pixel for pixel, with its
# signature.
#
# Usage: player_wav_test.sh TONOBILD-CLI PICTURE.bmp
# Exit 77 (skipped) when PulseAudio, paplay or parecord is not installed.
set -euo pipefail

cli=$1
. "$(dirname "$0")/../support/private_sound_server.sh"
require_programs paplay parecord
start_private_sound_server 48000
pactl list short sinks | grep -q 48000Hz || { echo "FAIL: the sink does not run at 48000"; exit 1; }

"$cli" encode --player-wav --signature PLAYERWAV "$2" "$work/clean.wav"
"$cli" decode "$work/clean.wav" "$work/clean.bmp" > /dev/null

parecord --device=capture --rate=48000 --format=s16le --channels=1 --file-format=wav "$work/recorded.wav" &
recorder=$!
sleep 1
paplay --device=null "$work/clean-player.wav"
sleep 1
kill -INT "$recorder"
wait "$recorder" || true

"$cli" decode --condition "$work/recorded.wav" "$work/recorded.bmp" | tee "$work/recorded.txt"
expect_clean_decode PLAYERWAV
exit $status
