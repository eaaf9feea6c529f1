#!/usr/bin/env python3
"""`mirt shell` on a terminal: help, a statement, Tab completion of a path,
Ctrl-C dropping a line and cancelling a waiting command without ending the
shell, quit and Ctrl-D asking about unsaved changes, and the history kept in
the configuration folder.

usage: shell_terminal.py MIRT PLANT CONFIG_DIR
"""
import os
import pty
import select
import shutil
import signal
import sys
import time

mirt, plant, config = sys.argv[1:4]
shutil.rmtree(config, ignore_errors=True)
os.makedirs(config)
# The shell saves into the plant it opened: give it a copy.
copy = os.path.join(config, "plant.xml")
shutil.copyfile(plant, copy)
plant = copy
env = dict(os.environ, MIRT_CONFIG_DIR=config, TERM="dumb")
pid, fd = pty.fork()
if pid == 0:
    # Launched as some CI runners launch it: with SIGINT blocked. Ctrl-C must still work.
    signal.pthread_sigmask(signal.SIG_BLOCK, {signal.SIGINT})
    os.execve(mirt, [mirt, "shell", plant], env)

seen = b""


def wait_for(text, timeout=30):
    """Reads the terminal until `text` appeared after what was read before."""
    global seen
    want = text.encode()
    end = time.time() + timeout
    while want not in seen:
        left = end - time.time()
        if left <= 0:
            sys.exit("timed out waiting for %r; the terminal shows:\n%s" % (text, seen.decode(errors="replace")))
        ready, _, _ = select.select([fd], [], [], left)
        if ready:
            try:
                chunk = os.read(fd, 4096)
            except OSError:
                chunk = b""
            if not chunk:
                sys.exit("the shell ended while waiting for %r:\n%s" % (text, seen.decode(errors="replace")))
            seen += chunk
    seen = seen[seen.index(want) + len(want):]


def send(keys):
    os.write(fd, keys.encode())


wait_for("mirt> ")
send("help\r")
wait_for("Statements (help STATEMENT explains one")
wait_for("mirt> ")
send("help pick\r")
wait_for("Example:")
wait_for("mirt> ")
send("print command\r")
wait_for("no command running")
wait_for("mirt> ")
# Tab completes the first segment of a path; Ctrl-C then drops the line.
send("select Prod\t")
wait_for("Products/")
send("\x03")
wait_for("^C")
wait_for("mirt> ")
send("echo still here\r")
wait_for("still here")
# While a command waits, the prompt says for what; Ctrl-C on an empty line cancels it.
send("start OrvVekPlanner WexVekGeneralAssignmentCmd\r")
wait_for("mirt (pick activity|product|assembly)> ")
send("\x03")
wait_for("command WexVekGeneralAssignmentCmd ended")
wait_for("mirt> ")
# Unsaved changes hold quit and Ctrl-D until the user says what becomes of them.
send("start OrvVekPlanner TavVekRenumberActCmd\r")
wait_for("command TavVekRenumberActCmd ended")
wait_for("mirt> ")
send("quit\r")
wait_for("has unsaved changes: save (s), discard (d) or go on working (c)? ")
send("c\r")
wait_for("mirt> ")
send("\x04")
wait_for("has unsaved changes")
send("s\r")
wait_for("saved " + plant)
_, status = os.waitpid(pid, 0)
if not os.WIFEXITED(status) or os.WEXITSTATUS(status) != 0:
    sys.exit("the shell did not end cleanly: status %d\n%s" % (status, seen.decode(errors="replace")))
history = os.path.join(config, "shell_history")
if not os.path.exists(history) or "help pick" not in open(history, errors="replace").read():
    sys.exit("the history was not kept in " + history)
if "Framing.1.2" not in open(plant, errors="replace").read() or open(plant, "rb").read() == open(sys.argv[2], "rb").read():
    sys.exit("the renumbered plant was not saved to " + plant)
print("shell on a terminal: ok")
