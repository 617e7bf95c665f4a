#!/usr/bin/env bash
# VST 3 stage: the format's own validator on the bundle the build made, its
# normal suite and then its extensive one (-e); every test of both must
# pass. The project cannot ship the validator, so its path comes from
# SLICECAST_VST3_VALIDATOR (relative paths from the project's root); when
# that is unset or names no program, the stage says that it was skipped.
#   usage: vst3_validator.sh BUILD_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build_dir=$(cd "$1" && pwd)
bundle=$build_dir/editions/vst3/Slicecast.vst3

validator=${SLICECAST_VST3_VALIDATOR:-}
if [[ -z $validator ]]; then
    echo "-- SKIPPED: the VST 3 validator stage did not run: SLICECAST_VST3_VALIDATOR is not set"
    exit 0
fi
[[ $validator == /* ]] || validator=$root/$validator
if [[ ! -x $validator ]]; then
    echo "-- SKIPPED: the VST 3 validator stage did not run: no validator at $validator"
    exit 0
fi
[[ -d $bundle ]] || { echo "no VST 3 bundle at $bundle: build the project first"; exit 1; }

work=$(mktemp -d)
trap '[[ -n ${KEEP_WORK:-} ]] || rm -rf "$work"' EXIT

failed=0
for suite in normal extensive; do
    options=()
    [[ $suite == extensive ]] && options=(-e)
    log=$work/$suite.log
    status=0
    "$validator" "${options[@]}" "$bundle" >"$log" 2>&1 || status=$?
    summary=$(grep '^Result:' "$log" || true)
    echo "-- $suite: ${summary:-no summary}"
    # Passed means: the validator's own verdict, a summary, and no failure
    # in it.
    if [[ $status -ne 0 || ! $summary =~ ^Result:\ [1-9][0-9]*\ tests\ passed,\ 0\ tests\ failed ]]; then
        grep -E 'ERROR|Failed' "$log" || tail -n 20 "$log"
        echo "the $suite suite failed (exit status $status)"
        failed=1
    fi
done
exit "$failed"
