#!/usr/bin/python3
"""The workbench in a real browser: headless Chromium driven by Selenium opens the
sample plant through `mirt serve`, renumbers from the toolbar, makes a general
assignment by clicking tree nodes and dialog widgets, checks that the tree and the
inspector show it, undoes it, answers a command's question in the page's modal box and
keeps a screenshot. With --large it also opens a
generated plant of 10^5 activities and reports the page's first paint and the time
an action takes (reported, never asserted: timings belong to no test verdict).

usage: browser_test.py --mirt MIRT --data DATA_DIR --work WORK_DIR [--large]
"""
import argparse
import json
import os
import re
import shutil
import subprocess
import sys
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import Select, WebDriverWait


def serve(mirt, plant, work):
    proc = subprocess.Popen([mirt, "serve", plant, "--port", "0", "--out", os.path.join(work, "out")],
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    line = proc.stdout.readline()
    match = re.search(r"(http://\S+)", line)
    if not match:
        proc.kill()
        sys.exit("mirt serve printed no address: " + line + proc.stdout.read())
    return proc, match.group(1)


def browser():
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for arg in ("--headless=new", "--no-sandbox", "--disable-dev-shm-usage", "--disable-gpu",
                "--disable-background-networking", "--disable-component-update", "--disable-sync",
                "--no-first-run", "--window-size=1400,900"):
        options.add_argument(arg)
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


class Page:
    def __init__(self, driver):
        self.d = driver
        self.wait = WebDriverWait(driver, 30)

    def until(self, what, why):
        try:
            return self.wait.until(lambda d: what())
        except Exception:
            shot = os.path.join(os.environ.get("MIRT_BROWSER_WORK", "."), "failure.png")
            self.d.save_screenshot(shot)
            sys.exit("browser test: timed out waiting for " + why + "\nstate: " + self.state() + "\nscreenshot: " + shot)

    def state(self):
        return self.d.execute_script(
            "return JSON.stringify({command: document.getElementById('command').textContent,"
            " error: document.getElementById('error').textContent})")

    def js(self, script, *args):
        return self.d.execute_script(script, *args)

    def generation(self):
        return int(self.js("return document.body.dataset.generation || 0"))

    def settled(self, after):
        self.until(lambda: self.generation() > after, "the page to redraw")

    # Tree nodes by path, each segment's label as given or renumbered ("Body Shop" is
    # "Body Shop.1" once renumbered).
    def item(self, path):
        pattern = "^" + "/".join(re.escape(p) + r"(\.[0-9.]+)?" for p in path.split("/")) + "$"
        return self.until(lambda: self.js(
            "return [...document.querySelectorAll('[data-path]')].find(e => new RegExp(arguments[0]).test(e.dataset.path))",
            pattern), "tree node " + path)

    def node(self, path):
        return self.item(path).find_element(By.CSS_SELECTOR, ":scope > .node")

    def expand(self, path):
        if self.js("return arguments[0].querySelector(':scope > .children').childElementCount > 0", self.item(path)):
            return
        self.node(path).find_element(By.CLASS_NAME, "twist").click()
        self.until(lambda: self.js("return arguments[0].querySelector(':scope > .children').childElementCount > 0",
                                   self.item(path)), "children of " + path)

    def click_node(self, path):
        before = self.generation()
        self.node(path).click()
        self.settled(before)

    def start(self, cls):
        before = self.generation()
        Select(self.until(lambda: self.d.find_element(By.ID, "commands"), "the command list")).select_by_visible_text(cls)
        self.d.find_element(By.ID, "start").click()
        self.settled(before)

    def inspector(self):
        return self.d.find_element(By.ID, "inspector").text


def sample_session(args, driver):
    work = os.path.join(args.work, "sample")
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    plant = os.path.join(work, "plant.xml")
    shutil.copy(os.path.join(args.data, "sample-plant.xml"), plant)
    proc, url = serve(args.mirt, plant, work)
    try:
        driver.get(url)
        page = Page(driver)
        page.until(lambda: page.js("return document.body.dataset.ready === '1'"), "the first paint")

        # The workbench's menus hold its headers, unavailable ones greyed.
        tools = page.until(lambda: page.js("return [...document.querySelectorAll('details.menu > summary')]"
                                           ".find(s => s.textContent === 'TOOLS')"), "the TOOLS menu")
        tools.click()
        assert page.js("return !!document.querySelector('details.menu[open] button[data-header=WexDDPReplaceParts]:not([disabled])')")
        assert page.js("return !!document.querySelector('details.menu[open] button[data-header=WexDDPModificationTable][disabled]')")

        # Renumbering from the toolbar's command list: the plant is modified, undo offered.
        page.start("TavVekRenumberActCmd")
        page.until(lambda: not driver.find_element(By.ID, "undo").get_property("disabled"), "undo to be offered")
        assert driver.find_element(By.ID, "plant").text.endswith("*"), driver.find_element(By.ID, "plant").text

        # A general assignment by clicks: the item, the activity, a relation, OK.
        page.start("WexVekGeneralAssignmentCmd")
        for path in ("Products", "Products/BodyInWhite.1"):
            page.expand(path)
        page.click_node("Products/BodyInWhite.1/Bracket.3")
        for path in ("Process", "Process/Body Shop", "Process/Body Shop/Sealing and hemming"):
            page.expand(path)
        page.click_node("Process/Body Shop/Sealing and hemming/Brackets")
        row = page.until(lambda: page.js("return document.querySelectorAll('[data-dialog=ASRDialog] table.multilist tr')[4]"),
                         "the relation list")
        before = page.generation()
        row.click()
        page.settled(before)
        before = page.generation()
        page.until(lambda: page.js("return [...document.querySelectorAll('[data-dialog=ASRDialog] button')]"
                                   ".find(b => b.textContent === 'OK' && !b.disabled)"), "OK to be sensitive").click()
        page.settled(before)
        page.until(lambda: not driver.find_elements(By.CSS_SELECTOR, "[data-dialog=ASRDialog]"), "the dialog to close")

        # The tree and the inspector show the new relation.
        page.click_node("Process/Body Shop/Sealing and hemming/Brackets")
        page.until(lambda: "process_removes_product Products/BodyInWhite.1/Bracket.3" in page.inspector(),
                   "the inspector to show the relation")
        assert "selected" in page.node("Process/Body Shop/Sealing and hemming/Brackets").get_attribute("class")

        # Undo takes it back.
        before = page.generation()
        driver.find_element(By.ID, "undo").click()
        page.settled(before)
        page.until(lambda: "process_removes_product" not in page.inspector(), "undo to take the relation back")

        # A question the command waits on: the page's modal box answers it.
        page.start("OrvVekDeleteResourceCmd")
        page.expand("Resources")
        page.click_node("Resources/Station.10")
        page.until(lambda: page.js("return document.querySelector('#modal [data-answer=no]')"), "the question").click()
        page.until(lambda: page.js("return document.getElementById('modal').hidden"), "the box to close")
        page.until(lambda: driver.find_element(By.ID, "command").text == "", "the command to end")
        page.node("Resources/Station.10")  # not deleted
        driver.save_screenshot(os.path.join(args.work, "workbench.png"))
        print("browser test: renumber, assignment by clicks, undo and a modal question passed; screenshot", os.path.join(args.work, "workbench.png"))
    finally:
        proc.terminate()
        proc.wait(timeout=20)


def large_session(args, driver):
    work = os.path.join(args.work, "large")
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    plant = os.path.join(work, "large.xml")
    subprocess.run([args.mirt, "generate", "--activities", "100000", "--products", "20000", "-o", plant], check=True,
                   stdout=subprocess.DEVNULL)
    proc, url = serve(args.mirt, plant, work)
    try:
        start = time.monotonic()
        driver.get(url)
        page = Page(driver)
        page.until(lambda: page.js("return document.body.dataset.ready === '1'"), "the first paint")
        wall = (time.monotonic() - start) * 1000
        paint = page.js("return window.firstPaintMs")
        # A notification no state waits for is answered (refused) like any other: time it.
        took = page.js("""
            const t0 = performance.now();
            return fetch('/api/action', {method: 'POST', headers: {'Content-Type': 'application/json',
                         'X-Mirt-Token': new URLSearchParams(location.search).get('token')},
                         body: JSON.stringify({action: 'select', path: document.querySelector('[data-path]').dataset.path})})
              .then(() => performance.now() - t0);""")
        print(json.dumps({"activities": 100000, "first_paint_ms": round(paint, 1), "page_load_wall_ms": round(wall, 1),
                          "action_ms": round(took, 1)}))
    finally:
        proc.terminate()
        proc.wait(timeout=20)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--mirt", required=True)
    parser.add_argument("--data", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--large", action="store_true")
    args = parser.parse_args()
    os.makedirs(args.work, exist_ok=True)
    driver = browser()
    try:
        sample_session(args, driver)
        if args.large:
            large_session(args, driver)
    finally:
        driver.quit()


if __name__ == "__main__":
    main()
