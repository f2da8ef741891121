"""Each printer on its own: a network printer that stalls or is switched off holds up none of
the others, and prints its own tickets once it is back. Every ticket reaches the paper at least
once, a row goes only once its ticket is on paper, each fault repeats at most one ticket."""

import functools
import subprocess
import unittest

from marked_jobs import MarkedJobs
from printer_rig import NetworkPrinter
from program_rig import (JOB_PROCEDURE, ProgramTestCase, add_printer_row, network_job,
                         pending_jobs, wait_until)

LIVE_HOST = "127.0.0.3"
# Inside the rig's namespace nobody answers ARP for this address on the terminal's network.
SWITCHED_OFF_HOST = "10.77.0.50"


class PrinterLanes(ProgramTestCase):
    settings = {"메인포스로사용": "1"}

    def network_printer(self, host, **options):
        add_printer_row(host)
        printer = NetworkPrinter(host, **options)
        self.addCleanup(printer.close)
        return printer

    def pending_for(self, host):
        return [row for row in pending_jobs("IP주소") if row.strip() == host]

    def test_a_stalled_printer_holds_up_no_other(self):
        stalled = self.network_printer("127.0.0.2", receive_buffer=4096, answers=False)
        live = self.network_printer(LIVE_HOST)
        big = MarkedJobs("STALLED", 1, body_bytes=20000)
        big.file(add=functools.partial(network_job, "127.0.0.2"), 출력물종류="영수증")
        self.start()
        wait_until(stalled.received, what="the stalled printer's ticket begun")
        stalled.paper_out()
        quick = MarkedJobs("LIVE", 3)
        quick.file(add=functools.partial(network_job, LIVE_HOST), 출력물종류="영수증")
        wait_until(lambda: quick.printed_in_full(live.received())
                   and not self.pending_for(LIVE_HOST), what="the live printer's tickets")
        self.assertFalse(big.printed_in_full(stalled.received()))
        self.assertEqual(len(self.pending_for("127.0.0.2")), 1, "the stalled ticket's row stays")
        quick.assert_delivered(self, live.received())
        stalled.paper_in()
        wait_until(lambda: big.printed_in_full(stalled.received()) and not pending_jobs(),
                   timeout=90, what="the stalled ticket printed once the paper is back")
        big.assert_delivered(self, stalled.received(), faults=1)

    def test_a_printer_switched_off_prints_its_tickets_once_it_is_back(self):
        add_printer_row(SWITCHED_OFF_HOST)
        live = self.network_printer(LIVE_HOST)
        waiting = MarkedJobs("BACK", 2)
        waiting.file(add=functools.partial(network_job, SWITCHED_OFF_HOST), 출력물종류="영수증")
        self.start()
        for round_number in range(3):
            quick = MarkedJobs(f"LIVE{round_number}", 2)
            quick.file(add=functools.partial(network_job, LIVE_HOST), 출력물종류="영수증")
            wait_until(lambda: quick.printed_in_full(live.received())
                       and not self.pending_for(LIVE_HOST), what="the live printer's tickets")
            quick.assert_delivered(self, live.received())
        self.assertEqual(len(self.pending_for(SWITCHED_OFF_HOST)), 2)
        wait_until(self.unreachable_lines, timeout=20, what="the unreachable printer logged")
        subprocess.run(["ip", "addr", "add", f"{SWITCHED_OFF_HOST}/32", "dev", "lo"], check=True)
        self.addCleanup(subprocess.run,
                        ["ip", "addr", "del", f"{SWITCHED_OFF_HOST}/32", "dev", "lo"])
        back = NetworkPrinter(SWITCHED_OFF_HOST)
        self.addCleanup(back.close)
        wait_until(lambda: waiting.printed_in_full(back.received()) and not pending_jobs(),
                   timeout=60, what="the tickets of the printer switched back on")
        waiting.assert_delivered(self, back.received())
        self.assertEqual(len(self.unreachable_lines()), 1,
                         "one error-log line for the episode, with its start")

    def unreachable_lines(self):
        return [line for line in self.folder.error_log_lines(JOB_PROCEDURE)
                if SWITCHED_OFF_HOST in line and "부터)" in line]


if __name__ == "__main__":
    unittest.main()
