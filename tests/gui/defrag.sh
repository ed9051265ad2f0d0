#!/usr/bin/env bash
# The defragmentation page as a user meets it, on five hive list entries seeded in a fresh
# prefix: the first question declined does nothing; a cancelled analysis stops at a hive
# boundary and offers nothing; a completed one dims the screen, shows the wait window and
# then the result window with what the compact copies save; declining the restart leaves
# the window open and nothing replaced. The restart itself is never asked for here. Run
# by CTest as
#   bash defrag.sh KELVANE_EXE SOURCE_DIR BUILD_DIR
set -uo pipefail
source "$(dirname "$0")/lib/gui.sh"
gui_init "$@" defrag

# A thousand hive list entries, all mounted at one small key, so that the analysis lasts
# long enough to be watched and cancelled; their files (sparse) are far larger than the
# compact copies. A leftover copy and an old hive of an earlier run lie beside the first.
hives=$WINEPREFIX/drive_c/KelvaneGui/Hives
count=1000
mkdir -p "$hives"
device=$(drv dos-device C: | sed 's/\\/\\\\/g')
seed=$work/hives.reg
{
  printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\KelvaneGuiHive]\r\n'
  awk 'BEGIN { for (i = 0; i < 200; i++) printf "\"Value%03d\"=\"entry %03d to save\"\r\n", i, i }'
  printf '\r\n[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\hivelist]\r\n'
  DEVICE=$device awk -v n=$count 'BEGIN { d = ENVIRON["DEVICE"]; for (i = 1; i <= n; i++)
    printf "\"\\\\REGISTRY\\\\MACHINE\\\\%d\\\\KELVANEGUIHIVE\"=\"%s\\\\KelvaneGui\\\\Hives\\\\hive%d.dat\"\r\n", i, d, i }'
} >"$seed"
wine regedit /s "Z:${seed//\//\\}" >/dev/null 2>&1
for n in $(seq $count); do truncate -s 1000000 "$hives/hive$n.dat"; done
echo stale >"$hives/hive1.dat.regan613"
echo old >"$hives/hive1.dat.regbk109"

page=$(page_id 2)
wait_title=$(text English.txt L0004)
result_title=$(text English.txt L0028)
absent_box() { ! drv answer-box "$1" 2 >/dev/null 2>&1; }
absent_window() { ! drv wait-window "$1" 3 >/dev/null 2>&1; }
copies() { ls "$hives"/*.regan613 2>/dev/null | wc -l; }
# The overlay: one layered window over the whole screen, or none.
overlay() { drv layered | awk '{ print $1, $2, $3, $4 }'; }
screen=$(xdpyinfo 2>/dev/null | awk '/dimensions:/ { split($2, s, "x"); print "0 0", s[1], s[2] }')
# FormatFileSize of a byte count.
size_text() {
  awk -v n="$1" 'BEGIN {
    if (n < 1024) printf "%dB", n; else if (n < 1048576) printf "%.2fKB", n / 1024;
    else if (n < 1073741824) printf "%.2fMB", n / 1048576; else printf "%.2fGB", n / 1073741824 }'
}

echo "== the page"
# The seeded hive list is found: no warning of missing hive files at start-up.
drv run 'C:\Kelvane\Kelvane.exe' 300 >"$work/run.out" 2>&1 &
run=$!
check "the main window appears" drv wait-window "$main" 30 || finish
check "no warning of missing hive files" absent_box "$(text English.txt L0026)"
goto_page 2
check "the page says it never ran" same "$(drv text "$main" "$page/1601")" "$(text English.txt L0148)"
check "the start button reads L0030" same "$(drv text "$main" "$page/1000")" \
  "$(text English.txt L0030)"
look "$main" page-defrag

echo "== the first question declined"
drv click "$main" "$page/1000"
check "the start button asks L0024 first" drv decline-box "$(text English.txt L0024 | sed 's/\\r\\n.*//')" 10
sleep 1
check "no overlay" same "$(overlay)" ""
check "no analysis" same "$(copies)" 1

echo "== an analysis cancelled"
drv click "$main" "$page/1000"
drv answer-box "$(text English.txt L0024 | sed 's/\\r\\n.*//')" 10 >/dev/null
check "the wait window shows" drv wait-window "$wait_title" 30
check "the overlay covers the screen" same "$(overlay)" "$screen"
check "the wait window says L0027" same "$(drv text "$wait_title" 1400)" "$(text English.txt L0027)"
drv shot "$main" "$shots/defrag-overlay.png"
look "$wait_title" defrag-wait
drv click "$wait_title" 2
check "the wait window closes" drv wait-gone "$wait_title" 120
check "no result window follows" absent_window "$result_title"
check "the analysis stopped before the last hive" test "$(copies)" -lt $count
for _ in $(seq 40); do [ -z "$(overlay)" ] && break; sleep 0.1; done
check "the overlay fades out" same "$(overlay)" ""
check "nothing is dated" same "$(ini LastDefrag 2>/dev/null)" ""

echo "== an analysis completed, the restart declined"
drv click "$main" "$page/1000"
drv answer-box "$(text English.txt L0024 | sed 's/\\r\\n.*//')" 10 >/dev/null
check "the result window shows" drv wait-window "$result_title" 180
check "every hive has its compact copy" same "$(copies)" $count
check "the overlay stays under the result window" same "$(overlay)" "$screen"
old=$((count * 1000000))
new=$(stat -c %s "$hives"/*.regan613 | awk '{ n += $1 } END { print n }')
saved=$((old - new)) percent=$(((saved * 200 + old) / (2 * old)))
line() { drv text "$result_title" "$1"; }
format() { printf "$(text English.txt "$1")" "${@:2}"; }
check "L0031 with what is saved" same "$(line 1008)" "$(format L0031 "$(size_text $saved)" $percent)"
check "L0033 with the size after" same "$(line 1009)" \
  "$(format L0033 "$(size_text $new)" $((100 - percent)))"
check "L0034 with the space freed" same "$(line 1010)" \
  "$(format L0034 "$(size_text $saved)" $percent)"
check "the bar reads L0032" same "$(line 1014)" "$(format L0032 $percent)"
check "L0029 tells what the button does" same "$(line 1011)" "$(text English.txt L0029)"
look "$result_title" defrag-result
drv shot "$main" "$shots/defrag-result-over-overlay.png"
drv click "$result_title" 1602
check "the button asks L0038 before anything" drv wait-window "$(text English.txt L0025)" 10
drv shot "$(text English.txt L0025)" "$shots/defrag-restart-question.png"
check "and the restart is declined" drv decline-box "$(text English.txt L0038 | sed 's/\\r\\n.*//')" 10
sleep 1
check "the result window stays open" drv wait-window "$result_title" 1
check "nothing is dated" same "$(ini LastDefrag 2>/dev/null)" ""
check "nothing was replaced: the old hive's leftover stays" same "$(cat "$hives/hive1.dat.regbk109")" old
drv click "$result_title" 2
check "Cancel closes the result window" drv wait-gone "$result_title" 10
for _ in $(seq 40); do [ -z "$(overlay)" ] && break; sleep 0.1; done
check "the overlay fades out" same "$(overlay)" ""
check "the page still says it never ran" same "$(drv text "$main" "$page/1601")" \
  "$(text English.txt L0148)"

drv close "$main"
ends "the close box"
finish
