#!/usr/bin/env python3
"""Drives `ipcore-host configure` in a real X window (Xvfb) with xdotool, as a person would.

Usage: test_window.py IPCORE_HOST SOURCE_DIR WORK_DIR [SCREENSHOT_DIR]
Widgets are found from the program's own offscreen snapshots: two snapshots that differ only in
one field's value differ on screen only where that field is. Exit 77 (skipped) without Xvfb,
xdotool or ImageMagick.
"""
import json
import os
import shutil
import subprocess
import sys
import time

TOOLS = ("Xvfb", "xdotool", "import", "convert")
missing = [t for t in TOOLS if not shutil.which(t)]
if missing:
    print("missing: " + ", ".join(missing), file=sys.stderr)
    sys.exit(77)

PROGRAM, SOURCE, WORK = (os.path.abspath(p) for p in sys.argv[1:4])
SHOTS = os.path.abspath(sys.argv[4]) if len(sys.argv) > 4 else os.path.join(WORK, "shots")
DEVICE = "TQ2H4-FF676"
DIALOG_TITLE = "IP Core Generator - JESD204B Link Core"
DEADLINE = time.monotonic() + 55
failures = []


def check(condition, message):
    print(("ok   " if condition else "FAIL ") + message)
    if not condition:
        failures.append(message)


def host(*args, display=None, wait=True):
    env = dict(os.environ, QT_QPA_PLATFORM="xcb" if display else "offscreen",
               **({"DISPLAY": display} if display else {}))
    proc = subprocess.Popen([PROGRAM, *args], cwd=WORK, env=env, stdout=subprocess.PIPE,
                            stderr=subprocess.PIPE, text=True)
    if wait:
        out, err = proc.communicate(timeout=30)
        if proc.returncode != 0:
            sys.exit(f"{' '.join(args)} failed: {err}")
        return out
    return proc


def x(*args, display):
    result = subprocess.run(["xdotool", *args], env=dict(os.environ, DISPLAY=display),
                            capture_output=True, text=True, timeout=15)
    return result.stdout.strip()


def geometry(wid, display):
    lines = x("getwindowgeometry", "--shell", wid, display=display).splitlines()
    return {key: int(value) for key, value in (line.split("=") for line in lines)}


def diff_box(a, b):
    """Bounding box (x, y, w, h) of the pixels in which two images differ."""
    out = subprocess.run(["convert", a, b, "-compose", "difference", "-composite",
                          "-format", "%@", "info:"], capture_output=True, text=True,
                         check=True).stdout
    size, left, top = out.replace("+", " ").split()
    w, h = size.split("x")
    return int(left), int(top), int(w), int(h)


def snapshot(name, params, display):
    path = os.path.join(WORK, name + ".json")
    with open(path, "w", encoding="utf-8") as f:
        json.dump(params, f)
    out = os.path.join(WORK, name)
    shutil.rmtree(out, ignore_errors=True)
    # Rendered on the X display: offscreen fonts lay the forms out differently.
    host("configure", "--edit", path, "--snapshot", out, display=display)
    tabs = json.load(open(os.path.join(out, "dialog.json")))["tabs"]
    return [os.path.join(out, tab["image"]) for tab in tabs]


def strip_range(a, b, left, top, width):
    """Columns of the tab bar row in which two tab images differ."""
    crops = []
    for i, image in enumerate((a, b)):
        crops.append(os.path.join(WORK, f"strip{i}.png"))
        subprocess.run(["convert", image, "-crop", f"{width}x6+{left}+{top + 8}", "+repage",
                        crops[-1]], check=True)
    s_left, _, s_width, _ = diff_box(*crops)
    return left + s_left, left + s_left + s_width


def locate_widgets(display):
    """Positions inside the dialog: the PHY tab, the line rate and reference clock fields."""
    base_path = os.path.join(WORK, "base.json")
    host("configure", "--device", DEVICE, "--name", "link0", "--batch", "--answer", "yes",
         "--output", base_path)
    base = json.load(open(base_path))
    plain = snapshot("plain", base, display)
    # The same values in longer texts: only the fields' own pixels change.
    rate = snapshot("rate", dict(base, Line_Rate=base["Line_Rate"] + "000"), display)
    ref = snapshot("ref", dict(base, Reference_CLK_Frequency=base["Reference_CLK_Frequency"] + "000"),
                   display)
    # Switching from tab 1 to tab 2 redraws both tabs, from tab 2 to tab 3 tabs 2 and 3;
    # tab 2 is where the two changes overlap.
    left, top, width, _ = diff_box(plain[0], plain[2])
    first = strip_range(plain[0], plain[1], left, top, width)
    second = strip_range(plain[1], plain[2], left, top, width)
    phy_tab = ((max(first[0], second[0]) + min(first[1], second[1])) // 2, top + 12)
    inside = lambda b: (b[0] + 4, b[1] + b[3] // 2)
    return phy_tab, inside(diff_box(plain[1], rate[1])), inside(diff_box(plain[1], ref[1]))


class Session:
    def __init__(self, display, output):
        self.display = display
        self.proc = host("configure", "--device", DEVICE, "--name", "link0", "--output", output,
                         display=display, wait=False)
        found = subprocess.run(["timeout", str(max(1, int(DEADLINE - time.monotonic()))),
                                "xdotool", "search", "--sync", "--onlyvisible", "--name",
                                "^" + DIALOG_TITLE + "$"], env=dict(os.environ, DISPLAY=display),
                               capture_output=True, text=True).stdout.split()
        if not found:
            sys.exit(f"no window {DIALOG_TITLE!r} appeared")
        g = geometry(found[0], display)
        self.origin, self.size = (g["X"], g["Y"]), (g["WIDTH"], g["HEIGHT"])

    def click(self, point):
        px, py = self.origin[0] + point[0], self.origin[1] + point[1]
        x("mousemove", str(px), str(py), "click", "1", display=self.display)
        time.sleep(0.2)

    def type_into(self, point, text):
        self.click(point)
        x("key", "ctrl+a", display=self.display)
        x("type", "--delay", "20", text, display=self.display)

    def message_box(self):
        """Waits for a message box; returns (window, title)."""
        while time.monotonic() < DEADLINE:
            ids = x("search", "--onlyvisible", "--name", ".", display=self.display).split()
            for wid in ids:
                title = x("getwindowname", wid, display=self.display)
                if title and title != DIALOG_TITLE and title != "ipcore-host":
                    return wid, title
            time.sleep(0.1)
        sys.exit("no message box appeared")

    def answer(self, wid, key="Return"):
        g = geometry(wid, self.display)
        # Without a window manager the keyboard follows the pointer.
        x("mousemove", str(g["X"] + g["WIDTH"] // 2), str(g["Y"] + g["HEIGHT"] // 2),
          display=self.display)
        time.sleep(0.1)
        x("key", key, display=self.display)
        for _ in range(50):
            if wid not in x("search", "--onlyvisible", "--name", ".",
                            display=self.display).split():
                return
            time.sleep(0.1)

    def screenshot(self, name):
        os.makedirs(SHOTS, exist_ok=True)
        (ox, oy), (w, h) = self.origin, self.size
        subprocess.run(["import", "-display", self.display, "-window", "root", "-crop",
                        f"{w}x{h}+{ox}+{oy}", "+repage", os.path.join(SHOTS, name)], check=True)

    def verdict_box(self):
        """Answers questions with Yes until another box shows; returns it."""
        wid, title = self.message_box()
        while title == "Question":
            self.answer(wid, "alt+y")
            wid, title = self.message_box()
        return wid, title

    def finish(self):
        try:
            return self.proc.wait(timeout=max(1, DEADLINE - time.monotonic()))
        except subprocess.TimeoutExpired:
            self.proc.kill()
            return None


def run_case(display, places, rate, ref, expect_success):
    phy_tab, rate_field, ref_field = places
    output = os.path.join(WORK, f"out-{rate}.json")
    if os.path.exists(output):
        os.remove(output)
    session = Session(display, output)
    session.click(phy_tab)
    session.type_into(rate_field, rate)
    session.type_into(ref_field, ref)
    # From the reference clock field the focus chain runs over the PLL choice to Calculate.
    x("key", "Tab", "Tab", "space", display=display)
    wid, title = session.verdict_box()
    session.screenshot("phy-succeeded.png" if expect_success else "phy-failed.png")
    check(title == ("Succeed" if expect_success else "Failure"),
          f"Calculate at {rate} Gbps from {ref} MHz shows {title!r}")
    session.answer(wid)
    # Return in a line edit presses the dialog's default button, OK.
    session.click(rate_field)
    x("key", "Return", display=display)
    if expect_success:
        code = session.finish()
        check(code == 0, f"accepted dialog exits 0 (got {code})")
        stored = json.load(open(output)) if os.path.exists(output) else {}
        got = [stored.get(k) for k in ("Line_Rate", "Reference_CLK_Frequency", "target_device",
                                       "module")]
        check(got == [rate, ref, DEVICE, "link0"], f"stored set holds what was typed: {got}")
    else:
        wid, title = session.verdict_box()
        check(title == "Failure", f"OK is refused with a {title!r} box")
        session.answer(wid)
        check(session.proc.poll() is None, "the dialog stays open after the refusal")
        session.click(rate_field)
        x("key", "Escape", display=display)
        code = session.finish()
        check(code == 1, f"cancelled dialog exits 1 (got {code})")
        check(not os.path.exists(output), "nothing is written for a refused core")


def main():
    os.makedirs(WORK, exist_ok=True)
    started = time.monotonic()
    read_fd, write_fd = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x1024x24",
                             "-nolisten", "tcp"], pass_fds=(write_fd,),
                            stderr=subprocess.DEVNULL)
    os.close(write_fd)
    with os.fdopen(read_fd) as f:
        display = ":" + f.readline().strip()
    try:
        places = locate_widgets(display)
        print(f"PHY tab at {places[0]}, line rate at {places[1]}, reference clock at {places[2]}")
        run_case(display, places, "6.144", "153.6", True)
        run_case(display, places, "12.5", "51", False)
    finally:
        xvfb.terminate()
        xvfb.wait(timeout=10)
    print(f"{time.monotonic() - started:.1f} s")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
