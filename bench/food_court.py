"""Food court: the main POS prints its own serial printer on COM1 and N network kitchen printers
(N = 1, 4, 8, 16), a quarter of them switched off, while one-line tickets are filed one at a
time. Per size: the time from a ticket's insert to its first byte on paper, for the network
printers' tickets and the serial printer's apart."""

import math
import random
import time

from bench_rig import MeasuredProgram
from paper_times import first_byte_times, percentile
from program_rig import add_job, add_printer_row, network_job
from report import publish

SIZES = (1, 4, 8, 16)
# Measured tickets per size: every other one for the serial printer, the others each for a live
# network printer drawn at random, so that both kinds have as many tickets at every size.
TICKETS = 48
GAP_SECONDS = (0.5, 2.5)
SEED = 20261211
# Every eighth ticket, from the first on, is for a switched-off printer: from the start the
# table holds jobs that no printer takes.
OFF_EVERY = 8
# A size ends once a ticket has waited this long; the tickets still waiting count as longer.
GIVE_UP_SECONDS = 60
CHECK_SECONDS = 0.1
# What the printers still hold when the program stops is on paper well within this.
LAST_BYTES_SECONDS = 0.5
GOAL_P95_SECONDS, GOAL_GROWTH = 1.5, 1.2
SETTINGS = {"메인포스로사용": "1", "프린터포트": "COM1", "프린터파라미터": "9600,N,8,1"}
LIVE_HOST = "127.0.0.{}"
# On the rig's veth kps0 (10.77.0.5/24), whose peer has no address: nothing answers ARP, so a
# connection fails only once the kernel gives up resolving the address.
SILENT_HOST = "10.77.0.{}"
# On loopback with no listener: the connection is refused at once.
REFUSING_HOST = "127.0.0.{}"
OFF_HOST_BASE = 199


class Ticket:
    def __init__(self, marker, printer, inserted):
        self.marker = marker.encode()
        self.printer = printer
        self.inserted = inserted


def printer_rows(size):
    """(host, kind) of each printer row in order: every fourth printer is switched off,
    alternately silent and refusing, silent first."""
    rows = []
    for position in range(1, size + 1):
        if position % 4:
            rows.append((LIVE_HOST.format(1 + position), "live"))
        elif position // 4 % 2:
            rows.append((SILENT_HOST.format(OFF_HOST_BASE + position), "silent"))
        else:
            rows.append((REFUSING_HOST.format(OFF_HOST_BASE + position), "refusing"))
    return rows


class FoodCourt:
    """One size: its printers and the tickets filed for them."""

    def __init__(self, run, size):
        self.size = size
        self.serial = run.serial_printer(1)
        self.network, self.off_hosts, self.silent = [], [], 0
        for host, kind in printer_rows(size):
            if kind == "live":
                self.network.append(run.network_printer(host))
                continue
            add_printer_row(host)
            self.off_hosts.append(host)
            self.silent += kind == "silent"
        self.tickets, self.off_tickets, self.waited_out = [], 0, False

    def file(self, number, targets):
        marker = f"FOOD COURT {self.size:02}-{number:03}\r\n"
        if self.off_hosts and number % OFF_EVERY == 0:
            host = self.off_hosts[self.off_tickets % len(self.off_hosts)]
            network_job(host, 테이블번호=number, 프린트내용=marker)
            self.off_tickets += 1
            return
        if len(self.tickets) % 2 == 0:
            printer = self.serial
            add_job(테이블번호=number, 프린트내용=marker)
        else:
            printer = targets.choice(self.network)
            network_job(printer.host, 테이블번호=number, 프린트내용=marker)
        self.tickets.append(Ticket(marker, printer, time.monotonic()))

    def waiting(self):
        """The measured tickets not on paper yet."""
        papers = {}
        for ticket in self.tickets:
            if ticket.printer not in papers:
                papers[ticket.printer] = ticket.printer.received()
        return [ticket for ticket in self.tickets if ticket.marker not in papers[ticket.printer]]

    def wait_until(self, moment):
        """Watches the tickets until moment; False as soon as one has waited too long."""
        while True:
            now = time.monotonic()
            if any(now - ticket.inserted > GIVE_UP_SECONDS for ticket in self.waiting()):
                self.waited_out = True
                return False
            if now >= moment:
                return True
            time.sleep(min(CHECK_SECONDS, moment - now))

    def file_tickets(self):
        gaps, targets = random.Random(SEED), random.Random(SEED + self.size)
        number = 0
        while len(self.tickets) < TICKETS and self.wait_until(
                time.monotonic() + gaps.uniform(*GAP_SECONDS)):
            self.file(number, targets)
            number += 1

    def drain(self):
        """Until every ticket is on paper or has waited too long."""
        while waiting := self.waiting():
            if time.monotonic() - max(ticket.inserted for ticket in waiting) > GIVE_UP_SECONDS:
                self.waited_out = True
                return
            time.sleep(CHECK_SECONDS)

    def latencies(self, printers):
        """Insert to first byte for the tickets of these printers; a ticket that never reached
        the paper counts as endless."""
        values = []
        for printer in printers:
            mine = [ticket for ticket in self.tickets if ticket.printer is printer]
            received = printer.received()
            printed = [ticket for ticket in mine if ticket.marker in received]
            firsts = first_byte_times(printer, [ticket.marker for ticket in printed])
            values += [first - ticket.inserted for first, ticket in zip(firsts, printed)]
            values += [math.inf] * (len(mine) - len(printed))
        return values

    def connections_per_printer(self):
        return sum(printer.connections for printer in self.network) / len(self.network)


def run_size(size):
    with MeasuredProgram(**SETTINGS) as run:
        court = FoodCourt(run, size)
        run.start()
        started = time.monotonic()
        court.file_tickets()
        filing = time.monotonic() - started
        court.drain()
        connections = court.connections_per_printer()
        time.sleep(LAST_BYTES_SECONDS)
        run.program.stop()
        return {"court": court, "filing": filing, "connections": connections,
                "network": court.latencies(court.network),
                "serial": court.latencies([court.serial])}


def seconds(value):
    return f"> {GIVE_UP_SECONDS}" if value > GIVE_UP_SECONDS else f"{value:.3f}"


def figures(values):
    if not values:
        return ["–"] * 3
    return [seconds(percentile(values, 50)), seconds(percentile(values, 95)),
            seconds(max(values))]


def size_row(result):
    court = result["court"]
    serial = len(result["serial"])
    return [court.size, f"{len(court.off_hosts) - court.silent} / {court.silent}",
            f"{len(court.tickets) - serial} / {serial} / {court.off_tickets}",
            *figures(result["network"]), *figures(result["serial"]),
            f"{result['connections']:.1f}",
            f"{result['filing']:.0f}" + (" (stopped: a ticket waited "
                                         f"{GIVE_UP_SECONDS} s)" if court.waited_out else "")]


def goal_row(kind, results):
    p95s = [percentile(result[kind], 95) for result in results]
    growth = p95s[-1] / p95s[0] if math.isfinite(p95s[0]) else math.nan
    under = all(p95 <= GOAL_P95_SECONDS for p95 in p95s)
    return [kind, "yes" if under else "no", f"{growth:.2f}" if math.isfinite(growth) else "–",
            "yes" if under and growth <= GOAL_GROWTH else "no"]


def hosts_of(kind):
    return [host for host, row_kind in printer_rows(SIZES[-1]) if row_kind == kind]


def main():
    started = time.monotonic()
    results = [run_size(size) for size in SIZES]
    minutes = (time.monotonic() - started) / 60
    publish("food_court",
            f"Food court, insert to first byte (goal: p95 ≤ {GOAL_P95_SECONDS} s at every size, "
            f"p95 at {SIZES[-1]} printers ≤ {GOAL_GROWTH} × p95 at {SIZES[0]})",
            [(("network printers", "off: refusing / silent", "tickets network / serial / off",
               "network p50 s", "p95 s", "max s", "serial p50 s", "p95 s", "max s",
               "connections per live printer", "filing s"),
              [size_row(result) for result in results]),
             (("tickets", f"p95 ≤ {GOAL_P95_SECONDS} s at every size",
               f"p95 at {SIZES[-1]} ÷ p95 at {SIZES[0]}", "goal met"),
              [goal_row("network", results), goal_row("serial", results)])],
            ["The main POS (메인포스로사용 = '1') with its serial printer on COM1 and N network "
             "printers; every fourth printer row is switched off, alternately one whose address "
             f"answers no ARP (silent: {', '.join(hosts_of('silent'))}) and one on loopback "
             f"with no listener (refusing: {', '.join(hosts_of('refusing'))}); at 1 printer "
             "none is off.",
             f"{TICKETS} measured one-line tickets per size, each after a gap of "
             f"{GAP_SECONDS[0]}–{GAP_SECONDS[1]} s (seed {SEED}): every other one for the serial "
             "printer, the others for a live network printer drawn at random. The first and "
             f"every {OFF_EVERY}th ticket is for a switched-off printer instead; it stays in "
             "the table and is not measured. The insert time is taken when psql returns.",
             f"A size stops filing once a ticket has waited {GIVE_UP_SECONDS} s without "
             f"reaching the paper; what still waits {GIVE_UP_SECONDS} s after its insert counts "
             f"as \"> {GIVE_UP_SECONDS}\". The whole run took {minutes:.1f} min."])


if __name__ == "__main__":
    main()
