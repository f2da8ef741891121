"""Latency: from a job's insert to its first byte on the serial printer's paper, for one-line
jobs filed at random moments; and from its last byte on paper to its row's deletion, which waits
for the printer's own answer that it printed the job."""

import random
import time

from bench_rig import MeasuredProgram
from paper_times import first_byte_times, percentile
from program_rig import add_job, pending_jobs, wait_until
from report import publish
from statement_log import log_end, logging_statements_of_sa, program_backend, statements_since

JOBS = 100
GAP_SECONDS = (0.5, 2.5)
SEED = 20261209
# The longest silence inside a one-line job is its line's pauses (10 + 15 ms); between two jobs
# the program pauses at least 300 ms.
QUIET_BETWEEN_JOBS = 0.2


def job_ends(arrivals):
    """Time of each burst's last chunk, in the order of the jobs."""
    ends = []
    for (at, _), later in zip(arrivals, arrivals[1:] + [None]):
        if later is None or later[0] - at > QUIET_BETWEEN_JOBS:
            ends.append(at)
    return ends


def deletion_times(logged):
    """Server times of the job rows' deletions; the drawer step's removal runs every tick."""
    return [at.timestamp() for at, statement in logged
            if statement.startswith("Delete From 주방출력물") and "돈통열기" not in statement]


def file_jobs(printer):
    gaps = random.Random(SEED)
    inserted = []
    for number in range(JOBS):
        time.sleep(gaps.uniform(*GAP_SECONDS))
        add_job(테이블번호=number, 프린트내용=f"LATENCY {number:03}\r\n")
        inserted.append(time.monotonic())
    wait_until(lambda: not pending_jobs(), what="the last job to be printed")
    printer.wait_for(f"LATENCY {JOBS - 1:03}\r\n".encode())
    time.sleep(0.5)
    return inserted


def main():
    wall_minus_monotonic = time.time() - time.monotonic()
    with logging_statements_of_sa(), MeasuredProgram() as run:
        printer = run.serial_printer(1)
        run.start()
        backend, offset = program_backend(), log_end()
        inserted = file_jobs(printer)
        markers = [f"LATENCY {number:03}\r\n".encode() for number in range(JOBS)]
        latencies = [first - insert
                     for first, insert in zip(first_byte_times(printer, markers), inserted)]
        deleted = deletion_times(statements_since(offset, backend))
        confirmations = [deletion - (end + wall_minus_monotonic)
                         for end, deletion in zip(job_ends(printer.arrivals()), deleted)]
    if len(deleted) != JOBS:
        raise AssertionError(f"{len(deleted)} deletions logged for {JOBS} jobs")
    publish("latency", "Latency, insert to first byte (goal: p95 under 1.1 s)",
            [(("jobs", "gaps s", "p50 s", "p95 s", "least s", "largest s"),
              [[JOBS, f"{GAP_SECONDS[0]}–{GAP_SECONDS[1]}", f"{percentile(latencies, 50):.3f}",
                f"{percentile(latencies, 95):.3f}", f"{min(latencies):.3f}",
                f"{max(latencies):.3f}"]]),
             (("jobs", "last byte → deletion p50 ms", "p95 ms", "largest ms"),
              [[JOBS, f"{1000 * percentile(confirmations, 50):.1f}",
                f"{1000 * percentile(confirmations, 95):.1f}",
                f"{1000 * max(confirmations):.1f}"]])],
            [f"Gaps drawn with seed {SEED}; the insert time is taken when psql returns. The last "
             "byte is when the paper file was seen to grow (every 5 ms); the deletion is the "
             "server's log time of the row's Delete."])


if __name__ == "__main__":
    main()
