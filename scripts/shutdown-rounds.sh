#!/usr/bin/env bash
# Plays and listens in many short rounds against a private PulseAudio null
# sink, and fails on any program of the sound path that aborts, crashes or
# leaves a core at its end: each round "tonobild-cli play" of a fifth of a
# second into the sink, "tonobild-cli listen --seconds 1" on its monitor, and
# the recorder's "/play /close" of the same fifth of a second.
#
#   scripts/shutdown-rounds.sh [ROUNDS (200) [TONOBILD-CLI TONOBILD-RECORDER (those of build/ci)]]
#
# Needs pulseaudio and pactl; prints how long the rounds took (200 rounds: 16
# minutes on a machine of 2 cores). Not a CTest test at this length: 5 rounds
# of it are (shutdown_rounds).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
rounds=${1:-200}
cli=$(realpath "${2:-$here/build/ci/src/cli/tonobild-cli}")
recorder=$(realpath "${3:-$here/build/ci/src/recorder/tonobild-recorder}")
for program in "$cli" "$recorder"; do
  [ -x "$program" ] || { echo "shutdown-rounds: no $program (build first)" >&2; exit 2; }
done

. "$here/tests/support/private_sound_server.sh"
start_private_sound_server
cd "$work" # a core, should one be written, lands here
ulimit -c unlimited 2>/dev/null || true

# A fifth of a second of 8-bit mono at 11025 samples per second: a tone at a quarter of the rate.
{ printf 'RIFF\xd1\x08\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x11\x2b\0\0\x11\x2b\0\0\x01\0\x08\0data\xad\x08\0\0'
  for _ in $(seq 555); do printf '\xe0\xe0\x1f\x1f'; done; printf '\x80'; } > short.wav

# run NAME COMMAND...: fails on an exit by a signal, an assertion in the output, or a core.
run() {
  local name=$1 code=0
  shift
  "$@" > round.log 2>&1 || code=$?
  if [ "$code" -ge 128 ] || grep -qi "assert\|abort\|segmentation" round.log || compgen -G 'core*' > /dev/null; then
    echo "FAIL: round $round, $name ended with code $code:"
    cat round.log
    exit 1
  fi
  [ "$code" = 0 ] || { echo "FAIL: round $round, $name failed (code $code):"; cat round.log; exit 1; }
}

start=$(date +%s)
for round in $(seq "$rounds"); do
  run play "$cli" play --output null short.wav
  run listen "$cli" listen --gallery "$work/gallery" --input capture --seconds 1
  run recorder timeout 30 "$recorder" /play /close short.wav
done
echo "shutdown-rounds: $rounds rounds of play, listen and the recorder's play, no abort, crash or core," \
     "in $(( $(date +%s) - start )) s"
