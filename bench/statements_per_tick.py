"""Statements per tick, as the database server logs them for the program's connection: over
idle ticks, and over the ticks that print a batch of jobs, with the guest count off and on."""

import collections
import re
import time

from bench_rig import MeasuredProgram, file_at_once, order
from program_rig import pending_jobs, wait_until
from report import publish
from statement_log import log_end, logging_statements_of_sa, program_backend, statements_since

IDLE_SECONDS = 20
JOBS = 10
IDLE_STATEMENTS_PER_TICK = 5
# Every cycle opens with the drawer-kick query; it marks where one tick ends and the next begins.
TICK_MARK = "출력물종류 = '돈통열기' Order by"


class Window:
    """The statements of whole ticks: from the first tick mark up to the last one."""

    def __init__(self, name, logged, jobs):
        marks = [at for at, (_, statement) in enumerate(logged) if TICK_MARK in statement]
        self.name, self.jobs, self.ticks = name, jobs, len(marks) - 1
        self.statements = [statement for _, statement in logged[marks[0]:marks[-1]]]
        starts = [logged[at][0] for at in marks]
        self.tick_seconds = [(later - earlier).total_seconds()
                             for earlier, later in zip(starts, starts[1:])]

    def summary(self):
        beyond_idle = len(self.statements) - IDLE_STATEMENTS_PER_TICK * self.ticks
        mean_tick = sum(self.tick_seconds) / self.ticks
        return [self.name, self.ticks, self.jobs, len(self.statements),
                f"{len(self.statements) / self.ticks:.2f}", beyond_idle,
                self.per_job(beyond_idle), f"{mean_tick:.3f} / {max(self.tick_seconds):.3f}"]

    def per_job(self, count):
        return f"{count / self.jobs:.2f}" if self.jobs else "–"


def kind_of(statement):
    """The statement with plan names and compared numbers blanked, its middle left out."""
    text = re.sub(r"\s+", " ", re.sub(r"0x[0-9a-f]+|(?<== )\d+|(?<== ')\d+(?=')", "#", statement)).strip()
    return text if len(text) <= 100 else text[:66] + " … " + text[-31:]


def kinds_table(windows):
    counted = [collections.Counter(map(kind_of, window.statements)) for window in windows]
    kinds = list(dict.fromkeys(kind for counter in counted for kind in counter))
    headers = ["statement"] + [f"{window.name}: per tick / per job" for window in windows]
    rows = [[f"`{kind}`"] + [f"{counter[kind] / window.ticks:.2f} / {window.per_job(counter[kind])}"
                             for counter, window in zip(counted, windows)]
            for kind in kinds]
    return headers, rows


def idle_window(pid):
    start = log_end()
    time.sleep(IDLE_SECONDS)
    return Window("idle", statements_since(start, pid), 0)


def jobs_window(name, pid):
    start = log_end()
    file_at_once([order(f"GUEST COUNT {i}\r\n", 테이블번호=i) for i in range(JOBS)])
    wait_until(lambda: not pending_jobs(), timeout=60, what="every job to be printed")
    time.sleep(2.5)
    return Window(name, statements_since(start, pid), JOBS)


def main():
    with logging_statements_of_sa():
        with MeasuredProgram() as run:
            run.start()
            pid = program_backend()
            time.sleep(2)
            windows = [idle_window(pid), jobs_window("jobs, guest count off", pid)]
        with MeasuredProgram(주문서에객수표시="1") as run:
            run.start()
            windows.append(jobs_window("jobs, guest count on", program_backend()))
    publish("statements_per_tick",
            "Statements per tick (goal: 5 per idle tick, at most 2 more per printed job)",
            [(("run", "ticks", "jobs", "statements", "per tick", "beyond 5 per tick",
               "beyond, per job", "s per tick (mean / longest)"),
              [window.summary() for window in windows]),
             kinds_table(windows)],
            ["Counted from the server log (log_statement = 'all' for sa), the program's "
             "connection only, over whole ticks; a tick begins with the drawer-kick query, "
             "and its length is taken from the server's timestamps of those queries."])


if __name__ == "__main__":
    main()
