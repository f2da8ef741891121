"""Printers failing while jobs wait: out of paper and switched off to change the roll, a reset
mid-job, an impact printer slow to take a long ticket or holding its window closed, a printer
that cannot be asked or cannot confirm printing, a port unplugged. Every job is printed in full at least once, a row goes only once its job is on paper,
each fault repeats at most one job, and the program runs on."""

import functools
import os
import time
import unittest

from marked_jobs import MarkedJobs
from printer_rig import NetworkPrinter, SerialPrinter
from program_rig import (JOB_PROCEDURE, ProgramTestCase, add_job, add_printer_row, network_job,
                         pending_jobs, wait_until)

PRINTER_HOST = "127.0.0.2"
HELD_HOST = "127.0.0.3"
PAPER_OUT = "용지가 없습니다"


class PrinterFaults(ProgramTestCase):
    settings = {"메인포스로사용": "1"}

    def network_printer(self, host=PRINTER_HOST, **options):
        add_printer_row(host)
        printer = NetworkPrinter(host, **options)
        self.addCleanup(printer.close)
        return printer

    def serial_printer(self, **options):
        printer = SerialPrinter(self.folder, 1, **options)
        self.addCleanup(printer.close)
        return printer

    def wait_until_delivered(self, jobs, printer, timeout=60):
        wait_until(lambda: jobs.printed_in_full(printer.received()) and not pending_jobs(),
                   timeout=timeout, what="every job printed and its row deleted")

    def log_lines(self, text):
        return [line for line in self.folder.error_log_lines(JOB_PROCEDURE) if text in line]

    def change_the_roll(self, printer, jobs, file_jobs):
        """The paper runs out in the middle of the first ticket: the printer holds the rest of
        it and takes no answerable request, so its row stays, and so do those of the tickets
        behind it. Switching the printer off to change the roll loses what it held."""
        file_jobs()
        wait_until(printer.received, what="the first ticket begun")
        printer.paper_out()
        wait_until(lambda: self.log_lines(PAPER_OUT), timeout=30, what="the paper end logged")
        time.sleep(2)
        self.assertEqual(len(pending_jobs()), len(jobs.names), "no row goes while paper is out")
        printer.power_off()
        printer.paper_in()
        printer.power_on()
        self.wait_until_delivered(jobs, printer)
        jobs.assert_delivered(self, printer.received(), faults=1)
        self.assertEqual(len(self.log_lines(PAPER_OUT)), 1, "one error-log line per episode")

    def test_network_printer_out_of_paper_loses_nothing(self):
        printer = self.network_printer(impact=True)
        file_for_printer = functools.partial(network_job, PRINTER_HOST)
        small = MarkedJobs("SMALL", 3)
        self.start()
        self.change_the_roll(printer, small,
                             lambda: small.file(add=file_for_printer, 출력물종류="영수증"))
        self.assertTrue(self.program.is_running())

    def test_serial_printer_out_of_paper_or_unplugged_loses_nothing(self):
        com1 = self.serial_printer(impact=True, xon_xoff=True)
        small = MarkedJobs("SMALL", 3)
        self.start()
        self.change_the_roll(com1, small, lambda: small.file(출력물종류="영수증"))

        com1.remove_port()
        os.symlink(os.path.join(self.folder.path, "gone"),
                   os.path.join(self.folder.path, "ports", "COM2"))
        unplugged = MarkedJobs("UNPLUGGED", 3)
        unplugged.file(출력물종류="영수증")
        add_job(테이블번호=9, 프린터포트="COM2", 프린트내용="DANGLING\r\n")
        wait_until(lambda: self.log_lines("COM1:") and self.log_lines("COM2:"), timeout=20,
                   what="both missing ports in the error log")
        time.sleep(2)
        self.assertEqual(pending_jobs(), ["1", "2", "3", "9"])
        com1.restore_port()
        wait_until(lambda: unplugged.printed_in_full(com1.received())
                   and pending_jobs() == ["9"], what="the jobs on the restored port")
        unplugged.assert_delivered(self, com1.received())
        self.assertNotIn(b"DANGLING", com1.received())
        self.assertEqual(self.program.notices()[1:], ["COM1: 용지가 없습니다"],
                         "the printer's stop shown once, a missing port only logged")

    def test_impact_printer_prints_a_long_ticket_exactly_once(self):
        printer = self.network_printer(impact=True)
        long_ticket = MarkedJobs("IMPACT", 1, body_bytes=10000)
        long_ticket.file(add=functools.partial(network_job, PRINTER_HOST), 출력물종류="영수증")
        self.start()
        self.wait_until_delivered(long_ticket, printer, timeout=120)
        long_ticket.assert_delivered(self, printer.received())
        self.assertEqual(self.folder.error_log_lines(JOB_PROCEDURE), [])

    def test_network_job_given_up_or_cut_by_the_printer_is_printed_once_more(self):
        """More than the printer's buffer and window hold: the program gives the job up while
        most of it still waits in its own send queue. That part must never arrive. Then the
        printer itself resets a connection in the middle of a job."""
        printer = self.network_printer()
        file_for_printer = functools.partial(network_job, PRINTER_HOST)
        big = MarkedJobs("BIG", 1, body_bytes=60000)
        big.file(add=file_for_printer, 출력물종류="영수증")
        self.start()
        wait_until(printer.received, what="the job begun")
        printer.paper_out()
        wait_until(lambda: self.log_lines(PRINTER_HOST), timeout=40, what="the job given up")
        printer.paper_in()
        self.wait_until_delivered(big, printer)
        time.sleep(2)
        self.assertEqual(printer.received().count(b"BIG-01 END"), 1,
                         "the given-up connection delivered the rest of its copy")
        reset = MarkedJobs("RESET", 4, body_bytes=4000)
        printer.drop_after_bytes = 7000
        reset.file(add=file_for_printer, 출력물종류="영수증")
        self.wait_until_delivered(reset, printer)
        reset.assert_delivered(self, printer.received(), faults=1)
        self.assertIsNone(printer.drop_after_bytes, "the printer reset a connection")
        self.assertTrue(self.program.is_running())

    def test_printer_that_cannot_be_asked_prints_by_what_the_transport_tells(self):
        com1 = self.serial_printer(answers=False)
        jobs = MarkedJobs("MUTE", 3)
        self.start()
        for number, name in enumerate(jobs.names, start=1):
            add_job(테이블번호=number, 출력물종류="영수증", 프린트내용=jobs.body(name))
            wait_until(lambda: not pending_jobs(), what="the job printed and its row gone")
        wait_until(lambda: jobs.printed_in_full(com1.received()), what="the jobs on paper")
        self.assertEqual(len(self.log_lines("확인할 수 없습니다")), 1)

    def test_printers_that_cannot_confirm_printing_print_by_what_the_transport_tells(self):
        """One answers DLE EOT but never GS r; a jammed impact printer that cannot be asked takes
        more only every 25 s. Each job goes once the printer acknowledged it, and only once."""
        unconfirming = self.network_printer(printed_answers=False)
        held = self.network_printer(HELD_HOST, impact=True, answers=False, window_hold_seconds=25)
        jobs = MarkedJobs("UNCONFIRMED", 3)
        jobs.file(add=functools.partial(network_job, PRINTER_HOST), 출력물종류="영수증")
        long_ticket = MarkedJobs("HELD", 1, body_bytes=10000)
        long_ticket.file(add=functools.partial(network_job, HELD_HOST), 출력물종류="영수증")
        self.start()
        self.wait_until_delivered(long_ticket, held, timeout=150)
        self.wait_until_delivered(jobs, unconfirming)
        jobs.assert_delivered(self, unconfirming.received())
        long_ticket.assert_delivered(self, held.received())
        self.assertEqual(len(self.log_lines("확인할 수 없습니다")), 2, "once per printer")
        self.assertTrue(self.program.is_running())


if __name__ == "__main__":
    unittest.main()
