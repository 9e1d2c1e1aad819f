#!/bin/sh
# Builds the libFuzzer targets with the "fuzz" preset and runs the decoder's,
# the picture files', the settings detector's, the receiving front end's and
# the standard modes' receiver's fuzz targets, each for a bounded time, under
# AddressSanitizer and UndefinedBehaviorSanitizer.
# Usage: scripts/run-fuzz.sh [SECONDS] (default 60, for each target).
set -eu
seconds="${1:-60}"
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target decoder_fuzz picture_file_fuzz settings_detector_fuzz front_end_fuzz \
  standard_receiver_fuzz
corpus="$root/build/fuzz/corpus/decoder"
mkdir -p "$corpus"
# A short clean stream start as a seed: the choice bytes, then pixel groups.
seed="$corpus/seed-groups"
if [ ! -f "$seed" ]; then
  printf '\017\000\040\040\000\000\000\000' >"$seed"
  i=0
  while [ $i -lt 200 ]; do
    printf '\240\137\340\037\220\157\340\037' >>"$seed"
    i=$((i + 1))
  done
fi
"$root/build/fuzz/fuzz/decoder_fuzz" -max_total_time="$seconds" -max_len=65536 -timeout=20 \
  -rss_limit_mb=2048 -print_final_stats=1 "$corpus"

# The reference pictures as seeds for the picture files.
pictures="$root/build/fuzz/corpus/pictures"
mkdir -p "$pictures"
cp "$root"/tests/data/*.bmp "$pictures"/
"$root/build/fuzz/fuzz/picture_file_fuzz" -max_total_time="$seconds" -max_len=262144 -timeout=20 \
  -rss_limit_mb=2048 -print_final_stats=1 "$pictures"

# Recordings: the decoder's seed (its choice bytes read as samples do no harm),
# and a WAV header at 44100 in front of held pixel groups.
recordings="$root/build/fuzz/corpus/recordings"
mkdir -p "$recordings"
cp "$seed" "$recordings"/
held="$recordings/seed-held-44100"
if [ ! -f "$held" ]; then
  printf 'RIFF\044\020\000\000WAVEfmt \020\000\000\000\001\000\001\000\104\254\000\000\104\254\000\000\001\000\010\000data\000\020\000\000' >"$held"
  i=0
  while [ $i -lt 128 ]; do
    printf '\240\240\240\240\137\137\137\137\340\340\340\340\037\037\037\037' >>"$held"
    i=$((i + 1))
  done
fi
for target in settings_detector_fuzz front_end_fuzz; do
  "$root/build/fuzz/fuzz/$target" -max_total_time="$seconds" -max_len=65536 -timeout=20 \
    -rss_limit_mb=2048 -print_final_stats=1 "$recordings"
done

# Standard-mode recordings: the other station's Robot 36 (its first seconds,
# header and lines) as a seed, and the WAV seed above.
standard="$root/build/fuzz/corpus/standard"
mkdir -p "$standard"
head -c 60000 "$root/tests/data/standard/R36-plasma.wav" >"$standard/seed-robot36-start.wav"
cp "$held" "$standard"/
"$root/build/fuzz/fuzz/standard_receiver_fuzz" -max_total_time="$seconds" -max_len=262144 -timeout=20 \
  -rss_limit_mb=2048 -print_final_stats=1 "$standard"
