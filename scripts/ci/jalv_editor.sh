#!/usr/bin/env bash
# LV2 editor stage: the LV2 edition's editor in a real host, Debian's
# jalv.gtk3, on a virtual X server with audio through a dummy JACK server.
#  1. The editor's window appears embedded in jalv's window, 800 x 450, and
#     shows the controls at their defaults (the chosen WaveLength cell and
#     the filled part of the Rate slider in their colour).
#  2. With a metronome playing into jalv's inputs and the JACK transport
#     rolling, the live picture shows the sound and changes over time.
#  3. A drag with the pointer (XTest, as a user's hand) moves the Rate
#     slider from 70 % to 25 %; a preset that jalv saves then (its Presets
#     menu) holds rate 25, so the editor's write reached the control port.
# Screenshots of each step stay in BUILD_DIR/editor-hosts/jalv-*.png.
#   usage: jalv_editor.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build_dir=$(cd "$1" && pwd)
uri=https://slicecast.tiv-nar.example/plugins/slicecast
shots=$build_dir/editor-hosts
mkdir -p "$shots"
rm -f "$shots"/jalv-*.png

# KEEP_WORK=1 keeps the logs and jalv's home folder for a look after a failure.
# shellcheck source=scripts/ci/stage_work.sh
source "$here/stage_work.sh"
# shellcheck source=scripts/ci/desktop.sh
source "$here/desktop.sh"

# jalv's and GTK's own files stay in the work folder.
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_RUNTIME_DIR=$work/run
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

echo "-- X server, dummy JACK server and jalv.gtk3"
start_x_server
start_dummy_jack
LV2_PATH=$build_dir/lv2 jalv.gtk3 -s "$uri" >"$work/jalv.log" 2>&1 &
pids=($! "${pids[@]}")
wait_for 30 xdotool search --name "^J'x Slicecast\$" || {
    cat "$work/jalv.log"
    echo "jalv's window did not appear"
    exit 1
}
top=$(xdotool search --name "^J'x Slicecast\$" | head -n 1)
wait_for 20 "$here/editor_screen.py" find "$top" 800 450 || {
    xwininfo -tree -id "$top"
    cat "$work/jalv.log"
    echo "no editor window inside jalv's window"
    exit 1
}
read -r editor_x editor_y < <("$here/editor_screen.py" find "$top" 800 450)
echo "the editor is embedded in jalv's window $top at $editor_x,$editor_y"
sleep 1

echo "-- the controls"
check_defaults jalv-opened

echo "-- the live picture with the transport rolling"
jack_metro -b 240 -f 440 -D 100 -A 0.8 -n slicecast-metronome >"$work/metronome.log" 2>&1 &
pids=($! "${pids[@]}")
wait_for 10 jack_connect slicecast-metronome:240_bpm "J'x Slicecast:in_l"
jack_connect slicecast-metronome:240_bpm "J'x Slicecast:in_r"
echo play | timeout 10 jack_transport >/dev/null
check_live_picture jalv-playing

echo "-- a drag on the Rate slider"
drag_rate jalv-dragged

echo "-- the control port, as jalv saves it in a preset"
# jalv's Presets menu sits on its menu bar, right of File; Save Preset is
# its first item and opens a dialog that asks for a name.
xdotool mousemove --window "$top" 70 12 click 1 sleep 0.5
xdotool mousemove --window "$top" 110 37 click 1
wait_for 10 xdotool search --name '^Save Preset$' || { echo "jalv's Save Preset dialog did not open"; exit 1; }
dialog=$(xdotool search --name '^Save Preset$' | head -n 1)
xdotool windowfocus --sync "$dialog" type dragged
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$dialog")"
# The dialog's Save button, in its bottom right corner.
xdotool mousemove --window "$dialog" $((WIDTH - 50)) $((HEIGHT - 24)) click 1
saved_preset() { ls "$HOME"/*dragged*.lv2/dragged.ttl; }
wait_for 10 saved_preset || { screenshot jalv-preset-dialog; echo "jalv saved no preset"; exit 1; }
preset=$(saved_preset)
python3 - "$preset" <<'CHECK'
import re, sys
text = open(sys.argv[1]).read()
match = re.search(r'lv2:symbol "rate" ;\s*pset:value ([-0-9.e]+)', text)
if not match or float(match[1]) != 25.0:
    sys.exit("the preset jalv saved holds rate %s, not 25:\n%s" % (match[1] if match else "nothing", text))
print("jalv's preset holds rate 25")
CHECK
