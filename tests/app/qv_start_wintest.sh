#!/bin/bash
# Shows windows.
# QV.exe started as a user starts it, in a folder of its own: the main window appears (a picture
# of it in each language goes to build/screenshots/), the first start points to the help once,
# opens it (the help viewer's window appears; Wine leaves its page blank) and makes INIT.QV, and closing the window writes QV.INI, whose settings and parameter set the
# next start takes up and writes back; a window placed on a screen that is gone comes back into
# view; without KT54DLL.DLL the program says so and ends without touching QV.INI.
set -uo pipefail
source "$QV_SOURCE_DIR/tests/support/gui_test_start.sh"
command -v import >/dev/null || exit 77
shots="$QV_SOURCE_DIR/build/screenshots"
mkdir -p "$shots"
cp "$QV_EXE" "$QV_KT54DLL" "$QV_BUILD_DIR/src/app/QV.chm" "$work/"
fail=0
notices=""

# Starts the program, waits for its window, photographs it and closes it as the user would.
run() {  # picture name, then environment settings for wine
    local picture=$1 w geometry
    shift
    (cd "$work" && env "$@" wine QV.exe </dev/null >/dev/null 2>&1) &
    local pid=$!
    w=$(wait_window '^Quorvale ')
    if [ -z "$w" ]; then
        echo "FAIL no main window"
        fail=1
    else
        sleep 1
        # The help notice of a first start, answered as a user answers it (looked for a few
        # times: a search fails as a whole when any window goes away during it).
        for _ in 1 2 3 4 5 6; do
            box=$(xdotool search --onlyvisible --name '^Quorvale$' 2>/dev/null | head -n 1)
            [ -n "$box" ] && break
            sleep 0.25
        done
        notices+="$picture:${box:+notice} "
        if [ -n "$box" ]; then
            answer "$box"
            # The help opens after the notice; moved aside, out of the picture.
            help=$(wait_window '^Quorvale Help$')
            notices+="${help:+help} "
            [ -n "$help" ] && xdotool windowmove "$help" 620 500
        fi
        geometry=$(xdotool getwindowgeometry --shell "$w")
        eval "$geometry"
        placed="$X $Y"
        caption=$(xdotool getwindowname "$w")
        import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$shots/$picture.png"
        # and the second page, chosen on its tab
        xdotool windowfocus --sync "$w" && xdotool mousemove --window "$w" 130 61 click 1 && sleep 0.5
        import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$shots/$picture-2.png"
    fi
    wine taskkill /IM QV.exe >/dev/null 2>&1
    wait_end "$pid" || { echo "FAIL $picture: the program did not end"; fail=1; kill "$pid"; }
    wait "$pid" 2>/dev/null
}

run main-en LC_ALL=C.UTF-8
[ -f "$work/INIT.QV" ] || { echo "FAIL no INIT.QV on the first start"; fail=1; }
grep -q '^\[Wave8\]' "$work/QV.INI" 2>/dev/null || { echo "FAIL no parameter set in QV.INI"; fail=1; }
grep -q '^PosX=' "$work/QV.INI" 2>/dev/null || { echo "FAIL no window place in QV.INI"; fail=1; }
grep -q '^DispHelp=1' "$work/QV.INI" 2>/dev/null || { echo "FAIL the help notice is not marked shown"; fail=1; }
[ "$caption" = "Quorvale  Ver. 1.50E  (x64)" ] || { echo "FAIL English caption '$caption'"; fail=1; }

# A changed set and place come back after a restart (the Japanese interface this time).
sed -i -e '/^\[Wave2\]/,/^\[/ s/^Freq=.*/Freq=4.4e2/' -e '/^\[Wave2\]/,/^\[/ s/^AmpUnit=.*/AmpUnit=percent/' \
    -e 's/^PosX=.*/PosX=200/' -e 's/^PosY=.*/PosY=100/' "$work/QV.INI"
run main-ja LC_ALL=ja_JP.UTF-8
[ "$caption" = "Quorvale  Ver. 1.50  (x64)" ] || { echo "FAIL Japanese caption '$caption'"; fail=1; }
grep -q '^PosX=200' "$work/QV.INI" && grep -q '^PosY=100' "$work/QV.INI" ||
    { echo "FAIL the window's place did not survive: $(grep '^Pos' "$work/QV.INI" | tr -d '\r')"; fail=1; }
section=$(sed -n '/^\[Wave2\]/,/^\[Wave3\]/p' "$work/QV.INI" | tr -d '\r')
grep -qx 'Freq=440' <<<"$section" ||
    { echo "FAIL Wave2's frequency did not come back as 440: $(grep '^Freq=' <<<"$section")"; fail=1; }
grep -qx 'AmpUnit=percent' <<<"$section" || { echo "FAIL Wave2's unit did not survive"; fail=1; }

# A place on a screen that is not there any more.
sed -i -e 's/^PosX=.*/PosX=5000/' -e 's/^PosY=.*/PosY=4900/' "$work/QV.INI"
run offscreen LC_ALL=C.UTF-8
read -r x y <<<"$placed"
[ "$x" -ge 0 ] && [ "$x" -lt 1280 ] && [ "$y" -ge 0 ] && [ "$y" -lt 1024 ] ||
    { echo "FAIL the window stayed off the screen at $x,$y"; fail=1; }
rm -f "$shots/offscreen.png" "$shots/offscreen-2.png"
[ "$notices" = "main-en:notice help main-ja: offscreen: " ] ||
    { echo "FAIL the help notice and the help should come on the first start only: $notices"; fail=1; }

# Without the library: its message, no window, and QV.INI as it was.
rm "$work/KT54DLL.DLL"
cp "$work/QV.INI" "$work/QV.INI.before"
(cd "$work" && LC_ALL=C.UTF-8 wine QV.exe </dev/null >/dev/null 2>&1) &
pid=$!
box=$(wait_window '^Quorvale$')
[ -n "$box" ] || { echo "FAIL no message without KT54DLL.DLL"; fail=1; }
xdotool search --onlyvisible --name '^Quorvale ' >/dev/null 2>&1 && { echo "FAIL a main window without the library"; fail=1; }
[ -n "$box" ] && answer "$box"
wait_end "$pid" || { echo "FAIL the program did not end"; fail=1; kill "$pid"; }
cmp -s "$work/QV.INI" "$work/QV.INI.before" || { echo "FAIL QV.INI changed"; fail=1; }

[ $fail -eq 0 ] && echo "QV.exe starts, shows its window and keeps its set across a restart"
exit $fail
