#!/usr/bin/env bash
# A transmission played into a private null sink and recorded from its monitor decodes
# to the clean picture with its signature: by "tonobild-cli play" and "record", or with
# "player-wav" the player WAV by paplay into a sink at 48000 and "decode --condition".
# Usage: sound_path_test.sh TONOBILD-CLI PICTURE.bmp [player-wav]; exit 77 without PulseAudio.
set -euo pipefail

cli=$1 signature=SOUNDPATH
. "$(dirname "$0")/../support/private_sound_server.sh"
if [ "${3:-}" = player-wav ]; then
  require_programs paplay parecord
  start_private_sound_server 48000
  pactl list short sinks | grep -q 48000Hz || { echo "FAIL: the sink does not run at 48000"; exit 1; }
  "$cli" encode --player-wav --signature $signature "$2" "$work/clean.wav"
  parecord --device=capture --rate=48000 --format=s16le --channels=1 --file-format=wav "$work/recorded.wav" & recorder=$!
  sleep 1
  paplay --device=null "$work/clean-player.wav"
  sleep 1
  kill -INT "$recorder"
  wait "$recorder" || true
else
  start_private_sound_server
  # A header whose rate reads 1 sample per second would repeat each of its 100000 samples
  # 48000 times: refused with the reason before the device is given anything.
  { printf 'RIFF\xc4\x86\x01\x00WAVEfmt \x10\0\0\0\x01\0\x01\0\x01\0\0\0\x01\0\0\0\x01\0\x08\0'
    printf 'data\xa0\x86\x01\x00'; head -c 100000 /dev/zero | tr '\0' '\200'; } > "$work/rate1.wav"
  if "$cli" play --output null "$work/rate1.wav" 2> "$work/rate1.log"; then fail "a rate of 1 was played"; fi
  grep -q "header may be damaged" "$work/rate1.log" || fail "a rate of 1: $(cat "$work/rate1.log")"
  "$cli" encode --signature $signature "$2" "$work/clean.wav"
  # About 26 seconds of transmission inside 32 of recording; the decoder waits for the leader.
  "$cli" record "$work/recorded.wav" --seconds 32 --input capture > "$work/record.log" 2>&1 & recorder=$!
  wait_until_started "$work/record.log" Recording
  "$cli" play --output null "$work/clean.wav"
  wait "$recorder" || { cat "$work/record.log"; exit 1; }
  cat "$work/record.log"
fi
"$cli" decode "$work/clean.wav" "$work/clean.bmp" > /dev/null
# The player WAV's recording at 48000 is decoded as a sound card's.
"$cli" decode ${3:+--condition} "$work/recorded.wav" "$work/recorded.bmp" | tee "$work/recorded.txt"
expect_clean_decode $signature
exit $status
