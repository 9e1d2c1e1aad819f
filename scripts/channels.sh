#!/usr/bin/env bash
# Sends test cards through the audio paths users really have and writes two
# tables into BENCHMARKS.md between the markers "channels:begin" and
# "channels:end":
#   - the station's cards SCENE160 and FACE320 through thirteen paths (made
#     with sox, opusenc and tonobild-channel), decoded without and with the
#     receiving front end (`tonobild-cli decode --condition`);
#   - four cards of their own kinds (ImageMagick's mostly light `logo:`, its
#     `rose:`, `logo:` negated, mostly dark, and the station's CHART160), sent
#     at normal speed and with "Slow", through what an ordinary player, a
#     voice channel, a mistuned receiver and the recordings users pass around
#     (MP3, OGG, FLAC, read directly) leave of them, decoded with
#     `decode --condition --detect`, which must name the settings itself.
# Each cell is the PSNR against the clean stream's decode and whether the
# signature came back.
#
#   scripts/channels.sh            (needs sox, opus-tools, imagemagick)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
for tool in sox opusenc opusdec compare convert; do
  command -v "$tool" >/dev/null || { echo "channels.sh: $tool is missing (apt install sox opus-tools imagemagick)" >&2; exit 1; }
done

. scripts/cli-workbench.sh
cmake --build --preset default --target tonobild-channel >/dev/null
channel=$root/build/default/bench/channel/tonobild-channel

# The peak-to-RMS of a file's samples, for noise at a given signal-to-noise ratio.
rms_of() { sox "$1" -n stat 2>&1 | awk '/RMS +amplitude/ {print $3}'; }

# voice PLAYER OUT BAND [SHIFT]: a voice channel of BAND Hz, with SHIFT the
# receiver mistuned between the sender's filter and its own.
voice() {
  if [ -z "${4:-}" ]; then
    sox "$1" -b 16 "$2" sinc "$3"
  else
    sox "$1" -b 16 "$work/sent.wav" sinc "$3"
    "$channel" "$work/sent.wav" "$work/mistuned.wav" --shift "$4"
    sox "$work/mistuned.wav" -b 16 "$2" sinc "$3"
  fi
}

# make_path NAME CLEAN_WAV PLAYER_WAV OUT: the recording of one path; prints
# the file to decode (OUT, or a recording of another kind beside it).
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
    "MP3 192 kbit/s, read directly") "$channel" "$player" "${out%.wav}.mp3" --kbps 192; out=${out%.wav}.mp3 ;;
    "MP3 128 kbit/s, read directly") "$channel" "$player" "${out%.wav}.mp3" --kbps 128; out=${out%.wav}.mp3 ;;
    "OGG Vorbis, read directly") "$channel" "$player" "${out%.wav}.ogg"; out=${out%.wav}.ogg ;;
    "FLAC, read directly") "$channel" "$player" "${out%.wav}.flac"; out=${out%.wav}.flac ;;
    "ordinary player (11025 resampled)") sox "$clean" -b 16 -r 44100 "$out" ;;
    "player to 44100, 8 bit") sox "$clean" -b 8 -r 44100 "$out" ;;
    "player to 44100, 16 bit") sox "$clean" -b 16 -r 44100 "$out" ;;
    "player to 48000, 8 bit") sox "$clean" -b 8 -r 48000 "$out" ;;
    "player to 48000, 16 bit") sox "$clean" -b 16 -r 48000 "$out" ;;
    "voice 300-3400 Hz") voice "$player" "$out" 300-3400 ;;
    "voice 300-3000 Hz") voice "$player" "$out" 300-3000 ;;
    "voice 300-2700 Hz") voice "$player" "$out" 300-2700 ;;
    "voice 50-8000 Hz") voice "$player" "$out" 50-8000 ;;
    "300-3000 Hz, receiver 50 Hz high") voice "$player" "$out" 300-3000 50 ;;
    "300-3000 Hz, receiver 50 Hz low") voice "$player" "$out" 300-3000 -50 ;;
    "300-2700 Hz, receiver 50 Hz high") voice "$player" "$out" 300-2700 50 ;;
    "300-2700 Hz, receiver 50 Hz low") voice "$player" "$out" 300-2700 -50 ;;
    "noise 30 dB" | "noise 20 dB")
      local snr=${name#noise } rms
      snr=${snr% dB}
      rms=$(rms_of "$player")
      # White noise of amplitude a has an RMS of a / sqrt(3).
      sox -R "$player" "$work/noise.wav" synth whitenoise vol "$(awk -v r="$rms" -v s="$snr" 'BEGIN {print r * sqrt(3) / 10 ^ (s / 20)}')"
      sox -m -v 1 "$player" -v 1 "$work/noise.wav" -b 16 "$out" ;;
    "gain 0.5") sox "$player" -b 16 "$out" vol 0.5 ;;
    "gain 1.5, clipped") sox "$player" -b 16 "$out" vol 1.5 2>/dev/null ;;
    "high-pass 20 Hz") sox "$player" -b 16 "$out" highpass 20 ;;
  esac
  echo "$out"
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

# send CARD SPEED: the clean stream of a card ($work/clean.wav), its decode
# ($work/reference.bmp) and what the station's player sends ($work/clean-player.wav).
send() {
  local speed=()
  [ "$2" = Slow ] && speed=(--slow)
  rm -f "$work"/clean*
  "$cli" encode "${speed[@]}" ${3:-} --player-wav --signature TB3CH "$1" "$work/clean.wav" >/dev/null
  "$cli" decode ${3:-} "$work/clean.RAW" "$work/reference.bmp" >/dev/null
}

paths=("48000 recording" "15 kHz low-pass" "DC offset 17" "DC offset 30" "clock 0.1% fast" "Opus 128 kbit/s"
       "MP3 192 kbit/s, read directly" "ordinary player (11025 resampled)" "noise 30 dB" "noise 20 dB" "gain 0.5"
       "gain 1.5, clipped" "high-pass 20 Hz")
table=$work/table.md
{
  echo "| Path | Resolution | PSNR without | Signature without | PSNR with front end | Signature with |"
  echo "|---|---|---|---|---|---|"
} > "$table"
for card in SCENE160 FACE320; do
  resolution=160x120
  [ "$card" = FACE320 ] && resolution=320x240
  send "$cards/$card.BMP" normal "--resolution $resolution"
  for name in "${paths[@]}"; do
    echo "== $card: $name" >&2
    rm -f "$work"/path.* "$work"/plain.* "$work"/conditioned.*
    recording=$(make_path "$name" "$work/clean.wav" "$work/clean-player.wav" "$work/path.wav")
    "$cli" decode --resolution "$resolution" "$recording" "$work/plain.bmp" > "$work/plain.txt" 2>&1 || true
    "$cli" decode --condition --resolution "$resolution" "$recording" "$work/conditioned.bmp" \
      > "$work/conditioned.txt" 2>&1 || true
    echo "| $name | $resolution | $(psnr "$work/reference.bmp" "$work/plain.bmp") | $(signature "$work/plain.txt") |" \
         "$(psnr "$work/reference.bmp" "$work/conditioned.bmp") | $(signature "$work/conditioned.txt") |" >> "$table"
  done
done

# The cards of the second table, 160 x 120.
convert logo: -resize '160x120!' -type TrueColor "BMP3:$work/logo.bmp"
convert rose: -resize '160x120!' -type TrueColor "BMP3:$work/rose.bmp"
convert logo: -negate -resize '160x120!' -type TrueColor "BMP3:$work/dark.bmp"
cp "$cards/CHART160.BMP" "$work/chart.bmp"
card_paths=("player to 44100, 8 bit" "player to 44100, 16 bit" "player to 48000, 8 bit" "player to 48000, 16 bit"
            "voice 300-3400 Hz" "voice 300-3000 Hz" "voice 300-2700 Hz" "voice 50-8000 Hz"
            "300-3000 Hz, receiver 50 Hz high" "300-3000 Hz, receiver 50 Hz low"
            "300-2700 Hz, receiver 50 Hz high" "300-2700 Hz, receiver 50 Hz low"
            "MP3 128 kbit/s, read directly" "OGG Vorbis, read directly" "FLAC, read directly")
declare -A cell
for card in logo rose dark chart; do
  for speed in normal Slow; do
    send "$work/$card.bmp" "$speed"
    for name in "${card_paths[@]}"; do
      echo "== $card, $speed: $name" >&2
      rm -f "$work"/path.* "$work"/conditioned.*
      recording=$(make_path "$name" "$work/clean.wav" "$work/clean-player.wav" "$work/path.wav")
      "$cli" decode --condition --detect "$recording" "$work/conditioned.bmp" > "$work/conditioned.txt" 2>&1 || true
      cell["$name/$speed/$card"]="$(psnr "$work/reference.bmp" "$work/conditioned.bmp") $(signature "$work/conditioned.txt")"
    done
  done
done
{
  echo
  echo "| Path | Speed | \`logo:\` (light) | \`rose:\` | \`logo:\` negated (dark) | CHART160 |"
  echo "|---|---|---|---|---|---|"
  for name in "${card_paths[@]}"; do
    for speed in normal Slow; do
      echo "| $name | $speed | ${cell["$name/$speed/logo"]} | ${cell["$name/$speed/rose"]} |" \
           "${cell["$name/$speed/dark"]} | ${cell["$name/$speed/chart"]} |"
    done
  done
} >> "$table"

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
