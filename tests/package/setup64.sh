#!/usr/bin/env bash
# The 64-bit setup program as a home user's machine gets it, in a fresh
# prefix: `/S` installs the shipped files below Program Files with a
# Start-menu shortcut, an uninstaller and the uninstall entry; a scan reports
# nothing of the installation; the uninstaller's `/S` takes the program and
# its entry and leaves the user's backups and settings.
# Usage: setup64.sh ARTEFACT_DIR SOURCE_DIR BUILD_DIR
set -u
here=$(dirname "$0")
source "$here/../e2e/lib/e2e.sh"
source "$here/install_lib.sh"
install_init "$1" "$2" "$3" setup64
entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kelvane'

echo "-- Kelvane-$VERSION-win64-setup.exe /S"
wine "$ARTEFACTS/Kelvane-$VERSION-win64-setup.exe" /S
check "the setup ends with 0" test $? = 0
check_installed_files
check "the uninstaller is installed" test -f "$PROGRAM_DIR/uninstall.exe"
check "the Start-menu shortcut names the installed program" shortcut_targets_program
check_uninstall_entry "$entry" "\"$INSTALLED\\uninstall.exe\""
check "uninstall entry: QuietUninstallString" \
  test "$(reg_value "$entry" QuietUninstallString)" = "\"$INSTALLED\\uninstall.exe\" /S"

echo "-- a scan of the fresh installation"
check_not_reported 'uninstall.kelvane\]$'

echo "-- uninstall.exe /S"
make_user_data
wine "$PROGRAM_DIR/uninstall.exe" /S
check "the uninstaller starts" test $? = 0
# It runs on from a copy of itself in the temporary folder: wait for its end.
for _ in $(seq 120); do
  [ -e "$PROGRAM_DIR/uninstall.exe" ] || key_exists "$entry" || break
  sleep 1
done
check "the uninstaller removed itself" test ! -e "$PROGRAM_DIR/uninstall.exe"
check_program_removed
check "the uninstall entry is gone" eval '! key_exists "$entry"'
check_user_data_kept

echo "-- installing over an installation keeps a changed Settings.xml; /REMOVEUSERDATA takes everything"
wine "$ARTEFACTS/Kelvane-$VERSION-win64-setup.exe" /S || fail "the second setup"
area 1 TimeZone
cp "$PROGRAM_DIR/Settings.xml" "$E2E_DIR/changed.xml"
wine "$ARTEFACTS/Kelvane-$VERSION-win64-setup.exe" /S || fail "the third setup"
check "Settings.xml is the user's" cmp -s "$E2E_DIR/changed.xml" "$PROGRAM_DIR/Settings.xml"
check "it differs from the shipped one" eval '! cmp -s "$SHIPPED/Settings.xml" "$PROGRAM_DIR/Settings.xml"'
wine "$PROGRAM_DIR/uninstall.exe" /S /REMOVEUSERDATA || fail "uninstall.exe /S /REMOVEUSERDATA"
for _ in $(seq 120); do [ -e "$PROGRAM_DIR" ] || break; sleep 1; done
check "the program folder is gone" test ! -e "$PROGRAM_DIR"
e2e_finish
