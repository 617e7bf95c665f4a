#!/usr/bin/env python3
"""Sends commands to a running Audacity through its mod-script-pipe module.

usage: audacity_script.py [--startup SECONDS] [--timeout SECONDS] COMMAND...

Waits up to --startup seconds for Audacity to answer at all (a command sent
while it is still starting may be answered late or never, so numbered pings
are sent until the latest is answered), then sends each COMMAND in turn and
prints the answers. Exits with 1 when a command fails or is not answered
within --timeout seconds.
"""
import argparse
import os
import select
import sys
import time

UID = os.getuid()
TO_PIPE = f"/tmp/audacity_script_pipe.to.{UID}"
FROM_PIPE = f"/tmp/audacity_script_pipe.from.{UID}"
DONE = "BatchCommand finished:"


class Pipe:
    def __init__(self, deadline):
        # Audacity waits for a writer on its command pipe, then opens its
        # answer pipe, waiting for a reader. So the answer pipe is opened
        # first, without waiting; opening the command pipe without waiting
        # fails (ENOENT, ENXIO) until Audacity reads it.
        self.answers = None
        while True:
            try:
                self.answers = self.answers or os.open(FROM_PIPE, os.O_RDONLY | os.O_NONBLOCK)
                self.to = os.open(TO_PIPE, os.O_WRONLY | os.O_NONBLOCK)
                break
            except OSError:
                if time.monotonic() > deadline:
                    raise TimeoutError(f"Audacity never opened {TO_PIPE}")
                time.sleep(0.5)
        os.set_blocking(self.to, True)
        self.pending = ""

    def send(self, command, timeout, expected=""):
        """The answer that contains expected (passing over late answers to
        earlier commands), or None if none came within timeout."""
        os.write(self.to, (command + "\n").encode())
        deadline = time.monotonic() + timeout
        while (answer := self.answer(max(0.0, deadline - time.monotonic()))) is not None:
            if expected in answer:
                return answer
        return None

    def answer(self, timeout):
        """The next answer, or None if none came within timeout."""
        deadline = time.monotonic() + timeout
        while True:
            end = self.pending.find("\n\n", self.pending.find(DONE))
            if DONE in self.pending and end >= 0:
                answer, self.pending = self.pending[: end + 2], self.pending[end + 2 :]
                return answer
            left = deadline - time.monotonic()
            if left <= 0:
                return None
            ready, _, _ = select.select([self.answers], [], [], left)
            if ready:
                chunk = os.read(self.answers, 65536)
                if chunk:
                    self.pending += chunk.decode(errors="replace")
                else:
                    # No writer yet: Audacity opens its end when it answers.
                    time.sleep(0.1)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--startup", type=float, default=60.0)
    parser.add_argument("--timeout", type=float, default=60.0)
    parser.add_argument("commands", nargs="*")
    args = parser.parse_args()

    deadline = time.monotonic() + args.startup
    pipe = None
    pings = 0
    while True:
        try:
            pipe = pipe or Pipe(deadline)
            pings += 1
            if pipe.send(f"Message: Text=ping-{pings}", 5.0, expected=f"ping-{pings}\n") is not None:
                break
        except BrokenPipeError:
            # Audacity let go of the pipe while starting: connect again.
            pipe = None
            time.sleep(0.5)
        if time.monotonic() > deadline:
            print("audacity_script: Audacity never answered", file=sys.stderr)
            return 1
    for command in args.commands:
        answer = pipe.send(command, args.timeout)
        print(f"> {command}")
        if answer is None:
            print(f"audacity_script: no answer to {command!r}", file=sys.stderr)
            return 1
        print(answer.rstrip("\n"))
        if f"{DONE} OK" not in answer:
            return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
