#!/usr/bin/env bash
# The run report: `Kelvane.exe /fix /report "path"` on a seeded registry writes a JSON document
# whose removed entries are exactly those gone from the registry and written into the partial
# backup, and whose cannot-remove entries stayed; other jobs report their backup folder and
# hives; a report that cannot be written leaves no file and adds exit code 32.
set -u
source "$(dirname "$0")/lib/e2e.sh"
e2e_init "$@" report
CHECK="python3 $(dirname "$(realpath "$0")")/lib/check_report.py"

area 1 TimeZone
c=$WINEPREFIX/drive_c/KelvaneE2E
mkdir -p "$c/Present" "$c/StartMenu/User/Accessories" "$c/StartMenu/Common"
echo e2e >"$c/Present/live.exe"
# Wine's own dead entries go first, so that the reported fix meets the seed's only.
kelvane /fix
rm -rf "$PROGRAM_DIR/PartialBackup"
seed "$E2E_DATA/seed-areas.reg"
# A dead value in a key the program may read but not change: kept as cannot-remove.
set_values <<EOF2
HKEY_CURRENT_USER\Software\KelvaneE2ELocked\ReadOnly DeadLocked 1 $(utf16 'C:\KelvaneE2E\Gone\locked.exe')0000 D:P(A;;KR;;;WD)
EOF2
dump "$E2E_DIR/before.txt"

echo "-- /fix with a report in a folder that does not exist yet, its name with a blank"
reports=$WINEPREFIX/drive_c/Reports
kelvane '/fix /report %u0022C:\Reports\Run One\Run.json%u0022'
dump "$E2E_DIR/after.txt"
report=$reports/Run\ One/Run.json
check "the report is written under the name given" test -f "$report"
check "no temporary file stays beside it" test "$(ls "$reports/Run One" | wc -l)" = 1
check "the report matches the registry and the partial backup" \
  $CHECK fix "$report" "$E2E_DIR/before.txt" "$E2E_DIR/after.txt" "$E2E_DATA/dead-entries.txt" "$(partial_backups)"
check "the read-only key's value is listed as cannot-remove" \
  python3 -c 'import json,sys; f=json.load(open(sys.argv[1]))["jobs"][0]
sys.exit(not any(e["value"] == "DeadLocked" for e in f["cannotRemove"]))' "$report"

echo "-- /backup /defrag: the backup's folder and size; no hive in a fresh prefix, so the defrag fails"
kelvane '/defrag /report %u0022C:\Reports\Run One\Run.json%u0022 /backup' 4
check "the earlier report is replaced: both jobs, in run order" \
  $CHECK jobs "$report" 4 backup:done defrag:failed
check "the backup job names its folder and the size of allbak.reg" \
  $CHECK backup "$report" "$(ls -d "$PROGRAM_DIR"/Backup/*/ | head -n 1)"

echo "-- reports that cannot be written"
echo blocked >"$reports/Blocked"
kelvane '/fix /report C:\Reports\Blocked\run.json' 32
check "a folder that is a file: no report, no temporary file" \
  test "$(find "$reports" -type f | sort | tr '\n' ' ')" = "$reports/Blocked $report "
kelvane '/report' 32
kelvane '/report /fix' 32
check "a switch after /report is a job, not the path: the fix ran" \
  test "$(partial_backups | wc -l)" = 3
e2e_finish
