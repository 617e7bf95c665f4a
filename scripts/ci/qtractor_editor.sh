#!/usr/bin/env bash
# CLAP editor stage: the CLAP edition's editor in a real host, Qtractor
# 0.9.31, on a virtual X server with audio through a dummy JACK server.
#  1. A double-click on the plug-in in Qtractor's track list (as a user
#     opens it; a session cannot open an editor by itself) opens a window
#     with the editor embedded, 800 x 450, showing the controls at their
#     defaults.
#  2. With the JACK transport rolling and the track playing a generated
#     file, the live picture shows the sound and changes over time.
#  3. A drag with the pointer (XTest) moves the Rate slider from 70 % to
#     25 %; Qtractor then holds the session as modified, and the session it
#     saves (SIGUSR1, as a session manager asks) holds Rate 25 both as the
#     host's parameter value and in the edition's state.
# Qtractor needs an ALSA sequencer, which a machine without sound hardware
# lacks: the CLAP stage's stand-in library is preloaded into it.
# Screenshots of each step stay in BUILD_DIR/editor-hosts/qtractor-*.png.
#   usage: qtractor_editor.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build_dir=$(cd "$1" && pwd)
plugin=$build_dir/editions/clap/slicecast.clap
generator=$build_dir/tests/reliability/daw_export_check
shots=$build_dir/editor-hosts
mkdir -p "$shots"
rm -f "$shots"/qtractor-*.png

rate=48000
seconds=20

# KEEP_WORK=1 keeps the session and logs for a look after a failure.
# shellcheck source=scripts/ci/stage_work.sh
source "$here/stage_work.sh"
# shellcheck source=scripts/ci/desktop.sh
source "$here/desktop.sh"

# Qtractor's own files stay in the work folder; it shows its windows on the
# virtual X server (the CLAP stage runs it offscreen).
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_RUNTIME_DIR=$work/run QT_QPA_PLATFORM=xcb
mkdir -p "$XDG_CONFIG_HOME/rncbc.org" "$XDG_RUNTIME_DIR" "$work/plugins"
chmod 700 "$XDG_RUNTIME_DIR"
cat >"$XDG_CONFIG_HOME/rncbc.org/Qtractor.conf" <<CONF
[AutoSave]
Enabled=false

[Options]
Display\StdoutCapture=false
Logging\MessagesLog=true
Logging\MessagesLogPath=$work/messages.log
CONF
cp "$plugin" "$work/plugins/"
cc -shared -fPIC -O2 -Wall -Wextra -Werror -o "$work/seq_stub.so" "$here/qtractor_seq_stub.c"

"$generator" generate --stereo "$work/input.wav" --rate "$rate" --seconds "$seconds"
cat >"$work/session.qtr" <<SESSION
<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE qtractorSession>
<session version="0.9.31" name="slicecast">
 <properties>
  <directory>$work</directory>
  <sample-rate>$rate</sample-rate>
  <tempo>120</tempo>
  <ticks-per-beat>960</ticks-per-beat>
  <beats-per-bar>4</beats-per-bar>
  <beat-divisor>2</beat-divisor>
 </properties>
 <devices>
  <audio-engine>
   <audio-control>
    <transport-mode>duplex</transport-mode>
   </audio-control>
   <audio-bus name="Master" mode="duplex">
    <channels>2</channels>
   </audio-bus>
  </audio-engine>
 </devices>
 <tracks>
  <track name="Slicecast" type="audio">
   <properties>
    <input-bus>Master</input-bus>
    <output-bus>Master</output-bus>
   </properties>
   <clips>
    <clip name="input">
     <properties>
      <name>input</name>
      <start>0</start>
      <offset>0</offset>
      <length>$((rate * seconds))</length>
     </properties>
     <audio-clip>
      <filename>$work/input.wav</filename>
     </audio-clip>
    </clip>
   </clips>
   <plugins>
    <plugin type="CLAP">
     <filename>$work/plugins/slicecast.clap</filename>
     <index>0</index>
     <activated>1</activated>
    </plugin>
   </plugins>
  </track>
 </tracks>
</session>
SESSION

# Where the plug-in stands in the track list of Qtractor's main window, as
# this configuration lays it out (1024 x 768, the track list on the left).
plugin_in_list=(185 180)

echo "-- X server, dummy JACK server and Qtractor"
start_x_server
start_dummy_jack
LD_PRELOAD=$work/seq_stub.so qtractor "$work/session.qtr" >"$work/qtractor.log" 2>&1 &
qtractor_pid=$!
pids=("$qtractor_pid" "${pids[@]}")
ready() { jack_lsp | grep -q '^Qtractor:Master/out_1$' && xdotool search --name 'session\.qtr'; }
wait_for 60 ready || {
    cat "$work/qtractor.log" "$work/messages.log" 2>/dev/null
    echo "Qtractor did not open the session"
    exit 1
}
main_window=$(xdotool search --name 'session\.qtr' | head -n 1)
sleep 1

echo "-- the editor, opened from the track list"
xdotool mousemove --window "$main_window" "${plugin_in_list[@]}" click --repeat 2 --delay 80 1
editor_title="^J'x Slicecast - Slicecast"
wait_for 20 xdotool search --name "$editor_title" || {
    screenshot qtractor-not-opened
    echo "a double-click on the plug-in opened no editor window"
    exit 1
}
editor_window=$(xdotool search --name "$editor_title" | head -n 1)
wait_for 10 "$here/editor_screen.py" find "$editor_window" 800 450 || {
    xwininfo -tree -id "$editor_window"
    echo "no editor embedded in Qtractor's plug-in window"
    exit 1
}
read -r editor_x editor_y < <("$here/editor_screen.py" find "$editor_window" 800 450)
echo "the editor is embedded in Qtractor's window $editor_window at $editor_x,$editor_y"
sleep 1
check_defaults qtractor-opened

echo "-- the live picture with the transport rolling"
echo play | timeout 10 jack_transport >/dev/null
check_live_picture qtractor-playing

echo "-- a drag on the Rate slider"
drag_rate qtractor-dragged
modified() { xdotool getwindowname "$main_window" | grep -q '\[modified\]'; }
wait_for 10 modified || { echo "Qtractor did not take the edit: its session is not modified"; exit 1; }
echo "Qtractor holds the session as modified"

echo "-- the saved session"
touch -d '1 minute ago' "$work/session.qtr"
before=$(stat -c %Y "$work/session.qtr")
kill -USR1 "$qtractor_pid"
saved() { [[ $(stat -c %Y "$work/session.qtr") != "$before" ]] && ! modified; }
wait_for 20 saved || { echo "Qtractor did not save the session"; exit 1; }
# Qtractor writes a parameter's attributes in either order.
grep -Eq '<param [^>]*name="Rate"[^>]*>25</param>' "$work/session.qtr" || {
    grep '<param ' "$work/session.qtr"
    echo "the saved session does not hold Rate 25 as Qtractor's parameter value"
    exit 1
}
state=$(python3 "$here/qtractor_state.py" get "$work/session.qtr")
read -r _ _ state_rate _ <<<"$state"
[[ $state_rate == 25 ]] || { echo "the saved state holds Rate $state_rate, not 25 ($state)"; exit 1; }
echo "the saved session holds Rate 25, as a parameter and in the state"
