# Sourced by the sound and keying tests: starts a PulseAudio server of the test's own, in
# a folder of its own ($work), with a null sink "null" whose monitor is offered
# as the source "capture"; the server stops and the folder goes when the test ends.
#
#   start_private_sound_server [RATE]   (RATE: the sink's sample rate, e.g. 48000)
#   wait_until_started LOG WORD         waits (up to 10 s) until a program
#                                       started in the background has written
#                                       a line starting with WORD into LOG
# Exits 77 (skipped) when PulseAudio is not installed.

start_private_sound_server() {
  local rate=${1:-}
  if ! command -v pulseaudio >/dev/null || ! command -v pactl >/dev/null; then
    echo "pulseaudio or pactl is not installed: skipped"
    exit 77
  fi
  work=$(mktemp -d)
  trap stop_private_sound_server EXIT
  export XDG_RUNTIME_DIR=$work/run
  export HOME=$work # the server keeps its cookie and state here, not in the user's home
  export QT_QPA_PLATFORM=offscreen
  unset PULSE_SERVER
  mkdir -m 700 -p "$XDG_RUNTIME_DIR"
  local sink="module-null-sink sink_name=null"
  if [ -n "$rate" ]; then
    sink="$sink rate=$rate"
    mkdir -p "$work/.config/pulse"
    printf 'default-sample-rate = %s\nalternate-sample-rate = %s\n' "$rate" "$rate" > "$work/.config/pulse/daemon.conf"
  fi
  pulseaudio --daemonize=yes --exit-idle-time=-1 -n --load="$sink" --load=module-native-protocol-unix
  for _ in $(seq 50); do
    pactl info >/dev/null 2>&1 && break
    sleep 0.1
  done
  pactl info >/dev/null
  # Qt lists no monitor sources, so the sink's monitor is offered as a source of
  # its own; remapping copies the samples, at the sink's rate and format.
  pactl load-module module-remap-source master=null.monitor source_name=capture >/dev/null
  pactl set-default-sink null
  pactl set-default-source capture
  echo "Sound server: $(pactl info | grep 'Default Sample')"
}

wait_until_started() {
  for _ in $(seq 100); do
    grep -q "^$2" "$1" && break
    sleep 0.1
  done
  sleep 0.5 # the device is open; let its first samples through
}

stop_private_sound_server() {
  pulseaudio --kill 2>/dev/null || true
  rm -rf "$work"
}
