#!/usr/bin/env bash
# The 64-bit MSI as an administrator deploys it, in a fresh prefix: the 32-bit
# package refuses 64-bit Windows; a silent install puts the shipped files
# below Program Files with a Start-menu shortcut and an uninstall entry; a
# scan reports nothing of the installation; the installed Kelvane.exe /fix
# cleans a seeded registry; a silent removal takes the program and leaves the
# user's backups and settings, unless REMOVEUSERDATA=1 asks for them too.
# Usage: msi64.sh ARTEFACT_DIR SOURCE_DIR BUILD_DIR
set -u
here=$(dirname "$0")
source "$here/../e2e/lib/e2e.sh"
source "$here/install_lib.sh"
install_init "$1" "$2" "$3" msi64

msi64=$(winpath "$ARTEFACTS/Kelvane-$VERSION-win64.msi")
msi32=$(winpath "$ARTEFACTS/Kelvane-$VERSION-win32.msi")
product=$(msiinfo export "$ARTEFACTS/Kelvane-$VERSION-win64.msi" Property | tr -d '\r' |
  awk -F'\t' '$1 == "ProductCode" { print $2 }')
# Windows Installer's registry keys name the product by its packed code.
packed=$(python3 -c 'import sys; g = sys.argv[1].strip("{}").replace("-", "")
print(g[7::-1] + g[11:7:-1] + g[15:11:-1] + "".join(g[i + 1] + g[i] for i in range(16, 32, 2)))' "$product")
entry="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$product"

echo "-- the 32-bit package on 64-bit Windows"
wine msiexec /i "$msi32" /qn
check "msiexec refuses it" test $? -ne 0
check "nothing is installed" eval '! ls -d "$WINEPREFIX"/drive_c/Program\ Files*/Kelvane 2>/dev/null'

echo "-- msiexec /i (silent)"
wine msiexec /i "$msi64" /qn
check "msiexec /i ends with 0" test $? = 0
check_installed_files
check "the Start-menu shortcut names the installed program" shortcut_targets_program
check_uninstall_entry "$entry" "MsiExec.exe /X$product"
check "uninstall entry: InstallLocation" test "$(reg_value "$entry" InstallLocation)" = "$INSTALLED\\"

echo "-- a scan of the fresh installation"
# Wine's own dead entries go in this first fix, so the seeded one meets the seed's only.
area 1 TimeZone
check_not_reported "$(tr 'A-F' 'a-f' <<<"${product:1:36}|$packed")"

echo "-- the installed Kelvane.exe /fix on a seeded registry"
c=$WINEPREFIX/drive_c/KelvaneE2E
mkdir -p "$c/Present" "$c/StartMenu/User/Accessories" "$c/StartMenu/Common"
echo e2e >"$c/Present/live.exe"
seed "$E2E_DATA/seed-areas.reg"
{ printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$E2E_DATA/seed-every-type.reg5"; } >"$E2E_DIR/every-type.reg"
seed "$E2E_DIR/every-type.reg"
dump "$E2E_DIR/before.txt"
installed_kelvane /fix
dump "$E2E_DIR/after.txt"
check "exactly the dead entries are removed, all others (the installation's too) unchanged" \
  $REGDIFF removed "$E2E_DIR/before.txt" "$E2E_DIR/after.txt" "$E2E_DATA/dead-entries.txt"
check "the partial backups lie in the program folder" test -n "$(partial_backups)"

echo "-- a later version's MSI replaces this one"
make_user_data
later=$E2E_DIR/later
mkdir -p "$later"
python3 "$2/tools/packaging/installer_sources.py" wxs "$ARTEFACTS/stage/installer-win64" x64 "$VERSION.1" \
  "$2/resources/kelvane.ico" "$later/later.wxs" &&
  (cd "$later" && wixl -a x64 -o later.msi later.wxs 2>/dev/null) || fail "making the later MSI"
later_product=$(msiinfo export "$later/later.msi" Property | tr -d '\r' | awk -F'\t' '$1 == "ProductCode" { print $2 }')
wine msiexec /i "$(winpath "$later/later.msi")" /qn
check "msiexec /i of version $VERSION.1 ends with 0" test $? = 0
check "this version's uninstall entry is gone" eval '! key_exists "$entry"'
check "the later one's says $VERSION.1" test "$(reg_value "${entry%\\*}\\$later_product" DisplayVersion)" = "$VERSION.1"
check_installed_files
check_user_data_kept

echo "-- msiexec /x (silent)"
wine msiexec /x "$(winpath "$later/later.msi")" /qn
check "msiexec /x ends with 0" test $? = 0
entry=${entry%\\*}\\$later_product
check_program_removed
check "the uninstall entry is gone" eval '! key_exists "$entry"'
check_user_data_kept

echo "-- msiexec /x REMOVEUSERDATA=1 removes the backups and settings too"
wine msiexec /i "$msi64" /qn || fail "the second msiexec /i"
wine msiexec /x "$msi64" /qn REMOVEUSERDATA=1
check "msiexec /x ends with 0" test $? = 0
check "the program folder is gone" test ! -e "$PROGRAM_DIR"
e2e_finish
