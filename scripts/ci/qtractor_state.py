#!/usr/bin/env python3
"""Reads and writes Slicecast's state in a Qtractor session file, for the CLAP
stage (scripts/ci/qtractor.sh).

    qtractor_state.py set SESSION V0 V1 V2 V3 V4 V5
    qtractor_state.py get SESSION

Qtractor keeps a CLAP plug-in's state in the plug-in's <config key="state">
element, as base64 of Qt's compressed form (the length as 32-bit big-endian,
then a zlib stream). The state itself is the edition's: "SLCS", version 1,
the count 6, then the six plain values as little-endian doubles. `set` puts
the six values there as a user's session would hold them; `get` prints the
values a saved session holds."""
import base64
import re
import struct
import sys
import zlib

HEADER = b"SLCS" + struct.pack("<II", 1, 6)


def state_element(text):
    """The span of the text inside Slicecast's state element."""
    plugin = text.index("slicecast.clap</filename>")
    end = text.index("</plugin>", plugin)
    found = re.compile(r'<config key="state">([^<]*)</config>').search(text, plugin, end)
    if not found:
        sys.exit("the session holds no state for Slicecast")
    return found.span(1)


def main():
    command, path = sys.argv[1], sys.argv[2]
    with open(path, encoding="utf-8") as file:
        text = file.read()
    start, end = state_element(text)
    if command == "set":
        values = [float(value) for value in sys.argv[3:9]]
        state = HEADER + struct.pack("<6d", *values)
        encoded = base64.b64encode(struct.pack(">I", len(state)) + zlib.compress(state)).decode()
        with open(path, "w", encoding="utf-8") as file:
            file.write(text[:start] + encoded + text[end:])
    elif command == "get":
        packed = base64.b64decode("".join(text[start:end].split()))
        state = zlib.decompress(packed[4:])
        if len(state) != len(HEADER) + 48 or not state.startswith(HEADER):
            sys.exit("the session's state is not Slicecast's")
        print(" ".join("%g" % value for value in struct.unpack("<6d", state[len(HEADER):])))
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
