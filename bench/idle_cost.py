"""Idle cost: CPU time and resident memory of the program while it ticks with nothing to
print, read from /proc; once without a display, once on an X desktop with a notification
area, where it shows its icon."""

import time

from bench_rig import MeasuredProgram
from desktop_rig import VirtualDesktop
from process_usage import CLOCK_TICKS, cpu_seconds, status_mb
from report import publish

SETTLE_SECONDS = 5
WINDOW_SECONDS = 60
SAMPLE_SECONDS = 1


def idle_row(name, pid):
    time.sleep(SETTLE_SECONDS)
    started, cpu_before = time.monotonic(), cpu_seconds(pid)
    resident = []
    while time.monotonic() - started < WINDOW_SECONDS:
        time.sleep(SAMPLE_SECONDS)
        resident.append(status_mb(pid, "VmRSS"))
    elapsed, cpu = time.monotonic() - started, cpu_seconds(pid) - cpu_before
    return [name, f"{elapsed:.1f}", f"{cpu:.2f}", f"{cpu * 60 / elapsed:.3f}",
            f"{resident[-1]:.1f} / {max(resident):.1f}", f"{status_mb(pid, 'VmHWM'):.1f}"]


def without_display():
    with MeasuredProgram() as run:
        return idle_row("no display (offscreen)", run.start())


def on_desktop():
    desktop = VirtualDesktop()
    try:
        desktop.start_tray()
        with MeasuredProgram() as run:
            pid = run.start(platform="xcb", extra_env={"DISPLAY": desktop.display})
            return idle_row("Xvfb, icon in trayer", pid)
    finally:
        desktop.close()


def main():
    rows = [without_display(), on_desktop()]
    publish("idle_cost", "Idle cost (goals: under 0.3 s CPU per minute, under 60 MB resident)",
            [(("display", "window s", "CPU s", "CPU s per minute", "VmRSS MB (last / largest)",
               "VmHWM MB (since start)"), rows)],
            [f"Measured from {SETTLE_SECONDS} s after the start; VmRSS sampled every "
             f"{SAMPLE_SECONDS} s; CPU time has a resolution of 1/{CLOCK_TICKS} s."])


if __name__ == "__main__":
    main()
