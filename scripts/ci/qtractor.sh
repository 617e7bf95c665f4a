#!/usr/bin/env bash
# CLAP stage: Slicecast's CLAP edition in a real host, Qtractor 0.9.31,
# headless.
#  1. Qtractor's plug-in scanner must list the effect with its name, two
#     audio inputs and outputs and six parameters, and a state.
#  2. A generated session (one stereo track playing a generated file, a
#     recording plug-in before Slicecast and one after it) plays through a
#     dummy JACK server as the JACK transport rolls, twice, from two places;
#     then every block the host gave the effect is played through the built
#     slicecast.clap directly, with the same frames, transport and input,
#     and must come out as the host's effect made it, to the bit
#     (clap_record_check).
#  3. What a user sees of the session: Qtractor saves it (SIGUSR1, as a
#     session manager asks), then quits as its window manager asks (SIGTERM)
#     and must exit by itself within seconds. The saved session, holding
#     values a user set in the edition's state, opened again and asked to
#     quit at once, must exit as quickly: a session held as modified waits
#     at the question whether to save it. Opened and saved once more, it
#     must hold the same values, so the state was indeed loaded.
# Qtractor needs an ALSA sequencer, which a machine without sound hardware
# lacks: a small library preloaded into Qtractor stands in for it.
#   usage: qtractor.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build_dir=$(cd "$1" && pwd)
plugin=$build_dir/editions/clap/slicecast.clap
recorder=$build_dir/tests/reliability/clap_recorder.clap
checker=$build_dir/tests/reliability/clap_record_check
generator=$build_dir/tests/reliability/daw_export_check
scanner=$(ls /usr/lib/*/qtractor/qtractor_plugin_scan | head -n 1)

rate=44100
period=512
tempo=137.5
seconds=8

# KEEP_WORK=1 keeps the session, logs and records for a look after a failure.
# shellcheck source=scripts/ci/stage_work.sh
source "$here/stage_work.sh"

echo "-- scanner"
scan=$(echo "CLAP:$plugin" | timeout 30 "$scanner")
echo "$scan"
# type | name | audio ins:outs | MIDI ins:outs | parameters in:out | flags | file | index
IFS='|' read -r type name audio midi parameters flags _ <<<"$scan"
[[ $type == CLAP && $name == "J'x Slicecast" && $audio == 2:2 && $midi == 0:0 && $parameters == 6:0 &&
    $flags == *EXT* ]] || { echo "the scanner does not list Slicecast as it should"; exit 1; }

# Qtractor's own files stay in the work folder.
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_RUNTIME_DIR=$work/run
export QT_QPA_PLATFORM=offscreen JACK_DEFAULT_SERVER=slicecast-stage-$$ SLICECAST_RECORDS=$work/records
mkdir -p "$XDG_CONFIG_HOME/rncbc.org" "$XDG_RUNTIME_DIR" "$SLICECAST_RECORDS" "$work/plugins"
chmod 700 "$XDG_RUNTIME_DIR"
cat >"$XDG_CONFIG_HOME/rncbc.org/Qtractor.conf" <<CONF
[AutoSave]
Enabled=false

[Options]
Display\StdoutCapture=false
Logging\MessagesLog=true
Logging\MessagesLogPath=$work/messages.log
CONF
cp "$plugin" "$recorder" "$work/plugins/"
cc -shared -fPIC -O2 -Wall -Wextra -Werror -o "$work/seq_stub.so" "$here/qtractor_seq_stub.c"

echo "-- session"
"$generator" generate --stereo "$work/input.wav" --rate "$rate" --seconds "$seconds"
frames=$((rate * seconds))
cat >"$work/session.qtr" <<SESSION
<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE qtractorSession>
<session version="0.9.31" name="slicecast">
 <properties>
  <directory>$work</directory>
  <sample-rate>$rate</sample-rate>
  <tempo>$tempo</tempo>
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
      <length>$frames</length>
     </properties>
     <audio-clip>
      <filename>$work/input.wav</filename>
     </audio-clip>
    </clip>
   </clips>
   <plugins>
    <plugin type="CLAP">
     <filename>$work/plugins/clap_recorder.clap</filename>
     <index>0</index>
     <activated>1</activated>
    </plugin>
    <plugin type="CLAP">
     <filename>$work/plugins/slicecast.clap</filename>
     <index>0</index>
     <activated>1</activated>
    </plugin>
    <plugin type="CLAP">
     <filename>$work/plugins/clap_recorder.clap</filename>
     <index>1</index>
     <activated>1</activated>
    </plugin>
   </plugins>
  </track>
 </tracks>
</session>
SESSION

# How long Qtractor may take to quit when nothing is left to ask.
quit_limit=10

echo "-- dummy JACK server and Qtractor"
jackd --no-realtime -n "$JACK_DEFAULT_SERVER" -d dummy -r "$rate" -p "$period" >"$work/jackd.log" 2>&1 &
pids=($!)
wait_for 20 jack_wait -c || { cat "$work/jackd.log"; echo "the JACK server did not start"; exit 1; }

# Opens the session in Qtractor and waits until its engine runs the
# plug-ins (the first recorder has written its header).
start_qtractor() {
    rm -f "$SLICECAST_RECORDS"/*
    LD_PRELOAD=$work/seq_stub.so qtractor "$work/session.qtr" >>"$work/qtractor.log" 2>&1 &
    qtractor_pid=$!
    pids=("$qtractor_pid" "${pids[@]}")
    ready() { jack_lsp | grep -q '^Qtractor:Master/out_1$' && [[ -s $SLICECAST_RECORDS/before.rec ]]; }
    wait_for 60 ready || {
        cat "$work/qtractor.log" "$work/messages.log" 2>/dev/null
        echo "Qtractor did not start its engine with the session's plug-ins"
        exit 1
    }
}

# Asks Qtractor to quit as a window manager does; it must exit by itself.
# Its plug-ins are deactivated and destroyed on the way, so the recorders'
# files complete.
quit_qtractor() {
    kill -TERM "$qtractor_pid"
    timeout "$quit_limit" tail --pid="$qtractor_pid" -f /dev/null || {
        cat "$work/messages.log"
        echo "Qtractor did not quit within $quit_limit s: it holds the session as modified ($1)"
        exit 1
    }
}

start_qtractor

echo "-- transport"
# From the start, then from further on: two first blocks after a start,
# and a jump of the position between them.
timeout 90 python3 "$here/jack_transport.py" 0 $((frames * 3 / 8)) 60
timeout 90 python3 "$here/jack_transport.py" $((frames / 2)) $((frames * 7 / 8)) 60

# Asks Qtractor to save its session, as a session manager does, and waits
# until the file is written.
save_session() {
    touch -d '1 minute ago' "$work/session.qtr"
    local before
    before=$(stat -c %Y "$work/session.qtr")
    kill -USR1 "$qtractor_pid"
    saved() { [[ $(stat -c %Y "$work/session.qtr") != "$before" ]]; }
    wait_for 20 saved || { echo "Qtractor did not save the session"; exit 1; }
}

echo "-- save and quit"
save_session
quit_qtractor "after playing and saving"
cat "$work/messages.log"

echo "-- check"
"$checker" --records "$SLICECAST_RECORDS" --rolling-blocks 300

echo "-- the saved session, with a user's values, opened again"
values="9 0 12.5 99 25 3"
python3 "$here/qtractor_state.py" set "$work/session.qtr" $values
start_qtractor
quit_qtractor "just opened"
start_qtractor
save_session
quit_qtractor "just opened and saved"
loaded=$(python3 "$here/qtractor_state.py" get "$work/session.qtr")
[[ $loaded == "$values" ]] || { echo "the session's values came back as $loaded, not $values"; exit 1; }
echo "the saved session opened with its values and closed without a question"
