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
picture=$2
codeword=PLAYERWAV

for tool in paplay parecord; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed: skipped"; exit 77; }
done
. "$(dirname "$0")/../support/private_sound_server.sh"
start_private_sound_server 48000
pactl list short sinks | grep -q 48000Hz || { echo "FAIL: the sink does not run at 48000"; exit 1; }

"$cli" encode --player-wav --signature "$codeword" "$picture" "$work/clean.wav"
"$cli" decode "$work/clean.wav" "$work/clean.bmp" > /dev/null

parecord --device=capture --rate=48000 --format=s16le --channels=1 --file-format=wav "$work/recorded.wav" &
recorder=$!
sleep 1
paplay --device=null "$work/clean-player.wav"
sleep 1
kill -INT "$recorder"
wait "$recorder" || true

"$cli" decode --condition "$work/recorded.wav" "$work/recorded.bmp" | tee "$work/recorded.txt"

status=0
if cmp "$work/clean.bmp" "$work/recorded.bmp"; then
  echo "The player WAV, resampled by the sound server, decodes to the clean picture"
else
  echo "FAIL: the recorded picture differs from the clean decode"
  status=1
fi
if ! grep -q "^Signature: .*$codeword" "$work/recorded.txt"; then
  echo "FAIL: the signature \"$codeword\" does not read back from the recording"
  status=1
fi
exit $status
