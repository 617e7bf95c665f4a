#!/usr/bin/env bash
# DAW stage: Slicecast in a real host, Ardour 7, headless.
#  1. Ardour's VST2 scanner must list the effect with its name, vendor,
#     two inputs, two outputs and no editor.
#  2. Ardour's Lua session tool builds a session at a set rate and tempo,
#     one stereo track holding a generated stereo region, Slicecast on it
#     with chosen parameters, and exports it; the export must be what the
#     effect makes of that input at that tempo (daw_export_check).
#  3. The same session with the LV2 edition (the build's bundle, found
#     through LV2_PATH) in place of the VST 2.4 one, checked the same way.
#  4. Ardour's VST 3 scanner must list the VST 3 edition (the build's
#     bundle, found through VST3_PATH) with its class id, name, vendor,
#     category and two inputs and outputs; the same session with it in
#     place of the VST 2.4 one is exported and checked the same way.
#  5. The LV2 and VST 3 sessions again, Slicecast set by one of its factory
#     presets, loaded from Ardour's preset list of the instance (the bundle's
#     pset:Preset, the VST 3 program list) rather than by its values; the
#     export must be the effect's with the preset's values.
#   usage: ardour.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build_dir=$(cd "$1" && pwd)
plugin=$build_dir/editions/vst2/slicecast.so
vst3_bundle=$build_dir/editions/vst3/Slicecast.vst3
checker=$build_dir/tests/reliability/daw_export_check

rate=48000
# At 187.5 beats per minute a 1024-frame block is exactly 128/1920 of a
# quarter note: the DAW's rounding of positions changes nothing, and every
# update-period boundary falls on a block start.
tempo=187.5
block=1024
seconds=4
# "WaveLength" 1/16, "UpdatePeriod" 1/4, "Rate" 80 %, "FadeOut" 30 %,
# "DecayRate" 60 %, "Mix" 90 %; the same as the LV2 edition's port values.
parameters=(0.65 1.0 0.8 0.3 0.6 0.9)
# Ardour sets a VST 3 parameter by its plain value too (the edition's
# steps and percentages), as it shows it.
plain_values=(7 4 80 30 60 90)
# The factory preset the last sessions load, and its values in the VST 2.4
# edition's terms (1/6 is step 4 of 0..11, 1/1 step 2 of 0..4).
factory_preset="Dusty Repeats"
preset_parameters=(0.3637 0.5 0.9 0.3 0.7 0.6)

# KEEP_WORK=1 keeps the session and export for a look after a failure.
work=$(mktemp -d)
trap '[[ -n ${KEEP_WORK:-} ]] || rm -rf "$work"' EXIT
# Ardour keeps its plug-in cache and configuration under HOME.
export HOME=$work/home
mkdir -p "$HOME" "$work/vst" "$work/vst3"

# The session tool only uses plug-ins already in the scanner's cache, and
# takes a cache entry older than its library for stale.
cp "$plugin" "$work/vst/slicecast.so"
touch -d '1 hour ago' "$work/vst/slicecast.so"
export LXVST_PATH=$work/vst
cp -r "$vst3_bundle" "$work/vst3/"
find "$work/vst3" -exec touch -d '1 hour ago' {} +
export VST3_PATH=$work/vst3
export LV2_PATH=$build_dir/lv2

echo "-- scanner"
scan=$(LD_LIBRARY_PATH=/usr/lib/ardour7 /usr/lib/ardour7/ardour-vst-scanner -f -v "$work/vst/slicecast.so" 2>&1)
echo "$scan" | grep '<VST2Info' || { echo "$scan"; echo "the scanner did not list Slicecast"; exit 1; }
for expected in 'id="2003466851"' "name=\"J'x Slicecast\"" "creator=\"J'x Tiv-nar\"" 'n_inputs="2"' \
                'n_outputs="2"' 'n_midi_inputs="0"' 'is_instrument="0"' 'can_process_replace="1"' 'has_editor="0"'; do
    grep -q -- "$expected" <<<"$scan" || { echo "scanner entry lacks $expected"; exit 1; }
done

# Runs an Ardour Lua script that prints a line starting with MARKER once its
# work is done, and answers whether it finished cleanly. Ardour 7.3's Lua
# tool now and then corrupts its own heap and aborts, mostly while shutting
# down ("double free or corruption"), with or without Slicecast in the
# session (valgrind finds no fault of the effect's in a full export). The
# corruption has been seen to overwrite samples of an export before the
# abort, so the work of a run that aborted is not trusted, even when the
# marker came out.
run_ardour_lua() {
    local marker=$1
    shift
    local output status=0
    output=$(ardour7-lua "$@" 2>&1) || status=$?
    echo "$output"
    grep -q "^$marker" <<<"$output" || echo "(ardour7-lua $1 stopped before its work was done)"
    ((status == 0)) || { echo "(ardour7-lua aborted: exit status $status)"; return 1; }
    grep -q "^$marker" <<<"$output"
}

mkdir -p "$HOME/.config/ardour7/export"
cp "$here/ardour_float_export.preset" "$HOME/.config/ardour7/export/"
preset=$(sed -n 's/.*<ExportPreset id="\([^"]*\)".*/\1/p' "$here/ardour_float_export.preset")
name=slicecast
session=$work/$name
audio=$session/interchange/$name/audiofiles
exported=$work/export.wav

# One go at building and exporting the session with Slicecast in FORMAT
# (LXVST, LV2 or VST3) set to the six values given, or to the factory preset
# named after them. Answers 1 when Ardour crashed, 2 when a step of ours
# failed.
build_and_export() {
    local format=$1
    shift
    rm -rf "$session" "$exported"
    echo "-- session ($format)"
    run_ardour_lua "session saved" "$here/ardour_session.lua" "$session" "$name" "$rate" "$tempo" "${@:1:6}" \
        "$format" "${@:7}" || return 1
    mkdir -p "$audio"
    "$checker" generate --left "$audio/input%L.wav" --right "$audio/input%R.wav" --rate "$rate" \
        --seconds "$seconds" || return 2
    python3 "$here/ardour_region.py" "$session/$name.ardour" 'input%L.wav' 'input%R.wav' \
        $((rate * seconds)) "$rate" || return 2
    echo "-- export ($format)"
    run_ardour_lua "exported" "$here/ardour_export.lua" "$session" "$name" "$preset" "$work" export || return 1
    [[ -f $exported ]] || { echo "no export at $exported"; return 2; }
}

# Builds, exports and checks the session with Slicecast in FORMAT; the
# check's options follow the format's values.
session_stage() {
    local format=$1
    shift
    local attempts=8 attempt status
    for ((attempt = 1; ; ++attempt)); do
        status=0
        build_and_export "$format" "$@" || status=$?
        ((status == 0)) && break
        ((status == 1 && attempt < attempts)) || { echo "the DAW stage ($format) failed (attempt $attempt)"; exit 1; }
        echo "(Ardour crashed; attempt $((attempt + 1)) of $attempts)"
    done
}

session_stage LXVST "${parameters[@]}"
echo "-- check (LXVST)"
"$checker" check --left "$audio/input%L.wav" --right "$audio/input%R.wav" --export "$exported" \
    --rate "$rate" --tempo "$tempo" --block "$block" --parameters "${parameters[@]}"

session_stage LV2 "${plain_values[@]}"
echo "-- check (LV2)"
"$checker" check --left "$audio/input%L.wav" --right "$audio/input%R.wav" --export "$exported" \
    --rate "$rate" --tempo "$tempo" --block "$block" --parameters "${parameters[@]}"

echo "-- VST 3 scanner"
scan=$(LD_LIBRARY_PATH=/usr/lib/ardour7 /usr/lib/ardour7/ardour-vst3-scanner -f -v "$work/vst3/Slicecast.vst3" 2>&1)
echo "$scan" | grep '<VST3Info' || { echo "$scan"; echo "the VST 3 scanner did not list Slicecast"; exit 1; }
for expected in "name=\"J'x Slicecast\"" "vendor=\"J'x Tiv-nar\"" 'category="Fx|Delay"' 'n_inputs="2"' \
                'n_outputs="2"' 'n_aux_inputs="0"' 'n_midi_inputs="0"'; do
    grep -q -- "$expected" <<<"$scan" || { echo "VST 3 scanner entry lacks $expected"; exit 1; }
done

session_stage VST3 "${plain_values[@]}"
echo "-- check (VST3)"
"$checker" check --left "$audio/input%L.wav" --right "$audio/input%R.wav" --export "$exported" \
    --rate "$rate" --tempo "$tempo" --block "$block" --parameters "${parameters[@]}"
for format in LV2 VST3; do
    session_stage "$format" "${plain_values[@]}" "$factory_preset"
    echo "-- check ($format, the preset $factory_preset)"
    "$checker" check --left "$audio/input%L.wav" --right "$audio/input%R.wav" --export "$exported" \
        --rate "$rate" --tempo "$tempo" --block "$block" --parameters "${preset_parameters[@]}"
done
