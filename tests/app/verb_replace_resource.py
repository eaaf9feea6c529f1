#!/usr/bin/env python3
"""mirt replace-resource: a spare robot's new instance takes Robot.1's place in chosen
activities or in all of them, saved; bad input refused with one line, exit 1, no file.

usage: verb_replace_resource.py MIRT DATA WORK
"""
import os
import shutil
import sys

import verbtest

MIRT, DATA, WORK = sys.argv[1:4]
os.makedirs(WORK, exist_ok=True)
PLANT = os.path.join(WORK, "plant.xml")
shutil.copy(os.path.join(DATA, "sample-plant.xml"), PLANT)
V = verbtest.Verbs(MIRT, WORK, "replace-resource")
run, check, js, refused = V.run, V.check, V.js, V.refused
ROBOT, SPARE = "Resources/Station.20/Robot.1", "Resources/Robot.5"
WELD, ROOF = "Process/Body Shop/Framing/Weld.1", "Process/Body Shop/Framing/Roof load"


def read(path):
    with open(path, encoding="utf-8") as f:
        return f.read()


def test_chosen_and_all():
    out = os.path.join(WORK, "one.xml")
    j = js(PLANT, "--resource", ROBOT, "--with", SPARE, "--activity", WELD, "-o", out)
    inst = j.get("new_instance", {})
    check(j.get("activities") == [WELD], f"activities {j}")
    check(inst.get("path", "").startswith("Resources/Station.20/Robot.") and inst.get("path") != ROBOT, f"instance {inst}")
    saved = read(out)
    check('id="st20_robot1"' in saved, "the replaced robot stays in the plant")
    check(f'name="{inst.get("name")}" type="Robot"' in saved, "the new instance is saved")
    # Its gun came along with the spare robot's structure.
    check(saved.count('type="WeldGun"') == read(PLANT).count('type="WeldGun"') + 1, "the new instance's gun")

    out2 = os.path.join(WORK, "all.xml")
    text, _ = run(PLANT, "--resource", ROBOT, "--with", SPARE, "--all", "--remove-context", "-o", out2)
    check(text.startswith(f"replaced {ROBOT} by Resources/Station.20/Robot.") and "in 2 activities\n" in text
          and f"  {WELD}\n  {ROOF}\n" in text and text.endswith(f"saved {out2}\n"), f"text report:\n{text}")
    check("<resourceContexts>" in read(out2), "the spare robot is now a resource context")
    check("was no resource context: no context removed\n" in text, f"no context to remove:\n{text}")
    # Robot.1 becomes a context as the second resource of one replacement; replaced in
    # the next one, its context goes.
    ctx = os.path.join(WORK, "robot1-context.xml")
    js(PLANT, "--resource", "Resources/Station.20/Robot.2", "--with", ROBOT, "--all", "-o", ctx)
    check('<context ref="st20_robot1"/>' in read(ctx), "Robot.1 came in as a device")
    out3 = os.path.join(WORK, "context.xml")
    j = js(ctx, "--resource", ROBOT, "--with", SPARE, "--all", "--remove-context", "-o", out3)
    check(j.get("context_removed") is True and '<context ref="st20_robot1"/>' not in read(out3), f"context removed {j}")


def test_refusals():
    before = read(PLANT)
    out = os.path.join(WORK, "never.xml")
    common = ["-o", out]
    refused("no product or resource at 'Resources/Nowhere'", PLANT, "--resource", "Resources/Nowhere", "--with", SPARE,
            "--all", *common)
    refused("product list", PLANT, "--resource", "Products/BodyInWhite.1", "--with", SPARE, "--all", *common)
    refused("product list", PLANT, "--resource", ROBOT, "--with", "Products/BodyInWhite.1", "--all", *common)
    refused("cannot replace itself", PLANT, "--resource", ROBOT, "--with", ROBOT, "--all", *common)
    refused("does not use", PLANT, "--resource", ROBOT, "--with", SPARE, "--activity", "Process/Body Shop/Framing/Weld.2",
            *common)
    refused("no activity at", PLANT, "--resource", ROBOT, "--with", SPARE, "--activity", ROBOT, *common)
    refused("--activity PATH", PLANT, "--resource", ROBOT, "--with", SPARE, *common)
    refused("no activity uses", PLANT, "--resource", "Resources/Gripper.2", "--with", SPARE, "--all", *common)
    # At the top of the resource list there is no father to stand under.
    refused("needs a father product", PLANT, "--resource", "Resources/Station.10", "--with", "Resources/Station.40",
            "--all", *common)
    refused("--in-place", PLANT, "--resource", ROBOT, "--with", SPARE, "--all")
    check(not os.path.exists(out), "a refused run writes nothing")
    check(read(PLANT) == before, "the input is untouched")


def test_in_place():
    copy = os.path.join(WORK, "inplace.xml")
    shutil.copy(PLANT, copy)
    js(copy, "--resource", ROBOT, "--with", SPARE, "--all", "--in-place")
    check(read(copy) != read(PLANT), "rewritten in place")


V.finish(test_chosen_and_all, test_refusals, test_in_place)
