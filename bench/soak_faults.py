"""The soak's faults, each injected once while jobs are filed: the database crashes and starts
again, a network printer resets in the middle of a job, another stops reading for a while."""

import contextlib
import subprocess
import time

from program_rig import restart_database, wait_until
from statement_log import as_superuser

PAUSE_SECONDS = 10
RESTART, RESET, PAUSE = "database restart", "network printer reset", "network printer pause"


@contextlib.contextmanager
def commits_surviving_a_crash():
    """The rig's cluster reports a commit before writing it to its log (synchronous_commit =
    off), so a crash would lose rows already committed, as a real server does not. Sessions of
    sa opened inside the block wait for the log."""
    as_superuser("Alter Role sa Set synchronous_commit = on")
    try:
        yield
    finally:
        as_superuser("Alter Role sa Reset synchronous_commit")


def bytes_held_back(printer):
    """Bytes the sockets of this network namespace sent towards the printer that it has not
    taken in yet (their send queues)."""
    sockets = subprocess.run(["ss", "-tnH", "dst", f"{printer.host}:{printer.port}"],
                             capture_output=True, text=True, check=True).stdout
    return sum(int(line.split()[2]) for line in sockets.splitlines())


class Faults:
    """Injects each fault when filing reaches its share of the jobs. The database restart
    comes within the warm-up: the first reconnection touches library pages once (about 2 MB),
    which is start-up cost, not growth. The printer faults lie in the middle half of the
    filing, so its first and last quarter see the same steady load. file_burst files jobs
    enough for the paused printer that one visit overflows what it takes in unread."""

    def __init__(self, jobs, reset_printer, paused_printer, file_burst):
        self.reset_printer, self.paused_printer = reset_printer, paused_printer
        self._file_burst = file_burst
        self._due = [(int(jobs * 0.04), RESTART, self._restart_database),
                     (int(jobs * 0.50), RESET, self.reset_printer.drop_at_next_chunk),
                     (int(jobs * 0.62), PAUSE, self._pause_printer)]
        self._started = time.monotonic()
        self._injected = []
        self.restart_seconds = self.paused_at = self.paused_seconds = self.held_back = None

    def step(self, filed):
        """Injects what is due once `filed` jobs are in the table; ends the pause in time."""
        while self._due and filed >= self._due[0][0]:
            _, name, inject = self._due.pop(0)
            self._injected.append((name, filed, time.monotonic() - self._started))
            inject()
        if self.paused_at and time.monotonic() - self.paused_at >= PAUSE_SECONDS:
            self.end_pause()

    def end_pause(self):
        if self.paused_at and self.paused_seconds is None:
            self.held_back = bytes_held_back(self.paused_printer)
            self.paused_printer.resume()
            self.paused_seconds = time.monotonic() - self.paused_at

    def rows(self):
        """Fault, jobs filed before it, seconds into the filing, what happened."""
        return [[name, filed, f"{at:.1f}", self._outcome(name)]
                for name, filed, at in self._injected]

    def _outcome(self, name):
        if name == RESTART:
            return f"pg_ctl restart -m immediate, {self.restart_seconds:.1f} s until it answers"
        if name == RESET:
            dropped = self.reset_printer.drop_after_bytes is None
            return (f"{self.reset_printer.host} dropped a connection at a chunk" if dropped
                    else f"{self.reset_printer.host} received no chunk to drop at")
        return (f"{self.paused_printer.host} read nothing for {self.paused_seconds:.1f} s; "
                f"{self.held_back} bytes held back at the program when it read again")

    def _pause_printer(self):
        """Stops the printer's reading as the program connects to print the burst, so that the
        pause meets that visit from its start."""
        self._file_burst()
        connections = self.paused_printer.connections
        wait_until(lambda: self.paused_printer.connections > connections, timeout=30,
                   what="the program to visit the printer")
        self.paused_printer.pause()
        self.paused_at = time.monotonic()

    def _restart_database(self):
        started = time.monotonic()
        restart_database()
        self.restart_seconds = time.monotonic() - started
