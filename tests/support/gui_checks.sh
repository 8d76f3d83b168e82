# Shared by the scripts that drive QV.exe on the virtual desktop (sourced after tools/wine-env).
# wait_window PATTERN: the id of the first visible window whose title matches, within 30 s ("" if
# none came).
wait_window() {
    local w="" _
    for _ in $(seq 120); do
        w=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
        [ -n "$w" ] && break
        sleep 0.25
    done
    echo "$w"
}

# wait_end PID: true when the process ended within 20 s.
wait_end() {
    local _
    for _ in $(seq 80); do
        kill -0 "$1" 2>/dev/null || return 0
        sleep 0.25
    done
    return 1
}

# settled_ini DIR [TEXT]: the QV.INI of a program that has run before (so no start notice), with
# TEXT (CRLF lines) after it.
settled_ini() {
    printf '[Window]\r\nDispHelp=1\r\n[Version]\r\nVer=1.5\r\n%b' "${2:-}" >"$1/QV.INI"
}

# answer WINDOW: presses Return in a message box and waits (up to 10 s) until it has gone.
answer() {
    local _
    xdotool key --window "$1" Return
    for _ in $(seq 40); do
        xdotool search --onlyvisible --name . | grep -qx "$1" || return 0
        sleep 0.25
    done
}

# wait_destroyed WINDOW: waits (up to 10 s) until the window no longer exists. Without a window
# manager Wine hides a window only after waiting 2 s for one; its destruction comes after that,
# so the program's window thread is free again.
wait_destroyed() {
    local _
    for _ in $(seq 100); do
        xdotool getwindowname "$1" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
}

# photograph WINDOW PICTURE: the window as the screen shows it, into $shots/PICTURE.png.
photograph() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$shots/$2.png"
}

# wait_new_window IDS: the first visible window not among IDS (the windows before), within 30 s;
# its title may be Japanese, which the window search cannot match.
wait_new_window() {
    local id _
    for _ in $(seq 120); do
        for id in $(xdotool search --onlyvisible --name . 2>/dev/null); do
            grep -qx "$id" <<<"$1" || { echo "$id"; return; }
        done
        sleep 0.25
    done
}

# playing: the capture file $capture grows within half a second.
playing() {
    local before
    before=$(stat -c %s "$capture" 2>/dev/null || echo 0)
    sleep 0.5
    [ "$(stat -c %s "$capture" 2>/dev/null || echo 0)" -gt "$before" ]
}
