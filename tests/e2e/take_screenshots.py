#!/usr/bin/env python3
"""Takes the README's pictures of the real program on a private X display:
the Download page with a list in several states while a video downloads, and
the About page. Uses the same set-up as gui_e2e.py (demo site, slow site,
tray host, temporary settings store).

Usage: take_screenshots.py <tollivex> <demo_site.py> <output folder>
Writes download-page.png and about-page.png into the output folder.
"""
import os
import subprocess
import sys
import time

import gui_e2e as e2e

ABOUT_TAB = (220, 69)
STOP_BUTTON = (562, 422)


def window_shot(session, path):
    x, y = session.origin
    session.move_to(e2e.PLAIN_MOVIE)
    time.sleep(0.3)  # the last paint after the mouse left a button
    subprocess.run(["import", "-window", "root", "-crop", "639x535+%d+%d" % (x, y), "+repage", path],
                   env=session.env, check=True)


def queue(session, address):
    session.click(e2e.ADDRESS_BOX)
    session.xdo("key", "ctrl+a", "type", "--delay", 4, address)
    session.xdo("key", "Return")


def take(session, out):
    session.start_display()
    session.start_program(session.start_sites())
    main = e2e.wait_until(session.main_window, 20, "the main window")
    session.origin = (main["x"], main["y"])
    e2e.wait_until(lambda: e2e.close_to(session.pixel(e2e.ADDRESS_BOX), e2e.ADDRESS_BOX_FACE, 4), 15,
                   "the Download page")

    name, expected = e2e.demo_video(session.demo_port)
    queue(session, "http://video.google.com/videoplay?docid=demo")
    session.click(e2e.START_BUTTON)
    e2e.wait_until(lambda: e2e.file_size(os.path.join(session.downloads, name)) == len(expected), 30,
                   "the demo video")
    session.move_to(e2e.PLAIN_MOVIE)
    e2e.wait_until(lambda: session.start_button_is(e2e.ACCENT), 10, "the end of the first run")

    slow = session.slow
    # Only addresses the local sites answer: the run never leaves the loopback.
    for address in (slow.page(), "http://www.youtube.com/watch?v=demo42",
                    "http://video.google.com/videoplay?docid=demo2", "http://www.example.com/watch/123"):
        queue(session, address)
    session.xdo("key", "ctrl+a", "BackSpace")  # the box shows its hint again
    session.click(e2e.START_BUTTON)
    e2e.wait_until(lambda: slow.sent >= len(slow.video) * 2 // 5, 30, "the slow video to be under way")
    session.click(e2e.ADDRESS_BOX)  # the keyboard back in the box, as after typing
    window_shot(session, os.path.join(out, "download-page.png"))

    known = {w["id"] for w in session.windows()}
    session.click(STOP_BUTTON)
    question = e2e.wait_until(lambda: session.new_window(known), 5, "the cancel question")
    session.xdo("windowfocus", "--sync", int(question["id"], 16))
    session.xdo("key", "Return")
    session.move_to(e2e.PLAIN_MOVIE)
    e2e.wait_until(lambda: session.start_button_is(e2e.ACCENT), 10, "the stop")

    session.click(ABOUT_TAB)
    window_shot(session, os.path.join(out, "about-page.png"))
    session.tray_menu(4)
    session.app.wait(10)


def main():
    if len(sys.argv) != 4:
        print(__doc__)
        return 2
    session = e2e.Session(os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2]))
    session.downloads_name = "Downloaded Videos"
    try:
        take(session, os.path.abspath(sys.argv[3]))
    finally:
        session.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
