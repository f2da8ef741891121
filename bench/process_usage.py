"""What a running program uses, read from /proc: CPU time, memory, open file descriptors, and
a sampler that records memory and descriptors of some processes every few seconds."""

import contextlib
import os
import threading

CLOCK_TICKS = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    """utime + stime of every thread; the fields after the parenthesised command name."""
    with open(f"/proc/{pid}/stat", encoding="ascii") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS


def status_mb(pid, field):
    with open(f"/proc/{pid}/status", encoding="ascii") as status:
        for line in status:
            if line.startswith(field + ":"):
                return int(line.split()[1]) / 1024
    raise AssertionError(f"no {field} in /proc/{pid}/status")


def open_descriptors(pid):
    return len(os.listdir(f"/proc/{pid}/fd"))


class UsageSampler:
    """Resident memory (MB) and open descriptors of each process, every `every` seconds from
    `warm_up` seconds after the start until stop()."""

    def __init__(self, pids, every, warm_up):
        self.samples = {pid: [] for pid in pids}
        self._every, self._warm_up = every, warm_up
        self._stopped = threading.Event()
        self._thread = threading.Thread(target=self._sample, daemon=True)
        self._thread.start()

    def _sample(self):
        if self._stopped.wait(self._warm_up):
            return
        while True:
            for pid, samples in self.samples.items():
                # A process that ended, gone or a zombie without memory, has nothing to show.
                with contextlib.suppress(OSError, AssertionError):
                    samples.append((status_mb(pid, "VmRSS"), open_descriptors(pid)))
            if self._stopped.wait(self._every):
                return

    def stop(self):
        self._stopped.set()
        self._thread.join()
