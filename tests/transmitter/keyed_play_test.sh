#!/usr/bin/env bash
# The transmitter keyed around a transmission, seen from the rig: Hamlib's
# dummy rig runs behind rigctld on a free local port, the player reaches it as
# a network rig (model 2), and "rigctl t" asks the dummy for its PTT while the
# samples play into a private PulseAudio null sink and after.
#   - tonobild-cli play: keyed in the lead and while the samples play, released after;
#   - interrupted by SIGTERM or SIGINT: released before the program exits;
#   - the rig daemon dies while keyed: playing stops at once with a message;
#   - a rig that cannot be reached: a message naming the rig, nothing played;
#   - tonobild-recorder /play /close: keyed from the settings store's "Transmitter" section.
#
# Usage: keyed_play_test.sh TONOBILD-CLI TONOBILD-RECORDER
# Exit 77 (skipped) when rigctld, rigctl, sox or PulseAudio is not installed.
set -euo pipefail

cli=$1
recorder=$2

. "$(dirname "$0")/../support/private_sound_server.sh"
require_programs rigctld rigctl sox
start_private_sound_server
export XDG_CONFIG_HOME=$work/config
rig_pid=
trap '[ -n "$rig_pid" ] && kill "$rig_pid" 2>/dev/null; stop_private_sound_server' EXIT

# The dummy rig on a free port: a port another program holds makes rigctld exit.
for _ in $(seq 20); do
  port=$((20000 + RANDOM % 40000))
  rigctld -m 1 -P RIG -t "$port" & rig_pid=$!
  for _ in $(seq 30); do
    kill -0 "$rig_pid" 2>/dev/null || break
    rigctl -m 2 -r "localhost:$port" t >/dev/null 2>&1 && break 2
    sleep 0.1
  done
  kill "$rig_pid" 2>/dev/null || true; rig_pid=
done
[ -n "$rig_pid" ] || { echo "no free port for rigctld"; exit 1; }
ptt() { rigctl -m 2 -r "localhost:$port" t; }
rig=(--rig-model 2 --rig-port "localhost:$port")

# Starts "tonobild-cli play" with the given arguments in the background, its
# output in play.log. The last play's log goes first: a wait for its lines must
# not find them there before the new player has truncated the file.
start_player() { rm -f "$work/play.log"; "$cli" play "$@" >"$work/play.log" 2>&1 & player=$!; }
# Waits for the player to end, shows its log; its exit status in $code.
end_player() { code=0; wait "$player" || code=$?; cat "$work/play.log"; }
playing() { wait_for_line "$work/play.log" "$1" 50 || fail "${2:-the samples did not start}"; }
# Fails with the message unless the dummy rig's PTT is as given (0 or 1).
ptt_is() { [ "$(ptt)" = "$1" ] || fail "$2"; }
# Fails with the message unless the player exited with an error.
ended_in_error() { end_player; [ "$code" != 0 ] || fail "$1"; }
# Fails with the message unless the play log holds the pattern.
logged() { grep -q "$1" "$work/play.log" || fail "$2"; }

sox -n -r 11025 -b 8 -c 1 "$work/short.wav" synth 2 sine 1500
sox -n -r 11025 -b 8 -c 1 "$work/long.wav" synth 30 sine 1500
ptt_is 0 "the dummy rig starts keyed"

echo "== A whole transmission"
start_player "$work/short.wav" "${rig[@]}" --lead 1 --tail 0.5
playing "Transmitter keyed" "the player did not key"
grep -q "^Playing" "$work/play.log" && fail "the samples started before the lead"
ptt_is 1 "PTT is off in the lead"
playing Playing
for _ in 1 2 3; do ptt_is 1 "PTT is off while the samples play"; sleep 0.4; done
end_player
[ "$code" = 0 ] || fail "the player exited with $code"
ptt_is 0 "PTT is still on after the transmission"

for signal in TERM INT; do
  echo "== Interrupted by SIG$signal"
  start_player "$work/long.wav" "${rig[@]}"
  playing Playing
  ptt_is 1 "PTT is off while the samples play"
  kill -"$signal" "$player"
  ended_in_error "an interrupted play exits with 0"
  logged "^Transmitter released" "no release reported after SIG$signal"
  ptt_is 0 "PTT is still on after SIG$signal"
done

echo "== The station's recorder, keyed from the settings store"
mkdir -p "$XDG_CONFIG_HOME/Tonobild 3"
printf '[Transmitter]\nRig%%20Model=2\nRig%%20Port=localhost:%s\nPTT%%20Method=cat\nLead%%20Seconds=0.5\nTail%%20Seconds=0.5\n' \
  "$port" >"$XDG_CONFIG_HOME/Tonobild 3/Tonobild 3.ini"
timeout 30 "$recorder" /play /close "$work/short.wav" &
station=$!
keyed=0
for _ in $(seq 50); do [ "$(ptt)" = 1 ] && { keyed=1; break; }; sleep 0.1; done
[ "$keyed" = 1 ] || fail "the recorder did not key the transmitter"
wait "$station" || fail "the recorder exited with $?"
ptt_is 0 "PTT is still on after the recorder closed"

echo "== The rig daemon dies while keyed"
start_player "$work/long.wav" "${rig[@]}"
playing Playing
kill "$rig_pid"; wait "$rig_pid" 2>/dev/null || true; rig_pid=
timeout 10 tail --pid="$player" -f /dev/null || fail "the player played on without its rig"
ended_in_error "playing on a dead rig link exits with 0"
logged "no longer answers" "no message about the lost rig"

echo "== A rig that cannot be reached"
start_player "$work/short.wav" "${rig[@]}"
ended_in_error "an unreachable rig exits with 0"
logged "Cannot open the rig Hamlib NET rigctl (model 2) at localhost:$port: " "the message does not name the rig and the reason"
grep -q "^Playing\|^Transmitter keyed" "$work/play.log" && fail "something was played or keyed without the rig"

[ "$status" != 0 ] || echo "All keying checks passed"
exit $status
