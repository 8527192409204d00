#!/bin/sh
# launcher_test.sh LAUNCHER EDITOR ICON: the Linux launcher as released, with
# a fresh Wine prefix: fonts set once, a file by its Linux path, what is
# missing, and the desktop entry and file type installed and removed on a
# fresh account beside other programs' files.
set -eu
. "$(dirname "$0")/../../scripts/wine-env"
work=$(mktemp -d)
trap 'WINEPREFIX=$work/prefix /usr/lib/wine/wineserver -k 2>/dev/null || :; rm -rf "$work"' EXIT
odd="$work/Games 100% a\\b"  # a folder that a menu entry must quote
mkdir "$work/release" "$odd" "$work/home" "$work/fake"
cp "$1" "$2" "$3" "$work/release/"
cp "$1" "$3" "$odd/"
launcher=$work/release/asdedit-wine.sh
save="$work/my save.asd"
loader=/usr/lib/wine/wine
case $2 in *-x64.exe) loader=/usr/lib/wine/wine64 ;; esac
export WINEPREFIX="$work/prefix" WINE=$loader HOME="$work/home"
unset XDG_DATA_HOME
fail() {
  echo "FAILED: $*"
  exit 1
}
{
  printf 'This is save data for Kelvas3.5 Win95 For PLOV/RMX system       (C) 1996 BRANVIK-CO'
  head -c 13 /dev/zero
  printf '\203\202\203\213\203\137\203\223\201\105\203\163\203\116\203\132\203\212\203\111'
  printf '\203\223 - Kelvas '
  head -c 282408 /dev/zero
} >"$save" # the two records of a save file

# start FILE OUT: the launcher with FILE, until the editor's title names it; then the editor ends.
start() {
  "$launcher" "$1" >"$2" 2>&1 &
  title="($(printf 'Z:%s' "$1" | tr / '\\'))"
  for _ in $(seq 150); do
    xwininfo -root -tree | grep -qF "$title" && break
    sleep 0.2
  done
  xwininfo -root -tree | grep -qF "$title" || fail "no editor window titled $title: $(cat "$2")"
  /usr/lib/wine/wineserver -k
}
fonts='HKCU\Software\Wine\Fonts\Replacements'
LC_ALL=C.UTF-8 $WINE reg add "$fonts" /v 'MS UI Gothic' /d Mine /f >/dev/null 2>&1
start "$save" "$work/first"
[ "$(grep -c 'from now on' "$work/first")" = 3 ] || fail "fonts set: $(cat "$work/first")"
LC_ALL=C.UTF-8 $WINE reg query "$fonts" /v 'MS UI Gothic' | grep -q Mine || fail "a font replaced"
start "$save" "$work/second"
! grep -q 'from now on' "$work/second" || fail "fonts set again: $(cat "$work/second")"

WINE=$work/none "$launcher" "$save" >"$work/out" 2>&1 && fail "started without Wine"
grep -q 'does not name a program' "$work/out" || fail "$(cat "$work/out")"
echo '<fontconfig></fontconfig>' >"$work/fonts.conf"
FONTCONFIG_FILE=$work/fonts.conf "$launcher" "$save" >"$work/out" 2>&1 && fail "no Japanese font"
grep -q 'no Japanese font' "$work/out" || fail "$(cat "$work/out")"
printf '#!/bin/sh\n' >"$work/fake/${loader##*/}"  # a Wine whose prefix is still to be made
chmod +x "$work/fake/${loader##*/}"
WINE=$work/fake/${loader##*/} WINEPREFIX=$work/new "$launcher" >"$work/out" 2>&1
grep -q 'Wine is preparing its folder' "$work/out" || fail "first start in silence"

# A fresh account: the install makes the folders, and one uninstall after two
# installs leaves none of them.
launcher=$odd/asdedit-wine.sh
export HOME="$work/account"  # Wine's own menu builder has written into the first one
mkdir "$HOME"
"$launcher" --install-desktop 2>/dev/null
"$launcher" --install-desktop 2>/dev/null
data=$HOME/.local/share
desktop-file-validate "$data/applications/asdedit.desktop" || fail "desktop entry"
printf 'This is save data for Kelvas' >"$work/s1.asd"
printf '(defsystem "game")\n' >"$work/game.asd"
for tool in "xdg-mime query filetype" "gio info -a standard::content-type"; do
  type=$(XDG_DATA_DIRS=/usr/share $tool "$work/s1.asd")
  case $type in *application/x-asd-save*) ;; *) fail "$tool: the save is $type" ;; esac
  type=$(XDG_DATA_DIRS=/usr/share $tool "$work/game.asd")
  case $type in *text/x-common-lisp*) ;; *) fail "$tool: the Lisp file is $type" ;; esac
done
"$launcher" --uninstall-desktop 2>/dev/null
[ -z "$(find "$HOME" -mindepth 1)" ] || fail "left behind: $(find "$HOME")"
# Other programs' files beside the launcher's outlive it.
"$launcher" --install-desktop 2>/dev/null
others="applications/other.desktop mime/packages/other.xml icons/hicolor/64x64/apps/other.png"
for f in $others; do cp "$data/${f%/*}"/asdedit* "$data/$f"; done
mkdir "$HOME/.local/bin"
echo tool >"$HOME/.local/bin/tool"
"$launcher" --uninstall-desktop 2>/dev/null
for f in $others; do [ -f "$data/$f" ] || fail "another program's $f removed"; done
[ -f "$HOME/.local/bin/tool" ] || fail "another program's tool removed"
[ -z "$(find "$HOME" -name 'asdedit*')" ] || fail "left behind: $(find "$HOME")"
echo "launcher: fonts, a file by its Linux path, what is missing, desktop entry: passed"
