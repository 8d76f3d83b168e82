#!/bin/bash
# Opens the audio device.
# Shows windows.
# Registers ASIO drivers.
# The "Sound device" dialog as a user reaches it: Ctrl+D and the Device button open it, but not
# while a tone plays; its format list tests the MME mapper, and a double-click on 48000 Hz /
# 24 bits takes both into the main window (QV.INI keeps them). The Japanese run starts on ASIO
# with the tests' own driver of eight 24-bit outputs registered: its dialog lists the driver and
# its channels, and its format list is the driver's. F1 in the dialog opens the help. Pictures of the dialog and the format list
# in both languages go to build/screenshots/.
set -uo pipefail
source "$QV_SOURCE_DIR/tests/support/gui_test_start.sh"
source "$QV_SOURCE_DIR/tests/support/asio_drivers.sh"
trap 'wine taskkill /IM QV.exe >/dev/null 2>&1; asio_unregister_all; rm -rf "$work"' EXIT
asio_unregister_all
asio_register "QV Test" 6F1D2E3C-0000-4000-8000-00000000C501 "$QV_ASIO_TEST_DRIVER" \
    "QV Test Driver"
asio_apply
command -v import >/dev/null || exit 77
shots="$QV_SOURCE_DIR/build/screenshots"
mkdir -p "$shots"
cp "$QV_EXE" "$QV_KT54DLL" "$QV_BUILD_DIR/src/app/QV.chm" "$work/"
fail=0

# Opens the format list from the dialog, waits for its test to end, photographs it.
format_list() { # dialog, picture
    local before
    before=$(xdotool search --onlyvisible --name . 2>/dev/null)
    eval "$(xdotool getwindowgeometry --shell "$1")"
    xdotool mousemove $((X + 60)) $((Y + 133)) click 1
    list=$(wait_new_window "$before")
    [ -n "$list" ] || { echo "FAIL $2: no format list"; fail=1; return; }
    sleep 2
    photograph "$list" "$2"
}

run() { # language: en or ja
    local lang=$1 pid w dialog
    settled_ini "$work" "[Special]\r\nEnglishMode=$([ "$lang" = en ] && echo 1 || echo 0)\r\n$(
        [ "$lang" = ja ] && echo '[Misc]\r\nPlayDriverType=2\r\nASIO_PlayChNum=2\r\n')"
    (cd "$work" && LC_ALL=$([ "$lang" = en ] && echo C.UTF-8 || echo ja_JP.UTF-8) \
        QV_ASIO_TEST_OUTPUTS=8 QV_ASIO_TEST_TYPE=17 wine QV.exe </dev/null >/dev/null 2>&1) &
    pid=$!
    w=$(wait_window '^Quorvale ')
    [ -n "$w" ] || { echo "FAIL $lang: no main window"; fail=1; return; }
    # A window that has only just appeared may not take keys yet: Ctrl+D again after a while.
    for _ in 1 2 3; do
        xdotool windowfocus --sync "$w" && xdotool key ctrl+d
        for _ in $(seq 20); do
            dialog=$(xdotool search --onlyvisible --name '^Quorvale - ' 2>/dev/null | head -n 1)
            [ -n "$dialog" ] && break 2
            sleep 0.25
        done
    done
    [ -n "$dialog" ] || { echo "FAIL $lang: Ctrl+D opened no dialog"; fail=1; return; }
    sleep 0.5
    photograph "$dialog" "device-$lang"
    if [ "$lang" = en ]; then
        # F1 opens the help (its page is the dialog's; the viewer's caption is the file's).
        xdotool key --window "$dialog" F1
        help=$(wait_window '^Quorvale Help$')
        [ -n "$help" ] || { echo "FAIL F1 in the dialog opened no help"; fail=1; }
        [ -n "$help" ] && xdotool windowclose "$help" && wait_destroyed "$help"
    fi
    format_list "$dialog" "formats-$lang"
    if [ "$lang" = en ]; then
        # 48000 Hz, 24 bits: the fifth rate, the third bit length.
        eval "$(xdotool getwindowgeometry --shell "$list")"
        xdotool mousemove $((X + 211)) $((Y + 119)) click --repeat 2 --delay 80 1
        wait_destroyed "$list"
    else
        xdotool key --window "$list" Escape
        wait_destroyed "$list"
    fi
    xdotool key --window "$dialog" Return
    wait_destroyed "$dialog"
    if [ "$lang" = en ]; then
        # Locked while a tone plays; the Device button opens it again once stopped.
        xdotool windowfocus --sync "$w" && xdotool key space && sleep 1
        xdotool key ctrl+d && sleep 2
        [ -z "$(xdotool search --onlyvisible --name '^Quorvale - ' | head -n 1)" ] ||
            { echo "FAIL the dialog opened during playback"; fail=1; }
        xdotool key space && sleep 1
        xdotool mousemove --window "$w" 250 14 click 1
        dialog=$(wait_window '^Quorvale - ')
        [ -n "$dialog" ] || { echo "FAIL the Device button opened no dialog"; fail=1; }
        [ -n "$dialog" ] && xdotool key --window "$dialog" Return && wait_destroyed "$dialog"
    fi
    wine taskkill /IM QV.exe >/dev/null 2>&1
    wait_end "$pid" || { echo "FAIL $lang: the program did not end"; fail=1; kill "$pid"; }
    wait "$pid" 2>/dev/null
}

run en
grep -q '^SamplingFreq=48000' "$work/QV.INI" && grep -q '^BitLen=24' "$work/QV.INI" ||
    { echo "FAIL the format list's choice did not reach the set"; fail=1; }
run ja
[ $fail -eq 0 ] && echo "the device dialog opens from its key and button, tests formats and chooses one"
exit $fail
