# shellcheck shell=bash
# What the editor stages (jalv_editor.sh, qtractor_editor.sh) share: a
# virtual X server, a dummy JACK server, bounded waits, screenshots kept
# under the build folder, and the editor's checks: its default controls, its
# live picture, a drag of its Rate slider. Sourced, not run, after
# stage_work.sh; the stage defines $shots
# (where pictures go), and sets editor_x and editor_y once it has found the
# editor.

# The editor's colours and places (editor/control_painting.cpp,
# editor/editor_layout.h), in its own pixels.
chosen=e29636 cell=2e323b track=343842
chosen_wave_length=(409 291) # inside the 1/8 cell, the default, left of its label
first_wave_length=(139 291)  # inside the 1/1 cell
rate_bar_y=379               # the Rate slider's bar: x 120 (0 %) to 336 (100 %)
picture_box=(16 44 768 232)
# Pixels in the output's colour that a picture of sound has at least (a
# silent one has its two centre lines, under 800).
sound_pixels=5000

# Starts Xvfb on a free display and exports DISPLAY.
start_x_server() {
    Xvfb -displayfd 5 -screen 0 1280x900x24 -nolisten tcp 5>"$work/display" >"$work/xvfb.log" 2>&1 &
    pids+=($!)
    wait_for 20 test -s "$work/display" || { cat "$work/xvfb.log"; echo "the X server did not start"; exit 1; }
    DISPLAY=:$(cat "$work/display")
    export DISPLAY
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

# The controls at their defaults in the screenshot $1: WaveLength 1/8,
# Rate 70 %.
check_defaults() {
    screenshot "$1"
    editor_pixels "$1" "${chosen_wave_length[@]}" $chosen "${first_wave_length[@]}" $cell \
        200 $rate_bar_y $chosen 300 $rate_bar_y $track
    echo "WaveLength 1/8 chosen, Rate at 70 %"
}

# The live picture while sound plays: a screenshot $1-1 whose picture shows
# sound in the output's colour (a page may just have begun: up to 10 s), and
# a later one, $1-2, whose picture differs.
check_live_picture() {
    local first=$shots/$1-1.png second=$shots/$1-2.png
    local picture=($((editor_x + picture_box[0])) $((editor_y + picture_box[1])) "${picture_box[2]}" "${picture_box[3]}")
    shows_sound() { "$here/editor_screen.py" shot "$first" && "$here/editor_screen.py" drawn "$first" "${picture[@]}" $chosen $sound_pixels; }
    wait_for 10 shows_sound || {
        "$here/editor_screen.py" drawn "$first" "${picture[@]}" $chosen $sound_pixels || true
        echo "screenshot: $first"
        echo "the editor's picture shows no sound"
        exit 1
    }
    echo "screenshot: $first"
    sleep 0.5
    moved_on() { "$here/editor_screen.py" shot "$second" && "$here/editor_screen.py" changed "$first" "$second" "${picture[@]}"; }
    wait_for 5 moved_on || { echo "screenshot: $second"; echo "the editor's picture stands still"; exit 1; }
    echo "screenshot: $second"
    echo "the picture shows the sound and moves on"
}

# Drags the Rate slider with the pointer from its knob at 70 % to 25 % and
# checks the screenshot $1 shows it there.
drag_rate() {
    xdotool mousemove $((editor_x + 271)) $((editor_y + rate_bar_y)) mousedown 1 sleep 0.1
    local x
    for x in 240 210 180 174; do
        xdotool mousemove $((editor_x + x)) $((editor_y + rate_bar_y)) sleep 0.1
    done
    xdotool mouseup 1
    sleep 0.5
    screenshot "$1"
    editor_pixels "$1" 150 $rate_bar_y $chosen 200 $rate_bar_y $track "${chosen_wave_length[@]}" $chosen
    echo "the slider shows 25 %"
}
