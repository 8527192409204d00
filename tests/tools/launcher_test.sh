#!/bin/sh
# launcher_test.sh LAUNCHER EDITOR ASDTOOL EDITOR_X64 ICON: the Linux launcher as
# released, beside the i686 editor and asdtool.exe and the x86_64 editor, with a
# fresh Wine prefix: the editor each Wine runs, fonts set once, a file by its
# Linux path, failures in a window, what is missing, options, and the desktop
# entry and file type installed and removed beside other programs' files.
# ASD_TEST_NO_I686=1 runs it as on a machine that runs no 32-bit program.
set -eu
. "$(dirname "$0")/../../scripts/wine-env"
work=$(mktemp -d)
trap 'WINEPREFIX=$work/prefix /usr/lib/wine/wineserver -k 2>/dev/null || :; rm -rf "$work"' EXIT
odd="$work/Games 100% a\\b"  # a folder that a menu entry must quote
mkdir -p "$work/release" "$odd" "$work/home" "$work/fake" "$work/fake32" "$work/bin" "$work/w/bin" "$work/w/lib/wine" "$work/w32"
cp "$@" "$work/release/"
cp "$1" "$5" "$odd/"
launcher=$work/release/asdedit-wine.sh
save="$work/-my save.asd"
zsave=$(printf 'Z:%s' "$save" | tr / '\\')
export WINEPREFIX="$work/prefix" HOME="$work/home" XDG_DATA_DIRS=/usr/share
unset XDG_DATA_HOME WINE
fail() { printf 'FAILED: %s\n' "$*" && exit 1; }
{ # the two records of a save file
  printf 'This is save data for Kelvas3.5 Win95 For PLOV/RMX system       (C) 1996 BRANVIK-CO' && head -c 13 /dev/zero
  printf '\203\202\203\213\203\137\203\223\201\105\203\163\203\116\203\132\203\212\203\111\203\223 - Kelvas '
  head -c 282408 /dev/zero
} >"$save"

# start FILE NAME OUT BITS [VAR=VALUE...]: the launcher in FILE's folder with
# FILE's name, until the editor's title holds the Windows NAME; the editor
# (the 32- or 64-bit program by its process) then ends.
start() {
  file=$1 title="($2)" out=$3 bits=$4
  shift 4
  (cd "${file%/*}" && exec env "$@" "$launcher" -- "${file##*/}") >"$out" 2>&1 &
  for _ in $(seq 150); do
    id=$(xwininfo -root -tree | grep -F "$title" | awk '{print $1}')
    [ -n "$id" ] && break
    sleep 0.2
  done
  [ -n "$id" ] || fail "no editor window titled $title: $(cat "$out")"
  # The fifth byte of a Linux program is 1 for a 32-bit one, 2 for a 64-bit one.
  [ "$(od -An -tx1 -j4 -N1 "/proc/$(xprop -id "$id" _NET_WM_PID | sed 's/.* //')/exe")" = " 0$((bits / 32))" ] ||
    fail "not the $bits-bit editor: $(cat "$out")"
  /usr/lib/wine/wineserver -k
}
fonts='HKCU\Software\Wine\Fonts\Replacements'
LC_ALL=C.UTF-8 /usr/lib/wine/wine64 reg add "$fonts" /v 'MS UI Gothic' /d Mine /f >/dev/null 2>&1
# A Wine like Debian's without its 32-bit half: its wine runs wine32 where it
# is installed, else wine64, which runs no 32-bit program away from wine32.
w=$work/w/lib/wine
cp /usr/lib/wine/wine64 "$w/"
ln -s /usr/lib/x86_64-linux-gnu "$work/w/lib/"  # where wine64 finds its libraries and data
ln -s /usr/share "$work/w/"
printf '#!/bin/sh\nif test -x %s; then exec %s "$@"; fi\nexec %s "$@"\n' "$w/wine" "$w/wine" "$w/wine64" >"$work/w/bin/wine"
chmod +x "$work/w/bin/wine"
start "$save" "$zsave" "$work/first" 64 PATH="$work/w/bin:$PATH"
[ "$(grep -c 'from now on' "$work/first")" = 3 ] || fail "fonts set: $(cat "$work/first")"
grep -q '64-bit editor' "$work/first" || fail "the 64-bit editor in silence"
LC_ALL=C.UTF-8 /usr/lib/wine/wine64 reg query "$fonts" /v 'MS UI Gothic' | grep -q Mine || fail "a font replaced"
printf '#arch=win32\n' >"$work/w32/system.reg"  # a 32-bit prefix
PATH="$work/w/bin:$PATH" WINEPREFIX="$work/w32" DISPLAY='' "$launcher" >"$work/out" 2>&1 && fail "a 32-bit prefix taken"
grep -q '32-bit Windows only' "$work/out" || fail "$(cat "$work/out")"
ln -s /usr/bin/* "$work/bin/" && rm -f "$work/bin"/wine* "$work/bin"/xdg-*  # no Wine, no xdg-utils
if [ -n "${ASD_TEST_NO_I686:-}" ] || ! asd_runs_i686; then
  echo "launcher: this machine runs no 32-bit program; the 32-bit editor's starts are skipped"
else
  ln -s /usr/lib/wine/wine "$w/wine"  # wine32 installed
  start "$save" "$zsave" "$work/second" 32 PATH="$work/w/bin:$PATH"
  ! grep -q '64-bit' "$work/second" || fail "the 64-bit editor named: $(cat "$work/second")"
  # Debian's loaders, with no Wine on PATH, and a file in drive_c.
  cp "$save" "$WINEPREFIX/drive_c/"
  start "$WINEPREFIX/drive_c/${save##*/}" "C:\\${save##*/}" "$work/out" 32 PATH="$work/bin"
fi
printf '\177ELF' >"$work/fake32/wine" && chmod +x "$work/fake32/wine"  # a kernel without 32-bit support
start "$save" "$zsave" "$work/third" 64 WINE="$work/fake32/wine"
[ "$(grep -c 'does not run\|from now on' "$work/third")" = 1 ] || fail "32-bit Wine, fonts once: $(cat "$work/third")"

# Refused: a Wine that is not there, shown in a window when no terminal shows it.
status=0
WINE=$work/none timeout 10 "$launcher" "$save" >"$work/out" 2>&1 || status=$?
for _ in $(seq 50); do
  id=$(xwininfo -name asdedit-wine 2>/dev/null | sed -n 's/.*Window id: \(0x[0-9a-f]*\).*/\1/p')
  [ -n "$id" ] && break
  sleep 0.1
done
[ -n "$id" ] && xkill -id "$id" >/dev/null || fail "no window shows that Wine is missing"
[ $status = 1 ] && grep -q 'does not name a program' "$work/out" || fail "status $status: $(cat "$work/out")"
echo '<fontconfig></fontconfig>' >"$work/fonts.conf"
FONTCONFIG_FILE=$work/fonts.conf WINEPREFIX=$work/new DISPLAY='' "$launcher" "$save" >"$work/out" 2>&1 && fail "no Japanese font"
grep -q 'No Japanese font' "$work/out" || fail "$(cat "$work/out")"
fake=$work/fake/wine  # a Wine whose prefix is still to be made; it notes each run
printf '#!/bin/sh\necho "$*" >>"$HOME/ran"\n' >"$fake" && chmod +x "$fake"
WINE=$fake WINEPREFIX=$work/new "$launcher" >"$work/out" 2>&1
grep -q 'Wine is preparing its folder' "$work/out" || fail "first start in silence"

# A fresh account: a mistyped option and a desktop without xdg-utils install
# nothing and start nothing.
launcher=$odd/asdedit-wine.sh
export HOME="$work/account" DISPLAY=''  # Wine's own menu builder has written into the first one
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
echo "launcher: the editor each Wine runs, fonts, a file by its Linux path, failures in a window, what is missing, options, desktop entry: passed"
