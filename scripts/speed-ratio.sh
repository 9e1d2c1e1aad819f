#!/usr/bin/env bash
# Times the command-line decode and encode against the plain cost of reading
# and writing the same bytes, side by side on the same machine:
#   decode: `tonobild-cli decode` of 16 concatenated 640 x 480 transmissions
#           (about 60 MB) against `md5sum` of the same file;
#   encode: `tonobild-cli encode` of one 640 x 480 transmission against
#           `head -c` writing as many bytes as the WAV and RAW files hold.
# Each pair runs alternately RUNS times (default 5); the medians and their
# ratios are printed, of the wall-clock times and of the processor times
# (which a busy machine disturbs less).
#
#   scripts/speed-ratio.sh [RUNS]      (needs imagemagick for the 640 x 480 picture)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
runs=${1:-5}
command -v convert >/dev/null || { echo "speed-ratio.sh: convert is missing (apt install imagemagick)" >&2; exit 1; }

. scripts/cli-workbench.sh
export QT_QPA_PLATFORM=offscreen

# seconds COMMAND...: the wall-clock time of one run and the processor time
# it took (user and system), in seconds: "WALL CPU".
seconds() {
  local TIMEFORMAT='%R %U %S' times
  # The command's own messages go to the script's standard error (through 3),
  # only the times into the capture.
  times=$({ time "$@" >/dev/null 2>&3; } 3>&2 2>&1)
  awk '{ printf "%.3f %.3f\n", $1, $2 + $3 }' <<<"$times"
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# median COLUMN: the median of that column of the lines on stdin.
median() { awk -v c="$1" '{ print $c }' | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# The transmission: the portrait card at 640 x 480, encoded once, sent 16 times in a row.
convert "$cards/FACE320.BMP" -scale 200% "BMP3:$work/face640.bmp"
"$cli" encode --resolution 640x480 "$work/face640.bmp" "$work/one.WAV" >/dev/null
for _ in $(seq 16); do cat "$work/one.RAW"; done >"$work/sixteen.RAW"
stream_bytes=$(stat -c %s "$work/sixteen.RAW")
encoded_bytes=$(($(stat -c %s "$work/one.WAV") + $(stat -c %s "$work/one.RAW")))

# The new files go to the disk first, and every command runs once untimed, so
# that neither side pays for the other's writing or for a cold start.
sync
md5sum "$work/sixteen.RAW" >/dev/null
"$cli" decode --resolution 640x480 "$work/sixteen.RAW" "$work/decoded.bmp" >/dev/null

# write_zeros: writes as many bytes as the encoder's two files hold, in one file beside them.
write_zeros() { head -c "$encoded_bytes" /dev/zero >"$work/zeros"; }

# Each timed command starts with nothing left to write back: otherwise the
# file system makes the next command that replaces a file wait for the bytes
# the one before left behind (the encoder, for the zeros just written).
md5_times=() decode_times=() write_times=() encode_times=()
for _ in $(seq "$runs"); do
  sync
  md5_times+=("$(seconds md5sum "$work/sixteen.RAW")")
  sync
  decode_times+=("$(seconds "$cli" decode --resolution 640x480 "$work/sixteen.RAW" "$work/decoded.bmp")")
  sync
  write_times+=("$(seconds write_zeros)")
  sync
  encode_times+=("$(seconds "$cli" encode --resolution 640x480 "$work/face640.bmp" "$work/again.WAV")")
done
cmp -s "$work/one.RAW" "$work/again.RAW" || { echo "speed-ratio.sh: the encodes differ" >&2; exit 1; }

# report BASELINE-NAME NAME: the medians of the arrays baseline and measured, and their ratios.
report() {
  local column
  for column in 1 2; do
    local base run
    base=$(printf '%s\n' "${baseline[@]}" | median "$column")
    run=$(printf '%s\n' "${measured[@]}" | median "$column")
    [ "$column" = 1 ] && echo -n "  wall:" || echo -n "  cpu: "
    echo "  $1 $base  $2 $run  ratio $(ratio "$run" "$base")"
  done
}
echo "medians of $runs runs, in seconds"
echo "decode input: $stream_bytes bytes (16 x 640x480)"
baseline=("${md5_times[@]}")
measured=("${decode_times[@]}")
report md5sum decode
echo "encode output: $encoded_bytes bytes (WAV and RAW of one 640x480)"
baseline=("${write_times[@]}")
measured=("${encode_times[@]}")
report "head -c" encode
