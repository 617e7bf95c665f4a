#!/usr/bin/python3
"""Looks at an editor in a host's window on an X server, for the editor
stages (scripts/ci/jalv_editor.sh, scripts/ci/qtractor_editor.sh).

    editor_screen.py find TOP_WINDOW WIDTH HEIGHT
        prints "X Y" of the editor window inside TOP_WINDOW: a window of
        WIDTH x HEIGHT without children (the host's wrappers around it have
        one); fails when there is none
    editor_screen.py shot PNG
        writes the whole screen of $DISPLAY to PNG
    editor_screen.py colour PNG X Y RRGGBB [X Y RRGGBB ...]
        fails unless each pixel has that colour
    editor_screen.py drawn PNG X Y WIDTH HEIGHT RRGGBB LEAST
        fails unless at least LEAST pixels of the box have that colour
    editor_screen.py changed PNG PNG X Y WIDTH HEIGHT
        fails if the box is the same in both pictures

Coordinates are the screen's; the stages add the editor's place to the
editor's own layout. Runs on Debian's Python, for Debian's PIL (python3-pil),
which grabs the screen through XCB."""
import os
import re
import subprocess
import sys

from PIL import Image, ImageGrab

# "     0x400001 (has no name): ()  800x450+0+0  +0+25" and the line after it
# ("1 child:") when the window has children.
WINDOW_LINE = re.compile(r"^\s*0x[0-9a-f]+ .*\s(\d+)x(\d+)[+-]-?\d+[+-]-?\d+\s+\+(-?\d+)\+(-?\d+)\s*$")
CHILDREN_LINE = re.compile(r"^\s*\d+ child(ren)?:\s*$")


def find(top, width, height):
    tree = subprocess.run(["xwininfo", "-tree", "-id", top], check=True, capture_output=True, text=True).stdout
    lines = tree.splitlines()
    for number, line in enumerate(lines):
        match = WINDOW_LINE.match(line)
        if not match or (int(match[1]), int(match[2])) != (width, height):
            continue
        has_children = number + 1 < len(lines) and CHILDREN_LINE.match(lines[number + 1])
        if not has_children:
            print(match[3], match[4])
            return
    sys.exit("no %dx%d window without children in window %s" % (width, height, top))


def rgb(text):
    value = int(text, 16)
    return (value >> 16 & 255, value >> 8 & 255, value & 255)


def colour(png, checks):
    picture = Image.open(png).convert("RGB")
    wrong = []
    for index in range(0, len(checks), 3):
        x, y, expected = int(checks[index]), int(checks[index + 1]), rgb(checks[index + 2])
        seen = picture.getpixel((x, y))
        if seen != expected:
            wrong.append("(%d, %d) is #%02x%02x%02x, not #%02x%02x%02x" % ((x, y) + seen + expected))
    if wrong:
        sys.exit("%s: %s" % (png, "; ".join(wrong)))


def box_of(picture, x, y, width, height):
    return picture.convert("RGB").crop((x, y, x + width, y + height))


def drawn(png, x, y, width, height, wanted, least):
    box = box_of(Image.open(png), x, y, width, height)
    count = sum(1 for pixel in box.getdata() if pixel == wanted)
    if count < least:
        sys.exit("%s: %d pixels of #%02x%02x%02x in the box, fewer than %d" % ((png, count) + wanted + (least,)))
    print("%d pixels of #%02x%02x%02x" % ((count,) + wanted))


def changed(first, second, x, y, width, height):
    if box_of(Image.open(first), x, y, width, height).tobytes() == box_of(Image.open(second), x, y, width,
                                                                           height).tobytes():
        sys.exit("%s and %s show the same box" % (first, second))


def main():
    command, arguments = sys.argv[1], sys.argv[2:]
    if command == "find":
        find(arguments[0], int(arguments[1]), int(arguments[2]))
    elif command == "shot":
        ImageGrab.grab(xdisplay=os.environ["DISPLAY"]).save(arguments[0])
    elif command == "colour":
        colour(arguments[0], arguments[1:])
    elif command == "drawn":
        numbers = [int(value) for value in arguments[1:5]]
        drawn(arguments[0], *numbers, rgb(arguments[5]), int(arguments[6]))
    elif command == "changed":
        changed(arguments[0], arguments[1], *[int(value) for value in arguments[2:6]])
    else:
        sys.exit("unknown command " + command)


main()
