#!/bin/sh
# asdedit-wine.sh: starts the save editor beside this script under Wine.
#   asdedit-wine.sh [FILE...]        the editor, with FILE (a Linux path) open
#   asdedit-wine.sh --install-desktop    a menu entry and the *.asd file type,
#                                        for this user only
#   asdedit-wine.sh --uninstall-desktop  removes what that installed and
#                                        nothing else
# Wine is $WINE when set, else wine (or wine64 with the 64-bit editor) from
# PATH; a 64-bit-only Wine (wine64) runs the 64-bit editor. The prefix is
# Wine's own ($WINEPREFIX or ~/.wine).
set -u
self=$(readlink -f "$0" 2>/dev/null || echo "$0")
here=$(cd "$(dirname "$self")" && pwd)
data=${XDG_DATA_HOME:-$HOME/.local/share}
record=$data/asdedit-wine.installed
name=asdedit-wine

say() { printf '%s: %s\n' "$name" "$*" >&2; }
fail() { say "$@"; exit 1; }

# The Wine to run and the editor it runs.
find_wine() {
  if [ -n "${WINE:-}" ]; then
    command -v "$WINE" >/dev/null 2>&1 || fail "\$WINE ($WINE) does not name a program."
    wine=$WINE
  elif command -v wine >/dev/null 2>&1; then wine=wine
  elif command -v wine64 >/dev/null 2>&1; then wine=wine64
  else wine=
  fi
  exe=$here/asdedit.exe
  case ${wine##*/} in wine64) exe=$here/asdedit-x64.exe ;; esac
  if [ -z "$wine" ]; then
    fail "Wine is not installed (${wine:-no wine, wine64 or \$WINE found}).
  Debian/Ubuntu: sudo dpkg --add-architecture i386 && sudo apt update && sudo apt install wine wine32
  Fedora:        sudo dnf install wine"
  fi
  [ -f "$exe" ] || fail "$exe is missing: keep this script beside the editor of the release."
}

# A Japanese gothic font for the faces the editor asks for, set in the Wine
# prefix once; a replacement the user has set already is kept.
set_fonts() {
  family=$(fc-match -f '%{family[0]}' 'sans:lang=ja' 2>/dev/null)
  if [ -z "$(fc-list :lang=ja family 2>/dev/null)" ] || [ -z "$family" ]; then
    fail "no Japanese font is installed; the editor's texts would not show.
  Debian/Ubuntu: sudo apt install fonts-ipafont-gothic   (or fonts-noto-cjk)
  Fedora:        sudo dnf install ipa-gothic-fonts        (or google-noto-sans-cjk-fonts)"
  fi
  key='HKCU\Software\Wine\Fonts\Replacements'
  prefix=${WINEPREFIX:-$HOME/.wine}
  [ -d "$prefix" ] ||
    say "Wine is preparing its folder $prefix; the first start takes a while"
  for face in 'ＭＳ ゴシック' 'MS Gothic' 'ＭＳ Ｐゴシック' 'MS UI Gothic'; do
    if ! LC_ALL=C.UTF-8 "$wine" reg query "$key" /v "$face" >/dev/null 2>&1; then
      LC_ALL=C.UTF-8 "$wine" reg add "$key" /v "$face" /d "$family" /f >/dev/null 2>&1 &&
        say "Wine shows \"$face\" with $family from now on"
    fi
  done
}

run_editor() {
  find_wine
  set_fonts
  # Linux paths of existing files become Wine paths; the rest passes as it is.
  for arg in "$@"; do
    shift
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

# Makes dir (and its parents), noting in the record the ones it made.
made=
make_dir() {
  [ -d "$1" ] && return 0
  make_dir "$(dirname "$1")"
  mkdir "$1" && made="$made
dir $1"
}

# Writes stdin to file and notes it in the record with its checksum, so that
# only a file still as the launcher wrote it is ever removed.
put_file() {
  make_dir "$(dirname "$1")"
  cat >"$1" && made="$made
file $(cksum <"$1" | cut -d' ' -f1,2) $1"
}

# Brings the caches of the user's menu and file types up to date, where the tools are.
refresh() {
  if [ -d "$data/mime/packages" ] && command -v update-mime-database >/dev/null 2>&1; then
    update-mime-database "$data/mime"
  fi
  if [ -d "$data/applications" ] && command -v update-desktop-database >/dev/null 2>&1; then
    update-desktop-database "$data/applications"
  fi
}

# made DIR: whether the record says that the install made DIR.
made_dir() { grep -qxF "dir $1" "$record"; }

# The caches that update-mime-database and update-desktop-database keep in a
# folder the install made go with it once nothing else is left there.
drop_caches() {
  if made_dir "$data/mime" && [ -z "$(ls -A "$data/mime/packages" 2>/dev/null)" ]; then
    for cache in XMLnamespaces aliases generic-icons globs globs2 icons magic mime.cache \
      subclasses treemagic types version; do
      rm -f "$data/mime/$cache"
    done
    for folder in "$data/mime"/*/; do rmdir "$folder" 2>/dev/null; done
  fi
  if made_dir "$data/applications" && [ "$(ls -A "$data/applications")" = mimeinfo.cache ]; then
    rm -f "$data/applications/mimeinfo.cache"
  fi
}

install_desktop() {
  # Installed before: what that install made and is still there stays the
  # launcher's own.
  if [ -f "$record" ]; then
    earlier=$(grep '^dir ' "$record")
    uninstall_desktop 2>/dev/null
    made=$(printf '%s\n' "$earlier" | while IFS= read -r line; do
      [ -d "${line#dir }" ] && printf '\n%s' "$line"
    done)
  fi
  [ -f "$here/asdedit.png" ] || fail "$here/asdedit.png is missing: keep this script beside the files of the release."
  case $self in *'
'*) fail "the folder's name holds a line break, which a menu entry cannot name" ;; esac
  put_file "$data/icons/hicolor/64x64/apps/asdedit.png" <"$here/asdedit.png"
  # A save file is named *.asd like a Common Lisp system definition: the
  # glob weighs more than the system's one for *.asd, and the header decides.
  put_file "$data/mime/packages/asdedit-save.xml" <<EOF
<?xml version="1.0" encoding="UTF-8"?>
<mime-info xmlns="http://www.freedesktop.org/standards/shared-mime-info">
  <mime-type type="application/x-asd-save">
    <comment>モルダン・ピクセリオン save file</comment>
    <icon name="asdedit"/>
    <glob pattern="*.asd" weight="60"/>
    <magic priority="80"><match type="string" offset="0" value="This is save data for Kelvas"/></magic>
  </mime-type>
</mime-info>
EOF
  put_file "$data/applications/asdedit.desktop" <<EOF
[Desktop Entry]
Type=Application
Name=モルダン・ピクセリオン Save Editor
Comment=Edit the save files of モルダン・ピクセリオン (*.asd)
Exec=$(desktop_quote "$self") %f
Icon=asdedit
Terminal=false
MimeType=application/x-asd-save;
Categories=Game;
EOF
  printf '%s\n' "$made" | grep . | awk '!seen[$0]++' >"$record"
  if command -v desktop-file-validate >/dev/null 2>&1 &&
    ! desktop-file-validate "$data/applications/asdedit.desktop" >&2; then
    uninstall_desktop 2>/dev/null
    fail "the menu entry for $self is not valid; nothing was installed"
  fi
  refresh
  say "installed the menu entry and the *.asd file type in $data"
}

# Removes the recorded files that are still the launcher's own, then the
# recorded folders that are left empty, deepest first; anything else stays.
uninstall_desktop() {
  [ -f "$record" ] || fail "nothing to remove: $record is missing"
  grep '^file ' "$record" | while read -r _ sum size file; do
    [ "$(cksum <"$file" 2>/dev/null | cut -d' ' -f1,2)" = "$sum $size" ] && rm -f "$file"
  done
  refresh
  drop_caches
  folders=$(grep '^dir ' "$record" | cut -c5- | sort -r)
  rm -f "$record"  # it lies in the data folder, which may go too
  printf '%s\n' "$folders" | while IFS= read -r dir; do rmdir "$dir" 2>/dev/null; done
  say "removed the menu entry and the *.asd file type from $data"
}

case ${1:-} in
  --install-desktop) install_desktop ;;
  --uninstall-desktop) uninstall_desktop ;;
  --help | -h) sed -n '2,8s/^# \{0,1\}//p' "$self" ;;
  *) run_editor "$@" ;;
esac
