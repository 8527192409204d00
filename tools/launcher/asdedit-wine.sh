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
# /usr/lib/wine/wine64 or /usr/lib/wine/wine. A 64-bit-only Wine (wine64) runs
# the 64-bit editor, and so does a 64-bit Wine where the 32-bit one cannot run
# (on a kernel without 32-bit support). The prefix is Wine's own ($WINEPREFIX,
# else ~/.wine).

set -u
self=$(readlink -f "$0" 2>/dev/null || echo "$0")
here=$(cd "$(dirname "$self")" && pwd)
data=${XDG_DATA_HOME:-$HOME/.local/share}
name=asdedit-wine
# The names the desktop knows the editor by; the vendor prefix "asdedit-" is
# what xdg-utils asks of them.
entry=asdedit-saveeditor
mime_file=asdedit-save.xml

say() { printf '%s: %s\n' "$name" "$*" >&2; }
fail() { say "$@"; exit 1; }
refuse() { say "$1 See $0 --help."; exit 2; }

# runs PROGRAM: whether PROGRAM starts on this machine; a 32-bit one does not
# on a kernel without 32-bit support ("Exec format error").
runs() { [ -x "$1" ] && "$1" --version </dev/null >/dev/null 2>&1; }

# The Wine to run and the editor it runs.
find_wine() {
  if [ -n "${WINE:-}" ]; then
    wine=$(command -v "$WINE") || fail "\$WINE ($WINE) does not name a program."
  else
    wine=
    for candidate in "$(command -v wine)" "$(command -v wine64)" /usr/lib/wine/wine64 /usr/lib/wine/wine; do
      [ -n "$candidate" ] && [ -x "$candidate" ] && wine=$candidate && break
    done
  fi
  if [ -z "$wine" ]; then
    fail "Wine is not installed (no wine, wine64 or \$WINE was found).
  Debian/Ubuntu: sudo dpkg --add-architecture i386 && sudo apt update && sudo apt install wine wine32
  Fedora:        sudo dnf install wine"
  fi
  exe=$here/asdedit.exe
  case ${wine##*/} in
    wine64) exe=$here/asdedit-x64.exe ;;
    *) runs "$wine" || use_wine64 ;;
  esac
  [ -f "$exe" ] || fail "$exe is missing: keep this script beside the editor of the release."
}

# A Wine that does not start here gives way to a 64-bit one that does: the one
# beside it, else wine64 from PATH, else Debian's.
use_wine64() {
  for candidate in "${wine%/*}/wine64" "$(command -v wine64)" /usr/lib/wine/wine64; do
    if runs "$candidate"; then
      say "$wine does not run on this machine (a 32-bit Wine needs 32-bit support), so $candidate runs the 64-bit editor."
      wine=$candidate exe=$here/asdedit-x64.exe
      return
    fi
  done
  fail "$wine does not run on this machine, and no 64-bit Wine was found.
  Debian/Ubuntu: sudo apt install wine64
  Fedora:        sudo dnf install wine"
}

# A Japanese gothic font for the faces the editor asks for, set in the Wine
# prefix once; a replacement the user has set already is kept.
set_fonts() {
  family=$(fc-match -f '%{family[0]}' 'sans:lang=ja' 2>/dev/null)
  if [ -z "$(fc-list :lang=ja family 2>/dev/null)" ] || [ -z "$family" ]; then
    fail "No Japanese font is installed, so the editor's texts would not show.
  Debian/Ubuntu: sudo apt install fonts-ipafont-gothic   (or fonts-noto-cjk)
  Fedora:        sudo dnf install ipa-gothic-fonts        (or google-noto-sans-cjk-fonts)"
  fi
  key='HKCU\Software\Wine\Fonts\Replacements'
  prefix=${WINEPREFIX:-$HOME/.wine}
  [ -d "$prefix" ] ||
    say "Wine is preparing its folder $prefix, so this first start takes a while."
  for face in 'ＭＳ ゴシック' 'MS Gothic' 'ＭＳ Ｐゴシック' 'MS UI Gothic'; do
    if ! LC_ALL=C.UTF-8 "$wine" reg query "$key" /v "$face" >/dev/null 2>&1; then
      LC_ALL=C.UTF-8 "$wine" reg add "$key" /v "$face" /d "$family" /f >/dev/null 2>&1 &&
        say "Wine shows \"$face\" with $family from now on."
    fi
  done
}

run_editor() {
  find_wine
  set_fonts
  # Linux paths of existing files become Wine paths; the rest passes as it is.
  for arg in "$@"; do
    shift
    case $arg in -*) arg=./$arg ;; esac  # a name, not an option of winepath
    if [ -e "$arg" ]; then arg=$("$wine" winepath -w "$arg" 2>/dev/null | tr -d '\r'); fi
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
