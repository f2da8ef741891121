"""A real X desktop (Xvfb) for tests in which the operator clicks or types."""

import os
import shutil
import subprocess
import time

from required_parts import require_or_skip


class VirtualDesktop:
    def __init__(self, size="1280x1024x24"):
        require_or_skip(shutil.which("Xvfb") and shutil.which("xdotool"), "needs Xvfb and xdotool")
        # Xvfb picks a free display itself and writes its number to the pipe.
        read_end, write_end = os.pipe()
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", size, "-nolisten", "tcp"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as display_number:
            number = display_number.readline().strip()
        if not number:
            self.close()
        require_or_skip(number, "Xvfb did not start")
        self.display = ":" + number
        self.env = dict(os.environ, DISPLAY=self.display)

    def xdotool(self, *arguments):
        return subprocess.run(["xdotool", *arguments], env=self.env, capture_output=True,
                              text=True).stdout.split()

    def find_window(self, title, timeout=10.0):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            found = self.xdotool("search", "--onlyvisible", "--name", title)
            if found:
                return found[-1]
            time.sleep(0.1)
        raise AssertionError(f"no visible window named {title!r}")

    def click(self, window, x, y, button=1):
        self.xdotool("mousemove", "--window", window, str(x), str(y))
        self.xdotool("click", str(button))

    def click_at(self, x, y, repeat=1):
        """Clicks on the screen; two clicks 80 ms apart make a double-click."""
        self.xdotool("mousemove", str(x), str(y))
        self.xdotool("click", "--repeat", str(repeat), "--delay", "80", "1")

    def is_visible(self, title):
        return bool(self.xdotool("search", "--onlyvisible", "--name", title))

    def screenshot(self, window, path):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        subprocess.run(["/usr/bin/import", "-window", window, path], env=self.env, check=True)

    def pixels(self, x, y, width, height):
        """The screen's colours in a rectangle, as (red, green, blue) tuples."""
        raw = subprocess.run(["/usr/bin/import", "-window", "root", "-crop",
                              f"{width}x{height}+{x}+{y}", "-depth", "8", "rgb:-"],
                             env=self.env, capture_output=True, check=True).stdout
        return [tuple(raw[at:at + 3]) for at in range(0, len(raw), 3)]

    def start_tray(self):
        """A notification area (trayer) in the top right corner; returns its panel window."""
        require_or_skip(shutil.which("trayer"), "needs trayer for a notification area")
        self.tray = subprocess.Popen(
            ["trayer", "--edge", "top", "--align", "right", "--widthtype", "pixel", "--width",
             "64", "--heighttype", "pixel", "--height", "32", "--SetDockType", "false",
             "--transparent", "false"], env=self.env, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL)
        # trayer maps its panel only after it has set up the tray, which a loaded machine (a
        # build beside the tests) can take well over the usual few seconds for.
        self.panel = self.find_window("^panel$", timeout=30.0)
        return self.panel

    def tray_icons(self, program_class):
        """The icons of a program in the notification area, with their centres on screen."""
        tree = subprocess.run(["xwininfo", "-id", self.panel, "-tree"], env=self.env,
                              capture_output=True, text=True).stdout
        centres = []
        for line in tree.splitlines():
            if f'("{program_class}"' in line:
                geometry, absolute = line.split()[-2:]  # 22x30+0+0  +1257+1
                width, height = (int(v) for v in geometry.split("+")[0].split("x"))
                x, y = (int(v) for v in absolute.lstrip("+").split("+"))
                centres.append((x + width // 2, y + height // 2))
        return centres

    def close(self):
        if getattr(self, "tray", None) and self.tray.poll() is None:
            self.tray.terminate()
            self.tray.wait(timeout=10)
        if self.server.poll() is None:
            self.server.terminate()
            self.server.wait(timeout=10)
