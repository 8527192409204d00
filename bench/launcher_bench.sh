#!/usr/bin/env bash
# launcher_bench.sh PAIRS FOLDER WINE EDITOR FILE: start to first window of the
# editor through the Linux launcher (FOLDER/asdedit-wine.sh FILE, with $WINE
# set to WINE) against WINE FOLDER/EDITOR with FILE's Windows name, in turns,
# PAIRS times each, the wineserver of $WINEPREFIX ended between starts as
# after a player closes the editor. The window is the first one of class
# EDITOR that the display maps, seen as X tells it (xev on the root window).
# One untimed start of each first. Prints launcher_ms, direct_ms (medians)
# and ratio (the median over pairs of launcher / direct).
set -euo pipefail
pairs=$1 folder=$2 wine=$3 editor=$4 file=$5
. "$(dirname "${BASH_SOURCE[0]}")/../scripts/wine-env"
events=$(mktemp -u)
mkfifo "$events"
xev -root -event substructure >"$events" &
xev=$!
trap 'kill $xev; rm -f "$events"; /usr/lib/wine/wineserver -k 2>/dev/null || :' EXIT
exec 3<"$events"
rm -f "$events"

# first_window COMMAND...: microseconds from starting COMMAND to the mapping of
# its editor's window; the editor then ends with the wineserver.
first_window() {
  local line id start end
  while read -r -t 0.05 line <&3; do :; done
  start=${EPOCHREALTIME/./}
  "$@" </dev/null >/dev/null 2>&1 &
  while :; do
    read -r -t 60 line <&3 || { echo "launcher_bench: no window from $*" >&2; return 1; }
    [[ $line == MapNotify* ]] || continue
    end=${EPOCHREALTIME/./}
    read -r line <&3
    id=${line#*window } id=${id%%,*}
    xprop -id "$id" WM_CLASS | grep -qF "\"$editor\"" && break
  done
  /usr/lib/wine/wineserver -k
  /usr/lib/wine/wineserver -w
  wait $! || :
  echo $((end - start))
}

launcher=("$folder/asdedit-wine.sh" "$file")
direct=("$wine" "$folder/$editor" "Z:${file//\//\\}")
export WINE=$wine
first_window "${launcher[@]}" >/dev/null
first_window "${direct[@]}" >/dev/null
for ((r = 0; r < pairs; ++r)); do
  if ((r % 2)); then
    b=$(first_window "${direct[@]}")
    a=$(first_window "${launcher[@]}")
  else
    a=$(first_window "${launcher[@]}")
    b=$(first_window "${direct[@]}")
  fi
  echo "$a $b"
done | awk '
  function median(v, n,   i, j, t) {
    for (i = 2; i <= n; ++i) for (j = i; j > 1 && v[j - 1] > v[j]; --j) { t = v[j]; v[j] = v[j - 1]; v[j - 1] = t }
    return n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
  }
  { a[NR] = $1; b[NR] = $2; q[NR] = $1 / $2 }
  END { printf "launcher_ms=%.0f direct_ms=%.0f ratio=%.3f\n", median(a, NR) / 1000, median(b, NR) / 1000, median(q, NR) }'
