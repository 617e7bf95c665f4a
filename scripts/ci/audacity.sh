#!/usr/bin/env bash
# Offline-editor stage: Slicecast applied in a real audio editor, Audacity
# 3.2, headless (xvfb) and scripted through its mod-script-pipe module. It
# imports a generated stereo file, applies the effect to all of it, exports
# 32-bit float WAV, and the export must be what the effect makes of that
# input in Audacity's blocks (8192 frames) with Audacity's time records
# (tempo 120, playing, no position) (daw_export_check --no-position).
#   usage: audacity.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build_dir=$(cd "$1" && pwd)
plugin=$build_dir/editions/vst2/slicecast.so
checker=$build_dir/tests/reliability/daw_export_check

rate=44100
seconds=6
tempo=120
block=8192
# Audacity's scripting sets no parameters of a VST effect, so the effect
# plays at its defaults: "WaveLength" 1/8, "UpdatePeriod" 1/2, "Rate" 70 %,
# "FadeOut" 0 %, "DecayRate" 100 %, "Mix" 100 %.
parameters=(0.5 0.875 0.7 0 1 1)

# Audacity names its script pipes by user id, so one Audacity per user can
# be scripted at a time: a second run of this stage waits for the first.
uid=$(id -u)
exec 9>"/tmp/slicecast-audacity-stage.$uid.lock"
flock -w 600 9 || { echo "another run of the Audacity stage holds the lock"; exit 1; }
if pgrep -u "$uid" -r D,R,S -x audacity >/dev/null; then
    echo "an Audacity of this user is already running; its script pipe would take our commands"
    exit 1
fi

# KEEP_WORK=1 keeps the input, the export and Audacity's log after a failure.
work=$(mktemp -d)
audacity_group=
# Alive and not yet a zombie waiting to be reaped.
still_running() {
    local state
    state=$(ps -o stat= -p "$1") || return 1
    [[ $state != Z* ]]
}

stop_audacity() {
    # Audacity and its X server run in a process group of their own (led by
    # xvfb-run). Stopping Audacity lets xvfb-run close its X server and
    # quit; whatever is left of the group after a while goes as a whole.
    [[ -n $audacity_group ]] || return 0
    local pid
    for pid in $(pgrep -g "$audacity_group" -x audacity); do kill "$pid" 2>/dev/null || true; done
    for _ in {1..20}; do
        still_running "$audacity_group" || break
        sleep 0.5
    done
    kill -- "-$audacity_group" 2>/dev/null || true
    wait "$audacity_group" 2>/dev/null || true
    audacity_group=
}
trap 'stop_audacity; [[ -n ${KEEP_WORK:-} ]] || rm -rf "$work"' EXIT

# Audacity keeps its configuration under HOME and finds VST effects on
# VST_PATH, registering new ones by itself at start-up.
export HOME=$work/home
export VST_PATH=$work/vst
mkdir -p "$VST_PATH"
cp "$plugin" "$VST_PATH/slicecast.so"

# A configuration that lets every command through: the script module
# enabled (with the date of its library, or Audacity asks again), version
# keys that skip the first-run dialogs, no splash screen, and a private
# temporary folder with no projects in it left to recover. The plug-in
# registry is kept.
write_configuration() {
    local module=/usr/lib/audacity/modules/mod-script-pipe.so
    rm -rf "$work/temp"
    mkdir -p "$HOME/.config/audacity" "$work/temp"
    cat >"$HOME/.config/audacity/audacity.cfg" <<EOF
PrefsVersion=1.1.1r1
[Version]
Major=3
Minor=2
Micro=4
[GUI]
ShowSplashScreen=0
[Directories]
TempDir=$work/temp
[Module]
mod-script-pipe=1
[ModulePath]
mod-script-pipe=$module
[ModuleDateTime]
mod-script-pipe=$(date -r "$module" +%Y-%m-%dT%H:%M:%S)
EOF
}

input=$work/input.wav
exported=$work/export.wav
project=$work/project.aup3
"$checker" generate --stereo "$input" --rate "$rate" --seconds "$seconds"

start_audacity() {
    write_configuration
    setsid xvfb-run -a audacity >"$work/audacity.log" 2>&1 &
    audacity_group=$!
}

# Audacity registers a new plug-in at start-up in a scanning process of its
# own, which loads the script module too and makes the script pipes anew:
# the Audacity that started it then waits on pipes nobody can reach any
# more. So a first start only registers Slicecast and is stopped once the
# registry lists it; the start that applies the effect finds nothing new.
register_plugin() {
    local registry=$HOME/.config/audacity/pluginregistry.cfg
    rm -rf "$HOME"
    start_audacity
    for _ in {1..60}; do
        grep -qsF "Path=$VST_PATH/slicecast.so" "$registry" && break
        sleep 0.5
    done
    sleep 1
    stop_audacity
    grep -qsF "Path=$VST_PATH/slicecast.so" "$registry"
}

# One go at applying the effect. The export counts only if every command
# was answered OK and Audacity then quit by itself.
apply_in_audacity() {
    # An earlier attempt's project would make Audacity ask before saving
    # over it, and the question would hold up the pipe.
    rm -f "$exported" "$project"*
    register_plugin || { echo "(Audacity did not register Slicecast)"; return 1; }
    start_audacity
    # A command that arrives before Audacity is fully up can hold up the
    # pipe for good; its empty project in the temporary folder is a sign
    # that the start is nearly done.
    for _ in {1..60}; do
        compgen -G "$work/temp/*.aup3unsaved" >/dev/null && break
        sleep 0.5
    done
    sleep 2
    local status=0
    timeout 90 python3 "$here/audacity_script.py" --startup 20 --timeout 30 \
        "Import2: Filename=$input" \
        "SelectAll:" \
        "J'xSlicecast:" \
        "SetPreference: Name=/FileFormats/ExportFormat_SF1_Type/WAV_10000 Value=6" \
        "Export2: Filename=$exported NumChannels=2" \
        "SaveProject2: Filename=$project" \
        "Exit:" || status=$?
    for _ in {1..40}; do
        still_running "$audacity_group" || break
        sleep 0.5
    done
    if still_running "$audacity_group"; then
        echo "(Audacity did not quit)"
        status=1
    fi
    stop_audacity
    ((status == 0)) && [[ -f $exported ]]
}

attempts=3
for ((attempt = 1; ; ++attempt)); do
    echo "-- apply (attempt $attempt of $attempts)"
    apply_in_audacity && break
    grep -v -e '^$' -e 'Gdk-CRITICAL' "$work/audacity.log" | tail -n 20 || true
    ((attempt < attempts)) || { echo "the Audacity stage failed"; exit 1; }
done

echo "-- check"
"$checker" check --stereo "$input" --export "$exported" --no-position \
    --rate "$rate" --tempo "$tempo" --block "$block" --parameters "${parameters[@]}"
