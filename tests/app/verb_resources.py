#!/usr/bin/env python3
"""mirt create-resource and delete-resource: resources made under a station and
deleted with every link into them, saved; bad input refused with one line, exit 1,
no file written.

usage: verb_resources.py MIRT DATA WORK
"""
import os
import shutil
import subprocess
import sys

import verbtest

MIRT, DATA, WORK = sys.argv[1:4]
os.makedirs(WORK, exist_ok=True)
PLANT = os.path.join(WORK, "plant.xml")
shutil.copy(os.path.join(DATA, "sample-plant.xml"), PLANT)
C = verbtest.Verbs(MIRT, WORK, "create-resource")
D = verbtest.Verbs(MIRT, WORK, "delete-resource")
D.failures = C.failures  # one report for both verbs
check = C.check
STATION, ROBOT = "Resources/Station.20", "Resources/Station.20/Robot.1"


def read(path):
    with open(path, encoding="utf-8") as f:
        return f.read()


def test_create():
    out = os.path.join(WORK, "created.xml")
    j = C.js(PLANT, "--parent", STATION, "--name", "Gripper", "--type", "Gripper", "--quantity", "3",
             "--mtbf", "1200", "--mttr", "4", "-o", out)
    made = j.get("created", [])
    check(len(made) == 3 and all(m.get("name") == "Gripper" for m in made), f"three grippers {j}")
    check(len({m.get("id") for m in made}) == 3, f"three ids {made}")
    saved = read(out)
    check(saved.count('name="Gripper" type="Gripper" partNumber="Gripper"') == 3, "saved with their type")
    check(saved.count('<attribute name="MTBF" type="int" value="1200"/>') == 3, "MTBF saved")
    text, _ = C.run(PLANT, "--parent", ROBOT, "--name", "Tip", "--type", "Tool", "-o", os.path.join(WORK, "one.xml"))
    check(text.startswith(f"created 1 resource of type Tool under {ROBOT}\n") and "saved " in text, f"text:\n{text}")


def test_delete():
    out = os.path.join(WORK, "deleted.xml")
    j = D.js(PLANT, "--resource", ROBOT, "-o", out)
    check(j.get("resources_removed") == 2 and j.get("activities"), f"robot and gun {j}")
    saved = read(out)
    check('id="st20_robot1"' not in saved and 'ref="st20_robot1"' not in saved and 'ref="st20_gun1"' not in saved,
          "nothing names the robot or its gun")
    # The saved plant loads again; deleting a whole station with states and contexts too.
    D.run(out, "--resource", STATION, "-o", os.path.join(WORK, "deleted2.xml"))
    copy = os.path.join(WORK, "inplace.xml")
    shutil.copy(PLANT, copy)
    D.js(copy, "--resource", "Resources/Station.30", "--in-place")
    check(read(copy) != read(PLANT) and 'owner="st30_gripper"' not in read(copy), "rewritten in place, states gone")


def test_refusals():
    before = read(PLANT)
    out = os.path.join(WORK, "never.xml")
    C.refused("--name: a resource needs a name", PLANT, "--parent", STATION, "--name", " ", "--type", "Tool", "-o", out)
    C.refused("--quantity 0 is outside 1..5000", PLANT, "--parent", STATION, "--name", "A", "--type", "Tool",
              "--quantity", "0", "-o", out)
    C.refused("--mttr 500001 is outside 0..500000", PLANT, "--parent", STATION, "--name", "A", "--type", "Tool",
              "--mttr", "500001", "-o", out)
    C.refused("--type 'Nope' is not a type of ResourceWex.feat", PLANT, "--parent", STATION, "--name", "A",
              "--type", "Nope", "-o", out)
    C.refused("--parent: no resource at 'Resources/Nowhere'", PLANT, "--parent", "Resources/Nowhere", "--name", "A",
              "--type", "Tool", "-o", out)
    C.refused("is no resource of the resource list", PLANT, "--parent", "Products/BodyInWhite.1", "--name", "A",
              "--type", "Tool", "-o", out)
    C.refused("--in-place", PLANT, "--parent", STATION, "--name", "A", "--type", "Tool")
    D.refused("--resource: no resource at 'Resources/Nowhere'", PLANT, "--resource", "Resources/Nowhere", "-o", out)
    D.refused("is a product, not a resource", PLANT, "--resource", "Products/BodyInWhite.1", "-o", out)
    # An unreadable type library is named.
    lib = os.path.join(WORK, "resources")
    shutil.copytree(os.environ["MIRT_RESOURCES"], lib, dirs_exist_ok=True)
    with open(os.path.join(lib, "resourcetypes", "ResourceWex.feat"), "w", encoding="utf-8") as f:
        f.write("resource-types 1\ntype 9\n")
    p = subprocess.run([MIRT, "create-resource", PLANT, "--parent", STATION, "--name", "A", "--type", "Tool", "-o", out],
                       cwd=WORK, capture_output=True, text=True, env=dict(os.environ, MIRT_RESOURCES=lib))
    check(p.returncode == 1 and "ResourceWex.feat:2: a type name begins with a letter" in p.stderr and p.stdout == "",
          f"an unreadable type library: exit {p.returncode}\n{p.stdout}{p.stderr}")
    check(not os.path.exists(out), "a refused run writes nothing")
    check(read(PLANT) == before, "the input is untouched")


C.finish(test_create, test_delete, test_refusals)
