#!/usr/bin/env python3
"""mirt copy-process and copy-resource: a station copied with its resources, links
kept or dropped by the flags, a robot copied below another station; bad input
refused with one line, exit 1, no file.

usage: verb_copy.py MIRT DATA WORK
"""
import os
import shutil
import sys

import verbtest

MIRT, DATA, WORK = sys.argv[1:4]
os.makedirs(WORK, exist_ok=True)
PLANT = os.path.join(WORK, "plant.xml")
shutil.copy(os.path.join(DATA, "sample-plant.xml"), PLANT)
P = verbtest.Verbs(MIRT, WORK, "copy-process")
R = verbtest.Verbs(MIRT, WORK, "copy-resource")
R.failures = P.failures  # one report for both verbs
STATION, GROUPING = "Process/Side Frame/Station 60", "Process/Side Frame"
ROBOT = "Resources/SideFrameLine.1/Station.60/Robot.6"


def read(path):
    with open(path, encoding="utf-8") as f:
        return f.read()


def test_copy_process():
    out = os.path.join(WORK, "copied.xml")
    j = P.js(PLANT, "--process", STATION, "--parent", GROUPING, "--name", "Station 70", "--copy-resources", "-o", out)
    P.check(j.get("copy") == "Process/Side Frame/Station 70" and j.get("options") == 1, f"copy {j}")
    P.check(j.get("copied_resources") == ["Resources/SideFrameLine.1/Copy of Station.60"], f"copies {j}")
    saved = read(out)
    P.check(saved.count('type="WeldGun"') == read(PLANT).count('type="WeldGun"') + 1, "the gun came with the station")
    P.check(saved.count('name="Spot weld"') == 2, "the activities were copied")

    kept = os.path.join(WORK, "kept.xml")
    text, _ = P.run(PLANT, "--process", STATION, "--parent", GROUPING, "--name", "Option 4", "--keep-resource-links",
                    "--keep-product-links", "-o", kept)
    P.check(text.startswith(f"copied {STATION} to Process/Side Frame/Option 4 (option 4)\n") and text.endswith(f"saved {kept}\n"),
            f"text report:\n{text}")
    P.check(read(kept).count('ref="st60_robot"') == 4, "both copies of the welds keep Robot.6")
    bare = os.path.join(WORK, "bare.xml")
    P.js(PLANT, "--process", STATION, "--parent", GROUPING, "--name", "Bare", "-o", bare)
    P.check(read(bare).count('ref="st60_robot"') == read(PLANT).count('ref="st60_robot"')
            and read(bare).count('ref="roof_bow_front"') == read(PLANT).count('ref="roof_bow_front"'), "option 0 keeps nothing")
    # Below a robot's behaviour.
    j = P.js(PLANT, "--process", "Process/Side Frame/Station 60/Spot weld", "--parent", ROBOT, "--name", "Program",
             "--keep-product-links", "-o", os.path.join(WORK, "behaviour.xml"))
    P.check(j.get("copy", "").startswith(ROBOT + "/") and j["copy"].endswith("/Program"), f"behaviour {j}")


def test_no_father():
    # Station.20 stands at the top of the resource list and Body Shop has no resource: its copy has no father.
    hub = os.path.join(WORK, "hub.xml")
    shutil.copy(os.path.join(DATA, "sample-plant-hub.xml"), hub)
    j = P.js(hub, "--process", "Process/Body Shop/Framing", "--parent", "Process/Body Shop", "--name", "Framing 2",
             "--copy-resources", "-o", os.path.join(WORK, "hub-copied.xml"))
    P.check(j.get("copied_resources") == [] and j.get("not_copied") == ["Station.20"], f"no father {j}")


def test_copy_resource():
    out = os.path.join(WORK, "robot.xml")
    j = R.js(PLANT, "--resource", ROBOT, "--parent", "Resources/Station.50", "-o", out)
    c = j.get("copy", {})
    R.check(c.get("path") == "Resources/Station.50/Copy of Robot.6" and c.get("children") == 1, f"copy {j}")
    text, _ = R.run(PLANT, "--resource", ROBOT, "--parent", "Resources/Station.50", "--name", "Robot.9", "-o", out)
    R.check(text.startswith(f"copied {ROBOT} to Resources/Station.50/Robot.9 (#"), f"text report:\n{text}")


def test_refusals():
    before = read(PLANT)
    out = os.path.join(WORK, "never.xml")
    P.refused("the copy needs a name", PLANT, "--process", STATION, "--parent", GROUPING, "--name", " ", "-o", out)
    P.refused("no activity at 'Resources/Station.50'", PLANT, "--process", "Resources/Station.50", "--parent", GROUPING,
              "--name", "X", "-o", out)
    P.refused("nothing at 'Process/Nowhere'", PLANT, "--process", STATION, "--parent", "Process/Nowhere", "--name", "X",
              "-o", out)
    P.refused("assembly operation", PLANT, "--process", "Process/Body Shop/Closures/Hinge mounting", "--parent", GROUPING,
              "--name", "X", "-o", out)
    P.refused("cannot hold one of type", PLANT, "--process", GROUPING, "--parent", STATION, "--name", "X", "-o", out)
    P.refused("below the process to copy", PLANT, "--process", STATION, "--parent", STATION + "/Spot weld", "--name", "X",
              "-o", out)
    P.refused("cannot have a behaviour", PLANT, "--process", STATION, "--parent", "Resources/Station.50", "--name", "X",
              "-o", out)
    P.refused("excludes", PLANT, "--process", STATION, "--parent", GROUPING, "--name", "X", "--copy-resources",
              "--keep-resource-links", "-o", out)
    R.refused("not a resource", PLANT, "--resource", "Products/BodyInWhite.1", "--parent", "Resources/Station.50", "-o", out)
    R.refused("not a resource", PLANT, "--resource", ROBOT, "--parent", STATION, "-o", out)
    R.refused("nothing at 'Resources/Nowhere'", PLANT, "--resource", "Resources/Nowhere", "--parent", "Resources/Station.50",
              "-o", out)
    R.refused("the copy needs a name", PLANT, "--resource", ROBOT, "--parent", "Resources/Station.50", "--name", "", "-o", out)
    R.check(not os.path.exists(out), "a refused run writes nothing")
    R.check(read(PLANT) == before, "the input is untouched")


P.finish(test_copy_process, test_no_father, test_refusals, test_copy_resource)
