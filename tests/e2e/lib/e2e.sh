# Shared steps of the end-to-end scripts; sourced. `e2e_init "$@" NAME` takes what CTest
# passes (Kelvane.exe, source dir, build dir) and lays out C:\Kelvane (program, language
# file, Settings.xml) in a fresh wine prefix of the script's own. Checks go through
# `check`; `e2e_finish` reports and sets the exit code.
e2e_init() {
  local source build template stamp
  source=$(realpath "$2") build=$(realpath "$3") E2E_NAME=$4 E2E_FAILED=0
  E2E_DIR=$build/e2e/$4 E2E_DATA=$source/tests/e2e/data REGDIFF="python3 $source/tests/e2e/lib/regdiff.py"
  REGTOOL_EXE=$build/tests/e2e/e2e_regtool.exe template=$build/e2e/template-prefix
  [ -f "$1" ] && [ -f "$REGTOOL_EXE" ] || { echo "usage: $0 KELVANE_EXE SOURCE_DIR BUILD_DIR (built)" >&2; exit 2; }
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEPREFIX=$E2E_DIR/prefix
  rm -rf "$E2E_DIR" && mkdir -p "$E2E_DIR"
  trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
  # A template prefix per build dir and wine version, copied: making one takes half a minute.
  stamp="$(wine --version 2>/dev/null) $(md5sum <"$source/tools/make-prefix")"
  (flock 9 && [ "$(cat "$template/e2e-stamp" 2>/dev/null)" = "$stamp" ] ||
    { "$source/tools/make-prefix" "$template" && echo "$stamp" >"$template/e2e-stamp"; }
  ) 9>"$build/e2e/template.lock" || { echo "cannot create the wine prefix" >&2; exit 2; }
  cp -a "$template" "$WINEPREFIX"
  ln -sfn "$WINEPREFIX/cdrom" "$WINEPREFIX/dosdevices/e:"
  wineserver -p  # one server for the whole script: a wine start then takes a second, not five
  PROGRAM_DIR=$WINEPREFIX/drive_c/Kelvane
  mkdir -p "$PROGRAM_DIR/Language" && cp "$source/package/Settings.xml" "$PROGRAM_DIR/"
  cp "$1" "$PROGRAM_DIR/Kelvane.exe" && cp "$source/package/Language/English.txt" "$PROGRAM_DIR/Language/"
}

winpath() { local p; p=Z:$(realpath -m "$1"); printf '%s' "${p//\//\\}"; }
regtool() { wine "$REGTOOL_EXE" "$@"; }
# The UTF-16 bytes of a text as hex, without a terminator.
utf16() { printf '%s' "$1" | iconv -f UTF-8 -t UTF-16LE | od -An -tx1 | tr -d ' \n'; }
# Kelvane.exe with exactly the command line tail $1 (%u0022 for a double quote), waited for;
# it must end with the exit code $2 (default 0).
kelvane() {
  regtool run 'C:\Kelvane\Kelvane.exe' "$1" 600 "${2:-0}" </dev/null ||
    fail "Kelvane.exe $1 did not end with exit code ${2:-0}"
}
partial_backups() { ls "$PROGRAM_DIR"/PartialBackup/*.reg 2>/dev/null; }
seed() { wine regedit /s "$(winpath "$1")"; }
# Values from stdin, one a line: KEY NAME TYPE HEX [SDDL], as `e2e_regtool set` takes them.
set_values() {
  local k n t d s
  while read -r k n t d s; do regtool set "$k" "$n" "$t" "$d" ${s:+"$s"} || fail "seeding $k $n"; done
}

# Canonical dump of HKCU, HKLM and HKU\.DEFAULT into $1 without the keys wine rewrites on
# its own and the big subtrees that no scan area reaches (every walk skips Wow6432Node).
dump() {
  local skip=() s
  for s in 'LOCAL_MACHINE\HARDWARE' 'CURRENT_USER\Software\Wine' 'CURRENT_USER\Volatile Environment' \
    'LOCAL_MACHINE\System\CurrentControlSet\Control\Video' 'LOCAL_MACHINE\Software\Wow6432Node' \
    'LOCAL_MACHINE\Software\Classes\'{Wow6432Node,Interface,TypeLib}; do skip+=(--skip "HKEY_$s"); done
  regtool dump "$(winpath "$1")" HKEY_CURRENT_USER HKEY_LOCAL_MACHINE 'HKEY_USERS\.DEFAULT' "${skip[@]}" ||
    fail "dumping the registry into $1"
}

# Settings.ini: `ini KEY` reads, `ini_set KEY [VALUE]` deletes the key and sets the value.
ini() { tr -d '\r' <"$PROGRAM_DIR/Settings.ini" 2>/dev/null | sed -n "s/^$1=//p" | head -n 1; }
ini_set() { sed -i "/^$1=/d${2+;/^\[Settings\]/a $1=$2}" "$PROGRAM_DIR/Settings.ini"; }
is_stamp() { grep -Eqx '[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}' <<<"$1"; }

area() {  # area 0|1 AREA...: switches scan areas of Settings.xml off or on
  local a
  for a in "${@:2}"; do sed -i -E "s/(<$a [^>]*custom=\")[01]\"/\1$1\"/" "$PROGRAM_DIR/Settings.xml"; done
}

# has_lines FILE LINE...: each LINE stands in FILE exactly once (letter case and CRs aside).
has_lines() {
  diff <(printf '%s\n' "${@:2}" | sort -f) <(tr -d '\r' <"$1" | grep -ixF -f <(printf '%s\n' "${@:2}") | sort -f)
}
check() { if "${@:2}"; then echo "ok: $1"; else fail "$1"; fi; }  # check DESCRIPTION COMMAND...
fail() { E2E_FAILED=$((E2E_FAILED + 1)) && echo "FAILED: $*"; }

# A prefix whose checks all passed is removed (some 700 MB); a failed one stays for a look.
e2e_finish() {
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null
  echo "$E2E_NAME: $E2E_FAILED failed"
  [ "$E2E_FAILED" -eq 0 ] || { echo "the prefix stays for a look: $WINEPREFIX"; exit 1; }
  rm -rf "$WINEPREFIX"
}
