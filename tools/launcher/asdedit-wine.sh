#!/bin/sh
# asdedit-wine.sh: starts the save editor beside this script under Wine.
#   asdedit-wine.sh [FILE...]        the editor, with FILE (a Linux path) open
#   asdedit-wine.sh --install-desktop    a menu entry and the *.asd file type,
#                                        for this user only
#   asdedit-wine.sh --uninstall-desktop  removes exactly what that installed
# Wine is $WINE when set, else wine (or wine64 with the 64-bit editor) from
# PATH; the prefix is Wine's own ($WINEPREFIX or ~/.wine).
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
  exe=$here/asdedit.exe
  if [ -n "${WINE:-}" ]; then wine=$WINE
  elif command -v wine >/dev/null 2>&1; then wine=wine
  elif command -v wine64 >/dev/null 2>&1; then wine=wine64 exe=$here/asdedit-x64.exe
  else wine=
  fi
  if [ -z "$wine" ] || ! command -v "$wine" >/dev/null 2>&1; then
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

# Quotes a path for the Exec line of a desktop entry.
desktop_quote() { printf '"%s"' "$(printf '%s' "$1" | sed 's/[\\"`$]/\\\\&/g')"; }

# Makes dir (and its parents), noting in the record the ones it made.
made=
make_dir() {
  [ -d "$1" ] && return 0
  make_dir "$(dirname "$1")"
  mkdir "$1" && made="$made
dir $1"
}

# Writes stdin to file and notes it in the record.
put_file() {
  make_dir "$(dirname "$1")"
  cat >"$1" && made="$made
file $1"
}

# Brings the caches of the user's menu and file types up to date, where the tools are.
refresh() {
  if [ -d "$data/mime" ] && command -v update-mime-database >/dev/null 2>&1; then update-mime-database "$data/mime"; fi
  if [ -d "$data/applications" ] && command -v update-desktop-database >/dev/null 2>&1; then
    update-desktop-database "$data/applications"
  fi
}

install_desktop() {
  [ -f "$record" ] && uninstall_desktop
  [ -f "$here/asdedit.png" ] || fail "$here/asdedit.png is missing: keep this script beside the files of the release."
  put_file "$data/icons/hicolor/64x64/apps/asdedit.png" <"$here/asdedit.png"
  put_file "$data/mime/packages/asdedit-save.xml" <<EOF
<?xml version="1.0" encoding="UTF-8"?>
<mime-info xmlns="http://www.freedesktop.org/standards/shared-mime-info">
  <mime-type type="application/x-asd-save">
    <comment>モルダン・ピクセリオン save file</comment>
    <icon name="asdedit"/>
    <glob pattern="*.asd"/>
    <magic priority="60"><match type="string" offset="0" value="This is save data for Kelvas"/></magic>
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
  printf '%s\n' "$made" | grep . >"$record"
  refresh
  say "installed the menu entry and the *.asd file type in $data"
}

uninstall_desktop() {
  [ -f "$record" ] || fail "nothing to remove: $record is missing"
  grep '^file ' "$record" | cut -c6- | while IFS= read -r file; do rm -f "$file"; done
  grep '^dir ' "$record" | cut -c5- | sort -r | while IFS= read -r dir; do rm -rf "$dir"; done
  rm -f "$record"
  refresh
  say "removed the menu entry and the *.asd file type from $data"
}

case ${1:-} in
  --install-desktop) install_desktop ;;
  --uninstall-desktop) uninstall_desktop ;;
  --help | -h) sed -n '2,8s/^# \{0,1\}//p' "$self" ;;
  *) run_editor "$@" ;;
esac
