"""Printers failing while jobs wait: a network printer that stops reading or resets the
connection, a serial printer that stalls or is unplugged. Every job is printed in full at least
once, a row goes only once its job was delivered, each fault repeats at most one job, and the
program runs on."""

import functools
import os
import time
import unittest

from marked_jobs import MarkedJobs
from printer_rig import NetworkPrinter, SerialPrinter
from program_rig import (JOB_PROCEDURE, ProgramTestCase, add_job, add_printer_row, network_job,
                         pending_jobs, wait_until)

PRINTER_HOST = "127.0.0.2"
TCP_SEND_BUFFERS = "/proc/sys/net/ipv4/tcp_wmem"


def write_setting(path, value):
    with open(path, "w", encoding="ascii") as setting:
        setting.write(value)


class PrinterFaults(ProgramTestCase):
    settings = {"메인포스로사용": "1"}

    def use_small_send_buffers(self):
        """A few KB in flight at most, so a printer that stops reading stalls the program's
        sending at once. The setting belongs to the test's own network namespace."""
        with open(TCP_SEND_BUFFERS, encoding="ascii") as setting:
            original = setting.read()
        write_setting(TCP_SEND_BUFFERS, "4096 4096 4096")
        self.addCleanup(write_setting, TCP_SEND_BUFFERS, original)

    def network_printer(self, **options):
        add_printer_row(PRINTER_HOST)
        printer = NetworkPrinter(PRINTER_HOST, **options)
        self.addCleanup(printer.close)
        return printer

    def serial_printer(self):
        printer = SerialPrinter(self.folder, 1)
        self.addCleanup(printer.close)
        return printer

    def wait_until_delivered(self, jobs, printer, timeout=60):
        wait_until(lambda: jobs.printed_in_full(printer.received()) and not pending_jobs(),
                   timeout=timeout, what="every job printed and its row deleted")

    def job_log_lines(self, port, since=0):
        return [line for line in self.folder.error_log_lines(JOB_PROCEDURE)[since:]
                if port in line]

    def test_network_printer_that_stops_reading_or_resets_gets_every_job(self):
        self.use_small_send_buffers()
        printer = self.network_printer(receive_buffer=4096)
        file_for_printer = functools.partial(network_job, PRINTER_HOST)
        paused = MarkedJobs("PAUSED", 3, body_bytes=30000)
        paused.file(add=file_for_printer, 출력물종류="영수증")
        printer.pause()
        self.start()
        wait_until(lambda: printer.connections >= 1, what="the program's first visit")
        # Longer than the 3 s the program gives a printer that takes nothing, shorter than
        # that plus the time to its next visit: one fault.
        time.sleep(6)
        self.assertEqual(len(pending_jobs()), 3, "no row goes before its job was taken")
        printer.resume()
        self.wait_until_delivered(paused, printer)
        paused.assert_delivered(self, printer.received(), faults=1)

        reset = MarkedJobs("RESET", 4, body_bytes=4000)
        printer.drop_after_bytes = 7000
        reset.file(add=file_for_printer, 출력물종류="영수증")
        self.wait_until_delivered(reset, printer)
        reset.assert_delivered(self, printer.received(), faults=1)
        self.assertIsNone(printer.drop_after_bytes, "the printer reset a connection")
        self.assertTrue(self.program.is_running())

    def test_serial_printer_that_stalls_or_is_unplugged_gets_every_job(self):
        com1 = self.serial_printer()
        # More than the pseudo-terminals' kernel buffers hold, in few long lines.
        stalled = MarkedJobs("STALLED", 10, body_bytes=10000)
        stalled.file(출력물종류="영수증")
        com1.pause()
        self.start()
        wait_until(lambda: self.job_log_lines("COM1"), timeout=30,
                   what="the stalled job in the error log")
        self.assertTrue(pending_jobs(), "the stalled job stays")
        com1.resume()
        self.wait_until_delivered(stalled, com1)
        stalled.assert_delivered(self, com1.received(), faults=1)

        logged = len(self.folder.error_log_lines(JOB_PROCEDURE))
        com1.remove_port()
        os.symlink(os.path.join(self.folder.path, "gone"),
                   os.path.join(self.folder.path, "ports", "COM2"))
        unplugged = MarkedJobs("UNPLUGGED", 3)
        unplugged.file(출력물종류="영수증")
        add_job(테이블번호=9, 프린터포트="COM2", 프린트내용="DANGLING\r\n")
        wait_until(lambda: len(self.job_log_lines("COM1", since=logged)) > 3, timeout=20,
                   what="the missing port tried again on later ticks")
        self.assertEqual(pending_jobs(), ["1", "2", "3", "9"])
        com1.restore_port()
        wait_until(lambda: unplugged.printed_in_full(com1.received())
                   and pending_jobs() == ["9"], what="the jobs on the restored port")
        wait_until(lambda: self.job_log_lines("COM2", since=logged),
                   what="the dangling port in the error log")
        unplugged.assert_delivered(self, com1.received())
        self.assertNotIn(b"DANGLING", com1.received())
        self.assertEqual(self.program.notices()[1:], [], "no message window for a port")


if __name__ == "__main__":
    unittest.main()
