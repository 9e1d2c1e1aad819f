#!/usr/bin/env bash
# Takes the screenshots of the station's window for the documentation, on a
# virtual screen (Xvfb), with a settings file of its own so that the station
# starts as on a configured desktop: test cards shown, FM mode selected.
#
#   scripts/screenshots.sh [OUTPUT_DIR]      (default: docs/screenshots)
#
# On a screen of 1366 x 768, a laptop's. Writes main-window.png (the window as
# it opens, in its Send view) and, when xdotool is there: test-card-loaded.png
# (after a click on the test-card thumbnail, which places the card into the
# working picture), card-tooltip.png (the black cross card's tooltip),
# encoded-progress.png (the progress bar after Encode, with a caption on the
# picture to be transmitted), picture-viewer.png
# (View), decoder-options.png (the Decoder options view), receive-view.png (the
# Receive view listening through a private sound server: a Robot 8 B/W kept in
# the strip, a Robot 36 arriving) and recorder-no-device.png (the recorder
# saying why Record and Play are off).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=${1:-docs/screenshots}
mkdir -p "$out"
out=$(cd "$out" && pwd)

scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target tonobild tonobild-recorder tonobild-cli tonobild_testcards
station=$root/build/default/src/app/tonobild
cli=$root/build/default/src/cli/tonobild-cli
cards=$root/build/default/testcards

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config/Tonobild 3" "$work/runtime"
chmod 700 "$work/runtime"
cat > "$work/config/Tonobild 3/Tonobild 3.ini" <<EOF
[Directories]
Test%20Pattern=$cards/

[Settings]
Default%20Mode=15

[FM]
o1=1
o7=1
o14=1
o24=1
c1=1
c3=1
c4=1
c5=1
EOF
export XDG_CONFIG_HOME=$work/config
export XDG_RUNTIME_DIR=$work/runtime
# Same fonts and style on every machine: no desktop theme under Xvfb.
unset QT_QPA_PLATFORM QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE
screen=(-s "-screen 0 1366x768x24")

# Reduces a screenshot to a palette picture: the window has a few hundred
# colours, so this keeps the files small with no visible change.
shrink() {
  if command -v convert >/dev/null; then
    convert "$1" -strip +dither -colors 256 "PNG8:$1.small" && mv "$1.small" "$1"
  fi
}

echo "== The window as it opens"
timeout 60 xvfb-run -a "${screen[@]}" "$station" --screenshot "$out/main-window.png"
shrink "$out/main-window.png"

if command -v xdotool >/dev/null && command -v import >/dev/null; then
  # Without a window manager the window sits at the top left of the screen, so
  # the controls are at fixed places: in the Send view the test-card thumbnail
  # under "Thumbnails of test patterns" at the right, the black cross card
  # beside it; the views' tabs above them. The station listens and plays
  # through a private sound server of its own (tests/support), which gives it
  # a home folder of its own too, for Encode to write into.
  cat > "$work/station.sh" <<'EOF'
set -euo pipefail
root=$1 station=$2 cli=$3 out=$4 settings=$5
. "$root/tests/support/private_sound_server.sh"
start_private_sound_server
unset QT_QPA_PLATFORM # the server's tests run offscreen; here the windows go on the virtual screen
mkdir -p "$XDG_CONFIG_HOME/Tonobild 3"
cp "$settings" "$XDG_CONFIG_HOME/Tonobild 3/Tonobild 3.ini"
"$station" & pid=$!
trap 'kill "$pid" 2>/dev/null || true; stop_private_sound_server' EXIT
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tonobild 3$' | head -1)
sleep 1
echo "== After a click on the test-card thumbnail"
xdotool mousemove --window "$window" 1145 137 click 1
sleep 1
import -window "$window" "$out/test-card-loaded.png"

echo "== The tooltip of the black cross card"
xdotool mousemove --window "$window" 1292 105
sleep 2
import -window root -crop 560x260+806+40 +repage "$out/card-tooltip.png"
xdotool mousemove --window "$window" 700 600

echo "== A caption, shown on the picture to be transmitted before Encode"
xdotool mousemove --window "$window" 1228 342 click 1
xdotool type --delay 20 "DL1ABC de G4XYZ"
xdotool mousemove --window "$window" 1228 370 click 1
xdotool type --delay 20 "59 Hamburg"
xdotool key Tab # out of the line: a line edit takes Ctrl+E for itself
xdotool mousemove --window "$window" 700 600
sleep 1

echo "== After Encode: the progress bar keeps the line and pass reached"
xdotool windowfocus --sync "$window" key ctrl+e
# "Encoded" comes in a message box of the same title; Return closes it.
message=
for _ in $(seq 60); do
  message=$(xdotool search --onlyvisible --name '^Tonobild 3$' | grep -vx "$window" | head -1 || true)
  [ -n "$message" ] && break
  sleep 0.5
done
[ -n "$message" ] && xdotool windowfocus --sync "$message" key Return
sleep 1
import -window "$window" "$out/encoded-progress.png"

echo "== View: the working picture at full size"
xdotool windowfocus --sync "$window" key ctrl+shift+f
viewer=$(timeout 20 xdotool search --sync --onlyvisible --name '^Working picture' | head -1)
sleep 1
import -window "$viewer" "$out/picture-viewer.png"
xdotool windowclose "$viewer" 2>/dev/null || true

echo "== Decoder options"
xdotool mousemove --window "$window" 600 24 click 1
sleep 1
import -window "$window" "$out/decoder-options.png"

echo "== Receive: a Robot 8 B/W kept, a Robot 36 with its callsign arriving"
"$cli" encode --standard R8BW --fsk-id DL1ABC "$root/tests/data/gradient160.bmp" "$HOME/r8.wav" > /dev/null
convert rose: -resize '320x240!' "$HOME/rose.png"
"$cli" encode --standard R36 --fsk-id G4XYZ "$HOME/rose.png" "$HOME/r36.wav" > /dev/null
xdotool mousemove --window "$window" 503 24 click 1
sleep 1
xdotool mousemove --window "$window" 463 57 click 1
sleep 1
"$cli" play --output null "$HOME/r8.wav" > /dev/null
sleep 4
"$cli" play --output null "$HOME/r36.wav" > /dev/null & player=$!
sleep 22
import -window "$window" "$out/receive-view.png"
kill "$player" 2>/dev/null || true
EOF
  timeout 180 xvfb-run -a "${screen[@]}" bash "$work/station.sh" "$root" "$station" "$cli" "$out" \
    "$work/config/Tonobild 3/Tonobild 3.ini"

  echo "== The recorder without a sound device"
  mkdir -p "$work/home"
  cat > "$work/recorder.sh" <<'EOF'
set -euo pipefail
recorder=$1 out=$2 file=$3
PULSE_SERVER=unix:/nonexistent/tonobild-screenshot PULSE_AUTOSPAWN=0 "$recorder" "$file" & pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT
window=$(timeout 20 xdotool search --sync --onlyvisible --name 'Tonobild Recorder$' | head -1)
sleep 1
import -window "$window" "$out/recorder-no-device.png"
EOF
  timeout 60 xvfb-run -a "${screen[@]}" env HOME="$work/home" bash "$work/recorder.sh" \
    "$root/build/default/src/recorder/tonobild-recorder" "$out" "$work/home/TONOBILD.WAV"
  for shot in test-card-loaded card-tooltip encoded-progress picture-viewer decoder-options receive-view \
              recorder-no-device; do
    shrink "$out/$shot.png"
  done
  if command -v compare >/dev/null &&
     compare -metric AE "$out/main-window.png" "$out/test-card-loaded.png" null: 2>/dev/null; then
    echo "warning: the click on the thumbnail changed nothing; has the window's layout moved?" >&2
  fi
else
  echo "xdotool or ImageMagick missing: only the first screenshot was taken" >&2
fi

ls -l "$out"
