#!/bin/sh
# Usage: asdedit-wine.sh [--] [FILE]
#        asdedit-wine.sh --install-desktop | --uninstall-desktop | --help
#
# asdedit-wine.sh starts the save editor that lies beside it under Wine, with
# FILE open when one is given (a Linux path). After --, a file name may begin
# with a dash.
# --install-desktop adds a menu entry and the *.asd file type for this user
# only, with the desktop's own tools (xdg-utils).
# --uninstall-desktop removes what --install-desktop added and nothing else.
# --help shows this text.
#
# Wine is $WINE when it is set, else wine or wine64 from PATH, else Debian's
# /usr/lib/wine/wine or /usr/lib/wine/wine64. Whether that Wine runs a 32-bit
# Windows program decides the editor: the launcher runs asdtool.exe, the
# 32-bit tool beside it. Where it runs, the 32-bit editor asdedit.exe starts.
# Where it does not (Wine installed without its 32-bit half, or a kernel
# without 32-bit support), the 64-bit editor asdedit-x64.exe starts with a
# 64-bit Wine, and the launcher says so at every start. The answer is kept in
# the prefix until that Wine or the loaders it may run change. The prefix is
# Wine's own ($WINEPREFIX, else ~/.wine).
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
# another start never reads half of it; nothing when the prefix is not there.
keep() {
  [ -d "$prefix" ] || return 0
  { printf '%s\n' "$2" >"$1.$$" && mv -f "$1.$$" "$1"; } 2>/dev/null || rm -f "$1.$$"
}

install_wine="  Debian/Ubuntu: sudo dpkg --add-architecture i386 && sudo apt update && sudo apt install wine wine32
  Fedora:        sudo dnf install wine"

# starts PROGRAM: whether PROGRAM starts on this machine; a 32-bit one does
# not on a kernel without 32-bit support ("Exec format error").
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
$install_wine"
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

# The editor $exe and the Wine $wine that runs it: as kept in the prefix for
# the same state of the Wine files, else as a 32-bit program shows.
choose_editor() {
  [ -f "$here/asdtool.exe" ] ||
    fail "$here/asdtool.exe is missing: keep this script beside the files of the release."
  state=$(wine_state)
  kept=$(cat "$choice" 2>/dev/null)
  case $kept in
    "$state
"*)
      answer=${kept#"$state
"}
      exe=$here/${answer%% *} wine=${answer#* }
      ;;
    *)
      wine=$named exe=$here/asdedit.exe
      case $("$wine" "$here/asdtool.exe" --version </dev/null 2>/dev/null) in
        asdtool*) ;;
        *) use_64_bit ;;
      esac
      keep "$choice" "$state
${exe##*/} $wine"
      ;;
  esac
  [ -f "$exe" ] || fail "$exe is missing: keep this script beside the files of the release."
  [ "${exe##*/}" = asdedit-x64.exe ] || return 0
  if [ "${WINEARCH:-}" = win32 ] || grep -q -m 1 '^#arch=win32' "$prefix/system.reg" 2>/dev/null; then
    fail "$wine runs no 32-bit Windows program here, and the Wine prefix $prefix holds 32-bit Windows only.
  Install 32-bit Wine, or start the editor with a prefix of its own: WINEPREFIX=~/.wine-asdedit $0
  Debian/Ubuntu: sudo dpkg --add-architecture i386 && sudo apt update && sudo apt install wine32
  Fedora:        sudo dnf install wine"
  elif [ "$wine" = "$named" ]; then
    say "$wine runs no 32-bit Windows program here, so the 64-bit editor asdedit-x64.exe starts."
  else
    say "$named does not run on this machine (a 32-bit Wine needs 32-bit support), so $wine runs the 64-bit editor."
  fi
}

# The 64-bit editor, with $wine where it starts, else with a 64-bit Wine that
# does: the one beside it, else wine64 from PATH, else Debian's.
use_64_bit() {
  exe=$here/asdedit-x64.exe
  starts "$wine" && return
  for wine in "${named%/*}/wine64" "$(command -v wine64)" /usr/lib/wine/wine64; do
    starts "$wine" && return
  done
  fail "$named does not run on this machine, and no 64-bit Wine was found.
  Debian/Ubuntu: sudo apt install wine64
  Fedora:        sudo dnf install wine"
}

# Whether a Japanese font is installed, in $family; only until the faces were
# mapped in this prefix.
find_font() {
  [ -f "$fonts" ] && return
  family=$(fc-match -f '%{family[0]}' 'sans:lang=ja' 2>/dev/null)
  if [ -z "$(fc-list :lang=ja family 2>/dev/null)" ] || [ -z "$family" ]; then
    fail "No Japanese font is installed, so the editor's texts would not show.
  Debian/Ubuntu: sudo apt install fonts-ipafont-gothic   (or fonts-noto-cjk)
  Fedora:        sudo dnf install ipa-gothic-fonts        (or google-noto-sans-cjk-fonts)"
  fi
}

# A Japanese gothic font for the faces the editor asks for, set in the Wine
# prefix once; a replacement the user has set already is kept.
set_fonts() {
  [ -f "$fonts" ] && return
  key='HKCU\Software\Wine\Fonts\Replacements'
  for face in 'ＭＳ ゴシック' 'MS Gothic' 'ＭＳ Ｐゴシック' 'MS UI Gothic'; do
    if ! LC_ALL=C.UTF-8 "$wine" reg query "$key" /v "$face" >/dev/null 2>&1; then
      LC_ALL=C.UTF-8 "$wine" reg add "$key" /v "$face" /d "$family" /f >/dev/null 2>&1 &&
        say "Wine shows \"$face\" with $family from now on."
    fi
  done
  keep "$fonts" "$family"
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
  find_wine
  find_font
  [ -d "$prefix" ] ||
    say "Wine is preparing its folder $prefix, so this first start takes a while."
  choose_editor
  set_fonts
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

# Quotes a path for the Exec line of a desktop entry: in double quotes with
# " ` $ \ escaped by a backslash, then as a desktop entry's string, where a
# backslash is doubled, and % (a field code) doubled too.
desktop_quote() {
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
Exec=$(desktop_quote "$self") %f
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
  case $self in *'
'*) fail "The folder's name holds a line break, which a menu entry cannot name." ;; esac
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
  refresh
}

uninstall_desktop() {
  need_xdg
  remove_desktop
  say "Removed the menu entry and the *.asd file type from $data."
}

# Options come before the file; -- ends them.
for arg in "$@"; do
  case $arg in
    --install-desktop | --uninstall-desktop | --help | -h)
      [ $# = 1 ] || refuse "$arg takes no other argument." ;;
    --) break ;;
    -*) refuse "There is no option $arg." ;;
    *) break ;;
  esac
done
case ${1:-} in
  --install-desktop) install_desktop ;;
  --uninstall-desktop) uninstall_desktop ;;
  --help | -h) sed -n '2,/^$/s/^# \{0,1\}//p' "$self" ;;
  --) shift && run_editor "$@" ;;
  *) run_editor "$@" ;;
esac
