#!/usr/bin/env bash
# The help page that ships beside the program (package/Help/Kelvane.html) is
# exactly what tools/help/make_help.py makes of README.md as it stands.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
page=$root/package/Help/Kelvane.html
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
python3 "$root/tools/help/make_help.py" "$tmp" >/dev/null || { echo "FAIL: make_help.py did not run"; exit 1; }
[ -f "$page" ] || { echo "FAIL: package/Help/Kelvane.html is missing (run tools/help/make_help.py)"; exit 1; }
if ! cmp -s "$tmp/Kelvane.html" "$page"; then
  echo "FAIL: package/Help/Kelvane.html is not what make_help.py makes of README.md (rerun it)"
  diff "$page" "$tmp/Kelvane.html" | head -20
  exit 1
fi
# Every section of the README is in the page's list of contents.
sections=$(grep -c '^## ' "$root/README.md")
listed=$(grep -c '^<li><a href="#' "$page")
[ "$sections" = "$listed" ] || { echo "FAIL: $sections sections in README.md, $listed listed in the page"; exit 1; }
echo "ok: the help page is README.md as make_help.py makes it"
