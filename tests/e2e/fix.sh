#!/usr/bin/env bash
# `Kelvane.exe /fix` on a registry seeded with dead and healthy entries of
# every area: exactly the dead entries go, Settings.ini records the run, and
# importing the partial backup gives the registry back value for value.
set -u
source "$(dirname "$0")/lib/e2e.sh"
e2e_init "$@" fix

set_area TimeZone 1 || fail "switching the TimeZone area on"
create_present_files

# Wine's own registry holds entries that the scan rightly takes for dead (the
# time zones not in effect, for one): a first fix removes them, so that the
# checked fix meets only the seed's.
run_kelvane /fix
baseline_backups=$(partial_backups)
echo "first fix on wine's own registry: $(grep -c '^\[' $baseline_backups 2>/dev/null || echo 0)" \
  "key lines in its partial backup"

seed_registry "$E2E_DATA/seed-areas.reg"
seed_registry "$E2E_DATA/seed-every-type.reg5"
dump_registry "$E2E_DIR/before.txt"
$REGDIFF present "$E2E_DIR/before.txt" "$E2E_DATA/dead-entries.txt" ||
  fail "the seed did not create every dead entry"
for key in LastScan LastClean ErrorCnt; do ini_delete $key; done

run_kelvane /fix
dump_registry "$E2E_DIR/after.txt"

echo "-- registry after /fix against before, less the dead entries"
check "exactly the dead entries are removed" \
  $REGDIFF removed "$E2E_DIR/before.txt" "$E2E_DIR/after.txt" "$E2E_DATA/dead-entries.txt"

# The zone in effect survives the TimeZone area (std name as UTF-16 hex).
regtool tzname "$(winpath "$E2E_DIR/tz.txt")"
zone_hex=$(tr -d '\r\n' <"$E2E_DIR/tz.txt" | iconv -f ASCII -t UTF-16LE | od -An -tx1 | tr -d ' \n')
check "the time zone in effect ($(cat "$E2E_DIR/tz.txt")) is kept" \
  grep -q "^\"Std\"=1:${zone_hex}0000$" "$E2E_DIR/after.txt"

stamp='^[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}$'
check "Settings.ini holds LastScan ('$(ini_get LastScan)')" grep -Eq "$stamp" <<<"$(ini_get LastScan)"
check "Settings.ini holds LastClean ('$(ini_get LastClean)')" grep -Eq "$stamp" <<<"$(ini_get LastClean)"
check "Settings.ini holds ErrorCnt=0 ('$(ini_get ErrorCnt)')" test "$(ini_get ErrorCnt)" = 0

new_backups=$(comm -13 <(echo "$baseline_backups") <(partial_backups))
check "one new partial backup ($new_backups)" test "$(echo "$new_backups" | grep -c .)" -eq 1
check "the partial backup is named PartialBackup\\<yyyy-mm-dd_hh-mm-ss>.reg" \
  grep -Eq '/PartialBackup/[0-9]{4}-[0-9]{2}-[0-9]{2}_[0-9]{2}-[0-9]{2}-[0-9]{2}\.reg$' <<<"$new_backups"
check "the partial backup is a REGEDIT4 file" \
  test "$(head -c 10 "$new_backups" 2>/dev/null | tr -d '\r\n')" = REGEDIT4

if [ -f "$PROGRAM_DIR/tmp_rccantremove.lst" ]; then
  echo "-- tmp_rccantremove.lst (entries seen twice through HKCR/HKLM or HKU/HKCU, gone at the second try):"
  sed 's/^/   /' "$PROGRAM_DIR/tmp_rccantremove.lst"
fi

echo "-- registry after importing the partial backup against before"
seed_registry "$new_backups"
dump_registry "$E2E_DIR/restored.txt"
check "the partial backup restores the registry exactly" \
  $REGDIFF same "$E2E_DIR/before.txt" "$E2E_DIR/restored.txt"

e2e_finish
