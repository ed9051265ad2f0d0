#!/usr/bin/env bash
# Deletions that fail, and entries whose partial backup could not give them
# back exactly, are recorded in tmp_rccantremove.lst and stay in the registry.
set -u
source "$(dirname "$0")/lib/e2e.sh"
e2e_init "$@" cannot_remove

for area in CommonSoft SysSoft Com Recent StartMenu Dll Language TimeZone Run; do
  set_area $area 0 || fail "switching $area off"
done

gone='C:\KelvaneE2E\Gone'
uninstall='HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall'
sz() {  # REG_SZ bytes (UTF-16, terminated) of a text with %uXXXX escapes, as hex
  python3 -c 'import re, sys
text = re.sub(r"%u([0-9a-fA-F]{4})", lambda m: chr(int(m.group(1), 16)), sys.argv[1])
print((text + "\0").encode("utf-16-le").hex())' "$1"
}
set_value() { regtool set "$1" "$2" "$3" "$4" || fail "seeding $1 $2"; }

# A value in a key that wine lets the program read but not change.
set_value 'HKEY_CURRENT_USER\Software\KelvaneE2ELocked\ReadOnly' DeadLocked 1 "$(sz "$gone\\locked.exe")"
regtool set-dacl 'HKEY_CURRENT_USER\Software\KelvaneE2ELocked\ReadOnly' 'D:P(A;;KR;;;WD)' ||
  fail "making the key read-only"
# An uninstall entry with a subkey that nobody may open: deleting the tree
# stops there.
set_value "$uninstall\\KelvaneE2ELockedEntry" UninstallString 1 "$(sz "\"$gone\\uninst.exe\"")"
set_value "$uninstall\\KelvaneE2ELockedEntry\\A Details" Size 4 2a000000
set_value "$uninstall\\KelvaneE2ELockedEntry\\Locked" Secret 1 "$(sz secret)"
regtool set-dacl "$uninstall\\KelvaneE2ELockedEntry\\Locked" 'D:P' || fail "locking the subkey"
# Names and data outside the ANSI code page, which a REGEDIT4 backup turns
# into '?': deleting them would lose them.
set_value 'HKEY_CURRENT_USER\Software\KelvaneE2EUnicode' 'Dead %u10d0' 1 "$(sz "$gone\\georgian.exe")"
set_value 'HKEY_CURRENT_USER\Software\KelvaneE2EUnicode' DeadUnicodeData 1 "$(sz "$gone\\%u10d0.exe")"
set_value "$uninstall\\KelvaneE2EUnicodeKey" UninstallString 1 "$(sz "$gone\\u.exe")"
set_value "$uninstall\\KelvaneE2EUnicodeKey\\%u10d0\\%u10d1" Count 4 01000000
# A string without its terminating NUL, which regedit gives back with one.
set_value "$uninstall\\KelvaneE2EUnterminated" UninstallString 1 "$(sz "$gone\\raw.exe")"
set_value "$uninstall\\KelvaneE2EUnterminated" Raw 1 "$(printf 'raw' | iconv -t UTF-16LE | od -An -tx1 | tr -d ' \n')"

kept_roots=('HKEY_CURRENT_USER\Software\KelvaneE2ELocked' 'HKEY_CURRENT_USER\Software\KelvaneE2EUnicode'
  "$uninstall\\KelvaneE2ELockedEntry" "$uninstall\\KelvaneE2EUnicodeKey")
regtool dump "$(winpath "$E2E_DIR/before.txt")" "${kept_roots[@]}"
regtool dump "$(winpath "$E2E_DIR/raw-before.txt")" "$uninstall\\KelvaneE2EUnterminated"

run_kelvane /fix
list=$PROGRAM_DIR/tmp_rccantremove.lst
echo "-- tmp_rccantremove.lst:"
sed 's/^/   /' "$list" 2>/dev/null
listed() { tr -d '\r' <"$list" 2>/dev/null | grep -ixcF "$1"; }

expected=(
  'HKEY_CURRENT_USER\Software\KelvaneE2ELocked\ReadOnly\DeadLocked'
  "$uninstall\\KelvaneE2ELockedEntry"
  'HKEY_CURRENT_USER\Software\KelvaneE2EUnicode\Dead ?'
  'HKEY_CURRENT_USER\Software\KelvaneE2EUnicode\DeadUnicodeData'
  "$uninstall\\KelvaneE2EUnicodeKey"
)
for path in "${expected[@]}"; do
  check "listed once: $path" test "$(listed "$path")" -eq 1
done

regtool dump "$(winpath "$E2E_DIR/after.txt")" "${kept_roots[@]}"
check "the entries that could not go are all still there, unchanged" \
  $REGDIFF same "$E2E_DIR/before.txt" "$E2E_DIR/after.txt"

# Restoring the partial backup (as the backup page does) must not overwrite
# the entries that stayed with what a REGEDIT4 file can carry ('?').
seed_registry "$(partial_backups | head -n 1)" 2>/dev/null
regtool dump "$(winpath "$E2E_DIR/restored.txt")" "${kept_roots[@]}"
check "importing the partial backup leaves the entries that stayed as they were" \
  $REGDIFF same "$E2E_DIR/before.txt" "$E2E_DIR/restored.txt"

# The unattended fix does not read the list: it tries again and appends again.
run_kelvane /fix
for path in "${expected[@]}"; do
  check "listed again after a second /fix: $path" test "$(listed "$path")" -eq 2
done


# The unterminated string: kept and listed, or gone and given back exactly.
regtool dump "$(winpath "$E2E_DIR/raw-after.txt")" "$uninstall\\KelvaneE2EUnterminated"
if grep -q '"Raw"' "$E2E_DIR/raw-after.txt"; then
  check "the unterminated string is kept unchanged" \
    $REGDIFF same "$E2E_DIR/raw-before.txt" "$E2E_DIR/raw-after.txt"
  check "the entry with the unterminated string is listed" \
    test "$(listed "$uninstall\\KelvaneE2EUnterminated")" -ge 1
else
  seed_registry "$(partial_backups | head -n 1)"
  regtool dump "$(winpath "$E2E_DIR/raw-restored.txt")" "$uninstall\\KelvaneE2EUnterminated"
  check "the unterminated string, deleted, comes back exactly from the backup" \
    $REGDIFF same "$E2E_DIR/raw-before.txt" "$E2E_DIR/raw-restored.txt"
fi

e2e_finish
