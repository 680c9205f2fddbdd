#!/usr/bin/env python3
"""What a screen reader is given: the real program's accessibility tree read
over its own AT-SPI bus, as a screen reader reads it.

Run inside a private session bus by gui_e2e.py, on its X display and with its
settings and sites:
    dbus-run-session -- python3 atspi_probe.py <tollivex> <page address>

Starts the accessibility bus and the program, then asserts the controls'
names, roles and states, presses buttons and tabs through their AT-SPI
action and sees the effect, reads a cell of the list with its column name,
and follows the polite announcements of the list's status bar through a run.
Prints one line per finding; exits 0 when all hold, 1 otherwise, 77 when
python3-pyatspi is missing.
"""
import os
import subprocess
import sys
import time

try:
    import pyatspi
except ImportError:
    print("skipped: python3-pyatspi is not installed")
    sys.exit(77)

SLACK = float(os.environ.get("TOLLIVEX_E2E_SLACK", "4"))

# name, role: every control and text the window shows, as it is exposed.
EXPECTED = [
    ("Tollivex", "heading"), ("video downloader", "label"),
    ("Minimise", "push button"), ("Hide to tray", "push button"), ("Close", "push button"),
    ("Pages", "page tab list"), ("Download", "page tab"), ("About", "page tab"),
    ("Help", "push button"), ("Web site", "push button"),
    ("Video page address", "label"), ("Video page address", "text"), ("Add", "push button"),
    ("Download list", "table"),
    ("Select all", "push button"), ("Remove selected", "push button"), ("Up", "push button"),
    ("Down", "push button"), ("Clear completed", "push button"),
    ("Ready", "status bar"), ("Start downloading", "push button"), ("Stop", "push button"),
    ("Monitor video addresses in the clipboard and download them", "check box"),
    ("Browse for the download folder", "push button"),
]


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_until(condition, seconds, what):
    """Objects come and go while the list is rebuilt: a condition that meets
    a vanished one is simply asked again."""
    deadline = time.monotonic() + seconds * SLACK
    last = None
    while time.monotonic() < deadline:
        try:
            value = condition()
            if value:
                return value
        except Exception as error:  # GLib.GError: the object went away meanwhile
            last = error
        time.sleep(0.1)
    raise Failure("timed out waiting for %s%s" % (what, " (last: %s)" % last if last else ""))


def nodes(root, depth=0):
    """Every accessible object under root, depth first."""
    if root is None or depth > 40:
        return
    yield root
    try:
        count = root.childCount
    except Exception:
        return
    for i in range(count):
        try:
            child = root.getChildAtIndex(i)
        except Exception:
            continue
        yield from nodes(child, depth + 1)


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name.lower() == "tollivex":
            return app
    return None


def find(app, name, role=None, showing=True):
    for node in nodes(app):
        if node.name == name and (role is None or node.getRoleName() == role):
            if not showing or node.getState().contains(pyatspi.STATE_SHOWING):
                return node
    return None


def press(node):
    action = node.queryAction()
    names = [action.getName(i).lower() for i in range(action.nActions)]
    check("press" in names, "%s offers no press action (%s)" % (node.name, names))
    check(action.doAction(names.index("press")), "the press on %s was refused" % node.name)


def probe(program, address):
    app = wait_until(application, 20, "the program on the accessibility bus")
    wait_until(lambda: find(app, "Download", "page tab") and
               find(app, "Download", "page tab").getState().contains(pyatspi.STATE_SELECTED), 15,
               "the Download page")

    for name, role in EXPECTED:
        node = find(app, name, role)
        check(node is not None, "no %s named %r" % (role, name))
    for node in nodes(app):
        check(not any(symbol in node.name for symbol in "\u25B2\u25BC\u25B6\u25A0\u25CF\u2715\u25BE\u2013"),
              "a decorative symbol in the name %r" % node.name)
    folder = [n.name for n in nodes(app) if n.name.startswith("Download folder: ")]
    check(folder and len(folder[0]) > len("Download folder: "), "the download folder is not exposed: %s" % folder)
    states = find(app, "Download", "page tab").getState()
    check(states.contains(pyatspi.STATE_SELECTABLE) and states.contains(pyatspi.STATE_SELECTED),
          "the Download tab is not a selected tab")
    check(not find(app, "About", "page tab").getState().contains(pyatspi.STATE_SELECTED), "About selected")
    print("tree: %d controls named, with roles; %s" % (len(EXPECTED), folder[0]))

    # The tabs work from a press: the About page shows its text and version.
    press(find(app, "About", "page tab"))
    about = wait_until(lambda: next((n for n in nodes(app) if n.name.startswith("Version ") and
                                     n.getState().contains(pyatspi.STATE_SHOWING)), None), 10,
                       "the About page's text")
    check(find(app, "About", "page tab").getState().contains(pyatspi.STATE_SELECTED), "About not selected")
    print("about: %r" % about.name.splitlines()[0])
    press(find(app, "Download", "page tab"))
    wait_until(lambda: find(app, "Add", "push button"), 10, "the Download page again")

    # An address typed in, then Add pressed through AT-SPI: the list reads it
    # back cell by cell with the column names.
    box = find(app, "Video page address", "text")
    extents = box.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    subprocess.run(["xdotool", "mousemove", str(extents.x + extents.width // 2),
                    str(extents.y + extents.height // 2), "click", "1"], check=True)
    subprocess.run(["xdotool", "type", "--delay", "8", address], check=True)
    press(find(app, "Add", "push button"))
    table = find(app, "Download list", "table")
    wait_until(lambda: table.queryTable().nRows == 1, 10, "the added address in the list")
    cells = [table.queryTable().getAccessibleAt(0, c).name for c in range(table.queryTable().nColumns)]
    check(cells[1] == "Video URL: " + address, "the address cell reads %r" % cells[1])
    check(cells[3] == "Download Status: Waiting", "the status cell reads %r" % cells[3])
    print("list: %s" % " | ".join(cells))

    # Start pressed through AT-SPI: the run's stages reach the status bars.
    press(find(app, "Start downloading", "push button"))
    heard = wait_until(lambda: next((n.name for n in nodes(app) if n.getRoleName() == "status bar" and
                                     n.name.endswith(": Complete")), None), 30, "the announcement of Complete")
    wait_until(lambda: find(app, "Ready", "status bar"), 10, "the state line back at Ready")
    print("announced: %r" % heard)


def main():
    if len(sys.argv) != 3:
        print(__doc__)
        return 2
    program, address = sys.argv[1], sys.argv[2]
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
    started = []
    try:
        started.append(subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"], env=env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        time.sleep(0.5)
        started.append(subprocess.Popen([program], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        probe(program, address)
    except Failure as failure:
        print("FAILED: %s" % failure)
        return 1
    finally:
        for process in reversed(started):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
    print("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
