# shellcheck shell=bash
# What the stages that run other programs share: a work folder ($work, kept
# with KEEP_WORK=1 for a look after a failure), the processes started (the
# array pids, ended when the stage exits, politely first) and bounded waits.
# Sourced, not run.

work=$(mktemp -d)
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do
        kill -TERM "$pid" 2>/dev/null || true
    done
    for pid in "${pids[@]}"; do
        timeout 10 tail --pid="$pid" -f /dev/null || kill -KILL "$pid" 2>/dev/null || true
    done
    [[ -n ${KEEP_WORK:-} ]] || rm -rf "$work"
}
trap cleanup EXIT

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
