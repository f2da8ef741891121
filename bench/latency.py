"""Latency: from a job's insert to its first byte at the serial printer, for one-line jobs
filed at random moments."""

import random
import time

from bench_rig import MeasuredProgram
from program_rig import add_job, pending_jobs, wait_until
from report import publish

JOBS = 100
GAP_SECONDS = (0.5, 2.5)
SEED = 20261209
# The longest silence inside a one-line job is its line's pauses (10 + 15 ms); between two jobs
# the program pauses at least 300 ms.
QUIET_BETWEEN_JOBS = 0.2


def job_starts(arrivals):
    """(time, offset) of each burst's first chunk: one burst per printed job."""
    starts, previous_at, previous_end = [], None, 0
    for at, end in arrivals:
        if previous_at is None or at - previous_at > QUIET_BETWEEN_JOBS:
            starts.append((at, previous_end))
        previous_at, previous_end = at, end
    return starts


def first_byte_times(printer, markers):
    """For each marker, when the first byte of the job holding it reached the printer."""
    received = printer.received()
    starts = job_starts(printer.arrivals())
    if len(starts) != len(markers):
        raise AssertionError(f"{len(starts)} bursts of bytes for {len(markers)} jobs")
    times = []
    for marker in markers:
        offset = received.index(marker)
        times.append(max((start for start in starts if start[1] <= offset),
                         key=lambda start: start[1])[0])
    return times


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


def percentile(values, share):
    """Nearest rank."""
    ordered = sorted(values)
    return ordered[max(0, -(-len(ordered) * share // 100) - 1)]


def main():
    with MeasuredProgram() as run:
        printer = run.serial_printer(1)
        run.start()
        inserted = file_jobs(printer)
        markers = [f"LATENCY {number:03}\r\n".encode() for number in range(JOBS)]
        latencies = [first - insert
                     for first, insert in zip(first_byte_times(printer, markers), inserted)]
    publish("latency", "Latency, insert to first byte (goal: p95 under 1.1 s)",
            [(("jobs", "gaps s", "p50 s", "p95 s", "least s", "largest s"),
              [[JOBS, f"{GAP_SECONDS[0]}–{GAP_SECONDS[1]}", f"{percentile(latencies, 50):.3f}",
                f"{percentile(latencies, 95):.3f}", f"{min(latencies):.3f}",
                f"{max(latencies):.3f}"]])],
            [f"Gaps drawn with seed {SEED}; the insert time is taken when psql returns."])


if __name__ == "__main__":
    main()
