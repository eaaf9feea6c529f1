#!/usr/bin/env python3
"""mirt serve as a planner starts it: the address it prints answers with its token and
refuses without; SIGTERM stops it cleanly; a port taken, an address that is no address
or a missing plant: exit 1, one line.

usage: verb_serve.py MIRT DATA WORK
"""
import os
import re
import signal
import subprocess
import sys
import urllib.error
import urllib.request

import verbtest

MIRT, DATA, WORK = sys.argv[1:4]
os.makedirs(WORK, exist_ok=True)
SAMPLE = os.path.join(DATA, "sample-plant.xml")
S = verbtest.Verbs(MIRT, WORK, "serve")
check = S.check


def status(url):
    try:
        with urllib.request.urlopen(url, timeout=10) as r:
            return r.status
    except urllib.error.HTTPError as e:
        return e.code


def test_serves_and_stops():
    p = subprocess.Popen([MIRT, "serve", SAMPLE, "--port", "0", "--out", os.path.join(WORK, "out")], cwd=WORK,
                         stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    line = p.stdout.readline()
    m = re.search(r"http://127\.0\.0\.1:(\d+)/\?token=([0-9a-f]{32})", line)
    check(m is not None, f"no address with a token: {line!r}")
    if m:
        base = f"http://127.0.0.1:{m.group(1)}"
        check(status(f"{base}/api/state?token={m.group(2)}") == 200, "the token is refused")
        check(status(f"{base}/api/state") == 401, "a request without the token is served")
        # Another serve on the same port: taken.
        S.refused("cannot listen", SAMPLE, "--port", m.group(1))
    p.send_signal(signal.SIGTERM)
    out, err = p.communicate(timeout=30)
    check(p.returncode == 0 and "stopped" in out, f"SIGTERM: exit {p.returncode}\n{out}{err}")


def test_refusals():
    S.refused("cannot listen", SAMPLE, "--port", "0", "--bind", "no.such.address.invalid")
    S.refused("nothing.xml", "nothing.xml")
    S.refused("--port", SAMPLE, "--port", "70000")


S.finish(test_serves_and_stops, test_refusals)
