#!/usr/bin/env bash
# LV2 stage: the bundle the build made, as LV2's own tools see it.
#  1. Every .ttl parses as strict Turtle (serdi), with nothing on stderr:
#     some serdi versions report syntax errors and still exit 0.
#  2. lv2_validate finds no error against LV2's schemas.
#  3. The binary exports lv2_descriptor and nothing else.
#  4. lv2apply, a host that passes no features and sends no time, applies the
#     effect to a generated file with chosen control values; the result must
#     be the VST 2.4 edition's with a host that gives no position at 120 BPM
#     (daw_export_check --no-position). lv2apply runs one frame at a time;
#     without a position the sound is the same for any cut of the blocks,
#     so the check drives the VST 2.4 edition in blocks of 1 as well.
#  5. lv2info lists the bundle's presets: the same names as the CLAP edition's
#     (as the render tool lists them), each once.
#   usage: lv2.sh BUILD_DIR
set -euo pipefail
build_dir=$(cd "$1" && pwd)
bundle=$build_dir/lv2/slicecast.lv2
checker=$build_dir/tests/reliability/daw_export_check
uri=$(sed -n 's/.*kLv2PluginUri = "\(.*\)";/\1/p' "$build_dir/editions/lv2/generated/lv2_identity.h")
[[ -n $uri ]] || { echo "no plug-in URI in the build"; exit 1; }

work=$(mktemp -d)
trap '[[ -n ${KEEP_WORK:-} ]] || rm -rf "$work"' EXIT

echo "-- serdi"
for ttl in "$bundle"/*.ttl; do
    serdi -i turtle -o ntriples "$ttl" >/dev/null 2>"$work/serdi.err" || { cat "$work/serdi.err"; exit 1; }
    if [[ -s $work/serdi.err ]]; then
        cat "$work/serdi.err"
        echo "serdi complained about $ttl"
        exit 1
    fi
done

echo "-- lv2_validate"
lv2_validate "$bundle"/*.ttl 2>&1 | tee "$work/validate.log"
grep -q '^Found 0 errors' "$work/validate.log" || { echo "lv2_validate found errors"; exit 1; }

echo "-- exports"
binary=$bundle/slicecast.so
exports=$(nm -D --defined-only "$binary" | awk '{print $3}')
[[ $exports == lv2_descriptor ]] || { echo "the binary exports: $exports"; exit 1; }

echo "-- lv2apply"
export LV2_PATH=$build_dir/lv2
rate=44100
input=$work/input.wav
output=$work/output.wav
"$checker" generate --stereo "$input" --rate "$rate" --seconds 6
# Slices of 1/16 bar, a capture every 1/4 bar, "Rate" 80 %, "FadeOut" 30 %,
# "DecayRate" 60 %, "Mix" 90 %; the same in the VST 2.4 edition's terms
# (a value inside step 7 of 0..11, step 4 of 0..4, fractions).
lv2apply -i "$input" -o "$output" -c wave_length 7 -c update_period 4 -c rate 80 -c fade_out 30 \
    -c decay_rate 60 -c mix 90 "$uri"
"$checker" check --stereo "$input" --export "$output" --no-position --rate "$rate" --tempo 120 --block 1 \
    --parameters 0.68 1 0.8 0.3 0.6 0.9

echo "-- lv2info"
# The presets as LV2 hosts list them: the CLAP edition's names, each once.
lv2info "$uri" | sed -n '/^\tPresets:/,/^$/p' | sed -e 's/^\tPresets: *//' -e 's/^\t *//' | sed '/^$/d' | sort \
    >"$work/lv2_presets"
"$build_dir/tools/slicecast" info --plugin "$build_dir/editions/clap/slicecast.clap" |
    sed -n '/^Presets:/,$p' | tail -n +2 | sed -e 's/^  [0-9]* *//' -e 's/: .*//' | sort >"$work/clap_presets"
[[ -s $work/clap_presets ]] || { echo "the CLAP edition lists no presets"; exit 1; }
diff "$work/clap_presets" "$work/lv2_presets" || { echo "lv2info lists other presets than the CLAP edition"; exit 1; }
echo "$(wc -l <"$work/lv2_presets") presets"
