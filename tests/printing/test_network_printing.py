"""Network kitchen printers served by the running program on the main POS."""

import time
import unittest

from printer_rig import NetworkPrinter, SerialPrinter, SilentPrinter
from program_rig import (TERMINAL_IP, ProgramTestCase, add_printer_row, insert_statement,
                         network_job, pending_jobs, sql, wait_until)

PRINTER_HOSTS = ("127.0.0.2", "127.0.0.3", "127.0.0.4")
ALIGN_LEFT = b"\x1b\x61\x30"
SIZE_NORMAL, DOUBLE_HEIGHT = b"\x1d\x21\x00", b"\x1d\x21\x01"


class NetworkPrinting(ProgramTestCase):
    settings = {"메인포스로사용": "1", "프린터포트": "COM1", "프린터파라미터": "9600,N,8,1",
                "돈통열기코드": "027112000"}

    def printers(self, hosts=PRINTER_HOSTS, **options):
        printers = []
        for host in hosts:
            add_printer_row(host)
            printer = NetworkPrinter(host, **options)
            self.addCleanup(printer.close)
            printers.append(printer)
        return printers

    def test_only_the_printer_with_jobs_prints_and_the_idle_ones_are_asked_their_state(self):
        first, second, third = self.printers()
        network_job("127.0.0.3", 출력물종류="영수증", 프린트내용="A\r\n")
        self.start()
        wait_until(lambda: not pending_jobs(), what="the network job to be printed")
        wait_until(lambda: third.connections >= 1, what="the third printer's visit")
        self.assertGreaterEqual(first.connections, 1)
        self.assertEqual(first.received(), b"")
        self.assertEqual(third.received(), b"")
        self.assertEqual(second.received(),
                         DOUBLE_HEIGHT + ALIGN_LEFT + ALIGN_LEFT + DOUBLE_HEIGHT + b"A\r\n"
                         + ALIGN_LEFT + SIZE_NORMAL + ALIGN_LEFT + SIZE_NORMAL)

    def test_unreachable_printer_is_skipped_and_the_next_prints_in_the_same_tick(self):
        add_printer_row("127.0.0.2")
        silent = SilentPrinter("127.0.0.2")
        self.addCleanup(silent.close)
        (reachable,) = self.printers(hosts=("127.0.0.3",))
        network_job("127.0.0.2", 프린트내용="NEVER\r\n")
        network_job("127.0.0.3", 프린트내용="SECOND\r\n")
        self.start()
        wait_until(lambda: b"SECOND" in reachable.received(), timeout=20,
                   what="the reachable printer to print")
        self.assertEqual(pending_jobs("IP주소"), ["127.0.0.2"])

    def test_terminal_that_is_not_the_main_pos_touches_no_socket(self):
        sql("Update 환경설정 Set 메인포스로사용 = '0';")
        (printer,) = self.printers(hosts=("127.0.0.2",))
        network_job("127.0.0.2")
        self.start()
        time.sleep(3)
        self.assertEqual(printer.connections, 0)
        self.assertEqual(len(pending_jobs()), 1)

    def test_drawer_kick_then_loopback_then_own_address_jobs_on_their_port_beside_network_jobs(self):
        com1 = SerialPrinter(self.folder, 1)
        self.addCleanup(com1.close)
        (printer,) = self.printers(hosts=("127.0.0.2",))
        sql(insert_statement("주방출력물", {"매장코드": "S001", "IP주소": "127.0.0.1", "POSID": "01",
                                            "프린터포트": "COM1", "정리완료": "1",
                                            "출력물종류": "돈통열기", "테이블번호": 9})
            + insert_statement("주방출력물", {"매장코드": "S001", "IP주소": TERMINAL_IP,
                                              "POSID": "05", "프린터포트": "COM1", "정리완료": "1",
                                              "출력물종류": "영수증", "테이블번호": 1,
                                              "프린터파라미터": "9600,N,8,1", "프린트내용": "OWN\r\n"})
            + insert_statement("주방출력물", {"매장코드": "S001", "IP주소": "127.0.0.2",
                                              "POSID": "05", "프린터포트": "9100", "정리완료": "1",
                                              "출력물종류": "영수증", "테이블번호": 0,
                                              "프린트내용": "NETWORK\r\n"})
            + insert_statement("주방출력물", {"매장코드": "S001", "IP주소": "127.0.0.1",
                                              "POSID": "01", "프린터포트": "COM1", "정리완료": "1",
                                              "출력물종류": "영수증", "테이블번호": 5,
                                              "프린터파라미터": "9600,N,8,1",
                                              "프린트내용": "LOOPBACK\r\n"}))
        self.start()
        wait_until(lambda: b"NETWORK" in printer.received() and b"OWN" in com1.received(),
                   what="the network job and the serial ones")
        serial = com1.received()
        self.assertTrue(serial.startswith(bytes([27, 112, 0])), serial[:8])
        self.assertLess(serial.index(b"LOOPBACK"), serial.index(b"OWN"))


if __name__ == "__main__":
    unittest.main()
