#!/usr/bin/env bash
# Sends two test cards through the audio paths users really have (made with
# sox, opusenc and lame's sox format), decodes each recording without and with
# the receiving front end (`tonobild-cli decode --condition`), and writes the
# table of PSNR against the clean decode and the signature read-out into
# BENCHMARKS.md between the markers "channels:begin" and "channels:end".
#
#   scripts/channels.sh            (needs sox, libsox-fmt-mp3, opus-tools, imagemagick)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
for tool in sox opusenc opusdec compare; do
  command -v "$tool" >/dev/null || { echo "channels.sh: $tool is missing (apt install sox libsox-fmt-mp3 opus-tools imagemagick)" >&2; exit 1; }
done
sox -h | grep -q ' mp3 ' || { echo "channels.sh: sox cannot write MP3 (apt install libsox-fmt-mp3)" >&2; exit 1; }

. scripts/cli-workbench.sh

# The peak-to-RMS of a file's samples, for noise at a given signal-to-noise ratio.
rms_of() { sox "$1" -n stat 2>&1 | awk '/RMS +amplitude/ {print $3}'; }

# make_path NAME CLEAN_WAV PLAYER_WAV OUT: the recording of one path.
make_path() {
  local name=$1 clean=$2 player=$3 out=$4
  case $name in
    "48000 recording") sox "$player" -b 16 "$out" rate 48000 ;;
    "15 kHz low-pass") sox "$player" -b 16 "$out" sinc -15000 ;;
    "DC offset 17") sox -D "$player" -b 8 "$out" dcshift 0.1328125 ;;
    "DC offset 30") sox -D "$player" -b 8 "$out" dcshift 0.234375 ;;
    "clock 0.1% fast") sox "$player" -b 16 "$out" speed 1.001 ;;
    "Opus 128 kbit/s")
      opusenc --quiet --bitrate 128 "$player" "$work/path.opus"
      opusdec --quiet --rate 48000 "$work/path.opus" "$out" ;;
    "MP3 192 kbit/s")
      sox "$player" -C 192 "$work/path.mp3"
      sox "$work/path.mp3" -b 16 "$out" ;;
    "ordinary player (11025 resampled)") sox "$clean" -b 16 -r 44100 "$out" ;;
    "noise 30 dB" | "noise 20 dB")
      local snr=${name#noise } rms
      snr=${snr% dB}
      rms=$(rms_of "$player")
      # White noise of amplitude a has an RMS of a / sqrt(3).
      sox "$player" "$work/noise.wav" synth whitenoise vol "$(awk -v r="$rms" -v s="$snr" 'BEGIN {print r * sqrt(3) / 10 ^ (s / 20)}')"
      sox -m -v 1 "$player" -v 1 "$work/noise.wav" -b 16 "$out" ;;
    "gain 0.5") sox "$player" -b 16 "$out" vol 0.5 ;;
    "gain 1.5, clipped") sox "$player" -b 16 "$out" vol 1.5 2>/dev/null ;;
    "high-pass 20 Hz") sox "$player" -b 16 "$out" highpass 20 ;;
  esac
}

# psnr REFERENCE PICTURE: PSNR in dB, "exact" for identical pictures, "-" when there is none.
psnr() {
  [ -f "$2" ] || { echo "-"; return; }
  local value
  value=$(compare -metric PSNR "$1" "$2" null: 2>&1 || true)
  [ "$value" = "inf" ] && value=exact
  printf '%s' "${value%% *}" | awk '{ if ($1 == "exact") print "exact"; else printf "%.1f\n", $1 }'
}

# signature DECODE_OUTPUT: "read" when the codeword came back, else "lost".
signature() { grep -q "Identification: TB3CH" "$1" && echo read || echo lost; }

paths=("48000 recording" "15 kHz low-pass" "DC offset 17" "DC offset 30" "clock 0.1% fast" "Opus 128 kbit/s"
       "MP3 192 kbit/s" "ordinary player (11025 resampled)" "noise 30 dB" "noise 20 dB" "gain 0.5"
       "gain 1.5, clipped" "high-pass 20 Hz")
table=$work/table.md
{
  echo "| Path | Resolution | PSNR without | Signature without | PSNR with front end | Signature with |"
  echo "|---|---|---|---|---|---|"
} > "$table"
for card in SCENE160 FACE320; do
  resolution=160x120
  [ "$card" = FACE320 ] && resolution=320x240
  "$cli" encode --resolution "$resolution" --signature TB3CH "$cards/$card.BMP" "$work/clean.wav" >/dev/null
  "$cli" decode --resolution "$resolution" "$work/clean.RAW" "$work/reference.bmp" >/dev/null
  # What the station's own player sends: every sample held four times at 44100.
  sox -D "$work/clean.wav" -b 8 -r 44100 "$work/player.wav" upsample 4 fir 1 1 1 1
  for name in "${paths[@]}"; do
    echo "== $card: $name" >&2
    rm -f "$work/path.wav" "$work"/plain.* "$work"/conditioned.*
    make_path "$name" "$work/clean.wav" "$work/player.wav" "$work/path.wav"
    "$cli" decode --resolution "$resolution" "$work/path.wav" "$work/plain.bmp" > "$work/plain.txt" 2>&1 || true
    "$cli" decode --condition --resolution "$resolution" "$work/path.wav" "$work/conditioned.bmp" \
      > "$work/conditioned.txt" 2>&1 || true
    echo "| $name | $resolution | $(psnr "$work/reference.bmp" "$work/plain.bmp") | $(signature "$work/plain.txt") |" \
         "$(psnr "$work/reference.bmp" "$work/conditioned.bmp") | $(signature "$work/conditioned.txt") |" >> "$table"
  done
done

cat "$table"
awk -v table="$table" '
  /<!-- channels:begin -->/ { print; while ((getline line < table) > 0) print line; skipping = 1; next }
  /<!-- channels:end -->/ { skipping = 0 }
  !skipping { print }
' BENCHMARKS.md > "$work/BENCHMARKS.md"
grep -q '<!-- channels:begin -->' BENCHMARKS.md || {
  printf '\n## Audio paths and the receiving front end\n\n<!-- channels:begin -->\n' >> "$work/BENCHMARKS.md"
  cat "$table" >> "$work/BENCHMARKS.md"
  printf '<!-- channels:end -->\n' >> "$work/BENCHMARKS.md"
}
cp "$work/BENCHMARKS.md" BENCHMARKS.md
