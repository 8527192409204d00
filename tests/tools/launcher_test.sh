#!/bin/sh
# launcher_test.sh LAUNCHER EDITOR ICON: the Linux launcher as released, with
# a fresh Wine prefix: fonts set once, a file by its Linux path, what is
# missing, and the desktop entry and file type installed and removed.
set -eu
. "$(dirname "$0")/../../scripts/wine-env"
work=$(mktemp -d)
trap 'WINEPREFIX=$work/prefix /usr/lib/wine/wineserver -k 2>/dev/null || :; rm -rf "$work"' EXIT
mkdir "$work/release" "$work/data"
cp "$1" "$2" "$3" "$work/release/"
launcher=$work/release/asdedit-wine.sh save="$work/my save.asd"
export WINEPREFIX="$work/prefix" WINE=/usr/lib/wine/wine
fail() { echo "FAILED: $*"; exit 1; }
{ printf 'This is save data for Kelvas3.5 Win95 For PLOV/RMX system       (C) 1996 BRANVIK-CO'; head -c 13 /dev/zero
  printf '\203\202\203\213\203\137\203\223\201\105\203\163\203\116\203\132\203\212\203\111\203\223 - Kelvas '
  head -c 282408 /dev/zero; } >"$save"  # the two records of a save file

# start FILE OUT: the launcher with FILE, until the editor's title names it; then the editor ends.
start() {
  "$launcher" "$1" >"$2" 2>&1 &
  title="($(printf 'Z:%s' "$1" | tr / '\\'))"
  for _ in $(seq 150); do xwininfo -root -tree | grep -qF "$title" && break; sleep 0.2; done
  xwininfo -root -tree | grep -qF "$title" || fail "no editor window titled $title: $(cat "$2")"
  /usr/lib/wine/wineserver -k
}
LC_ALL=C.UTF-8 $WINE reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'MS UI Gothic' /d Mine /f >/dev/null 2>&1
start "$save" "$work/first"
[ "$(grep -c 'from now on' "$work/first")" = 3 ] || fail "fonts set: $(cat "$work/first")"
LC_ALL=C.UTF-8 $WINE reg query 'HKCU\Software\Wine\Fonts\Replacements' /v 'MS UI Gothic' | grep -q Mine || fail "a user's font replaced"
start "$save" "$work/second"
! grep -q 'from now on' "$work/second" || fail "fonts set again: $(cat "$work/second")"

WINE=$work/none "$launcher" "$save" >"$work/out" 2>&1 && fail "started without Wine"
grep -q 'Wine is not installed' "$work/out" || fail "$(cat "$work/out")"
echo '<fontconfig></fontconfig>' >"$work/fonts.conf"
FONTCONFIG_FILE=$work/fonts.conf "$launcher" "$save" >"$work/out" 2>&1 && fail "started without a Japanese font"
grep -q 'no Japanese font' "$work/out" || fail "$(cat "$work/out")"

export XDG_DATA_HOME="$work/data"
touch "$work/data/keep"
before=$(find "$work/data" | sort)
"$launcher" --install-desktop 2>/dev/null
desktop-file-validate "$work/data/applications/asdedit.desktop" || fail "desktop entry"
grep -qx 'application/x-asd-save:\*.asd' "$work/data/mime/globs" || fail "no *.asd in the file types"
grep -aq 'This is save data for Kelvas' "$work/data/mime/magic" || fail "no header in the file types"
"$launcher" --uninstall-desktop 2>/dev/null
[ "$(find "$work/data" | sort)" = "$before" ] || fail "left behind: $(find "$work/data")"
echo "launcher: fonts, a file by its Linux path, what is missing, desktop entry: passed"
