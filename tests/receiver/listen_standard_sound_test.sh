#!/usr/bin/env bash
# "tonobild-cli listen --count 3" on a private null sink's monitor while Robot 36, Martin 2 and
# Scottie 2, each with an FSK identification, play among 3 s of silence and 3 s of noise: three
# pictures of at least 35 dB against the pictures as sent, their modes in the index, their callsigns
# in the names. At the server's default rate, one more run: the input device goes away in a
# transmission and comes back, and a Robot 36 joined 5 s in, after its header, is found by its lines.
# Usage: listen_standard_sound_test.sh TONOBILD-CLI PICTURE [RATE of the sound server, its default if not given]
# (PICTURE: any picture ImageMagick reads, "rose:" among them.)
set -euo pipefail

cli=$1 picture=$2 rate=${3:-44100}
modes=(R36 M2 S2) names=("Robot 36" "Martin 2" "Scottie 2") sizes=(320x240 320x256 320x256)
callsigns=(DL1ABC G4XYZ F5KLM)

. "$(dirname "$0")/../support/private_sound_server.sh"
require_programs sox compare convert
start_private_sound_server "${3:-}"

# PSNR of a received picture against the one sent, in dB ("inf" when equal).
psnr() { compare -metric PSNR "$1" "$2" null: 2>&1 >/dev/null | awk '{ print $1 }' || true; }

# Each picture at its mode's size, so that it is sent as it is; the three
# transmissions at the server's rate with their gaps, as one WAV.
parts=()
sox -n -r "$rate" -b 16 -c 1 "$work/silence.wav" trim 0 3
sox -n -r "$rate" -b 16 -c 1 "$work/noise.wav" synth 3 whitenoise vol 0.3
for i in 0 1 2; do
  convert "$picture" -resize "${sizes[i]}!" "$work/sent-$i.png"
  "$cli" encode --standard "${modes[i]}" --rate "$rate" --fsk-id "${callsigns[i]}" "$work/sent-$i.png" \
    "$work/sent-$i.wav" > /dev/null
  parts+=("$work/sent-$i.wav" "$work/silence.wav" "$work/noise.wav")
done
sox "${parts[@]}" "$work/three.wav"

gallery=$work/gallery
"$cli" listen --gallery "$gallery" --input capture --count 3 --seconds 280 > "$work/listen.log" 2>&1 & listener=$!
wait_until_started "$work/listen.log" Listening
"$cli" play --output null "$work/three.wav" > /dev/null
wait "$listener" || { cat "$work/listen.log"; exit 1; }
cat "$work/listen.log"

for i in 0 1 2; do
  kept=$(ls "$gallery"/*_"${callsigns[i]}".png 2>/dev/null | head -n 1)
  [ -n "$kept" ] || { fail "no picture named with the callsign ${callsigns[i]}"; continue; }
  grep -q "^Received $kept: ${names[i]}, VIS, .*FSK ID ${callsigns[i]}" "$work/listen.log" ||
    fail "no line for ${names[i]} from ${callsigns[i]}"
  grep -q "	$(basename "$kept")	.*	--standard	${names[i]}, " "$gallery/index.txt" ||
    fail "the index does not name ${names[i]} for $(basename "$kept")"
  db=$(psnr "$work/sent-$i.png" "$kept")
  echo "${names[i]}: $db dB"
  awk -v db="$db" 'BEGIN { exit !(db == "inf" || db >= 35) }' || fail "${names[i]} came out at $db dB, below 35"
done

# The kept recording: "decode --standard" gives the picture kept; decoded again by hand in its
# mode, with the clock and tuning set, it comes out as well (the mode forced agrees with the
# header, so the report says VIS).
kept=$(ls "$gallery"/*_"${callsigns[0]}".png 2>/dev/null | head -n 1)
if [ -n "$kept" ]; then
  "$cli" decode --standard "${kept%.png}.wav" "$work/again.png" > /dev/null || fail "decode --standard of the kept recording"
  [ "$(psnr "$kept" "$work/again.png")" = inf ] || fail "the kept recording decodes to another picture than the one kept"
  "$cli" decode --standard --standard-mode R36 --ppm 0 --offset 0 "${kept%.png}.wav" "$work/by-hand.png" |
    grep -q "^Robot 36, VIS, +0 ppm, +0 Hz" || fail "decode --standard by hand in the header's mode does not report it"
  db=$(psnr "$work/sent-0.png" "$work/by-hand.png")
  awk -v db="$db" 'BEGIN { exit !(db == "inf" || db >= 35) }' || fail "decoded again by hand: $db dB, below 35"
fi

# At the default rate only: the device goes away 15 s into a Robot 36 and comes back; then a
# Robot 36 joined 5 s in is found by its lines. What arrived of the first is kept.
if [ -z "${3:-}" ]; then
  sox "$work/sent-0.wav" "$work/late.wav" trim 5
  gallery=$work/away
  "$cli" listen --gallery "$gallery" --input capture --count 2 --seconds 150 > "$work/away.log" 2>&1 & listener=$!
  wait_until_started "$work/away.log" Listening
  "$cli" play --output null "$work/sent-0.wav" > /dev/null & player=$!
  sleep 15
  capture=$(pactl list short modules | awk '/module-remap-source/ { print $1 }')
  pactl unload-module "$capture"
  wait "$player"
  wait_for_line "$work/away.log" "tonobild-cli: The input device .* is gone" 50 || fail "the device's going was not said"
  pactl load-module module-remap-source master=null.monitor source_name=capture > /dev/null
  wait_for_line "$work/away.log" "tonobild-cli: the input device is back" 50 || fail "listening did not resume"
  "$cli" play --output null "$work/late.wav" > /dev/null
  wait "$listener" || fail "listen failed after the device came back"
  cat "$work/away.log"
  [ "$(grep -c "is gone" "$work/away.log")" = 1 ] || fail "the device's going was not said once"
  [ "$(grep -c "^Received $gallery/" "$work/away.log")" = 2 ] || fail "not both pictures were kept"
  grep -q "^Received $gallery/.*: Robot 36, lines, " "$work/away.log" || fail "the late Robot 36 was not found by its lines"
fi
exit $status
