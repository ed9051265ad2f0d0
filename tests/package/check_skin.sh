#!/usr/bin/env bash
# The shipped default skin and language flags: exactly what
# tools/skin/make_skin.py draws, in the sizes and formats the windows expect.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
pkg=$root/package
command -v identify >/dev/null || { echo "FAIL: identify missing (apt-get install -y imagemagick)"; exit 1; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failed=0
bad() { echo "FAIL: $*"; failed=1; }
python3 "$root/tools/skin/make_skin.py" "$tmp" >/dev/null || { echo "FAIL: make_skin.py did not run"; exit 1; }

# path below package/, width, height
sizes="Skin/Default/main.bmp 760 520
Skin/Default/btn_normal.png 110 40
Skin/Default/btn_hover.png 110 40
Skin/Default/btn_disable.png 110 40
Skin/Default/spbtn_normal.png 140 34
Skin/Default/spbtn_horver.png 140 34
Skin/Default/spbtn_pressed.png 140 34
Skin/Default/normal99.png 100 28
Skin/Default/hover99.png 100 28
Skin/Default/pressed99.png 100 28
Skin/Default/disable99.png 100 28
Skin/Default/b11.png 12 32
Skin/Default/b12.png 4 32
Skin/Default/b13.png 12 32
Skin/Default/b21.png 12 12
Skin/Default/b22.png 4 12
Skin/Default/b23.png 12 12
Skin/Default/backbtn.png 32 32
Skin/Default/backbtn_pressed.png 32 32
Language/English.bmp 32 20
Language/German.bmp 32 20
Language/Default.bmp 32 20"

while read -r name w h; do
  new=$tmp/$name old=$pkg/$name
  [ -f "$new" ] || { bad "make_skin.py no longer draws $name"; continue; }
  [ -f "$old" ] || { bad "package/$name is missing (run tools/skin/make_skin.py)"; continue; }
  cmp -s "$new" "$old" || bad "package/$name differs from what make_skin.py draws (rerun it)"
  got=$(identify -format '%w %h' "$old" 2>&1)
  [ "$got" = "$w $h" ] || bad "package/$name is $got, expected $w $h"
  kind=$(file -b "$old")
  case "$name:$kind" in
    *.bmp:"PC bitmap, Windows 3.x format, $w x $h x 24"*) ;;
    *.png:"PNG image data, $w x $h, 8-bit/color RGBA"*) ;;
    *) bad "package/$name: $kind" ;;
  esac
done <<< "$sizes"

while read -r name; do
  grep -q "^${name//./\\.} " <<< "$sizes" || bad "make_skin.py draws $name, which nobody checks or ships"
done < <(cd "$tmp" && find . -type f | sed 's|^\./||' | sort)

pixel() { convert "$pkg/Skin/Default/$1[1x1+$2+$3]" rgba:- 2>/dev/null | od -An -tx1 | tr -d ' \n'; }
column() { convert "$pkg/Skin/Default/$1" -crop "1x$3+$2+0" +repage rgba:- 2>/dev/null | md5sum; }

# Rounded corners leave the outermost corner pixel clear.
for spot in "btn_normal.png 0 0" "btn_hover.png 109 0" "btn_disable.png 0 0" "spbtn_normal.png 139 33" \
            "normal99.png 0 27" "disable99.png 99 0" "b11.png 0 0" "b13.png 11 0" "b21.png 0 11" \
            "b23.png 11 11" "backbtn.png 0 0" "backbtn_pressed.png 31 31"; do
  set -- $spot
  a=$(pixel "$1" "$2" "$3")
  [ "${a:6:2}" = "00" ] || bad "$1 is not clear at its corner ($2,$3): rgba $a"
done

# The program stretches these horizontally: the middle columns must all be alike.
for stretch in "normal99.png 28 5 94" "hover99.png 28 5 94" "pressed99.png 28 5 94" "disable99.png 28 5 94" \
               "b12.png 32 0 3" "b22.png 12 0 3"; do
  set -- $stretch
  [ "$(column "$1" "$3" "$2")" = "$(column "$1" "$4" "$2")" ] || bad "$1 column $3 differs from column $4"
done

# The selected tab runs into the page: its bottom row is opaque and in the page's first colour.
[ "$(pixel btn_disable.png 55 39)" = "$(pixel main.bmp 400 73)" ] || bad "btn_disable.png bottom does not match the page under the header"
[ "$(pixel btn_disable.png 0 39)" = "$(pixel main.bmp 400 73)" ] || bad "btn_disable.png bottom corners are not square"

[ $failed = 0 ] && echo "ok: skin and flags match make_skin.py"
exit $failed
