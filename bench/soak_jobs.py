"""The soak's jobs: rows of every kind as the demo's order-taking terminals file them, each
printed job's body between marker lines of its own, so that a printer's bytes tell how often
each job was begun and whether it reached its last line."""

import collections
import random
import re

from order_simulator import OrderSimulator
from program_rig import STORE_CODE

DRAWER_KICK = "돈통열기"
# The terminals' 돈통열기코드, three digits a byte: ESC p 0 25 250.
KICK_CODE = "027112000025250"
KICK_BYTES = bytes([27, 112, 0, 25, 250])
BEGIN = re.compile(rb"SOAK-(\d{6})\r\n")
END = re.compile(rb"SOAK-(\d{6}) END\r\n")


def printer_of(job):
    """Where a job prints: the filing terminal's own serial port, or a network printer."""
    if job["프린터포트"].upper().startswith("COM"):
        return f"{job['프린터포트']} of POS {job['POSID']}"
    return network_printer_name(job["IP주소"], job["프린터포트"])


def network_printer_name(address, port):
    return f"{address}:{port}"


def marker_counts(marker, received):
    """How often each job's BEGIN or END marker reached a printer, by job number."""
    return collections.Counter(int(number) for number in marker.findall(received))


class SoakJobs:
    """Draws the jobs of the terminals, each terminal filing its share (weights)."""

    def __init__(self, seed, terminal_weights, network_printers):
        self.random = random.Random(seed)
        self.weights = list(terminal_weights.values())
        self.simulators = [OrderSimulator(STORE_CODE, pos_id, "COM1", network_printers,
                                          seed=seed + number)
                           for number, pos_id in enumerate(terminal_weights)]
        self.printer_of_job = []
        self.kicks = collections.Counter()
        self.kinds = collections.Counter()

    def batch(self, size):
        return [self._filed(self._draw()) for _ in range(size)]

    def burst(self, size, printer):
        """`size` jobs other than drawer kicks, all for one network printer (name, address,
        port)."""
        name, address, port = printer
        jobs = []
        while len(jobs) < size:
            job = self._draw()
            if job["출력물종류"] != DRAWER_KICK:
                jobs.append(self._filed({**job, "프린터명": name, "IP주소": address,
                                         "프린터포트": port}))
        return jobs

    def _draw(self):
        return self.random.choices(self.simulators, weights=self.weights)[0].next_job()

    def _filed(self, job):
        self.kinds[job["출력물종류"]] += 1
        if job["출력물종류"] == DRAWER_KICK:
            self.kicks[printer_of(job)] += 1
        else:
            marker = f"SOAK-{len(self.printer_of_job):06}"
            job["프린트내용"] = f"{marker}\r\n{job['프린트내용']}{marker} END\r\n"
            self.printer_of_job.append(printer_of(job))
        return job
