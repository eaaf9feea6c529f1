#!/usr/bin/env python3
"""The batch verbs as Unix tools: every --json parses back with the documented keys,
every --csv reads back with the csv module, compare exits like diff, bad input is
refused with one line "mirt VERB: ..." and a failure code, settings round-trip.

usage: verbs_unix.py MIRT DATA WORK   (MIRT_CONFIG_DIR must point into WORK)
"""
import csv
import io
import os
import shutil
import sys

import verbtest

MIRT, DATA, WORK = sys.argv[1:4]
PLANT = os.path.join(DATA, "sample-plant.xml")
REV2 = os.path.join(DATA, "sample-plant-rev2.xml")
TSA = os.path.join(DATA, "..", "tests", "activities", "data", "tsa-plant.xml")
V = verbtest.Verbs(MIRT, WORK)
run, check, js = V.run, V.check, V.js


def table(*args, rc=0):
    out, _ = run(*args, "--csv", rc=rc)
    return list(csv.reader(io.StringIO(out)))


def refused(verb, want, *args, rc=1):
    V.refused(want, verb, *args, rc=rc)


def keys(obj, want, where):
    check(isinstance(obj, dict) and list(obj) == want, f"{where}: keys {list(obj) if isinstance(obj, dict) else obj} != {want}")


def test_check():
    c = js("check", PLANT)
    keys(c, ["file", "name", "environment", "processes", "activities", "products", "resources", "assemblies",
             "relations", "flows", "precedences", "tsas", "tsa_activities", "fasteners"], "check --json")
    text, _ = run("check", PLANT)
    # The JSON holds what the text shows.
    check(f"activities:  {c.get('activities')} in {c.get('processes')} process" in text, "check: activities differ")
    check(f"fasteners:   {c.get('fasteners')}\n" in text and c.get("environment") == "local", "check: fasteners differ")


def test_compare():
    # Exit codes as diff's, in every format.
    for fmt in ([], ["--json"], ["--csv"]):
        run("compare", PLANT, PLANT, *fmt, rc=0)
        run("compare", PLANT, REV2, *fmt, rc=1)
    refused("compare", "no object 'Nowhere'", PLANT, REV2, "--root", "Nowhere", rc=2)
    refused("compare", "File does not exist", PLANT, "missing.xml", rc=2)
    refused("compare", "excludes", PLANT, REV2, "--json", "--csv", rc=2)
    refused("compare", "holds assemblies, not products", PLANT, REV2, "--root", "Assemblies", "--kind", "products", rc=2)

    c = js("compare", PLANT, REV2, rc=1)
    keys(c, ["original", "modified", "kind", "conditions", "filter", "tolerances", "added", "removed", "columns", "changed",
             "fasteners", "summary", "different"], "compare --json")
    check([col["key"] for col in c["columns"]] == ["EC01", "EC02", "EC03", "EC04", "EC05", "EC06"],
          f"compare columns: {c['columns']}")
    keys(c.get("tolerances"), ["x", "y", "z", "positions_compared"], "compare tolerances")
    s = c.get("summary", {})
    check(s.get("added") == len(c["added"]) and s.get("removed") == len(c["removed"])
          and s.get("changed") == len(c["changed"]) and c["different"] is True, f"compare summary: {s}")
    for m in c["changed"]:
        keys(m, ["original", "modified", "code", "aspects", "marks", "attributes"], "compare changed entry")
        check(m["marks"] == [bool(m["code"] & bit) for bit in (1, 2, 4, 8, 16, 32)], f"compare marks: {m}")
    weld = [m for m in c["changed"] if m["modified"].endswith("Weld right")]
    check(weld and "sequence" in weld[0]["aspects"] and
          {"name": "Name", "original": "Weld.2", "modified": "Weld right"} in weld[0]["attributes"],
          f"compare: the renamed weld: {weld}")
    # The XML report beside the verb's own output, with chosen attributes and dots.
    xml = os.path.join(WORK, "comparison.xml")
    run("compare", PLANT, REV2, "--xml", xml, "--report-attribute", "Time", "--dots", rc=1)
    with open(xml, "rb") as f:
        report = f.read()
    check(report.startswith(b"<?xml version='1.0' encoding='ISO-8859-1' ?>\n<CompareToolResults>\n")
          and b'<TitleElement name="Time"/>' in report and report.endswith(b"</CompareToolResults>\n"),
          f"compare --xml: {report[:200]!r}")
    refused("compare", "no report attribute 'Nope'", PLANT, REV2, "--xml", xml + ".2", "--report-attribute", "Nope", rc=2)
    check(not os.path.exists(xml + ".2"), "compare --xml with a bad attribute wrote a file")
    refused("compare", "missing", PLANT, REV2, "--xml", os.path.join(WORK, "missing", "r.xml"), rc=2)
    text, _ = run("compare", PLANT, REV2, rc=1)
    check("Tolerances: fastener positions within X 0.1, Y 0.1, Z 0.1\n" in text and c["tolerances"]["x"] == 0.1,
          "compare: the tolerances used")

    rows = table("compare", PLANT, REV2, rc=1)
    check(rows and rows[0] == ["change", "kind", "original", "modified", "code", "aspects", "attributes"], f"csv head {rows[:1]}")
    f = c["fasteners"]
    n = len(c["added"]) + len(c["removed"]) + len(c["changed"]) + len(f["added"]) + len(f["removed"]) + len(f["changed"])
    check(len(rows) == n + 1 and all(len(r) == 7 for r in rows), f"compare --csv: {len(rows) - 1} rows for {n} changes")
    check(['changed', 'activities', 'Process/Body Shop/Framing/Weld.1', 'Process/Body Shop/Framing/Weld.1', '65',
           'attributes;fasteners', 'Time: "41" -> "38"'] in rows, "compare --csv: quoted attribute changes")

    # Whole sections as roots; the kind follows the section unless given.
    p = js("compare", PLANT, REV2, "--root", "Products", rc=1)
    check(p.get("kind") == "products" and p["original"]["root"] == "Products" and p["summary"]["paired"] > 20,
          f"compare --root Products: {p.get('kind')} {p.get('summary')}")
    check(any(m["original"].startswith("Products/Sealer") or m["original"].startswith("Products/BodyInWhite.1/")
              for m in p["changed"]), "compare --root Products compares below every root")
    r = js("compare", PLANT, PLANT, "--root", "Resources")
    # Every resource of the sample: 23 objects under 7 roots.
    check(r.get("kind") == "resources" and r["summary"] == {"paired": 28, "added": 0, "removed": 0, "changed": 0},
          f"compare --root Resources: {r.get('summary')}")
    a = js("compare", PLANT, PLANT, "--root", "Assemblies")
    check(a.get("kind") == "assemblies" and a["summary"]["paired"] == 6 and a["different"] is False,
          f"compare --root Assemblies: {a.get('summary')}")


def test_consumption():
    body = ["-p", "Products/BodyInWhite.1", "Products/Sealer.1"]
    both = js("consumption", PLANT, *body)
    keys(both, ["plant", "relations", "checks", "effectivity", "consuming", "unconsumed", "requirements"], "consumption --json")
    check(both == js("consumption", PLANT, "-p", "Products/BodyInWhite.1", "-p", "Products/Sealer.1"),
          "-p A B and -p A -p B differ")
    check(any(r["product"] == "Sealer.1" for r in both.get("consuming", [])), "-p A B dropped the second product")
    for r in both.get("consuming", []):
        keys(r, ["product", "is_child", "children_assigned", "activity", "relation", "parent", "loaded", "effectivity"],
             "consumption row")
    rows = table("consumption", PLANT, *body)
    check(rows and rows[0] == ["No", "Product", "Activity", "Relation", "Parent", "Loaded"]
          and len(rows) == len(both["consuming"]) + 1, f"consumption --csv: {rows[:2]}")
    eff = js("consumption", PLANT, *body, "--effectivity", "1", "--child-assign-check")
    check(eff.get("effectivity") == "Line Effectivity" and eff["checks"]["child_assign"] is True, "consumption effectivity")

    refused("consumption", "'Resources/Station.10' is a resource", PLANT, "-p", "Resources/Station.10")
    refused("consumption", "'Process/Body Shop' is an activity", PLANT, "-p", "Process/Body Shop")
    refused("consumption", "is an activity", PLANT, "-p", "Products/Sealer.1", "#proc")
    refused("consumption", "unknown relation 'Process Eats Product'; the relations are \"Process Processes Product\"",
            PLANT, *body, "-r", "Process Eats Product")
    for bad in ("5", "-1"):
        refused("consumption", f"--effectivity {bad} is out of range: 0 to 4", PLANT, *body, "--effectivity", bad)
    refused("consumption", "excludes --json", PLANT, *body, "--xml", "-", "--json")


def test_renumber():
    before = sorted(os.listdir(WORK))
    d = js("renumber", TSA, "--dry-run")
    keys(d, ["plant", "output", "dry_run", "activities", "changed", "labels"], "renumber --dry-run --json")
    check(d.get("activities") == 7 and d.get("changed") == 5 == len(d.get("labels", [])) and d["output"] is None,
          f"renumber counts: {d}")
    check({"path": "Process/Weld", "old": "Weld", "new": "Weld.2"} in d.get("labels", []), "renumber map: Process/Weld")
    check(all(x["old"] != x["new"] for x in d.get("labels", [])), "renumber map lists an unchanged label")
    check(sorted(os.listdir(WORK)) == before, "--dry-run wrote a file")
    rows = table("renumber", TSA, "--dry-run")
    check(rows[0] == ["path", "old", "new"] and rows[1:] == [[x["path"], x["old"], x["new"]] for x in d["labels"]],
          "renumber --csv differs from --json")
    text, _ = run("renumber", TSA, "--dry-run")
    check(text.endswith("would renumber 7 activities, 5 labels changed; nothing written\n"), f"dry-run text: {text}")
    # The real run does what the dry run announced, and a second run changes nothing.
    real = js("renumber", TSA, "-o", "tsa-renumbered.xml")
    check(real.get("labels") == d["labels"] and real.get("output") == "tsa-renumbered.xml", "dry run and run differ")
    again = js("renumber", "tsa-renumbered.xml", "--dry-run")
    check(again.get("changed") == 0 and again.get("labels") == [], f"a renumbered plant changes again: {again}")
    refused("renumber", "--dry-run writes nothing", TSA, "--dry-run", "-o", "x.xml")


def test_settings():
    config = os.environ["MIRT_CONFIG_DIR"]
    check(js("settings", "list").get("repositories") == [], "a fresh folder lists repositories")
    values = {"ParentAssignCheck": ("true", "bool", True), "EffectivityType": ("3", "int", 3),
              "Ratio": ("0.25", "real", 0.25), "Note": ('a, "quoted"\nline', "string", 'a, "quoted"\nline')}
    for key, (text, _, _) in values.items():
        run("settings", "set", "OrvVekPartConsumption", key, text)
    for key, (text, kind, value) in values.items():
        g = js("settings", "get", "OrvVekPartConsumption", key)
        check(g == {"kind": "settings", "repository": "OrvVekPartConsumption", "key": key, "type": kind, "value": value},
              f"settings get {key}: {g}")
    run("settings", "set", "OrvVekPartConsumption", "Code", "42", "--text")
    check(js("settings", "get", "OrvVekPartConsumption", "Code").get("value") == "42", "--text keeps a text")
    out, _ = run("settings", "get", "OrvVekPartConsumption", "EffectivityType")
    check(out == "3\n", f"settings get prints the value alone: {out!r}")
    check(js("settings", "list").get("repositories") == ["OrvVekPartConsumption"], "settings list")
    rows = table("settings", "list", "OrvVekPartConsumption")
    check(["Note", "string", 'a, "quoted"\nline'] in rows and rows[0] == ["key", "type", "value"], f"settings csv: {rows}")
    # Commands read what was set: the consumption table shows the label effectivity.
    check(js("consumption", PLANT, "-p", "Products/Sealer.1").get("effectivity") == "Label Effectivity",
          "consumption does not read the setting")
    # Preferences are another folder.
    run("settings", "--preferences", "set", "Viewer", "Zoom", "2")
    check(js("settings", "list", "--preferences").get("repositories") == ["Viewer"], "preferences list")
    check(js("settings", "list").get("repositories") == ["OrvVekPartConsumption"], "preferences leaked into settings")
    # Arrays of strings: set with --strings, listed and read back whole.
    query = ["'Name'='*weld*'", "AND", "", "tab\there"]
    run("settings", "--preferences", "set", "OrvGanttSearch", "Welds_QN", "--strings", *query)
    g = js("settings", "--preferences", "get", "OrvGanttSearch", "Welds_QN")
    check(g.get("type") == "strings" and g.get("value") == query, f"settings get of an array: {g}")
    out, _ = run("settings", "--preferences", "get", "OrvGanttSearch", "Welds_QN")
    check(out == "\n".join(query) + "\n", f"settings get prints an array a string a line: {out!r}")
    listed = js("settings", "--preferences", "list", "OrvGanttSearch").get("values")
    check(listed == [{"key": "Welds_QN", "type": "strings", "value": query}], f"settings list of an array: {listed}")
    run("settings", "--preferences", "set", "OrvGanttSearch", "Welds_QN", "3")  # a value replaces the array
    check(js("settings", "--preferences", "get", "OrvGanttSearch", "Welds_QN").get("value") == 3, "a value replaces an array")
    refused("settings", "set takes one VALUE", "set", "OrvVekPartConsumption", "K", "a", "b")
    refused("settings", "set needs a VALUE", "set", "OrvVekPartConsumption", "K")
    refused("settings", "no key 'Missing'", "get", "OrvVekPartConsumption", "Missing")
    refused("settings", "no settings repository 'Nothing'", "get", "Nothing", "Key")
    refused("settings", "no settings repository 'Nothing'", "list", "Nothing")
    for bad in ("../escape", "a/b", ".."):
        refused("settings", "a repository name cannot", "set", bad, "K", "v")
    check(not os.path.exists(os.path.join(config, "escape.repo")), "a refused name wrote a file")
    refused("settings", "A subcommand is required")


def test_help():
    for verb in ("check", "compare", "consumption", "renumber", "workbench", "settings", "generate", "run", "shell"):
        out, _ = run(verb, "--help")
        check("Usage:" in out and "OPTIONS" in out, f"mirt {verb} --help: {out[:200]}")
    for sub in ("list", "get", "set"):
        out, _ = run("settings", sub, "--help")
        check("REPOSITORY" in out, f"mirt settings {sub} --help")
    # A mistyped verb is named, with the verbs it is nearest to.
    out, err = run("compar", "a.xml", rc=2)
    check(err == "mirt: no verb 'compar'; did you mean compare? (see mirt --help)\n" and out == "", f"mirt compar: {err}")
    w = js("workbench")
    keys(w, ["workbench", "workshop", "environment", "document", "switches", "texts", "toolbars", "menus", "unplaced",
             "dropped"], "workbench --json")
    check(w.get("workbench") == "Mirt" and w["toolbars"] and all(
        set(h) == {"id", "exists", "title", "available", "built"} for t in w["toolbars"] for h in t["headers"]),
        "workbench headers")
    text, _ = run("workbench")
    check(all(t["name"] in text for t in w["toolbars"]), "workbench --json names toolbars the text does not")


# Every run starts from the default settings and an empty work folder.
shutil.rmtree(os.environ["MIRT_CONFIG_DIR"], ignore_errors=True)
shutil.rmtree(WORK, ignore_errors=True)
os.makedirs(WORK)
def test_xml_report_as_the_dialog_exports_it():
    """The batch report and the results dialog's export, byte for byte, both with the
    report attributes stored for the feature (runs last: it stores settings)."""
    hub, hub2 = os.path.join(DATA, "sample-plant-hub.xml"), os.path.join(DATA, "sample-plant-hub-rev2.xml")
    run("settings", "set", "OrvDSICompareToolSettingCtrl", "ReportAttributes",
        "$$Activity$Time|V|Cost|V|PLMID|E|$$TavProduct$PartNumber|V|", "--text")
    cases = [("hub", hub, hub2, "Process", True, True), ("products", PLANT, REV2, "Products/BodyInWhite.1", False, False)]
    for name, original, modified, root, dots, summary in cases:
        script = os.path.join(WORK, f"export-{name}.mirt")
        with open(script, "w") as f:
            f.write(f"open {modified}\nopen {original}\nstart OrvVekPlanner OrvProcessCompareToolCmd\n"
                    f"pick {root}\npick in {os.path.basename(modified)[:-4]} {root}\n"
                    "set OrvVekComparePPRFilterDlg.AllRadio checked\n" +
                    ("set OrvVekComparePPRFilterDlg.SummaryPage checked\n" if summary else "") +
                    "notify OrvVekComparePPRFilterDlg ok\n" +
                    ("push OrvVekCompareDlgBase.ToggleValuePB\n" if dots else "") +
                    f"push OrvVekCompareDlgBase.ExportToXMLPB\nanswer file dialog-{name}.xml\n"
                    "notify OrvVekCompareDlgBase close\n")
        run("run", script)
        # The dialog's "All" radio alone is filter 2.
        batch = [original, modified, "--root", root, "--filter", "2", "--xml", f"batch-{name}.xml"]
        batch += (["--hub"] if name == "hub" else ["--kind", "products"]) + (["--dots"] if dots else []) + ([] if summary else ["--no-summary-page"])
        run("compare", *batch, rc=1)
        texts = []
        for side in ("dialog", "batch"):
            path = os.path.join(WORK, f"{side}-{name}.xml")
            texts.append(open(path, "rb").read() if os.path.exists(path) else b"")
        check(texts[0] and texts[0] == texts[1], f"{name}: the batch report differs from the export:\n{texts[0]!r}\n{texts[1]!r}")


V.finish(test_check, test_compare, test_consumption, test_renumber, test_settings, test_help,
         test_xml_report_as_the_dialog_exports_it)
