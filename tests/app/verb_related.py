#!/usr/bin/env python3
"""mirt related: what the cross highlight shows for an activity, a product and a
resource, under the settings, all boxes, named boxes and none; bad input refused
with one line, exit 1, nothing printed.

usage: verb_related.py MIRT DATA WORK
"""
import os
import sys

import verbtest

MIRT, DATA, WORK = sys.argv[1:4]
os.makedirs(WORK, exist_ok=True)
PLANT = os.path.join(DATA, "sample-plant.xml")
V = verbtest.Verbs(MIRT, WORK, "related")
HINGES = "Process/Body Shop/Closures/Hinge mounting"


def paths(obj):
    return [h["path"] for h in obj["highlighted"]]


def test_related():
    text, _ = V.run(PLANT, HINGES, "--boxes", "all")
    V.check(text.startswith("boxes: PFPP,PPP,PRP,PCP,PIR,PUR,PROR,PAR,PDR,DC\n"
                            f"{HINGES} (activity): 5 highlighted\n"), text)
    V.check("  Assemblies/HingeKit  #kit_hinges  assembly\n" in text, text)
    j = V.js(PLANT, HINGES, "Products/BodyInWhite.1/Door.1/InnerPanel.1", "--boxes", "ppp,dc")
    V.check(j["boxes"] == "PPP,DC" and [o["kind"] for o in j["objects"]] == ["activity", "product"], f"{j}")
    V.check(paths(j["objects"][1]) == ["Process", "Process/Body Shop", "Process/Body Shop/Closures",
                                       "Process/Body Shop/Closures/Pick door", "Products/BodyInWhite.1/Door.1/InnerPanel.1"],
            f"{j}")
    # A robot: its behaviour's part, the behaviour, then the activities using it.
    j = V.js(PLANT, "Resources/Station.30/Robot.3", "--boxes", "PPP,PUR")
    shown = j["objects"][0]["highlighted"]
    V.check([h["kind"] for h in shown[:2]] == ["product", "behaviour"] and shown[-1]["kind"] == "resource", f"{j}")
    j = V.js(PLANT, HINGES, "--boxes", "none")
    V.check(j["boxes"] == "" and paths(j["objects"][0]) == [HINGES], f"{j}")


def test_refused():
    V.refused("no object at 'Process/Nope'", PLANT, "Process/Nope")
    V.refused("--boxes: no box 'PXP'", PLANT, HINGES, "--boxes", "PPP,PXP")


V.finish(test_related, test_refused)
