# Shared steps of the install tests; sourced after tests/e2e/lib/e2e.sh.
# `install_init ARTEFACTS SOURCE BUILD NAME` makes a fresh prefix (the e2e
# template) with nothing of Kelvane in it; the installed program is then
# looked for where the packages put it.
install_init() {
  ARTEFACTS=$(realpath "$1")
  VERSION=$(sed -n 's/^project(Kelvane VERSION \([0-9][0-9.]*\).*/\1/p' "$2/CMakeLists.txt")
  local zip=$ARTEFACTS/Kelvane-$VERSION-win64.zip
  [ -f "$zip" ] || { echo "no $zip: run tools/package" >&2; exit 2; }
  # What every package must install: the 64-bit zip's program folder.
  SHIPPED=$(realpath "$3")/shipped-$4
  rm -rf "$SHIPPED" && mkdir -p "$SHIPPED" && unzip -q "$zip" -d "$SHIPPED" && SHIPPED=$SHIPPED/Kelvane
  e2e_init "$SHIPPED/Kelvane.exe" "$2" "$3" "$4"
  rm -rf "$PROGRAM_DIR"
  # No desktop entries in the Linux user's menus for the shortcuts.
  export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
  PROGRAM_DIR="$WINEPREFIX/drive_c/Program Files/Kelvane"
  INSTALLED='C:\Program Files\Kelvane'
}

installed_kelvane() {  # installed_kelvane WORDS [EXIT_CODE]
  regtool run "$INSTALLED\\Kelvane.exe" "$1" 600 "${2:-0}" </dev/null ||
    fail "the installed Kelvane.exe $1 did not end with exit code ${2:-0}"
}

# The shortcut, wherever the installer put it (all users' or the user's Start menu).
shortcuts() {
  ls "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Kelvane.lnk" \
    "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs/Kelvane.lnk 2>/dev/null
}
shortcut_targets_program() {
  local lnk
  lnk=$(shortcuts | head -n 1)
  [ -n "$lnk" ] && { strings -a "$lnk"; strings -a -el "$lnk"; } | grep -qiF 'Program Files\Kelvane\Kelvane.exe'
}

reg_value() {  # reg_value KEY NAME: the data as `reg query` prints it
  wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -F'    ' -v n="$2" '$2 == n { print $4 }'
}
key_exists() { wine reg query "$1" >/dev/null 2>&1; }

check_installed_files() {
  local extra
  # Besides the setup program's uninstaller and the user's data.
  extra=$(cd "$PROGRAM_DIR" && find . -type f | sed 's|^\./||' | sort |
    grep -vxE 'uninstall\.exe|Settings\.ini|tmp_rccantremove\.lst|(Backup|PartialBackup)/.*')
  check "the installed files are the shipped ones" \
    diff <(cd "$SHIPPED" && find . -type f | sed 's|^\./||' | sort) <(printf '%s\n' "$extra")
  local f same=1
  while read -r f; do cmp -s "$SHIPPED/$f" "$PROGRAM_DIR/$f" || { echo "differs: $f"; same=0; }; done \
    < <(cd "$SHIPPED" && find . -type f | sed 's|^\./||')
  check "each installed file has the shipped content" test $same = 1
}

check_uninstall_entry() {  # check_uninstall_entry KEY UNINSTALL_STRING
  check "uninstall entry: DisplayName" test "$(reg_value "$1" DisplayName)" = Kelvane
  check "uninstall entry: DisplayVersion $VERSION" test "$(reg_value "$1" DisplayVersion)" = "$VERSION"
  check "uninstall entry: Publisher" test "$(reg_value "$1" Publisher)" = Kelvane
  check "uninstall entry: DisplayIcon is the program" \
    test "$(reg_value "$1" DisplayIcon)" = "$INSTALLED\\Kelvane.exe,0"
  check "uninstall entry: UninstallString '$(reg_value "$1" UninstallString)'" \
    test "$(reg_value "$1" UninstallString)" = "$2"
}

# Registry sections (canonical dump) of the installation: keys or values that
# name one of the patterns (extended regular expressions, any case).
ours() {  # ours DUMP PATTERN
  awk -v re="$(tr 'A-Z' 'a-z' <<<"$2")" '
    /^\[/ { key = $0; mine = (tolower(key) ~ re); if (mine) print key; next }
    mine || tolower($0) ~ re { if (!mine) print key; print }' "$1"
}

# A scan of the fresh installation reports nothing of it: /fix leaves its
# registry entries and shortcut alone and neither backs them up nor lists them.
check_not_reported() {  # check_not_reported PATTERN
  dump "$E2E_DIR/installed.txt"
  installed_kelvane /fix
  dump "$E2E_DIR/installed-after-fix.txt"
  ours "$E2E_DIR/installed.txt" "$1" >"$E2E_DIR/ours-before.txt"
  ours "$E2E_DIR/installed-after-fix.txt" "$1" >"$E2E_DIR/ours-after.txt"
  check "the installation's registry entries were found ($(grep -c '^\[' "$E2E_DIR/ours-before.txt") keys)" \
    grep -q '^\[' "$E2E_DIR/ours-before.txt"
  check "/fix left the installation's registry entries as they were" \
    diff "$E2E_DIR/ours-before.txt" "$E2E_DIR/ours-after.txt"
  check "the shortcut is still there" shortcut_targets_program
  local reported
  reported=$(cat "$PROGRAM_DIR"/PartialBackup/*.reg "$PROGRAM_DIR/tmp_rccantremove.lst" 2>/dev/null |
    tr -d '\0' | grep -iE "$1")
  check "neither the partial backup nor the cannot-remove list names the installation" test -z "$reported"
}

# Stand-ins of the user's data beside the program; check_user_data_kept
# compares them afterwards.
make_user_data() {
  mkdir -p "$PROGRAM_DIR/Backup/2026-01-02_03-04-05" "$PROGRAM_DIR/PartialBackup"
  printf 'REGEDIT4\r\n' >"$PROGRAM_DIR/Backup/2026-01-02_03-04-05/allbak.reg"
  printf 'REGEDIT4\r\n' >"$PROGRAM_DIR/PartialBackup/2026-01-02_03-04-06.reg"
  [ -f "$PROGRAM_DIR/Settings.ini" ] || printf '[Settings]\r\nInitPage=1\r\n' >"$PROGRAM_DIR/Settings.ini"
  (cd "$PROGRAM_DIR" && find Backup PartialBackup Settings.ini -type f -exec md5sum {} + | sort) \
    >"$E2E_DIR/user-data.md5"
}
check_user_data_kept() {
  check "the backups and Settings.ini are kept as they were" \
    diff "$E2E_DIR/user-data.md5" <(cd "$PROGRAM_DIR" 2>/dev/null &&
      find Backup PartialBackup Settings.ini -type f -exec md5sum {} + | sort)
}
check_program_removed() {
  local left
  left=$(cd "$SHIPPED" && find . -type f | sed 's|^\./||' | while read -r f; do
    [ ! -e "$PROGRAM_DIR/$f" ] || echo "$f"; done)
  check "no program file is left${left:+ (left: $(echo $left))}" test -z "$left"
  local folder
  for folder in $(cd "$SHIPPED" && find . -mindepth 1 -type d | sed 's|^\./||'); do
    check "the folder $folder is gone" test ! -e "$PROGRAM_DIR/$folder"
  done
  check "the shortcut is gone" test -z "$(shortcuts)"
}
