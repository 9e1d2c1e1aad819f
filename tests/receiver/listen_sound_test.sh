#!/usr/bin/env bash
# "tonobild-cli listen --count 3" on a private null sink's monitor while three signed
# transmissions among silence and noise play: three clean decodes named by their codewords.
# Usage: listen_sound_test.sh TONOBILD-CLI PICTURE.bmp [RATE of the sound server, 44100 if not given]
set -euo pipefail

cli=$1 picture=$2
codewords=(KLM456 DL2ABC G4XYZ)

. "$(dirname "$0")/../support/private_sound_server.sh"
start_private_sound_server "${3:-}"

# The three transmissions with their gaps of 3 s each, as one 8-bit mono stream at 11025.
for codeword in "${codewords[@]}"; do
  "$cli" encode --signature "$codeword" "$picture" "$work/$codeword.wav" > /dev/null
  "$cli" decode "$work/$codeword.wav" "$work/$codeword-clean.png" > /dev/null
  tail -c +45 "$work/$codeword.wav"
  head -c 33075 /dev/zero | tr '\0' '\200' # silence: the middle level
  head -c 33075 /dev/urandom                 # noise over the whole range
done > "$work/samples.raw"
# Behind the first one's header up to "data", a data size of 0: the samples up to the end.
{ head -c 40 "$work/${codewords[0]}.wav"; printf '\0\0\0\0'; cat "$work/samples.raw"; } > "$work/three.wav"

gallery=$work/gallery
"$cli" listen --gallery "$gallery" --input capture --count 3 --seconds 240 > "$work/listen.log" 2>&1 & listener=$!
wait_until_started "$work/listen.log" Listening
"$cli" play --output null "$work/three.wav"
wait "$listener" || { cat "$work/listen.log"; exit 1; }
cat "$work/listen.log"

# A picture for each, named by its codeword.
for codeword in "${codewords[@]}"; do
  kept=$(ls "$gallery"/*_"$codeword".png 2>/dev/null | head -n 1)
  [ -n "$kept" ] || { fail "no picture named with the codeword $codeword"; continue; }
  grep -q "^Received $kept: .*Identification: $codeword" "$work/listen.log" || fail "no line for $codeword"
  # Both PNGs come from the same code (the kept recording and index: Listener and Gallery tests).
  cmp "$work/$codeword-clean.png" "$kept" || fail "the picture received as $codeword differs from the clean decode"
done

# A gallery folder that turns into a file while listening takes no picture: that
# is said when it comes and again at the end, and listen fails. Heard at one rate only.
if [ -z "${3:-}" ]; then
  lost=$work/lost
  "$cli" listen --gallery "$lost" --input capture --count 1 --seconds 40 > "$work/lost.log" 2>&1 & listener=$!
  wait_until_started "$work/lost.log" Listening
  rm -r "$lost" && : > "$lost"
  "$cli" play --output null "$work/${codewords[0]}.wav"
  wait_for_line "$work/lost.log" "tonobild-cli: cannot create the gallery folder $lost: .*; listening goes on" 100 ||
    fail "the picture that could not be kept was not said"
  kill -INT "$listener"
  if wait "$listener"; then fail "listen exited 0 although the picture was not kept"; fi
  cat "$work/lost.log"
  [ "$(tail -n 1 "$work/lost.log")" = "tonobild-cli: 1 picture received could not be kept in $lost" ] ||
    fail "listen did not end by saying that a picture was lost"
fi
exit $status
