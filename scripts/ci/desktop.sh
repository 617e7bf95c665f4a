# What the editor stages (jalv_editor.sh, qtractor_editor.sh) share: a
# virtual X server, a dummy JACK server, bounded waits, and screenshots kept
# under the build folder. Sourced, not run; the stage defines $work, the
# array pids (killed by its cleanup trap) and $shots (where pictures go).

# Waits up to $1 seconds for the command after it to succeed.
wait_for() {
    local limit=$1
    shift
    local started=$SECONDS
    until "$@" >/dev/null 2>&1; do
        ((SECONDS - started < limit)) || return 1
        sleep 0.2
    done
}

# Starts Xvfb on a free display and exports DISPLAY.
start_x_server() {
    Xvfb -displayfd 5 -screen 0 1280x900x24 -nolisten tcp 5>"$work/display" >"$work/xvfb.log" 2>&1 &
    pids+=($!)
    wait_for 20 test -s "$work/display" || { cat "$work/xvfb.log"; echo "the X server did not start"; exit 1; }
    export DISPLAY=:$(cat "$work/display")
    wait_for 10 xdpyinfo || { echo "the X server on $DISPLAY does not answer"; exit 1; }
}

# Starts a JACK server with the dummy driver, named after the stage, and
# exports JACK_DEFAULT_SERVER for its clients.
start_dummy_jack() {
    export JACK_DEFAULT_SERVER=slicecast-editor-$$
    jackd --no-realtime -n "$JACK_DEFAULT_SERVER" -d dummy -r 48000 -p 512 >"$work/jackd.log" 2>&1 &
    pids+=($!)
    wait_for 20 jack_wait -c || { cat "$work/jackd.log"; echo "the JACK server did not start"; exit 1; }
}

# Keeps the whole screen as $shots/$1.png and prints its path.
screenshot() {
    local file=$shots/$1.png
    "$here/editor_screen.py" shot "$file"
    echo "screenshot: $file"
}

# Checks pixels of the screenshot $1 at the editor's own coordinates:
# editor_pixels NAME X Y RRGGBB [X Y RRGGBB ...] (the editor at $editor_x,$editor_y).
editor_pixels() {
    local name=$1
    shift
    local checks=()
    while (($#)); do
        checks+=($((editor_x + $1)) $((editor_y + $2)) "$3")
        shift 3
    done
    "$here/editor_screen.py" colour "$shots/$name.png" "${checks[@]}"
}
