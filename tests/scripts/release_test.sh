#!/bin/sh
# release_test.sh SOURCE: SOURCE's scripts/release in a repository of its
# own, beside a setup step that only says that it was reached. A clean tree
# gets there; a changed tracked file is refused at once, named, with nothing
# built; --dirty goes on.
set -eu
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/tree/scripts"
cd "$work/tree"
cp "$1/scripts/release" scripts/release
printf '#!/bin/sh\necho reached setup\nexit 42\n' >scripts/setup
chmod +x scripts/setup
echo "a tracked file" >README.md
git init -q
git add .
git -c user.name=test -c user.email=test@invalid commit -qm "a release"
fail() { echo "FAILED: $*" && exit 1; }
status=0
scripts/release >out 2>&1 || status=$?
[ $status = 42 ] || fail "a clean tree: $status $(cat out)"
echo changed >>README.md
status=0
scripts/release >out 2>&1 || status=$?
[ $status = 1 ] && grep -q '^  README.md$' out && ! grep -q reached out || fail "dirty: $status $(cat out)"
[ ! -e build ] && [ ! -e dist ] || fail "a dirty tree set up or built something"
status=0
scripts/release --dirty >out 2>&1 || status=$?
[ $status = 42 ] || fail "--dirty: $status $(cat out)"
echo "release: a dirty tree refused, --dirty and a clean tree go on: passed"
