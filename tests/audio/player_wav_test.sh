#!/usr/bin/env bash
# The player WAV through an ordinary player: a private PulseAudio server whose
# sink runs at 48000 takes the 44100 player WAV from paplay and resamples it on
# its own; "tonobild-cli record" records the sink's monitor (resampled once more,
# to 44100), and "decode --condition" gives the clean transmission's picture
# with its signature. PulseAudio's default resampler ripples the holds by some
# ten levels each way, twice over: the picture comes back at about 43 dB PSNR,
# not bit for bit; the test asks for 40 dB.
#
# Usage: player_wav_test.sh TONOBILD-CLI PICTURE.bmp
# Exit 77 (skipped) when PulseAudio, paplay or ImageMagick is not installed.
set -euo pipefail

cli=$1
picture=$2
codeword=PLAYERWAV

for tool in paplay compare; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed: skipped"; exit 77; }
done
. "$(dirname "$0")/private_sound_server.sh"
work=$(mktemp -d)
cleanup() {
  stop_private_sound_server
  rm -rf "$work"
}
trap cleanup EXIT
start_private_sound_server "$work" 48000
pactl list short sinks | grep -q 48000Hz || { echo "FAIL: the sink does not run at 48000"; exit 1; }

"$cli" encode --player-wav --signature "$codeword" "$picture" "$work/clean.wav"
"$cli" decode "$work/clean.wav" "$work/clean.bmp" > /dev/null

"$cli" record "$work/recorded.wav" --seconds 32 --input capture > "$work/record.log" 2>&1 &
recorder=$!
for _ in $(seq 100); do
  grep -q '^Recording' "$work/record.log" && break
  sleep 0.1
done
sleep 0.5
paplay --device=null "$work/clean-player.wav"
wait "$recorder" || { cat "$work/record.log"; exit 1; }

"$cli" decode --condition "$work/recorded.wav" "$work/recorded.bmp" | tee "$work/recorded.txt"

status=0
psnr=$(compare -metric PSNR "$work/clean.bmp" "$work/recorded.bmp" null: 2>&1 || true)
if [ "$psnr" = inf ] || awk -v p="$psnr" 'BEGIN { exit !(p + 0 >= 40) }'; then
  echo "The player WAV, resampled by the sound server, decodes to the clean picture at $psnr dB"
else
  echo "FAIL: the recorded picture is at $psnr dB from the clean decode, below 40"
  status=1
fi
if ! grep -q "^Signature: .*$codeword" "$work/recorded.txt"; then
  echo "FAIL: the signature \"$codeword\" does not read back from the recording"
  status=1
fi
exit $status
