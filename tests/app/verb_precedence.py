#!/usr/bin/env python3
"""mirt precedence: the three sets of activities as text and JSON, the control-flow
check with its exit codes (0 clean, 4 cycles or violations), and bad input refused
with one line and exit 1.

usage: verb_precedence.py MIRT DATA BAD_FLOW WORK
"""
import os
import shutil
import sys

import verbtest

MIRT, DATA, BAD, WORK = sys.argv[1:5]
PLANT = os.path.join(DATA, "sample-plant.xml")
V = verbtest.Verbs(MIRT, WORK, "precedence")
run, check, js, refused = V.run, V.check, V.js, V.refused


def test_sets():
    roof = "Process/Body Shop/Framing/Roof load"
    j = js(PLANT, "--activity", roof, "#op20_weld1")
    check(list(j) == ["plant", "activities"], f"keys {list(j)}")
    acts = j.get("activities", [])
    check([a.get("activity") for a in acts] == [roof, "Process/Body Shop/Framing/Weld.1"], f"activities {acts}")
    if len(acts) == 2:
        check(list(acts[0]) == ["activity", "previous", "others", "successors"], f"entry keys {list(acts[0])}")
        check(acts[0]["previous"] == ["Process/Body Shop/Framing/Weld.1", "Process/Body Shop/Framing/Load",
                                      "Process/Body Shop/Framing/Weld.2", "Process/Body Shop/Underbody"],
              f"previous {acts[0]['previous']}")
        check(acts[0]["others"] == ["Process/Body Shop/Framing/Respot"], f"others {acts[0]['others']}")
        check(acts[0]["successors"] == ["Process/Body Shop/Closures", "Process/Body Shop/Sealing and hemming"],
              f"successors {acts[0]['successors']}")
        # The three sets of one level and the activity itself never overlap.
        w = acts[1]
        everything = w["previous"] + w["others"] + w["successors"]
        check(len(everything) == len(set(everything)) and w["activity"] not in everything, f"overlap {w}")
    text, _ = run(PLANT, "-a", roof)
    check(text.startswith(roof + "\n  previous (4):\n") and "  successors (2):\n" in text, f"text form:\n{text}")


def test_check():
    j = js(PLANT, "--check")
    check(j.get("clean") is True and j.get("cycles") == [] and j.get("violations") == [], f"sample check {j}")
    bad = js(BAD, "--check", rc=4)
    check(list(bad) == ["plant", "clean", "cycles", "violations"], f"check keys {list(bad)}")
    check(bad.get("cycles") == [["Process/Line/A", "Process/Line/B", "Process/Line/Switch"]], f"cycles {bad.get('cycles')}")
    check(bad.get("violations") == [{"from": "Process/Line/D", "to": "Process/Line/C"},
                                    {"from": "Process/Line/E", "to": "Process/Line/C"}],
          f"violations {bad.get('violations')}")
    text, _ = run(BAD, "--check", rc=4)
    check("Control-flow cycles (1):" in text and "Links against a precedence (2):" in text, f"check text:\n{text}")


def test_refusals():
    refused("no activity 'Process/Nowhere'", PLANT, "-a", "Process/Nowhere")
    refused("is not an activity", PLANT, "-a", "Products/Sealer.1")
    refused("either --activity PATH... or --check", PLANT)
    refused("either --activity PATH... or --check", PLANT, "--check", "-a", "#op10")
    broken = os.path.join(WORK, "broken.xml")
    with open(broken, "w") as f:
        f.write('<?xml version="1.0"?>\n<plant format="1">\n  <products>\n</plant>\n')
    refused("broken.xml:4:", broken, "--check")


shutil.rmtree(WORK, ignore_errors=True)
os.makedirs(WORK)
V.finish(test_sets, test_check, test_refusals)
