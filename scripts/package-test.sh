#!/usr/bin/env bash
# Builds the Debian package of the station, checks what is inside, installs it
# and starts the installed station on a virtual screen (Xvfb), keeping a
# screenshot of its window in build/package/installed-station.png.
#
#   scripts/package-test.sh            unpack the package into a temporary root
#                                      and start the station from there
#   scripts/package-test.sh --install  install it for real with apt-get (root or
#                                      sudo), as on the operator's machine; also
#                                      done when CI=true
#
# Exits non-zero on the first failure.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build/package

install=false
case "${1:-}" in
  --install) install=true ;;
  "") [ "${CI:-}" = true ] && install=true ;;
  *) echo "usage: $0 [--install]" >&2; exit 2 ;;
esac

fail() { echo "package test FAILED: $*" >&2; exit 1; }

scripts/install-deps.sh

echo "== Release build"
cmake --preset package
cmake --build --preset package

echo "== Debian package"
rm -f "$build"/tonobild_*.deb
(cd "$build" && cpack -G DEB)
debs=("$build"/tonobild_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one tonobild_*.deb in $build"
deb=${debs[0]}
dpkg-deb -I "$deb"

echo "== Contents"
contents=$(dpkg-deb -c "$deb" | awk '{print $NF}')
for path in \
    ./usr/bin/tonobild ./usr/bin/tonobild-cli ./usr/bin/tonobild-recorder \
    ./usr/libexec/tonobild/tonobild-cli-sound ./usr/libexec/tonobild/tonobild-cli-pictures \
    ./usr/share/applications/tonobild.desktop \
    ./usr/share/icons/hicolor/scalable/apps/tonobild.svg \
    ./usr/share/man/man1/tonobild-cli.1.gz \
    ./usr/share/tonobild/testcards/BARS160.BMP; do
  grep -qxF "$path" <<<"$contents" || fail "$path is not in the package"
  echo "  $path"
done
cards=$(grep -c '^\./usr/share/tonobild/testcards/.*\.BMP$' <<<"$contents" || true)
[ "$cards" -ge 1 ] || fail "no test cards in the package"
echo "  $cards test cards"
control=$(dpkg-deb -f "$deb" Package Section Depends)
grep -q '^Package: tonobild$' <<<"$control" || fail "package name"
grep -q '^Section: hamradio$' <<<"$control" || fail "section"
grep -q 'libqt6widgets6' <<<"$control" || fail "the Qt libraries are not among the dependencies"
grep -q 'libhamlib4' <<<"$control" || fail "Hamlib is not among the dependencies"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if $install; then
  echo "== Install with apt-get"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  if ! "${sudo_cmd[@]}" apt-get install -y -q "$deb"; then
    "${sudo_cmd[@]}" apt-get update -qq
    "${sudo_cmd[@]}" apt-get install -y -q "$deb"
  fi
  dpkg-query -W -f='${Status} ${Version}\n' tonobild | grep -q '^install ok installed' || fail "dpkg does not list tonobild as installed"
  prefix=
else
  echo "== Unpack into a temporary root"
  dpkg-deb -x "$deb" "$work/root"
  prefix=$work/root
fi
station=$prefix/usr/bin/tonobild
cli=$prefix/usr/bin/tonobild-cli
testcards=$prefix/usr/share/tonobild/testcards
[ -x "$station" ] || fail "$station is missing"
[ -x "$prefix/usr/bin/tonobild-recorder" ] || fail "tonobild-recorder is missing"

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/usr/share/applications/tonobild.desktop" || fail "desktop entry"
fi
gzip -t "$prefix/usr/share/man/man1/tonobild-cli.1.gz" || fail "manual page"

echo "== The installed command line"
QT_QPA_PLATFORM=offscreen "$cli" --help >/dev/null || fail "tonobild-cli --help"
QT_QPA_PLATFORM=offscreen "$cli" encode "$testcards/BARS160.BMP" "$work/bars.wav" || fail "tonobild-cli encode"
QT_QPA_PLATFORM=offscreen "$cli" decode "$work/bars.wav" "$work/bars.bmp" || fail "tonobild-cli decode"
# A PNG is written, and read, by the installed tonobild-cli-pictures.
QT_QPA_PLATFORM=offscreen "$cli" decode "$work/bars.wav" "$work/bars.png" || fail "tonobild-cli decode into PNG"
QT_QPA_PLATFORM=offscreen "$cli" encode "$work/bars.png" "$work/png.wav" || fail "tonobild-cli encode from PNG"
# play, record and listen are handed to the installed tonobild-cli-sound.
play_help=$(QT_QPA_PLATFORM=offscreen "$cli" play --help) || fail "tonobild-cli play --help"
grep -q -- '--rig-model' <<<"$play_help" || fail "tonobild-cli play --help names no --rig-model"
listen_help=$(QT_QPA_PLATFORM=offscreen "$cli" listen --help) || fail "tonobild-cli listen --help"
grep -q -- '--gallery' <<<"$listen_help" || fail "tonobild-cli listen --help names no --gallery"

echo "== Start the installed station under Xvfb"
# A settings file of its own, so that the first start does not ask for the
# test-card folder: the installed cards.
mkdir -p "$work/config/Tonobild 3" "$work/runtime"
chmod 700 "$work/runtime"
printf '[Directories]\nTest%%20Pattern=%s/\n' "$testcards" > "$work/config/Tonobild 3/Tonobild 3.ini"
shot=$build/installed-station.png
rm -f "$shot"
env -u QT_QPA_PLATFORM XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" \
  timeout 60 xvfb-run -a -s "-screen 0 1366x768x24" "$station" --screenshot "$shot" ||
  fail "the installed station did not start and save its screenshot"
[ -f "$shot" ] || fail "no screenshot"
size=$(stat -c %s "$shot")
[ "$size" -gt 20000 ] || fail "the screenshot has only $size bytes"
if command -v identify >/dev/null; then
  geometry=$(identify -format '%wx%h' "$shot")
  echo "  window $geometry"
  [ "${geometry%x*}" -ge 400 ] && [ "${geometry#*x}" -ge 300 ] || fail "the window is only $geometry"
fi
echo "package test passed: $deb; screenshot $shot ($size bytes)"
