#!/usr/bin/env python3
"""Adds a stereo region to a saved Ardour session file.

Ardour's headless Lua tool cannot import audio, so the DAW stage writes
the region into the session file the way Ardour itself saves a recorded
take: one mono source per channel (files already in the session's audio
folder), a whole-file region, the same region on the track's playlist at
position 0, and a session range that spans it. Region fades and the
transport and monitor declicks are switched off, so that the export
carries the effect's output unchanged.

usage: ardour_region.py SESSION_FILE LEFT_NAME RIGHT_NAME FRAMES RATE
"""
import sys
import xml.etree.ElementTree as ET

SUPERCLOCKS_PER_SECOND = 282240000
DECLICKS = ("use-region-fades", "use-transport-fades", "use-monitor-fades")


def main(session_file, left_name, right_name, frames, rate):
    length = "a%d" % (frames * SUPERCLOCKS_PER_SECOND // rate)
    tree = ET.parse(session_file)
    root = tree.getroot()
    next_id = int(root.get("id-counter")) + 1
    source_ids = [str(next_id), str(next_id + 1)]
    whole_id, placed_id, range_id = str(next_id + 2), str(next_id + 3), str(next_id + 4)
    root.set("id-counter", str(next_id + 5))

    sources = root.find("Sources")
    for source_id, file_name in zip(source_ids, (left_name, right_name)):
        ET.SubElement(sources, "Source", {
            "name": file_name, "type": "audio", "flags": "", "id": source_id, "natural-position": "a0",
            "captured-for": "", "channel": "0", "origin": "", "gain": "1"})

    def region(region_id, name, whole_file):
        attributes = {
            "name": name, "muted": "0", "opaque": "1", "locked": "0", "video-locked": "0",
            "automatic": "1" if whole_file else "0", "whole-file": "1" if whole_file else "0", "import": "0",
            "external": "0", "sync-marked": "0", "left-of-split": "0", "right-of-split": "0", "hidden": "0",
            "position-locked": "0", "valid-transients": "0", "start": "a0", "length": length + "@a0",
            "sync-position": "a0", "ancestral-start": "a0", "ancestral-length": "a0@a0", "stretch": "1",
            "shift": "1", "layering-index": "0", "tags": "", "contents": "0", "envelope-active": "0",
            "default-fade-in": "0", "default-fade-out": "0", "fade-in-active": "0", "fade-out-active": "0",
            "scale-amplitude": "1", "id": region_id, "type": "audio", "first-edit": "nothing", "channels": "2"}
        for channel, source_id in enumerate(source_ids):
            attributes["source-%d" % channel] = source_id
            attributes["master-source-%d" % channel] = source_id
        return attributes

    ET.SubElement(root.find("Regions"), "Region", region(whole_id, "input", True))
    ET.SubElement(root.find("Playlists").find("Playlist"), "Region", region(placed_id, "input.1", False))
    ET.SubElement(root.find("Locations"), "Location", {
        "id": range_id, "name": "session", "start": "a0", "end": length, "flags": "IsSessionRange",
        "locked": "0", "timestamp": "0", "cue": "0"})
    for option in root.find("Config"):
        if option.get("name") in DECLICKS:
            option.set("value", "0")
    tree.write(session_file, encoding="UTF-8", xml_declaration=True)


if __name__ == "__main__":
    if len(sys.argv) != 6:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4]), int(sys.argv[5]))
