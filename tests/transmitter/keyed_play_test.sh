#!/usr/bin/env bash
# The transmitter keyed around a transmission, seen from Hamlib's dummy rig behind rigctld
# (a network rig, model 2), asked for its PTT by "rigctl t" while the samples play.
# Usage: keyed_play_test.sh TONOBILD-CLI TONOBILD-RECORDER KEYED-WINDOW-TESTS; exit 77 without
# rigctld, sox or PulseAudio. KEYED-WINDOW-TESTS plays a standard transmission from the window.
set -euo pipefail

cli=$1 recorder=$2 window_tests=$3

. "$(dirname "$0")/../support/private_sound_server.sh"
require_programs rigctld rigctl sox
start_private_sound_server
trap '[ -n "${rig_pid:-}" ] && kill "$rig_pid" 2>/dev/null; stop_private_sound_server' EXIT

# The dummy rig on a free port: a port another program holds makes rigctld exit.
# Only our own daemon counts: another one on the port would answer too.
ptt() { rigctl -m 2 -r "localhost:$port" t; }
our_rig_answers() { kill -0 "$rig_pid" 2>/dev/null && ptt; }
for _ in $(seq 20); do
  port=$((20000 + RANDOM % 40000))
  rigctld -m 1 -P RIG -t "$port" & rig_pid=$!
  retry 30 our_rig_answers >/dev/null 2>&1 && kill -0 "$rig_pid" 2>/dev/null && break
  kill "$rig_pid" 2>/dev/null || true; rig_pid=
done
[ -n "$rig_pid" ] || { echo "no free port for rigctld"; exit 1; }
rig=(--rig-model 2 --rig-port "localhost:$port")

# "tonobild-cli play" in the background; the last play's log goes first, lest a wait find its lines.
start_player() { rm -f "$work/play.log"; "$cli" play "$@" >"$work/play.log" 2>&1 & player=$!; }
# Shows the ended player's log; fails unless it exited with code $1 (a crash is 128 + its signal).
ended_with() { local code=0; wait "$player" || code=$?; cat "$work/play.log"; [ "$code" = "$1" ] || fail "$2 (exit code $code)"; }
playing() { wait_for_line "$work/play.log" "$1" 50 || fail "${2:-the samples did not start}"; }
ptt_is() { [ "$(ptt)" = "$1" ] || fail "$2"; } # the dummy rig's PTT, 0 or 1
logged() { grep -q "$1" "$work/play.log" || fail "$2"; }

sox -n -r 11025 -b 8 -c 1 "$work/short.wav" synth 2 sine 1500
sox -n -r 11025 -b 8 -c 1 "$work/long.wav" synth 30 sine 1500

start_player "$work/short.wav" "${rig[@]}" --lead 1 --tail 0.5 # a whole transmission
playing "Transmitter keyed" "the player did not key"
grep -q "^Playing" "$work/play.log" && fail "the samples started before the lead"
ptt_is 1 "PTT is off in the lead"
playing Playing
for _ in 1 2 3; do ptt_is 1 "PTT is off while the samples play"; sleep 0.4; done
ended_with 0 "the whole transmission did not end cleanly"
ptt_is 0 "PTT is still on after the transmission"

# Interrupted: the exit code is 128 + the signal's number (SIGINT and SIGHUP stop it as SIGTERM does).
start_player "$work/long.wav" "${rig[@]}"
playing Playing
ptt_is 1 "PTT is off while the samples play"
kill -TERM "$player"
ended_with 143 "an interrupted play does not exit with 128 + SIGTERM"
logged "^Transmitter released" "no release reported after SIGTERM"
ptt_is 0 "PTT is still on after SIGTERM"

mkdir -p "$XDG_CONFIG_HOME/Tonobild 3"
printf '[Transmitter]\nRig%%20Model=2\nRig%%20Port=localhost:%s\nPTT%%20Method=cat\nLead%%20Seconds=0.5\nTail%%20Seconds=0.5\n' \
  "$port" >"$XDG_CONFIG_HOME/Tonobild 3/Tonobild 3.ini"
timeout 30 "$recorder" /play /close "$work/short.wav" & station=$! # keyed from the station's settings store
for _ in $(seq 50); do [ "$(ptt)" = 1 ] && break; sleep 0.1; done
ptt_is 1 "the recorder did not key the transmitter"
wait "$station" || fail "the recorder exited with $?"
ptt_is 0 "PTT is still on after the recorder closed"

# A standard transmission encoded and played from the window, keyed through the same settings file.
TONOBILD_RIG_PORT="localhost:$port" "$window_tests" || fail "the window's Play of a standard transmission"

# The output device stops taking samples while keyed: the transmitter is released
# once the samples are overdue, not held keyed for ever.
start_player "$work/short.wav" "${rig[@]}"
playing Playing
pactl suspend-sink null 1
timeout 15 tail --pid="$player" -f /dev/null || fail "the player waited on for a stalled output device"
pactl suspend-sink null 0
ended_with 1 "a stalled output device does not end in an error"
logged "stopped taking the samples" "no message about the stalled output device"
ptt_is 0 "PTT is still on after the output device stalled"

start_player "$work/long.wav" "${rig[@]}"
playing Playing
kill "$rig_pid"; wait "$rig_pid" 2>/dev/null || true; rig_pid= # the rig daemon dies while keyed
timeout 10 tail --pid="$player" -f /dev/null || fail "the player played on without its rig"
ended_with 1 "playing on a dead rig link does not end in an error"
logged "no longer answers" "no message about the lost rig"

start_player "$work/short.wav" "${rig[@]}" # a rig that cannot be reached
ended_with 1 "an unreachable rig does not end in an error"
logged "Cannot open the rig Hamlib NET rigctl (model 2) at localhost:$port: " "the message does not name the rig and the reason"
grep -q "^Playing\|^Transmitter keyed" "$work/play.log" && fail "something was played or keyed without the rig"
exit $status
