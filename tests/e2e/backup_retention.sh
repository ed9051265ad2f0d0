#!/usr/bin/env bash
# `/backup` exports the whole registry into Backup\<stamp>\allbak.reg and
# writes "LastBackup"; the retention passes at the end of every run delete
# exactly the stamped backups that are old enough, and none when switched off.
set -u
source "$(dirname "$0")/lib/e2e.sh"
e2e_init "$@" backup_retention

partial=$PROGRAM_DIR/PartialBackup
full=$PROGRAM_DIR/Backup
# Stamps relative to one moment, so that every use of an age names the same
# backup.
base=$(date '+%Y-%m-%d %H:%M:%S')
partial_stamp() { date -d "$base $1" +%Y-%m-%d_%H-%M-%S; }
full_stamp() { date -d "$base $1" +%Y-%m-%d-%H-%M-%S; }

# Backups of every age around the defaults (60 days partial, 90 full), and
# names that are no backups at all.
seed_backups() {
  mkdir -p "$partial" "$full"
  local when
  for when in '61 days ago' '60 days ago' '59 days ago 23 hours ago' '20 days ago' '2 hours ago'; do
    echo REGEDIT4 >"$partial/$(partial_stamp "$when").reg"
  done
  for when in '91 days ago' '90 days ago' '89 days ago 23 hours ago' '20 days ago'; do
    mkdir -p "$full/$(full_stamp "$when")"
    echo backup >"$full/$(full_stamp "$when")/allbak.reg"
  done
  echo notes >"$partial/notes.txt"
  echo REGEDIT4 >"$partial/2009-03-14.reg"
  mkdir -p "$partial/$(partial_stamp '300 days ago')"  # a folder, not a backup file
  mkdir -p "$full/old" "$full/2009-03-14"
  echo file >"$full/$(full_stamp '300 days ago')"    # a file, not a backup folder
}
listing() { (cd "$PROGRAM_DIR" && find PartialBackup Backup -mindepth 1 -maxdepth 1 | sort); }
expect_listing() {  # expect_listing DESCRIPTION NAME...
  local what=$1
  shift
  check "$what" diff <(printf '%s\n' "$@" | sort) <(listing)
}

echo "-- /backup with the default retention"
seed_backups
regtool set 'HKEY_CURRENT_USER\Software\KelvaneE2EBackupMarker' Marker 4 2a000000
run_kelvane /backup
new_full=$(comm -13 <(printf '%s\n' "$(full_stamp '91 days ago')" "$(full_stamp '90 days ago')" \
  "$(full_stamp '89 days ago 23 hours ago')" \
  "$(full_stamp '20 days ago')" "$(full_stamp '300 days ago')" old 2009-03-14 | sort) \
  <(ls "$full" | sort))
check "one new full backup folder named <yyyy-mm-dd-hh-mm-ss> ('$new_full')" \
  grep -Eqx '[0-9]{4}-[0-9]{2}-[0-9]{2}-[0-9]{2}-[0-9]{2}-[0-9]{2}' <<<"$new_full"
export_text=$E2E_DIR/allbak.txt
iconv -f UTF-16LE -t UTF-8 "$full/$new_full/allbak.reg" 2>/dev/null | tr -d '\r' >"$export_text"
check "allbak.reg is a registry export of the whole registry" \
  grep -q '^\[HKEY_LOCAL_MACHINE\\Software\\Microsoft\]$' "$export_text"
check "allbak.reg holds the current user's keys" \
  grep -q 'KelvaneE2EBackupMarker\]$' "$export_text"
check "LastBackup is written ('$(ini_get LastBackup)')" \
  grep -Eqx '[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}' <<<"$(ini_get LastBackup)"
expect_listing "retention deleted the partial backups of 60 days and more, the full ones of 90 and more" \
  "PartialBackup/$(partial_stamp '59 days ago 23 hours ago').reg" "PartialBackup/$(partial_stamp '20 days ago').reg" \
  "PartialBackup/$(partial_stamp '2 hours ago').reg" PartialBackup/notes.txt \
  PartialBackup/2009-03-14.reg "PartialBackup/$(partial_stamp '300 days ago')" \
  "Backup/$(full_stamp '89 days ago 23 hours ago')" "Backup/$(full_stamp '20 days ago')" \
  "Backup/$new_full" \
  Backup/old Backup/2009-03-14 "Backup/$(full_stamp '300 days ago')"

echo "-- AutoDelBackup=0 and AutoDelFullBackup=0 keep everything"
seed_backups
ini_set AutoDelBackup 0
ini_set AutoDelFullBackup 0
before=$(listing)
run_kelvane nojob
check "nothing is deleted" diff <(echo "$before") <(listing)

echo "-- 30 days for both kinds"
ini_set AutoDelBackup 1
ini_set AutoDelFullBackup 1
ini_set AutoDelBackupDays 30
ini_set AutoDelFullBackupDays 30
run_kelvane nojob
expect_listing "only the backups younger than 30 days and the other names are left" \
  "PartialBackup/$(partial_stamp '20 days ago').reg" "PartialBackup/$(partial_stamp '2 hours ago').reg" \
  PartialBackup/notes.txt PartialBackup/2009-03-14.reg "PartialBackup/$(partial_stamp '300 days ago')" \
  "Backup/$(full_stamp '20 days ago')" "Backup/$new_full" Backup/old Backup/2009-03-14 \
  "Backup/$(full_stamp '300 days ago')"

e2e_finish
