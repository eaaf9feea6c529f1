#!/usr/bin/env python3
"""mirt assemblies: the list of a plant's assemblies and kits, an assembly, a nested one,
a marked one and a kit with a plan type made by the planner's commands (the same bytes
as the session script doing the same), and bad input refused with one line, exit 1,
nothing written.

usage: verb_assemblies.py MIRT DATA WORK
"""
import os
import subprocess
import sys

import verbtest

MIRT, DATA, WORK = sys.argv[1:4]
os.makedirs(WORK, exist_ok=True)
PLANT = os.path.join(DATA, "sample-plant.xml")
HUB = os.path.join(DATA, "sample-plant-hub.xml")
A = verbtest.Verbs(MIRT, WORK, "assemblies")
check = A.check
ROOF = "Products/BodyInWhite.1/Roof.1"
BOW1, BOW2 = ROOF + "/RoofBow.1", ROOF + "/RoofBow.2"
GRIPPER = "Resources/Gripper.2"


def out(name):
    path = os.path.join(WORK, name)
    if os.path.exists(path):
        os.remove(path)
    return path


def read(path):
    with open(path, "rb") as f:
        return f.read()


def by_name(j):
    return {a.get("name"): a for a in j.get("assemblies", [])}


def test_list():
    j = A.js(PLANT, "--list")
    kit = by_name(j).get("HingeKit", {})
    check(kit.get("typeText") == "ManufacturingKit" and kit.get("planType") == "DoorLineKit" and
          len(kit.get("content", [])) == 4, f"HingeKit: {kit}")
    closures = by_name(j).get("ClosuresAssy", {})
    check(closures.get("content") == ["Assemblies/DoorAssy.1", "Products/BodyInWhite.1/Door.2"], f"nested: {closures}")
    text, _ = A.run(PLANT, "--list")
    check("HingeKit" in text and "DoorLineKit" in text and "6 assemblies" in text, f"text list:\n{text}")


def test_create_kinds():
    roof = out("roof.xml")
    j = A.js(PLANT, "--create", "RoofAssy", "--part", BOW1, "--part", BOW2, "--part-number", "MA-1300", "-o", roof)
    made = j.get("created", {})
    check(j.get("command") == "OrvMfgAssyCmd" and made.get("content") == [BOW1, BOW2] and
          made.get("partNumber") == "MA-1300" and made.get("typeText") == "Assembly", f"assembly: {j}")
    check(by_name(A.js(roof, "--list")).get("RoofAssy", {}).get("content") == [BOW1, BOW2], "saved and loaded back")
    # Inside another assembly; then an assembly marked not directly changeable.
    child = out("child.xml")
    j = A.js(roof, "--create", "Bows", "--part", BOW1, "--child-of", "Assemblies/RoofAssy", "-o", child)
    check(j.get("father") == "Assemblies/RoofAssy", f"child: {j}")
    listed = by_name(A.js(child, "--list"))
    check(listed.get("RoofAssy", {}).get("content", [])[-1:] == ["Assemblies/Bows"], f"child inside: {listed}")
    marked = out("marked.xml")
    j = A.js(PLANT, "--create", "Fixed", "--part", BOW1, "--not-directly-changeable", "-o", marked)
    check(j.get("created", {}).get("notDirectlyChangeable") is True, f"marked: {j}")
    # A kit takes a resource and a plan type of the catalogue; an empty name gets the default.
    kit = out("kit.xml")
    j = A.js(PLANT, "--create", "", "--kit", "--plan-type", "StationKit", "--part", GRIPPER, "--part",
             "Products/BodyInWhite.1/Bracket.1", "-o", kit)
    made = j.get("created", {})
    check(made.get("name") == "OrvMfgKit NoName" and made.get("planType") == "StationKit" and
          made.get("typeText") == "ManufacturingKit" and made.get("content", [None])[0] == GRIPPER, f"kit: {j}")


def test_same_bytes_as_the_script():
    verb = out("verb.xml")
    A.run(PLANT, "--create", "RoofAssy", "--part", BOW1, "--part", BOW2, "--part-number", "MA-1300", "-o", verb)
    script = os.path.join(WORK, "roof.mirt")
    with open(script, "w") as f:
        f.write(f"open {PLANT}\nstart Mirtcommands OrvMfgAssyCmd\npick {BOW1}\npick {BOW2}\n"
                "set OrvMfgAssyDialog.Name RoofAssy\nset OrvMfgAssyDialog.PartNumber MA-1300\n"
                "push OrvMfgAssyDialog.OK\nexpect ended\nsave script.xml\n")
    p = subprocess.run([MIRT, "run", script], cwd=WORK, capture_output=True, text=True)
    saved = os.path.join(WORK, "script.xml")
    check(p.returncode == 0 and os.path.exists(saved), f"the script runs:\n{p.stdout}{p.stderr}")
    if os.path.exists(saved) and os.path.exists(verb):
        check(read(saved) == read(verb), "the verb and the script save the same bytes")


def test_refusals():
    never = out("never.xml")
    before = read(PLANT)
    common = ["-o", never]
    A.refused("--plan-type is a kit's", PLANT, "--create", "X", "--part", BOW1, "--plan-type", "StationKit", *common)
    A.refused("not a kit plan type", PLANT, "--create", "X", "--kit", "--plan-type", "Nope", "--part", BOW1, *common)
    A.refused("no manufactured assembly", PLANT, "--create", "X", "--part", BOW1, "--child-of", ROOF, *common)
    A.refused("no object at 'Products/Nowhere'", PLANT, "--create", "X", "--part", "Products/Nowhere", *common)
    A.refused("refuses it", PLANT, "--create", "X", "--part", GRIPPER, *common)  # only kits take resources
    # ClosuresAssy holds DoorAssy.1: inside DoorAssy.1 it would contain itself.
    A.refused("refuses it", PLANT, "--create", "X", "--part", "Assemblies/ClosuresAssy", "--child-of",
              "Assemblies/DoorAssy.1", *common)
    A.refused("given twice", PLANT, "--create", "X", "--part", BOW1, "--part", BOW1, *common)
    A.refused("--create needs at least one --part", PLANT, "--create", "X", *common)
    A.refused("give --list, --create NAME or one of the versioning options", PLANT, *common)
    A.refused("a kit is made on its own", PLANT, "--create", "X", "--kit", "--part", BOW1, "--child-of",
              "Assemblies/DoorAssy.1", *common)
    A.refused("--in-place", PLANT, "--create", "X", "--part", BOW1)
    # In the hub a product without a hub identity is no content.
    A.refused("refuses it", HUB, "--create", "X", "--part", "Products/VinPlate.1", *common)
    # A kit takes no product marked YorWSC.
    A.refused("refuses it", HUB, "--create", "X", "--kit", "--part", "Products/Sealer.1", *common)
    check(not os.path.exists(never) and read(PLANT) == before, "a refused run writes nothing")


def test_versions():
    """The modified door assembly and its container; versioning all of them leaves none
    modified; links, the mark and a child; each refusal names its argument."""
    j = A.js(PLANT, "--modified")
    check([m["name"] for m in j["modified"]] == ["DoorAssy.1"] and [m["name"] for m in j["containing"]] == ["ClosuresAssy"],
          f"{j}")
    versioned = out("versioned.xml")
    text, _ = A.run(PLANT, "--all-modified", "-o", versioned)
    check(text.startswith("new versions: DoorAssy.1, ClosuresAssy\n"), text)
    j = A.js(versioned, "--modified")
    check(j["modified"] == [] and j["containing"] == [], f"{j}")
    check(b'<versioning version="2"' in read(versioned) and b"<modificationLog>" not in read(versioned), "versions saved")
    linked = out("linked.xml")
    A.run(PLANT, "--link-ebom", "Assemblies/TailgateAssy", "Products/Item.1/Tailgate.1", "-o", linked)
    check(b'refEbom="tailgate"' in read(linked), "the link is saved")
    toggled = out("toggled.xml")
    A.run(linked, "--toggle-externally-produced", "#ma_tailgate", "-o", toggled)
    j = A.js(toggled, "--modified")
    check("TailgateAssy" in [m["name"] for m in j["modified"]], f"{j}")
    child = out("child.xml")
    text, _ = A.run(PLANT, "--add-child", "Assemblies/UnderbodyAssy", "Rails", "-o", child)
    check(text.startswith("made Assemblies/Rails (no operation produces its father)"), text)
    never = out("never.xml")
    A.refused("'Assemblies/HingeKit' is a manufacturing kit", PLANT, "--link-ebom", "Assemblies/HingeKit", ROOF, "-o", never)
    A.refused("'Resources/Gripper.2' is no engineering product", PLANT, "--link-ebom", "Assemblies/DoorAssy.1", GRIPPER, "-o", never)
    A.refused("is linked to no product", PLANT, "--unlink-ebom", "Assemblies/DoorAssy.1", "-o", never)
    A.refused("--new-version: 'Products/Sealer.1' is no manufactured assembly", PLANT, "--new-version", "Products/Sealer.1",
              "-o", never)
    A.refused("--toggle-externally-produced: 'Assemblies/Nope' is not in the plant", PLANT, "--toggle-externally-produced",
              "Assemblies/Nope", "-o", never)
    A.refused("cannot be given together", PLANT, "--modified", "--all-modified")
    check(not os.path.exists(never), "a refused run writes nothing")


A.finish(test_list, test_create_kinds, test_same_bytes_as_the_script, test_refusals, test_versions)
