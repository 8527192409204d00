#!/bin/sh
# launcher_test.sh LAUNCHER EDITOR ASDTOOL EDITOR_X64 ICON: the Linux launcher as
# released: what it keeps of Wine's answers; the editor each Wine runs, quiet,
# on a file by its Linux path; refusals; the desktop entry opening a save.
# ASD_TEST_NO_I686=1 runs it as on a machine that runs no 32-bit program.
set -eu
. "$(dirname "$0")/../../scripts/wine-env"
unset WINEDEBUG  # the launcher quiets Wine itself
work=$(mktemp -d)
trap 'WINEPREFIX=$work/prefix /usr/lib/wine/wineserver -k 2>/dev/null || :; rm -rf "$work"' EXIT
odd="$work/Games 100%"  # the release, in a folder a menu entry would have to quote
qdata="$work/it's\\share"  # a data folder whose path it has to quote
s=$work/s  # the stand-in Wine's folder
mkdir -p "$odd" "$work/home" "$s" "$work/fake32" "$work/bin" "$work/w/bin" "$work/w/lib/wine"
cp "$@" "$odd/"
launcher=$odd/asdedit-wine.sh
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

# window TEXT: the id of a window whose name holds TEXT, in $id.
window() {
  for _ in $(seq 150); do
    id=$(xwininfo -root -tree | grep -F "$1" | awk '{print $1}')
    [ -n "$id" ] && return
    sleep 0.2
  done
}
# start TITLE OUT BITS [COMMAND...]: COMMAND (or the one begun) until the quiet
# editor (BITS by its process) shows the Windows name TITLE; it then ends, and
# the wineserver stays.
start() {
  title="($1)" out=$2 bits=$3
  shift 3
  [ $# = 0 ] || "$@" >"$out" 2>&1 &
  window "$title"
  [ -n "$id" ] || fail "no editor window titled $title: $(cat "$out")"
  # The fifth byte of a Linux program is 1 for a 32-bit one, 2 for a 64-bit one.
  pid=$(xprop -id "$id" _NET_WM_PID | sed 's/.* //')
  [ "$(od -An -tx1 -j4 -N1 "/proc/$pid/exe")" = " 0$((bits / 32))" ] || fail "not the $bits-bit editor: $(cat "$out")"
  ! grep -q fixme "$out" || fail "Wine's messages: $(cat "$out")"
  kill "$pid" && while kill -0 "$pid" 2>/dev/null; do sleep 0.1; done
}
# launch FILE [VAR=VALUE...]: the launcher in FILE's folder with FILE's name.
launch() { cd "${1%/*}" && file=${1##*/} && shift && exec env "$@" "$launcher" -- "$file"; }
# A Wine like Debian's without its 32-bit half: its wine runs wine32 where it
# is installed, else wine64, which runs no 32-bit program away from wine32.
w=$work/w/lib/wine
cp /usr/lib/wine/wine64 "$w/"
ln -s /usr/lib/x86_64-linux-gnu "$work/w/lib/"  # where wine64 finds its libraries and data
ln -s /usr/share "$work/w/"
printf '#!/bin/sh\nif test -x %s; then exec %s "$@"; fi\nexec %s "$@"\n' "$w/wine" "$w/wine" "$w/wine64" >"$work/w/bin/wine"
chmod +x "$work/w/bin/wine"
mkdir "$WINEPREFIX" && /usr/lib/wine/wineserver -p  # an empty folder, which Wine fills
launch "$save" PATH="$work/w/bin:$PATH" >"$work/first" 2>&1 &  # the first start, beside the stand-in

# A stand-in Wine noting its calls: answer says how it takes the 32-bit tool (ok,
# hang, refuse) or that only its wine64 starts (kernel); "MS Gothic" is the player's.
cat >"$s/wine" <<'EOF'
#!/bin/sh
s=${0%/*}
printf '%s\n' "$*" >>"$s/calls"
case "$(cat "$s/answer") $0 $*" in
  "kernel $s/wine --version") exit 126 ;;
  *" wineboot") mkdir -p "$WINEPREFIX/dosdevices" && ln -s / "$WINEPREFIX/dosdevices/z:" && : >"$WINEPREFIX/.update-timestamp" ;;
  "ok "*asdtool.exe*) echo asdtool ;;
  "hang "*asdtool.exe*) exec sleep 30 ;;
  *asdtool.exe*) echo 'wine: Bad EXE format for Z:\asdtool.exe.' >&2 && exit 1 ;;
  *" reg query "*"MS Gothic") printf '    MS Gothic    REG_SZ    Gone\r\n' ;;
  *" reg add "*) [ ! -f "$s/regfail" ] ;;
esac
EOF
chmod +x "$s/wine" && ln -s wine "$s/wine64"
# stand ANSWER [ARG...]: the launcher with the stand-in on ARG... and the save.
stand() {
  echo "$1" >"$s/answer" && shift && : >"$s/calls" && status=0
  WINE=$s/wine WINEPREFIX=$work/p ASDEDIT_WINE_PROBE_SECONDS=1 DISPLAY='' "$launcher" "$@" "$save" >"$work/out" 2>&1 || status=$?
}
# A new prefix, the fonts failing once: the third start runs only the editor.
touch "$s/regfail" && stand kernel
[ $status = 0 ] && grep -q 'preparing' "$work/out" && [ "$(grep -c 'reg add' "$s/calls")" = 3 ] || fail "$(cat "$work/out" "$s/calls")"
rm "$s/regfail" && stand kernel
! grep -q -e --version -e wineboot -e asdtool "$s/calls" && grep -q 'reg add' "$s/calls" || fail "kept: $(cat "$s/calls")"
stand kernel
[ "$(cat "$s/calls")" = "$odd/asdedit-x64.exe $zsave" ] || fail "not the 64-bit editor at once: $(cat "$s/calls")"
# Wine changes in a 32-bit prefix: a hang is kept nowhere, then 32-bit runs; the
# faces mapped to a font that is gone are mapped again.
touch "$s/wine32" && echo '#arch=win32' >"$work/p/system.reg" && echo Gone >"$work/p/asdedit-wine.fonts"
began=$(date +%s) && stand hang
[ $status = 1 ] && [ $(($(date +%s) - began)) -lt 20 ] && grep -q 'asks again at the next start' "$work/out" && ! grep -q wine32 "$work/out" || fail "hang: $(cat "$work/out")"
stand ok
[ $status = 0 ] && grep -q asdtool "$s/calls" && [ "$(grep -c 'reg add' "$s/calls")" = 4 ] &&
  [ "$(tail -n 1 "$s/calls")" = "$odd/asdedit.exe $zsave" ] || fail "not the 32-bit editor: $(cat "$s/calls")"
# --recheck maps the faces again; a certain refusal is kept.
stand ok --recheck
[ $status = 0 ] && [ "$(grep -c 'reg add' "$s/calls")" = 3 ] || fail "$(cat "$work/out" "$s/calls")"
stand refuse --recheck && stand ok
[ $status = 1 ] && grep -q 'install wine32' "$work/out" && grep -q -- '--recheck asks again' "$work/out" && [ ! -s "$s/calls" ] ||
  fail "not kept: $(cat "$work/out")"
# A mistyped option, a second file and names Windows reads as others.
for bad in '--instal-desktop|no option' "$save|follows" "$save.|another name" "$work/a\\b.asd|another name"; do
  stand ok "${bad%|*}"
  [ $status = 2 ] && [ ! -s "$s/calls" ] && grep -q "${bad#*|}" "$work/out" || fail "$bad: $(cat "$work/out")"
done

start "$zsave" "$work/first" 64
[ "$(grep -c 'from now on' "$work/first")" = 4 ] && grep -q '64-bit editor' "$work/first" || fail "$(cat "$work/first")"
ln -s /usr/bin/* "$work/bin/" && rm -f "$work/bin"/wine* "$work/bin"/xdg-*  # no Wine, no xdg-utils
if [ -n "${ASD_TEST_NO_I686:-}" ] || ! asd_runs_i686; then
  echo "launcher: this machine runs no 32-bit program: the stand-in answered as a 32-bit Wine; no real 32-bit editor started"
else
  ln -s /usr/lib/wine/wine "$w/wine"  # wine32 installed
  start "$zsave" "$work/second" 32 launch "$save" PATH="$work/w/bin:$PATH"
  ! grep -q '64-bit' "$work/second" || fail "the 64-bit editor named: $(cat "$work/second")"
  # Debian's loaders, with no Wine on PATH, and a file in drive_c.
  cp "$save" "$WINEPREFIX/drive_c/"
  start "C:\\${save##*/}" "$work/out" 32 launch "$WINEPREFIX/drive_c/${save##*/}" PATH="$work/bin"
fi
printf '\177ELF' >"$work/fake32/wine" && chmod +x "$work/fake32/wine"  # a kernel without 32-bit support
WINE=$work/fake32/wine WINEARCH=win32 WINEPREFIX=$work/new DISPLAY='' "$launcher" >"$work/out" 2>&1 && fail "a 32-bit prefix taken"
grep -q 'WINEARCH=win64 WINEPREFIX=' "$work/out" && ! grep -q preparing "$work/out" || fail "$(cat "$work/out")"

# Refused: a Wine that is not there, shown in a window when no terminal shows it.
status=0
WINE=$work/none timeout 10 "$launcher" "$save" >"$work/out" 2>&1 || status=$?
window '"asdedit-wine"'
[ -n "$id" ] && xkill -id "$id" >/dev/null || fail "no window shows that Wine is missing"
[ $status = 1 ] && grep -q 'does not name a program' "$work/out" || fail "status $status: $(cat "$work/out")"
echo '<fontconfig></fontconfig>' >"$work/fonts.conf"
FONTCONFIG_FILE=$work/fonts.conf WINEPREFIX=$work/new DISPLAY='' "$launcher" "$save" >"$work/out" 2>&1 && fail "no Japanese font"
grep -q 'No Japanese font' "$work/out" || fail "$(cat "$work/out")"

# A fresh account: nothing is installed without xdg-utils; gio opens a save by
# an entry that quotes its path, xdg-open without a desktop by one that needs none.
export HOME="$work/account" WINE="$work/fake32/wine"  # Wine's own menu builder has written into the first home
mkdir "$HOME"
PATH=$work/bin DISPLAY='' "$launcher" --install-desktop >"$work/out" 2>&1 && fail "installed without xdg-utils"
grep -q 'install xdg-utils' "$work/out" && [ -z "$(find "$HOME" -mindepth 1)" ] || fail "$(cat "$work/out"; find "$HOME")"
data=$HOME/.local/share
XDG_DATA_HOME=$qdata "$launcher" --install-desktop >"$work/out" 2>&1 || fail "install: $(cat "$work/out")"
"$launcher" --install-desktop >"$work/out" 2>&1 || fail "install: $(cat "$work/out")"
start "$zsave" "$work/out" 64 env XDG_DATA_HOME="$qdata" gio open "$save"
start "$zsave" "$work/out" 64 env -u XDG_CURRENT_DESKTOP xdg-open "$save"
types() { # what xdg-mime and gio call the file $1
  xdg-mime query filetype "$1" && gio info -a standard::content-type "$1" | sed -n 's/.*type: //p'
}
printf 'This is save data for Kelvas' >"$work/s1.asd"
printf '(defsystem "game")\n' >"$work/game.asd"
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
echo "launcher: what is kept, the editor each Wine runs, fonts, a file by its Linux path, refusals, desktop entry and opening: passed"
