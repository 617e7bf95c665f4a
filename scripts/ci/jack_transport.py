#!/usr/bin/env python3
"""Rolls the JACK transport for the CLAP stage (scripts/ci/qtractor.sh).

    jack_transport.py START UNTIL SECONDS

Locates the transport at frame START, starts it, and stops it once it has
passed frame UNTIL; fails if that takes longer than SECONDS. Talks to the
server named by JACK_DEFAULT_SERVER through libjack."""
import ctypes
import sys
import time

jack = ctypes.CDLL("libjack.so.0")
jack.jack_client_open.restype = ctypes.c_void_p
jack.jack_client_open.argtypes = [ctypes.c_char_p, ctypes.c_int, ctypes.c_void_p]
for name in ("jack_activate", "jack_client_close", "jack_transport_start", "jack_transport_stop"):
    getattr(jack, name).argtypes = [ctypes.c_void_p]
jack.jack_transport_locate.argtypes = [ctypes.c_void_p, ctypes.c_uint32]
jack.jack_get_current_transport_frame.argtypes = [ctypes.c_void_p]
jack.jack_get_current_transport_frame.restype = ctypes.c_uint32

JACK_NO_START_SERVER = 1


def main():
    start, until, limit = int(sys.argv[1]), int(sys.argv[2]), float(sys.argv[3])
    status = ctypes.c_int(0)
    client = jack.jack_client_open(b"slicecast-transport", JACK_NO_START_SERVER, ctypes.byref(status))
    if not client:
        sys.exit("cannot reach the JACK server")
    jack.jack_activate(client)
    try:
        # A host that has just stopped may still move its own play-head (and
        # with it the transport) after our request: ask again until it holds.
        began = time.monotonic()
        asked = None
        while jack.jack_get_current_transport_frame(client) != start:
            now = time.monotonic()
            if now - began > limit:
                sys.exit("the transport did not move to frame %d (it stands at %d)"
                         % (start, jack.jack_get_current_transport_frame(client)))
            if asked is None or now - asked > 0.5:
                jack.jack_transport_locate(client, start)
                asked = now
            time.sleep(0.05)
        jack.jack_transport_start(client)
        while jack.jack_get_current_transport_frame(client) < until:
            if time.monotonic() - began > limit:
                sys.exit("the transport did not reach frame %d" % until)
            time.sleep(0.02)
        jack.jack_transport_stop(client)
        print("rolled from frame %d to %d" % (start, jack.jack_get_current_transport_frame(client)))
    finally:
        jack.jack_client_close(client)


main()
