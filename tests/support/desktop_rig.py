"""A real X desktop (Xvfb) for tests in which the operator clicks or types."""

import os
import shutil
import subprocess
import time
import unittest


class VirtualDesktop:
    def __init__(self, display=":77", size="1280x1024x24"):
        if shutil.which("Xvfb") is None or shutil.which("xdotool") is None:
            raise unittest.SkipTest("needs Xvfb and xdotool")
        self.display = display
        self.server = subprocess.Popen(["Xvfb", display, "-screen", "0", size, "-nolisten", "tcp"],
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.env = dict(os.environ, DISPLAY=display)
        deadline = time.monotonic() + 10
        while subprocess.run(["xdotool", "getdisplaygeometry"], env=self.env,
                             capture_output=True).returncode != 0:
            if time.monotonic() > deadline or self.server.poll() is not None:
                self.close()
                raise unittest.SkipTest("Xvfb did not start")
            time.sleep(0.1)

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

    def close(self):
        if self.server.poll() is None:
            self.server.terminate()
            self.server.wait(timeout=10)
