# Shared steps of the end-to-end scripts; sourced, not run.
#
# A script calls `e2e_init "$@" NAME` (its arguments are Kelvane.exe, the
# source dir and the build dir, as CTest passes them) and gets a fresh wine
# prefix of its own below the build dir, with the program folder C:\Kelvane
# laid out. Checks go through `check`/`fail`; `e2e_finish` prints the count
# and sets the exit code.

E2E_PASSED=0
E2E_FAILED=0

e2e_init() {
  [ $# -eq 4 ] || { echo "usage: $0 KELVANE_EXE SOURCE_DIR BUILD_DIR" >&2; exit 2; }
  KELVANE_EXE=$(realpath "$1")
  SOURCE_DIR=$(realpath "$2")
  BUILD_DIR=$(realpath "$3")
  E2E_NAME=$4
  E2E_DIR=$BUILD_DIR/e2e/$E2E_NAME
  REGTOOL_EXE=$BUILD_DIR/tests/e2e/e2e_regtool.exe
  E2E_DATA=$SOURCE_DIR/tests/e2e/data
  REGDIFF="python3 $SOURCE_DIR/tests/e2e/lib/regdiff.py"
  for f in "$KELVANE_EXE" "$REGTOOL_EXE"; do
    [ -f "$f" ] || { echo "missing $f (build the win64 preset first)" >&2; exit 2; }
  done

  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEPREFIX=$E2E_DIR/prefix
  rm -rf "$E2E_DIR"
  mkdir -p "$E2E_DIR"
  trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
  e2e_fresh_prefix
  # One server for the whole script: a wine start then costs a second, not
  # the five of a cold start of wine's services.
  wineserver -p

  PROGRAM_DIR=$WINEPREFIX/drive_c/Kelvane
  PROGRAM_WIN='C:\Kelvane'
  e2e_lay_out_program
}

# A prefix made by tools/make-prefix once per build dir and wine version,
# copied for each script: making one takes half a minute, copying a second.
e2e_fresh_prefix() {
  local template=$BUILD_DIR/e2e/template-prefix
  local stamp
  stamp="$(wine --version 2>/dev/null) $(md5sum <"$SOURCE_DIR/tools/make-prefix")"
  (
    flock 9
    if [ ! -f "$template/e2e-stamp" ] || [ "$(cat "$template/e2e-stamp")" != "$stamp" ]; then
      "$SOURCE_DIR/tools/make-prefix" "$template" || exit 1
      WINEPREFIX=$template wineserver -w
      echo "$stamp" >"$template/e2e-stamp"
    fi
  ) 9>"$BUILD_DIR/e2e/template.lock" || { echo "cannot create the wine prefix" >&2; exit 2; }
  cp -a "$template" "$WINEPREFIX"
  ln -sfn "$WINEPREFIX/cdrom" "$WINEPREFIX/dosdevices/e:"
}

# C:\Kelvane: the program, its language file and the shipped Settings.xml.
e2e_lay_out_program() {
  rm -rf "$PROGRAM_DIR"
  mkdir -p "$PROGRAM_DIR/Language"
  cp "$KELVANE_EXE" "$PROGRAM_DIR/Kelvane.exe"
  cp "$SOURCE_DIR/package/Language/English.txt" "$PROGRAM_DIR/Language/"
  if [ -f "$SOURCE_DIR/package/Settings.xml" ]; then
    cp "$SOURCE_DIR/package/Settings.xml" "$PROGRAM_DIR/"
  else
    echo "package/Settings.xml is missing: every scan area reads as off" >&2
  fi
}

# Linux path -> the Windows path wine gives it (drive Z: is "/").
winpath() {
  local p
  p=$(realpath -m "$1")
  case $p in
    "$WINEPREFIX/drive_c"/*) p="C:${p#"$WINEPREFIX/drive_c"}" ;;
    *) p="Z:$p" ;;
  esac
  printf '%s' "${p//\//\\}"
}

regtool() { wine "$REGTOOL_EXE" "$@"; }

# Runs Kelvane.exe with the raw command line $1 (write a double quote as
# %x22) through CreateProcess, so the program sees exactly that text, and
# waits for it.
run_kelvane() {
  regtool run "$PROGRAM_WIN\\Kelvane.exe" "$1" 600 || fail "Kelvane.exe $1 did not end normally"
}

# Imports a seed file: .reg as it is, .reg5 (UTF-8 source of a REGEDIT5
# file) converted to the UTF-16 file that regedit reads.
seed_registry() {
  local file=$1 import=$1
  if [ "${file##*.}" = reg5 ]; then
    import=$E2E_DIR/$(basename "$file" .reg5).reg
    { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$file"; } >"$import"
  fi
  wine regedit /s "$(winpath "$import")"
}

# Left out of the dumps: keys that wine itself rewrites while programs start
# and end, and large subtrees that no scan area reaches (every walk skips
# Wow6432Node; interfaces and type libraries are no area's keys).
E2E_NOISE=(
  'HKEY_LOCAL_MACHINE\HARDWARE'
  'HKEY_CURRENT_USER\Software\Wine'
  'HKEY_CURRENT_USER\Volatile Environment'
  'HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Video'
  'HKEY_LOCAL_MACHINE\Software\Wow6432Node'
  'HKEY_LOCAL_MACHINE\Software\Classes\Wow6432Node'
  'HKEY_LOCAL_MACHINE\Software\Classes\Interface'
  'HKEY_LOCAL_MACHINE\Software\Classes\TypeLib'
)

# Canonical dump of HKCU, HKLM and HKU\.DEFAULT into $1, without wine's noise.
dump_registry() {
  local args=() item
  for item in "${E2E_NOISE[@]}"; do args+=(--skip "$item"); done
  regtool dump "$(winpath "$1")" HKEY_CURRENT_USER HKEY_LOCAL_MACHINE 'HKEY_USERS\.DEFAULT' \
    "${args[@]}" || fail "dumping the registry into $1"
}

# Files the healthy entries of the seed name.
create_present_files() {
  local c=$WINEPREFIX/drive_c/KelvaneE2E
  mkdir -p "$c/Present/Folder" "$c/StartMenu/User/Accessories" \
    "$c/StartMenu/Common/KelvaneE2E Common Live"
  local f
  for f in live.exe live.dll viewer.exe uninst.exe; do echo e2e >"$c/Present/$f"; done
}

# Settings.ini of the program folder (section Settings).
ini_get() {
  [ -f "$PROGRAM_DIR/Settings.ini" ] || return 0
  tr -d '\r' <"$PROGRAM_DIR/Settings.ini" | awk -F= -v key="$1" '
    /^\[/ { section = ($0 == "[Settings]") }
    section && $1 == key { sub(/^[^=]*=/, ""); print; exit }'
}

ini_set() {
  python3 - "$PROGRAM_DIR/Settings.ini" "$1" "$2" <<'EOF'
import os, sys
path, key, value = sys.argv[1:]
lines = open(path, newline="").read().splitlines() if os.path.exists(path) else []
out, section, done = [], None, False
for line in lines:
    if line.startswith("["):
        if section == "[Settings]" and not done:
            out.append(key + "=" + value); done = True
        section = line
    elif section == "[Settings]" and line.split("=", 1)[0] == key:
        if not done:
            out.append(key + "=" + value); done = True
        continue
    out.append(line)
if not done:
    if section != "[Settings]":
        out.append("[Settings]")
    out.append(key + "=" + value)
open(path, "w", newline="").write("\r\n".join(out) + "\r\n")
EOF
}

ini_delete() {
  [ -f "$PROGRAM_DIR/Settings.ini" ] && sed -i "/^$1=/d" "$PROGRAM_DIR/Settings.ini"
  return 0
}

# Switches one scan area of Settings.xml on (1) or off (0).
set_area() {
  python3 - "$PROGRAM_DIR/Settings.xml" "$1" "$2" <<'EOF'
import re, sys
path, area, value = sys.argv[1:]
text = open(path, encoding="utf-8").read()
new, count = re.subn(r'(<%s\b[^>]*?\bcustom=")[^"]*(")' % area, r"\g<1>%s\g<2>" % value, text)
if count != 1:
    sys.exit("no area %s with a custom attribute in %s" % (area, path))
open(path, "w", encoding="utf-8").write(new)
EOF
}

# The partial backups now present, one Linux path per line, oldest name first.
partial_backups() {
  find "$PROGRAM_DIR/PartialBackup" -maxdepth 1 -type f -name '*.reg' 2>/dev/null | sort
}

check() {  # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then
    pass "$what"
  else
    fail "$what"
  fi
}

fail() {
  E2E_FAILED=$((E2E_FAILED + 1))
  echo "FAILED: $*"
}

pass() {
  E2E_PASSED=$((E2E_PASSED + 1))
  echo "ok: $*"
}

# Ends the script's wine processes; a prefix whose checks all passed is
# removed (each takes some 700 MB), a failed one stays for a look.
e2e_finish() {
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null
  echo "$E2E_NAME: $E2E_PASSED passed, $E2E_FAILED failed"
  if [ "$E2E_FAILED" -eq 0 ]; then
    rm -rf "$WINEPREFIX"
    return 0
  fi
  echo "the prefix stays for a look: $WINEPREFIX"
  return 1
}
