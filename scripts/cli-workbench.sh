# Sourced by the measuring scripts: builds tonobild-cli and the test cards in
# the default build and sets cli, cards and a work folder of their own (gone
# when the script ends), with a settings store inside it.
cmake --preset default >/dev/null
cmake --build --preset default --target tonobild-cli tonobild_testcards >/dev/null
cli=$root/build/default/src/cli/tonobild-cli
cards=$root/build/default/testcards
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
