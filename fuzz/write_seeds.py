#!/usr/bin/env python3
"""Writes the starting corpus of the byte-script fuzz targets.

Every byte string is a valid script for them (byte_reader.h reads past the
end as zeros), so a seed needs no structure: a few scripts of growing
length, drawn from a fixed seed, start the fuzzer on long sessions of many
calls rather than on one call at a time. The state target builds whole
states from its script by itself. Inputs that found faults are kept beside
these under their own names.

    python3 fuzz/write_seeds.py     # from the project's root
"""
import pathlib
import random

TARGETS = ["clap_process", "vst3_process", "state", "lv2_run", "tool_text"]
LENGTHS = [64, 512, 2048]

random.seed(20261208)
for target in TARGETS:
    folder = pathlib.Path("fuzz/corpus") / target
    folder.mkdir(parents=True, exist_ok=True)
    for number, length in enumerate(LENGTHS):
        (folder / f"seed-{number:02}").write_bytes(random.randbytes(length))
