#!/usr/bin/env python3
"""mirt states: states with their definitions and the conditions of activities and
behaviours, as text and JSON, filtered by object; generated states; bad input
refused with one line and exit 1.

usage: verb_states.py MIRT DATA WORK
"""
import os
import shutil
import sys

import verbtest

MIRT, DATA, WORK = sys.argv[1:4]
PLANT = os.path.join(DATA, "sample-plant.xml")
V = verbtest.Verbs(MIRT, WORK, "states")
run, check, js, refused = V.run, V.check, V.js, V.refused
FIXTURE = "Resources/Station.10/Fixture.1"
GRIPPER = "Resources/Station.30/Robot.3/Gripper.1"


def test_whole_plant():
    j = js(PLANT)
    check(list(j) == ["conditions", "owners", "plant"] or list(j) == ["owners", "conditions", "plant"], f"keys {list(j)}")
    owners = {o["path"]: o for o in j.get("owners", [])}
    check(list(owners) == [FIXTURE, "Resources/Station.30/Robot.3", GRIPPER], f"owners {list(owners)}")
    fixture = owners.get(FIXTURE, {})
    check([s["name"] for s in fixture.get("states", [])] == ["Open", "Closed"], f"fixture states {fixture}")
    check(fixture.get("positions", [{}])[0].get("matrix") == [1, 0, 0, 0, 1, 0, 0, 0, 1, 1200, 0, 80], f"matrix {fixture}")
    ready = owners.get("Resources/Station.30/Robot.3", {}).get("states", [{}])[0]
    check(ready.get("definition") == ["Resources/Station.30/Robot.3/position:Home", GRIPPER + "/state:Open"],
          f"named state definition {ready}")
    holders = j.get("conditions", [])
    check([h["kind"] for h in holders] == ["activity", "activity", "behaviour"], f"holders {holders}")
    if len(holders) == 3:
        check(holders[0]["begin"] == [FIXTURE + "/state:Open"] and holders[0]["end"] == [FIXTURE + "/state:Closed"],
              f"Load's conditions {holders[0]}")
        check(holders[1]["context"] == ["Resources/Station.30/Robot.3/state:Pick ready"], f"3D context {holders[1]}")
    text, _ = run(PLANT)
    check(text.startswith("states: 5 states, 5 stored positions, 3 with conditions\n"), f"text head:\n{text}")
    check("Resources/Station.30/Robot.3/Robot.3 handling (behaviour)\n  begin: " in text, f"behaviour in text:\n{text}")


def test_objects():
    # An activity gives its conditions only; a resource with a behaviour its states and the behaviour's.
    j = js(PLANT, "-o", "#op10_load", "Resources/Station.30/Robot.3")
    check([o["path"] for o in j.get("owners", [])] == ["Resources/Station.30/Robot.3"], f"owners {j.get('owners')}")
    check([h["path"] for h in j.get("conditions", [])] ==
          ["Process/Body Shop/Underbody/Load", "Resources/Station.30/Robot.3/Robot.3 handling"], f"holders {j}")
    # A state path names the state's owner list entry itself.
    text, _ = run(PLANT, "-o", FIXTURE + "/state:Open")
    check(text.startswith("states: 0 states"), f"a state has no states of its own:\n{text}")


def test_generated():
    out = os.path.join(WORK, "gen.xml")
    text, _ = run("--help")
    check("--object" in text, "help lists --object")
    gen = verbtest.Verbs(MIRT, WORK, "generate")
    gen_text, _ = gen.run("--products", "50", "--activities", "20", "--states-every", "5", "-o", out)
    V.failures += gen.failures
    check(" 24 states " in gen_text, f"generate said: {gen_text}")
    j = js(out)
    check(sum(len(o["states"]) for o in j.get("owners", [])) == 24, "every fifth of 60 objects has two states")


def test_refusals():
    refused("no object 'Products/Nowhere'", PLANT, "-o", "Products/Nowhere")
    bad = os.path.join(WORK, "bad.xml")
    with open(PLANT) as f:
        text = f.read()
    with open(bad, "w") as f:
        f.write(text.replace('<uses ref="gripper_open"/>', '<uses ref="robot3_pick_ready"/>'))
    refused("bad.xml:", bad)
    refused("would contain itself", bad)


shutil.rmtree(WORK, ignore_errors=True)
os.makedirs(WORK)
V.finish(test_whole_plant, test_objects, test_generated, test_refusals)
