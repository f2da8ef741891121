"""Drain overhead: K jobs of n body lines filed at once, timed from the first to the last byte
at the printer and divided by the least time the program's own pauses allow for that span."""

import time

from bench_rig import MeasuredProgram, body_of, file_at_once, order
from program_rig import pending_jobs, wait_until
from report import publish

NETWORK_HOST = "127.0.0.2"
# Pauses of the serial job run: 100 ms before the port is closed, 100 ms after, 100 ms after
# the job's deletion; each body line waits the receipt delay plus 15 ms.
SERIAL_PAUSES_BETWEEN_JOBS_MS = 300
SERIAL_LINE_EXTRA_MS = 15
# The network job run waits the receipt delay per body line and 100 ms after each job.
NETWORK_PAUSE_AFTER_JOB_MS = 100
ROWS = (("serial", 20, 10, 10), ("serial", 20, 10, 50),
        ("network", 20, 10, 10), ("network", 20, 10, 50))


def serial_minimum_ms(jobs, lines, delay):
    between_jobs = (jobs - 1) * SERIAL_PAUSES_BETWEEN_JOBS_MS
    return jobs * lines * (delay + SERIAL_LINE_EXTRA_MS) + between_jobs


def network_minimum_ms(jobs, lines, delay):
    return jobs * lines * delay + (jobs - 1) * NETWORK_PAUSE_AFTER_JOB_MS


def drain(run, printer, jobs, minimum_ms):
    """Seconds from the first to the last byte once every job has left the table."""
    run.start()
    file_at_once(jobs)
    wait_until(lambda: not pending_jobs(), timeout=3 * minimum_ms / 1000 + 30,
               what="every job to be printed")
    time.sleep(0.5)
    received = printer.received()
    for job in jobs:
        first_line = job["프린트내용"].split("\r\n")[0].encode()
        if received.count(first_line) != 1:
            raise AssertionError(f"{first_line!r} not printed exactly once")
    return printer.last_byte_at() - printer.first_byte_at()


def serial_span(jobs, lines, delay):
    with MeasuredProgram(영수증딜레이타임=delay) as run:
        printer = run.serial_printer(1)
        batch = [order(body_of(f"JOB-{i:03}", lines), 테이블번호=i) for i in range(jobs)]
        return drain(run, printer, batch, serial_minimum_ms(jobs, lines, delay))


def network_span(jobs, lines, delay):
    with MeasuredProgram(영수증딜레이타임=delay, 메인포스로사용="1") as run:
        printer = run.network_printer(NETWORK_HOST)
        batch = [order(body_of(f"JOB-{i:03}", lines), 테이블번호=i, IP주소=NETWORK_HOST,
                       프린터포트="9100", POSID="07") for i in range(jobs)]
        return drain(run, printer, batch, network_minimum_ms(jobs, lines, delay))


def measure(kind, jobs, lines, delay):
    span, minimum_ms = ((serial_span, serial_minimum_ms) if kind == "serial"
                        else (network_span, network_minimum_ms))
    seconds = span(jobs, lines, delay)
    minimum = minimum_ms(jobs, lines, delay) / 1000
    return [kind, jobs, lines, delay, f"{seconds:.3f}", f"{minimum:.3f}",
            f"{seconds / minimum:.3f}"]


def main():
    rows = [measure(*row) for row in ROWS]
    publish("drain_overhead", "Drain overhead (goal: ratio at most 1.05)",
            [(("printer", "K jobs", "n lines", "d ms", "first→last byte s", "least s", "ratio"),
              rows)],
            ["Least serial span: K·n·(d + 15 ms) + (K − 1)·300 ms; the last job's 300 ms come "
             "after its last byte. Least network span: K·n·d + (K − 1)·100 ms; the last job's "
             "100 ms and the 1000 ms pause after the printer come after its last byte."])


if __name__ == "__main__":
    main()
