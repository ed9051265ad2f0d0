#!/usr/bin/env bash
# `/defrag` with hive list entries seeded to point at hive files the test
# made: the compact copy ".regan613" is saved beside each hive whose key
# exists (an old copy is replaced), a leftover ".regbk109" is removed before
# the replacement is asked for, and "LastDefrag" is written.
#
# Wine saves keys with RegSaveKey in its own text hive format ("WINE REGISTRY
# Version 2") and does nothing at RegReplaceKey: no restart ever swaps the
# copy in, so the hive file stays and no new ".regbk109" appears.
set -u
source "$(dirname "$0")/lib/e2e.sh"
e2e_init "$@" defrag

hives=$WINEPREFIX/drive_c/KelvaneE2E/Hives
mkdir -p "$hives"
regtool dosdevice C: "$(winpath "$E2E_DIR/device.txt")" || fail "QueryDosDevice C:"
device=$(tr -d '\r\n' <"$E2E_DIR/device.txt")
utf16() { printf '%s' "$1" | iconv -t UTF-16LE | od -An -tx1 | tr -d ' \n'; echo 0000; }
hivelist='HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\hivelist'
add_hive() {  # add_hive NAME FILE: a hive list value naming a file on C:
  regtool set "$hivelist" "$1" 1 "$(utf16 "$device\\KelvaneE2E\\Hives\\$2")" ||
    fail "seeding the hive list entry $1"
}

# Keys to save: one below HKLM, one user hive.
regtool set 'HKEY_LOCAL_MACHINE\KelvaneE2EHive' Marker 1 "$(utf16 'machine hive marker')"
regtool set 'HKEY_LOCAL_MACHINE\KelvaneE2EHive\Sub' Count 4 2a000000
regtool set 'HKEY_USERS\.DEFAULT\Software\KelvaneE2EDefrag' Marker 4 07000000
for f in machine.hiv default.hiv nokey.hiv; do echo "hive file $f" >"$hives/$f"; done
echo "stale copy" >"$hives/machine.hiv.regan613"
echo "old backup" >"$hives/machine.hiv.regbk109"
add_hive '\REGISTRY\MACHINE\KELVANEE2EHIVE' machine.hiv
add_hive '\REGISTRY\USER\.DEFAULT' default.hiv
add_hive '\REGISTRY\MACHINE\KELVANEE2ENOKEY' nokey.hiv     # the file, but no key
add_hive '\REGISTRY\MACHINE\KELVANEE2ENOFILE' nofile.hiv   # the key, but no file
regtool set 'HKEY_LOCAL_MACHINE\KelvaneE2ENoFile' Marker 4 01000000
regtool set "$hivelist" '\REGISTRY\MACHINE\KELVANEE2EVOLATILE' 1 ''  # a volatile hive
dump_registry "$E2E_DIR/before.txt"

run_kelvane /defrag

compact=$hives/machine.hiv.regan613
check "the compact copy of the HKLM key is saved beside its hive, replacing the old one" \
  grep -q '^"Marker"=' "$compact"
check "it is wine's hive format of that key with its subkeys" \
  grep -q 'KelvaneE2EHive' <(head -n 3 "$compact")
check "it holds the subkey" grep -q '^\[Sub\]' "$compact"
check "the user hive's copy holds its keys" \
  grep -qi 'KelvaneE2EDefrag' "$hives/default.hiv.regan613"
check "no copy for a hive whose key does not exist" test ! -e "$hives/nokey.hiv.regan613"
check "no copy for a hive whose file does not exist" test ! -e "$hives/nofile.hiv.regan613"
check "the leftover .regbk109 is deleted before the replacement is asked for" \
  test ! -e "$hives/machine.hiv.regbk109"
check "no .regbk109 appears under wine (the swap happens at a restart)" \
  test -z "$(find "$hives" -name '*.regbk109')"
check "the hive files themselves are untouched" \
  test "$(cat "$hives/machine.hiv") $(cat "$hives/default.hiv")" = "hive file machine.hiv hive file default.hiv"
check "LastDefrag is written ('$(ini_get LastDefrag)')" \
  grep -Eqx '[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}' <<<"$(ini_get LastDefrag)"
dump_registry "$E2E_DIR/after.txt"
check "the live registry is unchanged (no key created for the hive without one)" \
  $REGDIFF same "$E2E_DIR/before.txt" "$E2E_DIR/after.txt"

echo "-- an empty hive list: nothing saved, LastDefrag still written"
wine reg delete "$hivelist" /va /f >/dev/null 2>&1
ini_delete LastDefrag
rm -f "$hives"/*.regan613
run_kelvane /defrag
check "no copy is saved" test -z "$(find "$hives" -name '*.regan613')"
check "LastDefrag is written" test -n "$(ini_get LastDefrag)"

e2e_finish
