#!/usr/bin/env bash
# Takes the screenshots of the station's window for the documentation, on a
# virtual screen (Xvfb), with a settings file of its own so that the station
# starts as on a configured desktop: test cards shown, FM mode selected.
#
#   scripts/screenshots.sh [OUTPUT_DIR]      (default: docs/screenshots)
#
# Writes main-window.png (the window as it opens) and, when xdotool is there,
# test-card-loaded.png (after a click on the test-card thumbnail, which places
# the card into the working picture).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=${1:-docs/screenshots}
mkdir -p "$out"
out=$(cd "$out" && pwd)

scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target tonobild tonobild_testcards
station=$root/build/default/src/app/tonobild
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
  echo "== After a click on the test-card thumbnail"
  # Without a window manager the window sits at the top left of the screen; the
  # thumbnail of the test cards is in the right-hand column, below "Thumbnails
  # of test patterns".
  cat > "$work/click.sh" <<'EOF'
set -euo pipefail
station=$1 picture=$2
"$station" & pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tonobild 3$' | head -1)
sleep 1
xdotool mousemove --window "$window" 805 450 click 1
sleep 1
import -window "$window" "$picture"
EOF
  timeout 60 xvfb-run -a "${screen[@]}" bash "$work/click.sh" "$station" "$out/test-card-loaded.png"
  shrink "$out/test-card-loaded.png"
  if command -v compare >/dev/null &&
     compare -metric AE "$out/main-window.png" "$out/test-card-loaded.png" null: 2>/dev/null; then
    echo "warning: the click on the thumbnail changed nothing; has the window's layout moved?" >&2
  fi
else
  echo "xdotool or ImageMagick missing: only the first screenshot was taken" >&2
fi

ls -l "$out"
