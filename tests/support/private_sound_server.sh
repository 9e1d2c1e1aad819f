# Sourced by the sound and keying tests (exits 77, skipped, without PulseAudio):
#   start_private_sound_server [RATE]  a server of the test's own in $work, null sink "null" (at RATE),
#                                      its monitor offered as source "capture"; gone when the test ends
#   require_programs PROGRAM...        exits 77 (skipped) unless all are installed
#   retry TENTHS COMMAND...            runs COMMAND each tenth of a second until it succeeds, TENTHS times at most
#   wait_for_line LOG WORD [TENTHS]    waits up to TENTHS / 10 s (10 s) for a line starting with WORD
#   wait_until_started LOG WORD        the same, then lets a device's first samples through
#   fail MESSAGE                       says what failed and sets $status to 1
#   expect_clean_decode CODEWORD       $work/recorded.bmp equals clean.bmp, recorded.txt has the signature
status=0
fail() { echo "FAIL: $*"; status=1; }

require_programs() {
  for program in "$@"; do
    command -v "$program" >/dev/null || { echo "$program is not installed: skipped"; exit 77; }
  done
}

retry() {
  for _ in $(seq "$1"); do
    "${@:2}" && return 0
    sleep 0.1
  done
  return 1
}

start_private_sound_server() {
  require_programs pulseaudio pactl
  work=$(mktemp -d)
  trap stop_private_sound_server EXIT
  # The server keeps its cookie and state in $work, and the programs their settings, not in the user's home.
  export XDG_RUNTIME_DIR=$work/run HOME=$work XDG_CONFIG_HOME=$work/.config QT_QPA_PLATFORM=offscreen
  unset PULSE_SERVER
  mkdir -m 700 -p "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME/pulse"
  [ -z "${1:-}" ] || printf 'default-sample-rate = %s\nalternate-sample-rate = %s\n' "$1" "$1" \
    > "$XDG_CONFIG_HOME/pulse/daemon.conf"
  pulseaudio --daemonize=yes --exit-idle-time=-1 -n --load="module-null-sink sink_name=null${1:+ rate=$1}" \
    --load=module-native-protocol-unix
  retry 50 pactl info >/dev/null 2>&1 || { echo "FAIL: the sound server does not answer"; exit 1; }
  # Qt lists no monitor sources, so the sink's monitor is offered as a source of
  # its own; remapping copies the samples, at the sink's rate and format.
  pactl load-module module-remap-source master=null.monitor source_name=capture >/dev/null
  pactl set-default-sink null
  pactl set-default-source capture
}

wait_for_line() { retry "${3:-100}" grep -q "^$2" "$1"; }

wait_until_started() { wait_for_line "$1" "$2" || true; sleep 0.5; }

expect_clean_decode() {
  cmp "$work/clean.bmp" "$work/recorded.bmp" || fail "the recorded picture differs from the clean decode"
  grep -q "^Signature: .*$1" "$work/recorded.txt" || fail "the signature \"$1\" does not read back from the recording"
  [ "$status" != 0 ] || echo "The recording decodes to the clean picture with its signature"
}

# The server writes its state into the folder as it stops: the folder goes once it has ended.
server_ended() { ! pulseaudio --check 2>/dev/null; }
stop_private_sound_server() {
  pulseaudio --kill 2>/dev/null || true
  retry 50 server_ended || true
  rm -rf "$work"
}
