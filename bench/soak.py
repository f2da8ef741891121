"""Soak: about 2,000 jobs of every kind for two terminals, filed in batches over several
minutes, while the database restarts, a network printer resets mid-job and another stops
reading for a while, each once. Checks that every job reaches its printer, that repeats stay
within what the faults explain, that the job table drains, and that the programs' memory and
open descriptors stay flat. Exits non-zero when a check fails."""

import collections
import random
import signal
import sys
import time
import types

from bench_rig import MeasuredProgram, file_at_once
from printer_rig import SerialPrinter
from process_usage import UsageSampler
from program_rig import (STORE_CODE, ProgramFolder, RunningProgram, add_settings_row,
                         pending_jobs, wait_until)
from soak_faults import Faults, commits_surviving_a_crash
from soak_jobs import KICK_CODE, SoakJobs, network_printer_name
from soak_report import Observed, publish_soak
from terminal_network import TerminalNetwork

JOBS = 2000
SEED = 20261209
BATCH_SIZES = (2, 6)
BATCH_GAP_SECONDS = (0.5, 1.0)
MAIN_POS, SECOND_POS = "01", "02"
# A terminal files half its jobs for its own COM1, half for the network printers, which the
# main POS prints as well; so the second terminal files more.
TERMINAL_WEIGHTS = {MAIN_POS: 2, SECOND_POS: 3}
RESET_PRINTER, PAUSED_PRINTER = ("주방 2", "127.0.0.2", "9100"), ("주방 3", "127.0.0.3", "9100")
# The printers' receive buffer; with the kernel's 2 KB or so before the printer, far less than a
# burst: a pause soon backs up the program.
RECEIVE_BUFFER = 512
# Jobs filed for the paused printer as it pauses, some 4 KB in one visit.
PAUSE_BURST = 12
TERMINAL_SETTINGS = {"프린터포트": "COM1", "프린터파라미터": "9600,N,8,1", "돈통열기코드": KICK_CODE}
SAMPLE_SECONDS = 2
WARM_UP_SECONDS = 30
SETTLE_SECONDS = 120
LAST_BYTES_SECONDS = 3
METHOD = [f"Jobs filed in batches of {BATCH_SIZES[0]}–{BATCH_SIZES[1]} rows every "
          f"{BATCH_GAP_SECONDS[0]}–{BATCH_GAP_SECONDS[1]} s (seed {SEED}); the table may take "
          f"up to {SETTLE_SECONDS} s after the last batch to drain.",
          f"Memory (VmRSS) and open descriptors sampled every {SAMPLE_SECONDS} s from "
          f"{WARM_UP_SECONDS} s into the filing to its end."]


def second_terminal(run):
    """Terminal 02 of the same store: its settings row, program folder, printer on COM1 and a
    network of its own. Returns the printer and, for RunningProgram, the folder with a starter
    that runs the program in that network in the program's place."""
    add_settings_row(pos_id=SECOND_POS, **TERMINAL_SETTINGS)
    folder = ProgramFolder(lines=["[ZelnorPOS]", f"매장코드={STORE_CODE}", f"POSID={SECOND_POS}",
                                  "SERVER=127.0.0.1", "DB=MS-SQL"])
    run.callback(folder.remove)
    printer = SerialPrinter(folder, 1)
    run.callback(printer.close)
    network = TerminalNetwork()
    run.callback(network.close)
    return printer, types.SimpleNamespace(program=network.starter(folder))


def open_printers(run):
    """Every printer of the store, named as soak_jobs.printer_of names a job's printer."""
    second_printer, second_start = second_terminal(run)
    printers = {f"COM1 of POS {MAIN_POS}": run.serial_printer(1),
                f"COM1 of POS {SECOND_POS}": second_printer}
    for _, host, port in (RESET_PRINTER, PAUSED_PRINTER):
        printers[network_printer_name(host, port)] = run.network_printer(
            host, int(port), receive_buffer=RECEIVE_BUFFER)
    return second_start, printers


def listener(printers, printer):
    """The rig's listener standing in for a network printer (name, address, port)."""
    return printers[network_printer_name(*printer[1:])]


def start_programs(run, second_start):
    run.start()
    second = RunningProgram(second_start)
    run.callback(second.stop)
    second.wait_for_line("출력을 시작합니다")
    return {f"POS {MAIN_POS} (main)": run.program, f"POS {SECOND_POS}": second}


def file_jobs(jobs, faults):
    """Files the jobs batch by batch, injecting the faults on the way; returns the seconds."""
    gaps = random.Random(SEED)
    started = time.monotonic()
    while len(jobs.printer_of_job) < JOBS:
        size = min(gaps.randint(*BATCH_SIZES), JOBS - len(jobs.printer_of_job))
        file_at_once(jobs.batch(size))
        faults.step(len(jobs.printer_of_job))
        time.sleep(gaps.uniform(*BATCH_GAP_SECONDS))
    faults.end_pause()
    return time.monotonic() - started


def drain_seconds():
    """Seconds until the job table is empty after the last batch, or None if it stays full."""
    started = time.monotonic()
    try:
        wait_until(lambda: not pending_jobs(), timeout=SETTLE_SECONDS, what="an empty table")
    except AssertionError:
        return None
    return time.monotonic() - started


def soak(run):
    second_start, printers = open_printers(run)
    programs = start_programs(run, second_start)
    jobs = SoakJobs(SEED, TERMINAL_WEIGHTS, [RESET_PRINTER, PAUSED_PRINTER])
    faults = Faults(JOBS, listener(printers, RESET_PRINTER), listener(printers, PAUSED_PRINTER),
                    lambda: file_at_once(jobs.burst(PAUSE_BURST, PAUSED_PRINTER)))
    sampler = UsageSampler([program.process.pid for program in programs.values()],
                           SAMPLE_SECONDS, WARM_UP_SECONDS)
    run.callback(sampler.stop)
    filing_seconds = file_jobs(jobs, faults)
    sampler.stop()
    drained = drain_seconds()
    time.sleep(LAST_BYTES_SECONDS)
    return Observed(
        jobs=jobs, faults=faults.rows(), filing_seconds=filing_seconds, drained_seconds=drained,
        rows_left=len(pending_jobs()),
        received={name: printer.received() for name, printer in printers.items()},
        samples={name: sampler.samples[program.process.pid]
                 for name, program in programs.items()},
        running={name: program.is_running() for name, program in programs.items()},
        notices={name: collections.Counter(filter(None, program.notices()))
                 for name, program in programs.items()})


def main():
    # A plain SIGTERM would skip the with block that stops the programs and printers.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    started = time.monotonic()
    with commits_surviving_a_crash():
        with MeasuredProgram(메인포스로사용="1", **TERMINAL_SETTINGS) as run:
            observed = soak(run)
    sys.exit(0 if publish_soak(observed, time.monotonic() - started, METHOD) else 1)


if __name__ == "__main__":
    main()
