#!/bin/sh
# Usage: asdedit-wine.sh [--recheck] [--] [FILE]
#        asdedit-wine.sh --install-desktop | --uninstall-desktop | --help
#
# asdedit-wine.sh starts the save editor that lies beside it under Wine, with
# FILE open when one is given (a Linux path; after --, it may begin with a
# dash). The editor reports a FILE that does not exist. A name that ends in a
# dot or a blank, or holds a backslash, is refused: Windows would read another
# name, and the editor would open another file. Starting needs Wine and a
# Japanese font; where one is missing, the launcher names the packages.
# --recheck forgets which editor Wine runs and the font the launcher mapped,
#   and starts as the first start does.
# --install-desktop adds a menu entry and the *.asd file type for this user
#   only, with the desktop's own tools: only this needs xdg-utils.
# --uninstall-desktop removes what --install-desktop added and nothing else.
# --help shows this text.
#
# Wine is $WINE when it is set, else wine or wine64 from PATH, else Debian's
# /usr/lib/wine/wine or /usr/lib/wine/wine64. Whether that Wine runs a 32-bit
# Windows program decides the editor: the launcher runs asdtool.exe, the
# 32-bit tool beside it, for at most 30 seconds (once Wine has made a new
# prefix). Where it runs, the 32-bit editor asdedit.exe starts. Where it does
# not (Wine installed without its 32-bit half, or a kernel without 32-bit
# support), the 64-bit editor asdedit-x64.exe starts with a 64-bit Wine, and
# the launcher says so at every start. A sure answer is kept in the prefix
# until that Wine or the loaders it may run change; after any other failure
# the next start asks again. The prefix is Wine's own ($WINEPREFIX, else
# ~/.wine). Wine's debugging messages stay off unless WINEDEBUG is set.
# When no terminal shows the launcher's output, a failure also appears in a
# window (zenity, kdialog, xmessage or gxmessage, else a notification).

set -u
self=$(readlink -f "$0" 2>/dev/null || echo "$0")
here=${self%/*}
data=${XDG_DATA_HOME:-$HOME/.local/share}
name=asdedit-wine
# The names the desktop knows the editor by; the vendor prefix "asdedit-" is
# what xdg-utils asks of them.
entry=asdedit-saveeditor
mime_file=asdedit-save.xml
# The launcher's link that the menu entry runs, at a path that needs no
# quotes unless the data folder's does (see exec_path).
link=$data/$name/$name.sh
prefix=${WINEPREFIX:-$HOME/.wine}
# What the launcher keeps in the prefix: the editor chosen for the state of
# the Wine files, and the font the faces were mapped to.
choice=$prefix/asdedit-wine.choice
fonts=$prefix/asdedit-wine.fonts

say() { printf '%s: %s\n' "$name" "$*" >&2; }
tell() {
  say "$@"
  show "$name: $*"
}
fail() {
  tell "$@"
  exit 1
}
refuse() {
  tell "$1 See $0 --help."
  exit 2
}

# Shows TEXT in a window when no terminal shows standard error and a display
# is there; the window's program runs on its own, and nothing waits for it.
show() {
  if [ -t 2 ] || [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then return; fi
  for tool in zenity kdialog xmessage gxmessage notify-send; do
    command -v $tool >/dev/null 2>&1 && break
    tool=
  done
  case $tool in
    zenity) set -- zenity --error --no-markup --title="$name" --text="$1" ;;
    kdialog) set -- kdialog --title "$name" --error "$1" ;;
    xmessage | gxmessage) set -- "$tool" -title "$name" -center "$1" ;;
    notify-send) set -- notify-send -u critical "$name" "$1" ;;
    *) return ;;
  esac
  if command -v setsid >/dev/null 2>&1; then set -- setsid "$@"; fi
  "$@" </dev/null >/dev/null 2>&1 &
}

# Keeps TEXT in the prefix's FILE, written whole beside it first, so that
# another start never reads half of it; nothing when TEXT is empty or the
# prefix is not there.
keep() {
  [ -n "$2" ] && [ -d "$prefix" ] || return 0
  { printf '%s\n' "$2" >"$1.$$" && mv -f "$1.$$" "$1"; } 2>/dev/null || rm -f "$1.$$"
}

i386="sudo dpkg --add-architecture i386 && sudo apt update && sudo apt install"
fedora="  Fedora:        sudo dnf install wine"
# How long Wine may take to run the 32-bit tool (a test shortens it).
seconds=${ASDEDIT_WINE_PROBE_SECONDS:-30}

# starts PROGRAM: whether PROGRAM starts on this machine; a 32-bit one does
# not on a kernel without 32-bit support, and fails with 126 ("Exec format
# error").
starts() { [ -x "$1" ] && "$1" --version </dev/null >/dev/null 2>&1; }

# The Wine that was asked for or found first, in $named.
find_wine() {
  if [ -n "${WINE:-}" ]; then
    named=$(command -v "$WINE") || fail "\$WINE ($WINE) does not name a program."
    return
  fi
  for named in "$(command -v wine)" "$(command -v wine64)" /usr/lib/wine/wine /usr/lib/wine/wine64; do
    [ -n "$named" ] && [ -x "$named" ] && return
  done
  fail "Wine is not installed (no wine, wine64 or \$WINE was found).
  Debian/Ubuntu: $i386 wine wine32
$fedora"
}

# The state of the files that decide what $named runs, one line each: the
# file it names and the one it resolves to, the loaders beside either, the
# Wine files that a wrapper script names (Debian's and WineHQ's wine run the
# 32-bit loader when it is installed, else wine64), Debian's loaders, and the
# kernel, whose 32-bit support a boot may change. Run in a subshell.
wine_state() {
  real=$(readlink -f "$named")
  files="$named
$real
$(grep -I -o '/[^][[:space:]"'\''`$;&|(){}<>]*wine[^][[:space:]"'\''`$;&|(){}<>]*' "$real" 2>/dev/null)"
  for dir in "${named%/*}" "${real%/*}"; do
    files="$files
$dir/wine
$dir/wine32
$dir/wine64"
  done
  files="$files
$(command -v wine64)"
  IFS='
'
  set -f
  # shellcheck disable=SC2086 # one file a line
  stat -L -c '%n %d:%i %s %Y' $files /usr/lib/wine/wine /usr/lib/wine/wine64 2>/dev/null
  cat /proc/sys/kernel/osrelease /proc/cmdline 2>/dev/null
}

# The editor $exe and the Wine $wine that runs it, and $why: "runs" where
# Wine runs 32-bit programs; where it does not, "kernel" (Wine's 32-bit loader
# cannot start here) or "missing" (Wine refused the 32-bit tool as a program
# it cannot run), which are kept in the prefix for the same state of the Wine
# files, in $keeping; or "unsure" (any other failure), which is not kept.
choose_editor() {
  [ -f "$here/asdtool.exe" ] ||
    fail "$here/asdtool.exe is missing: keep this script beside the files of the release."
  state=$(wine_state)
  kept=$(cat "$choice" 2>/dev/null)
  answer='' keeping=''
  case $kept in "$state
"*) answer=${kept#"$state
"} ;; esac
  case $answer in
    *.exe\ runs\ ?* | *.exe\ kernel\ ?* | *.exe\ missing\ ?*) ;;
    *)
      answer=$(ask_wine) || exit
      keeping="$state
$answer"
      ;;
  esac
  exe=$here/${answer%% *} answer=${answer#* }
  why=${answer%% *} wine=${answer#* }
  [ "$why" != unsure ] || keeping=
  [ -f "$exe" ] || fail "$exe is missing: keep this script beside the files of the release."
  [ "$why" != runs ] || return 0
  again="$0 --recheck asks again."
  case $why in
    kernel) cause="Wine's 32-bit loader cannot start here: this kernel runs no 32-bit program" ;;
    missing) cause="$wine runs no 32-bit Windows program here (its 32-bit half is not installed)" ;;
    *)
      cause="$named did not show whether it runs 32-bit Windows programs (the 32-bit tool failed, or gave no answer within $seconds seconds)"
      again="The launcher asks again at the next start."
      ;;
  esac
  if [ "${WINEARCH:-}" = win32 ] || grep -q -m 1 '^#arch=win32' "$prefix/system.reg" 2>/dev/null; then
    keep "$choice" "$keeping"
    [ "$why" != kernel ] || fail "$cause, so the Wine prefix $prefix, which holds 32-bit Windows only, cannot run the editor. Only a 64-bit prefix can; start the editor with a new one:
  WINEARCH=win64 WINEPREFIX=~/.wine-asdedit $0
$again"
    [ "$why" != unsure ] || fail "$cause, and the Wine prefix $prefix holds 32-bit Windows only: the launcher starts no editor there. $again"
    fail "$cause, and the Wine prefix $prefix holds 32-bit Windows only. Install 32-bit Wine:
  Debian/Ubuntu: $i386 wine32
$fedora
$again"
  fi
  say "$cause, so the 64-bit editor asdedit-x64.exe starts with $wine. $again"
}

# Prints "EXE WHY WINE" for $named, as choose_editor names them. Where Wine
# runs, the prefix is made first, without a time limit; then Wine runs the
# 32-bit tool for at most $seconds seconds, its answer kept in files, so that
# no program Wine leaves behind holds the launcher up.
ask_wine() {
  real=$(readlink -f "$named")
  starts "$named" && { [ ! -e "${real%/*}/wine" ] || starts "${real%/*}/wine"; }
  case $? in
    0) ;;
    126) use_64_bit kernel && return ;;
    *) use_64_bit unsure && return ;;
  esac
  prepare "$named"
  command -v timeout >/dev/null 2>&1 && set -- timeout -k 5 "$seconds"
  out=$choice.$$
  LC_ALL=C.UTF-8 WINEDEBUG=-all,err+module "$@" "$named" "$here/asdtool.exe" --version </dev/null >"$out" 2>"$out.err"
  version=$(cat "$out" 2>/dev/null)
  # Wine 8 without its 32-bit half tries its WoW64 mode, which finds no
  # 32-bit system DLLs (load_wow64_ntdll fails); older Wines say Bad EXE format.
  grep -q -s -e 'Bad EXE format' -e load_wow64_ntdll "$out" "$out.err"
  refused=$?
  rm -f "$out" "$out.err"
  case $version in
    asdtool*) echo "asdedit.exe runs $named" ;;
    *) if [ $refused = 0 ]; then use_64_bit missing; else use_64_bit unsure; fi ;;
  esac
}

# Prints "asdedit-x64.exe WHY WINE" with the first 64-bit Wine that starts:
# $named, the one beside it, wine64 from PATH or Debian's.
use_64_bit() {
  for wine in "$named" "${named%/*}/wine64" "$(command -v wine64)" /usr/lib/wine/wine64; do
    starts "$wine" && echo "asdedit-x64.exe $1 $wine" && return
  done
  fail "$named does not run on this machine, and no 64-bit Wine was found.
  Debian/Ubuntu: sudo apt install wine64
$fedora"
}

# Makes the prefix with the Wine $1 where Wine has not made it yet (Wine
# writes the time of its update at once, its registry only when it ends).
prepare() {
  [ ! -f "$prefix/.update-timestamp" ] || return 0
  say "Wine is preparing its folder $prefix, so this first start takes a while."
  "$1" wineboot </dev/null >/dev/null 2>&1
}

# The Japanese font to map the editor's faces to, in $family, by the name
# that reg shows unchanged in any locale, and the one the launcher mapped
# them to in this prefix, in $mapped; no $family while that is still installed.
find_font() {
  mapped=$(cat "$fonts" 2>/dev/null) family=
  if [ -z "$recheck" ] && [ -n "$mapped" ] &&
    fc-list -q "$(printf '%s' "$mapped" | sed 's/[\\:,-]/\\&/g')" 2>/dev/null; then
    return
  fi
  family=$(LC_ALL=C fc-match -f '%{family[0]}' 'sans:lang=ja' 2>/dev/null)
  if [ -z "$(fc-list :lang=ja family 2>/dev/null)" ] || [ -z "$family" ]; then
    fail "No Japanese font is installed, so the editor's texts would not show.
  Debian/Ubuntu: sudo apt install fonts-ipafont-gothic   (or fonts-noto-cjk)
  Fedora:        sudo dnf install ipa-gothic-fonts        (or google-noto-sans-cjk-fonts)"
  fi
}

# Maps the faces the editor asks for to $family in the prefix: those that
# are not mapped, or mapped to the launcher's $mapped; a face the user mapped
# stays as it is. Kept as made only when every mapping was written.
set_fonts() {
  [ -n "$family" ] || return 0
  key='HKCU\Software\Wine\Fonts\Replacements'
  made=1
  for face in 'ＭＳ ゴシック' 'MS Gothic' 'ＭＳ Ｐゴシック' 'MS UI Gothic'; do
    value=$(LC_ALL=C.UTF-8 "$wine" reg query "$key" /v "$face" 2>/dev/null | sed -n 's/.*REG_SZ    //p' | tr -d '\r')
    [ -z "$value" ] || [ "$value" = "$mapped" ] || continue
    if LC_ALL=C.UTF-8 "$wine" reg add "$key" /v "$face" /d "$family" /f >/dev/null 2>&1; then
      say "Wine shows \"$face\" with $family from now on."
    else
      made=
    fi
  done
  [ -z "$made" ] || keep "$fonts" "$family"
}

# The Windows name of the existing file $1 in $dos, where the prefix's drives
# give it for certain: Wine names a file by the deepest of its leading folders
# that is a drive's root (the same device and inode, links followed), which
# for the drives a prefix starts with is C: inside drive_c and Z: (the root)
# elsewhere. Fails where winepath has to decide: names with . or .., with
# characters that Windows names cannot hold, or another drive.
dos_name() {
  case $1 in
    /*) dos=$1 ;;
    *) dos=${PWD%/}/${1#./} ;;
  esac
  case $dos in *[\\:*?\"\<\>\|]* | *//* | */ | */./* | */../* | */. | */..) return 1 ;; esac
  tail=
  while :; do
    for drive in "$prefix"/dosdevices/?:; do
      # shellcheck disable=SC3013 # dash, bash and busybox know -ef; elsewhere winepath decides
      [ "$drive" -ef "${dos:-/}" ] || continue
      case $drive in
        */c:) dos=C:${tail:-\\} ;;
        */z:) dos=Z:${tail:-\\} ;;
        *) return 1 ;;
      esac
      return 0
    done
    [ -n "$dos" ] || return 1
    tail=\\${dos##*/}$tail
    dos=${dos%/*}
  done
}

run_editor() {
  case $here in *\\*) fail "Wine cannot start the editor in $here, whose name holds a backslash: move the files of the release to another folder." ;; esac
  [ -z "$recheck" ] || rm -f "$choice"
  find_wine
  find_font
  choose_editor
  prepare "$wine"
  # Kept once the prefix is there, so that the next start runs no Wine
  # program before the editor.
  keep "$choice" "$keeping"
  set_fonts
  export WINEDEBUG="${WINEDEBUG--all}"
  # Linux paths of existing files become Wine paths; the rest passes as it is.
  cd -P . 2>/dev/null || :  # $PWD without links, as Wine sees the folder
  for arg in "$@"; do
    shift
    if [ -e "$arg" ]; then
      if dos_name "$arg"; then
        arg=$dos
      else
        case $arg in -*) arg=./$arg ;; esac  # a name, not an option of winepath
        dos=$("$wine" winepath -w "$arg" 2>/dev/null | tr -d '\r')
        [ -n "$dos" ] || fail "Wine could not name the file $arg."
        arg=$dos
      fi
    fi
    set -- "$@" "$arg"
  done
  exec "$wine" "$exe" "$@"
}

# The path $1 as the program of a desktop entry's Exec line: as it stands
# where it holds no character that the line reserves, nor % or [, since
# xdg-open without a desktop environment runs the first word as it stands,
# quotes and all; else in double quotes with " ` $ \ escaped by a backslash,
# then as a desktop entry's string, where a backslash is doubled, and % (a
# field code) doubled too.
exec_path() {
  case $1 in *[[:space:]\"\'\\\<\>~\|\&\;\$\*\?\#\(\)\`%[]*) ;; *) printf '%s' "$1" && return ;; esac
  printf '"%s"' "$(printf '%s' "$1" | sed -e 's/[\\"`$]/\\&/g' -e 's/\\/\\\\/g' -e 's/%/%%/g')"
}

# Writes the menu entry and the file type into the folder $files, for
# xdg-utils to install or uninstall.
files=
write_files() {
  [ -z "$files" ] || return 0
  files=$(mktemp -d) || fail "No temporary folder could be made."
  trap 'rm -rf "$files"' EXIT
  # A save file is named *.asd like a Common Lisp system definition: the
  # glob weighs more than the system's one for *.asd, and the header decides.
  cat >"$files/$mime_file" <<EOF
<?xml version="1.0" encoding="UTF-8"?>
<mime-info xmlns="http://www.freedesktop.org/standards/shared-mime-info">
  <mime-type type="application/x-asd-save">
    <comment>モルダン・ピクセリオン save file</comment>
    <icon name="$entry"/>
    <glob pattern="*.asd" weight="60"/>
    <magic priority="80"><match type="string" offset="0" value="This is save data for Kelvas"/></magic>
  </mime-type>
</mime-info>
EOF
  cat >"$files/$entry.desktop" <<EOF
[Desktop Entry]
Type=Application
Name=モルダン・ピクセリオン Save Editor
Comment=Edit the save files of モルダン・ピクセリオン (*.asd)
Exec=$(exec_path "$link") %f
Icon=$entry
Terminal=false
MimeType=application/x-asd-save;
Categories=Game;
EOF
}

need_xdg() {
  for tool in xdg-desktop-menu xdg-mime xdg-icon-resource; do
    command -v $tool >/dev/null 2>&1 ||
      fail "The menu entry needs xdg-utils: sudo apt install xdg-utils (Debian, Ubuntu) or sudo dnf install xdg-utils (Fedora)."
  done
}

# An xdg-utils tool, for this user only whatever XDG_UTILS_INSTALL_MODE says.
xdg() { XDG_UTILS_INSTALL_MODE=user "$@" --mode user; }

# Brings update-desktop-database's cache up to date where the user has one.
refresh() {
  if [ -f "$data/applications/mimeinfo.cache" ] && command -v update-desktop-database >/dev/null 2>&1; then
    update-desktop-database "$data/applications"
  fi
}

install_desktop() {
  need_xdg
  [ -f "$here/asdedit.png" ] || fail "$here/asdedit.png is missing: keep this script beside the files of the release."
  case $link in *'
'*) fail "The data folder's name holds a line break, which a menu entry cannot name." ;; esac
  # The entry runs a link to this script, which the data folder keeps.
  if ! { mkdir -p "${link%/*}" && ln -sfn "$self" "$link"; }; then
    fail "The link $link could not be made, so nothing was installed."
  fi
  write_files
  if command -v desktop-file-validate >/dev/null 2>&1 &&
    ! desktop-file-validate "$files/$entry.desktop" >&2; then
    fail "The menu entry for $self is not valid, so nothing was installed."
  fi
  if ! { xdg xdg-icon-resource install --size 64 "$here/asdedit.png" "$entry" &&
    xdg xdg-mime install "$files/$mime_file" &&
    xdg xdg-desktop-menu install "$files/$entry.desktop"; }; then
    remove_desktop 2>/dev/null
    fail "xdg-utils could not install the menu entry, so nothing was installed."
  fi
  refresh
  say "Installed the menu entry and the *.asd file type in $data."
}

# Removes the menu entry, the file type and the icon; the files of other
# programs stay.
remove_desktop() {
  write_files
  xdg xdg-desktop-menu uninstall "$files/$entry.desktop"
  xdg xdg-mime uninstall "$files/$mime_file"
  xdg xdg-icon-resource uninstall --size 64 "$entry"
  # xdg-desktop-menu made the editor the default for save files and leaves
  # that behind.
  list=$data/applications/defaults.list
  if grep -q "$entry\.desktop" "$list" 2>/dev/null; then
    sed -e "\\|^application/x-asd-save=|{s/;$entry\\.desktop//; s/=$entry\\.desktop;\\{0,1\\}/=/; /=\$/d; }" \
      "$list" >"$files/defaults.list" && cat "$files/defaults.list" >"$list"
  fi
  [ ! -L "$link" ] || rm -f "$link"
  rmdir "${link%/*}" 2>/dev/null
  refresh
}

uninstall_desktop() {
  need_xdg
  remove_desktop
  say "Removed the menu entry and the *.asd file type from $data."
}

# Options come before the file; -- ends them. One file at most, whose name
# Windows reads as it is: it shortens a part that ends in a dot and a name
# that ends in a blank, and a backslash parts folders.
action='' recheck=''
while [ $# -gt 0 ]; do
  case $1 in
    --install-desktop | --uninstall-desktop | --help | -h)
      if [ $# != 1 ] || [ -n "$recheck" ]; then refuse "$1 takes no other argument."; fi
      action=$1
      ;;
    --recheck) recheck=1 ;;
    --) shift && break ;;
    -*) refuse "There is no option $1." ;;
    *) break ;;
  esac
  shift
done
if printf '/%s' "${1:-}" | grep -E -q '/[^/]*[^/.][^/]*\.(/|$)| $|[\\]'; then
  refuse "Windows would read \"$1\" as another name (it drops a dot or a blank at the end of a name, and a backslash parts folders), and the editor would open another file. Rename it first."
fi
[ $# -le 1 ] || refuse "Only one file can be opened, and \"$2\" follows \"$1\"."
case $action in
  --install-desktop) install_desktop ;;
  --uninstall-desktop) uninstall_desktop ;;
  --help | -h) sed -n '2,/^$/s/^# \{0,1\}//p' "$self" ;;
  *) run_editor "$@" ;;
esac
