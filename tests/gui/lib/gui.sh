# Shared steps of the GUI scripts; sourced. `gui_init "$@" NAME` takes what CTest passes
# (Kelvane.exe, source dir, build dir), starts a private Xvfb when there is no display and
# lays out C:\Kelvane (program, Settings.xml, skin, languages, help) in a fresh wine prefix
# of the script's own. Windows are driven from a second process with gui_driver.exe
# (`drv`); checks go through `check`; `finish` reports, removes a prefix whose checks all
# passed and sets the exit code. Screenshots go to $shots (BUILD_DIR/gui-shots).
gui_init() {
  [ $# -eq 4 ] && [ -f "$1" ] || { echo "usage: $0 KELVANE_EXE SOURCE_DIR BUILD_DIR" >&2; exit 2; }
  exe=$(realpath "$1") source=$(realpath "$2") build=$(realpath "$3")
  driver=$build/tests/gui/gui_driver.exe
  [ -f "$driver" ] || { echo "gui_driver.exe is not built" >&2; exit 2; }
  work=$build/gui/$4 shots=$build/gui-shots failed=0 xvfb="" main="Kelvane v3.0"
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEPREFIX=$work/prefix
  trap gui_cleanup EXIT
  if [ -z "${DISPLAY:-}" ]; then
    local n
    for n in $(seq $((200 + RANDOM % 300)) 600); do [ -e /tmp/.X11-unix/X$n ] || break; done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$! && export DISPLAY=:$n && sleep 1
  fi
  rm -rf "$work" && mkdir -p "$work" "$shots"
  "$source/tools/make-prefix" "$WINEPREFIX" >/dev/null 2>&1 || { echo "cannot create the wine prefix" >&2; exit 2; }
  # Without this wine leaves the frame to a window manager, and Xvfb has none: no captions.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wineserver -p  # one server for the whole script: a wine start then takes a second, not five
  program=$WINEPREFIX/drive_c/Kelvane
  mkdir -p "$program/Language"
  cp "$exe" "$program/Kelvane.exe"
  cp "$source/package/Settings.xml" "$program/"
  cp -r "$source/package/Skin" "$source/package/Help" "$program/"
  cp "$source/package/Language/"*.txt "$source/package/Language/"*.bmp "$program/Language/"
}
gui_cleanup() {
  wineserver -k >/dev/null 2>&1
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
}

text() { tr -d '\r' <"$program/Language/$1" | sed -n "s/^$2=//p"; }  # text FILE KEY
ini() { tr -d '\r' <"$program/Settings.ini" 2>/dev/null | sed -n "s/^$1=//p"; }
drv() { wine "$driver" "$@" </dev/null | tr -d '\r'; }  # wine's console writes CR LF
check() {
  if "${@:2}"; then echo "ok: $1"; else failed=$((failed + 1)) && echo "FAILED: $1" && false; fi
}
same() { [ "$1" = "$2" ] || { echo "  got \"$1\", expected \"$2\""; false; }; }
# No caption is a language key left untranslated (captions' third field, a box's two fields).
no_bare_key() { ! grep -E $'(^|\t)L[0-9]{4}$' <<<"$1"; }
# The window's captions, checked for bare keys, and its picture as $shots/NAME.png.
look() {  # look WINDOW NAME
  local captions
  drv shot "$1" "$shots/$2.png"  # first: a wait window may be gone soon
  captions=$(drv captions "$1")
  check "no caption of $2 is a bare key" no_bare_key "$captions"
}

# Starts the program without words; it warns first that it finds no hive files (wine has
# no hive list) and then shows the main window. $1: the language file in use.
start() {
  drv run 'C:\Kelvane\Kelvane.exe' 120 >"$work/run.out" 2>&1 &
  run=$!
  local box needle
  # Wine reads a command line as UTF-8: the box is looked for by its text's ASCII start.
  needle=$(text "$1" L0026 | LC_ALL=C sed 's/[\x80-\xff].*//')
  box=$(drv answer-box "$needle" 30)
  check "start-up warns of the missing hive files under the product name" same "$box" \
    "Kelvane	$(text "$1" L0026)"
  check "the main window appears with its caption" drv wait-window "$main" 30 || finish
}
# The program ends by itself within a bounded time with exit code 0.
ends() {
  local waited=0
  while kill -0 "$run" 2>/dev/null && [ $waited -lt 20 ]; do sleep 1 && waited=$((waited + 1)); done
  check "$1 ends the program within 20 s" bash -c "! kill -0 $run 2>/dev/null" ||
    wineserver -k >/dev/null 2>&1
  wait "$run"
  check "$1 ends it with exit code 0" same "$(cat "$work/run.out")" "exit 0"
}
# Reports and ends the script; a prefix whose checks all passed is removed.
finish() {
  echo "$(basename "$0" .sh): $failed failed; screenshots in $shots"
  wineserver -k >/dev/null 2>&1
  wineserver -w >/dev/null 2>&1
  [ $failed -eq 0 ] || { echo "the prefix stays for a look: $WINEPREFIX"; exit 1; }
  rm -rf "$WINEPREFIX"
  exit 0
}

nav_ids=(1000 1002 1003 1004 1006)  # the navigation buttons of pages 0..4
page_id() { echo "1005/$((1290 + $1))"; }  # the window of page N inside the page area
goto_page() { drv click "$main" "${nav_ids[$1]}" && sleep 0.3; }
