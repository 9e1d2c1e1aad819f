#!/usr/bin/env bash
# Live reception through the real sound path: a private PulseAudio server with
# a null sink; three signed 160 x 120 transmissions, separated by 3 s of
# silence and 3 s of noise, are played into the sink while "tonobild-cli
# listen --count 3" listens to its monitor. The gallery must hold three
# pictures and three recordings; each picture equals, pixel for pixel, the
# decode of the clean stream, and the codewords are in the names and the index.
#
# Usage: listen_sound_test.sh TONOBILD-CLI PICTURE.bmp [RATE]
#   RATE: the sound server's sample rate (default: its own, 44100), e.g. 48000,
#   where the player holds each sent sample four or five times.
# Exit 77 (skipped) when PulseAudio is not installed.
set -euo pipefail

cli=$1
picture=$2
codewords=(KLM456 DL2ABC G4XYZ)
rate=11025

. "$(dirname "$0")/../support/private_sound_server.sh"
start_private_sound_server "${3:-}"

# Little-endian fields of a WAV header.
le16() { printf "$(printf '\\x%02x\\x%02x' $(($1 & 255)) $((($1 >> 8) & 255)))"; }
le32() { le16 $(($1 & 65535)); le16 $((($1 >> 16) & 65535)); }

# The three transmissions with their gaps, as one 8-bit mono stream at 11025.
samples=$work/samples.raw
: > "$samples"
for codeword in "${codewords[@]}"; do
  "$cli" encode --signature "$codeword" "$picture" "$work/$codeword.wav" > /dev/null
  "$cli" decode "$work/$codeword.wav" "$work/$codeword-clean.png" > /dev/null
  tail -c +45 "$work/$codeword.wav" >> "$samples"
  head -c $((3 * rate)) /dev/zero | tr '\0' '\200' >> "$samples" # silence: the middle level
  head -c $((3 * rate)) /dev/urandom >> "$samples"                 # noise over the whole range
done
bytes=$(stat -c %s "$samples")
{
  printf RIFF; le32 $((36 + bytes)); printf WAVEfmt\ ; le32 16; le16 1; le16 1; le32 $rate; le32 $rate
  le16 1; le16 8; printf data; le32 "$bytes"; cat "$samples"
} > "$work/three.wav"

gallery=$work/gallery
"$cli" listen --gallery "$gallery" --input capture --count 3 --seconds 240 > "$work/listen.log" 2>&1 &
listener=$!
wait_until_started "$work/listen.log" Listening
"$cli" play --output null "$work/three.wav"
wait "$listener" || { cat "$work/listen.log"; exit 1; }
cat "$work/listen.log"

counts="$(ls "$gallery"/*.png | wc -l) $(ls "$gallery"/*.wav | wc -l) $(wc -l < "$gallery/index.txt")" || true
[ "$counts" = "3 3 3" ] || fail "pictures, recordings and index lines in the gallery: $counts, not 3 3 3"
for codeword in "${codewords[@]}"; do
  kept=$(ls "$gallery"/*_"$codeword".png 2>/dev/null | head -n 1)
  [ -n "$kept" ] || { fail "no picture named with the codeword $codeword"; continue; }
  recorded_rate=$(od -An -tu4 -j24 -N4 "${kept%.png}.wav" | tr -d ' ')
  [ "$recorded_rate" = "${3:-44100}" ] || fail "the recording of $codeword is at $recorded_rate, not the server's rate"
  grep -q "Identification: $codeword" "$gallery/index.txt" || fail "the index lacks the read-out of $codeword"
  grep -q "^Received $kept: .*Identification: $codeword" "$work/listen.log" || fail "no line for $codeword"
  # The picture is compared as decoded pixels: both PNGs written by the same code from the same picture.
  "$cli" decode "${kept%.png}.wav" "$work/$codeword-again.png" > /dev/null
  cmp "$work/$codeword-clean.png" "$kept" || fail "the picture received as $codeword differs from the clean decode"
  cmp "$kept" "$work/$codeword-again.png" || fail "the picture $codeword is not the decode of its recording"
done
[ $status = 0 ] && echo "Three transmissions received as their clean decodes"
exit $status
