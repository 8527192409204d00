#!/bin/sh
# launcher_test.sh LAUNCHER EDITOR ICON: the Linux launcher as released, with a
# fresh Wine prefix: fonts set once, a file by its Linux path, the Wine it finds,
# what is missing, options, and the desktop entry and file type installed and
# removed beside other programs' files.
set -eu
. "$(dirname "$0")/../../scripts/wine-env"
work=$(mktemp -d)
trap 'WINEPREFIX=$work/prefix /usr/lib/wine/wineserver -k 2>/dev/null || :; rm -rf "$work"' EXIT
odd="$work/Games 100% a\\b"  # a folder that a menu entry must quote
mkdir "$work/release" "$odd" "$work/home" "$work/fake" "$work/fake32" "$work/bin"
cp "$1" "$2" "$3" "$work/release/"
# An i686 editor stands in for the 64-bit one (wine64 runs it where 32-bit programs run).
[ -f "$work/release/asdedit-x64.exe" ] || cp "$2" "$work/release/asdedit-x64.exe"
cp "$1" "$3" "$odd/"
launcher=$work/release/asdedit-wine.sh
save="$work/-my save.asd"
loader=/usr/lib/wine/wine
case $2 in *-x64.exe) loader=/usr/lib/wine/wine64 ;; esac
export WINEPREFIX="$work/prefix" WINE=$loader HOME="$work/home" XDG_DATA_DIRS=/usr/share
unset XDG_DATA_HOME
fail() { printf 'FAILED: %s\n' "$*" && exit 1; }
{ # the two records of a save file
  printf 'This is save data for Kelvas3.5 Win95 For PLOV/RMX system       (C) 1996 BRANVIK-CO' && head -c 13 /dev/zero
  printf '\203\202\203\213\203\137\203\223\201\105\203\163\203\116\203\132\203\212\203\111\203\223 - Kelvas '
  head -c 282408 /dev/zero
} >"$save"

# start FILE OUT [VAR=VALUE...]: the launcher in FILE's folder with FILE's name,
# until the editor's title names FILE; then the editor ends.
start() {
  file=$1 out=$2
  shift 2
  (cd "${file%/*}" && exec env "$@" "$launcher" -- "${file##*/}") >"$out" 2>&1 &
  title="($(printf 'Z:%s' "$file" | tr / '\\'))"
  for _ in $(seq 150); do
    xwininfo -root -tree | grep -qF "$title" && break
    sleep 0.2
  done
  xwininfo -root -tree | grep -qF "$title" || fail "no editor window titled $title: $(cat "$out")"
  /usr/lib/wine/wineserver -k
}
fonts='HKCU\Software\Wine\Fonts\Replacements'
LC_ALL=C.UTF-8 $WINE reg add "$fonts" /v 'MS UI Gothic' /d Mine /f >/dev/null 2>&1
start "$save" "$work/first"
[ "$(grep -c 'from now on' "$work/first")" = 3 ] || fail "fonts set: $(cat "$work/first")"
LC_ALL=C.UTF-8 $WINE reg query "$fonts" /v 'MS UI Gothic' | grep -q Mine || fail "a font replaced"
# Debian's loaders, with no Wine on PATH and no xdg-utils either.
ln -s /usr/bin/* "$work/bin/" && rm -f "$work/bin"/wine* "$work/bin"/xdg-*
start "$save" "$work/second" -u WINE PATH="$work/bin"
! grep -q 'from now on' "$work/second" || fail "fonts set again: $(cat "$work/second")"
printf '\177ELF' >"$work/fake32/wine" && chmod +x "$work/fake32/wine"  # a kernel without 32-bit support
start "$save" "$work/third" WINE="$work/fake32/wine"
[ "$(grep -c 'does not run' "$work/third")" = 1 ] || fail "32-bit Wine: $(cat "$work/third")"

WINE=$work/none "$launcher" "$save" >"$work/out" 2>&1 && fail "started without Wine"
grep -q 'does not name a program' "$work/out" || fail "$(cat "$work/out")"
echo '<fontconfig></fontconfig>' >"$work/fonts.conf"
FONTCONFIG_FILE=$work/fonts.conf "$launcher" "$save" >"$work/out" 2>&1 && fail "no Japanese font"
grep -q 'No Japanese font' "$work/out" || fail "$(cat "$work/out")"
fake=$work/fake/${loader##*/}  # a Wine whose prefix is still to be made; it notes each run
printf '#!/bin/sh\necho "$*" >>"$HOME/ran"\n' >"$fake" && chmod +x "$fake"
WINE=$fake WINEPREFIX=$work/new "$launcher" >"$work/out" 2>&1
grep -q 'Wine is preparing its folder' "$work/out" || fail "first start in silence"

# A fresh account: a mistyped option and a desktop without xdg-utils install
# nothing and start nothing.
launcher=$odd/asdedit-wine.sh
export HOME="$work/account"  # Wine's own menu builder has written into the first one
mkdir "$HOME"
WINE=$fake "$launcher" --instal-desktop "$save" >"$work/out" 2>&1 && fail "an unknown option taken"
grep -q -- '--instal-desktop.*--help' "$work/out" || fail "$(cat "$work/out")"
PATH=$work/bin "$launcher" --install-desktop >"$work/out" 2>&1 && fail "installed without xdg-utils"
grep -q 'install xdg-utils' "$work/out" || fail "$(cat "$work/out")"
[ -z "$(find "$HOME" -mindepth 1)" ] || fail "refused, yet ran or installed: $(find "$HOME")"
types() { # what xdg-mime and gio call the file $1
  xdg-mime query filetype "$1" && gio info -a standard::content-type "$1" | sed -n 's/.*type: //p'
}
printf 'This is save data for Kelvas' >"$work/s1.asd"
printf '(defsystem "game")\n' >"$work/game.asd"
"$launcher" --install-desktop >"$work/out" 2>&1 || fail "install: $(cat "$work/out")"
data=$HOME/.local/share
for entry in "$data"/applications/*.desktop; do desktop-file-validate "$entry" || fail "$entry"; done
[ "$(types "$work/s1.asd" | sort -u)" = application/x-asd-save ] || fail "the save: $(types "$work/s1.asd")"
[ "$(types "$work/game.asd" | sort -u)" = text/x-common-lisp ] || fail "Lisp: $(types "$work/game.asd")"
# Other programs' files beside the launcher's, and their caches, outlive it;
# after two installs one uninstall leaves no file of the launcher's and no
# word of it.
others="applications/other.desktop mime/packages/other.xml icons/hicolor/64x64/apps/other.png"
for f in $others; do sed s/asd/other/g "$data/${f%/*}"/asd* >"$data/$f"; done
update-desktop-database "$data/applications"
"$launcher" --install-desktop 2>/dev/null
"$launcher" --uninstall-desktop 2>/dev/null
for f in $others; do [ -f "$data/$f" ] || fail "another program's $f removed"; done
left=$(find "$HOME" -name 'asd*'; grep -rl asd "$HOME" || :)
[ -z "$left" ] || fail "left behind: $left"
! types "$work/s1.asd" | grep -q asd || fail "the save type is left: $(types "$work/s1.asd")"
echo "launcher: fonts, a file by its Linux path, Wine, what is missing, options, desktop entry: passed"
