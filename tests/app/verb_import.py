#!/usr/bin/env python3
"""mirt import: the sample process file into an activity (text and JSON), the saved
plant reading back and importing again by id; bad input refused with one line, exit
1, no file written.

usage: verb_import.py MIRT DATA WORK
"""
import os
import shutil
import sys

import verbtest

MIRT, DATA, WORK = sys.argv[1:4]
os.makedirs(WORK, exist_ok=True)
PLANT = os.path.join(WORK, "plant.xml")
shutil.copy(os.path.join(DATA, "sample-plant.xml"), PLANT)
DOOR = os.path.join(DATA, "door-line.process")
V = verbtest.Verbs(MIRT, WORK, "import")
INSPECTION = "Process/Body Shop/Inspection"


def read(path):
    with open(path, "rb") as f:
        return f.read()


def write(name, data):
    path = os.path.join(WORK, name)
    with open(path, "wb") as f:
        f.write(data)
    return path


def test_import():
    out = os.path.join(WORK, "imported.xml")
    text, _ = V.run(PLANT, DOOR, "--activity", INSPECTION, "-o", out)
    V.check(text.startswith(f"imported {DOOR} into Process/Body Shop/Door line: 4 operations\n"), text)
    V.check("  Inspect: type LaserGauge is unknown here, made a PhysicalActivity\n" in text, text)
    V.check("3 links made, 0 skipped\n" in text, text)  # "Unload" is an old child of the activity
    j = V.js(PLANT, DOOR, "--activity", "#op50", "-o", out)
    V.check([o["type"] for o in j["operations"]] == ["PhysicalActivity", "SpotWeldOperation", "PhysicalActivity",
                                                     "PhysicalActivity"], f"{j}")
    V.check(j["fallbacks"] == [{"operation": "Inspect", "type": "LaserGauge"}], f"{j}")
    V.check([l["result"] for l in j["links"]] == ["made", "made", "made"] and j["links"][2]["line"] == 73, f"{j}")
    V.check(j["activity"] == "Process/Body Shop/Door line" and not j["latin1"], f"{j}")
    # The saved plant loads again and takes a second import; the first process by default.
    again = os.path.join(WORK, "again.xml")
    j = V.js(out, DOOR, "-o", again)
    V.check(j["activity"] == "Door line" and len(j["operations"]) == 4, f"{j}")
    # Latin-1 bytes, a link to a label no child has.
    latin = write("latin.process", b"SCOPES\nt\nSchwei\xdfen\nx\nOperation\nA\nT\n1\ni\nd\nR\nEndOfResources\nC\n"
                                   b"EndOfComponents\nW\nEndOfWelds\nEndOfOperations\nS\nLink\nA\nZ\nEndOfSequence\n")
    j = V.js(PLANT, latin, "--activity", INSPECTION, "-o", again)
    V.check(j["latin1"] and j["label"] == "Schwei\u00dfen" and j["links"][0]["result"] == "no target", f"{j}")


def test_refused():
    before = read(PLANT)
    bad = os.path.join(WORK, "bad.xml")
    V.refused("not a SCOPES process file", PLANT, write("wrong.process", b"SCOPX\n"), "-o", bad)
    cut = write("cut.process", b"SCOPES\nt\nP\nx\nOperation\nA\n")
    V.refused(cut + ":6: the file ends where the operation's type is due; nothing was written", PLANT, cut, "-o", bad)
    nul = write("nul.process", b"SCOPES\nt\nP\0\n")
    V.refused(nul + ":3: the line holds a NUL byte", PLANT, nul, "-o", bad)
    V.refused("cannot read process file", PLANT, os.path.join(WORK, "none.process"), "-o", bad)
    V.refused("cannot read process file", PLANT, WORK, "-o", bad)
    V.refused("--activity: nothing at 'Process/Nope'", PLANT, DOOR, "--activity", "Process/Nope", "-o", bad)
    V.refused("is no activity", PLANT, DOOR, "--activity", "Products/BodyInWhite.1", "-o", bad)
    V.refused("-o", PLANT, DOOR)
    V.check(not os.path.exists(bad) and read(PLANT) == before, "a refusal wrote a file")


V.finish(test_import, test_refused)
