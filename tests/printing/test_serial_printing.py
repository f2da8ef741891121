"""Kitchen jobs printed by the running program on serial printers (pseudo-terminals)."""

import os
import subprocess
import tempfile
import time
import unittest

from printer_rig import SerialPrinter
from required_parts import require_or_skip
from program_rig import (TERMINAL_IP, ProgramFolder, ProgramTestCase, add_job,
                         connections_so_far, pending_jobs, sql, wait_until)

ALIGN_LEFT, ALIGN_CENTER = b"\x1b\x61\x30", b"\x1b\x61\x31"
SIZE_NORMAL, DOUBLE_SIZE = b"\x1d\x21\x00", b"\x1d\x21\x11"
CUT = b"\x1b\x69"


class SerialPrinting(ProgramTestCase):
    def setUp(self):
        super().setUp()
        self.com1 = self.printer(1)

    def printer(self, number):
        printer = SerialPrinter(self.folder, number)
        self.addCleanup(printer.close)
        return printer

    def test_plain_job_reaches_the_printer_byte_for_byte_and_leaves_the_table(self):
        sql("Update 환경설정 Set 하단마진 = 1, 주문서자동컷팅 = '1';")
        add_job(출력물종류="영수증", 프린트내용="A\r\n나\r\n끝")
        self.start()
        wait_until(lambda: not pending_jobs(), what="the job to be deleted")
        self.assertEqual(self.com1.received(),
                         ALIGN_CENTER + DOUBLE_SIZE
                         + SIZE_NORMAL + ALIGN_LEFT + b"A\r\n"
                         + SIZE_NORMAL + ALIGN_LEFT + "나".encode("cp949") + b"\r\n"
                         + ALIGN_LEFT + SIZE_NORMAL + b"\r\n" + CUT)

    def test_loopback_then_own_address_jobs_in_table_order_and_nothing_else(self):
        sql("Insert Into 주방출력물 (매장코드, IP주소, POSID, 프린터포트, 정리완료, 출력물종류, "
            "테이블번호, 프린터파라미터, 프린트내용) Values "
            f"('S001', '{TERMINAL_IP}', '09', 'COM1', '1', '주문서', 1, '9600,N,8,1', 'OWN-1\r\n'),"
            "('S001', '127.0.0.1', '01', 'COM1', '1', '주문서', 5, '9600,N,8,1', 'LOOP-5\r\n'),"
            "('S001', '127.0.0.1', '01', 'COM1', '1', '주문서', 2, '9600,N,8,1', 'LOOP-2\r\n'),"
            "('S001', '127.0.0.1', '02', 'COM1', '1', '주문서', 0, '9600,N,8,1', 'OTHER-POS\r\n'),"
            "('S001', '127.0.0.1', '01', 'COM1', '0', '주문서', 0, '9600,N,8,1', 'NOT-DONE\r\n'),"
            "('S001', '127.0.0.1', '01', '00000', '1', '주문서', 0, '9600,N,8,1', 'NO-PRINTER\r\n');")
        self.start()
        self.com1.wait_for(b"OWN-1")
        out = self.com1.received()
        self.assertLess(out.index(b"LOOP-2"), out.index(b"LOOP-5"))
        self.assertLess(out.index(b"LOOP-5"), out.index(b"OWN-1"))
        time.sleep(1.5)
        for left_alone in (b"OTHER-POS", b"NOT-DONE", b"NO-PRINTER"):
            self.assertNotIn(left_alone, self.com1.received())
        self.assertEqual(sorted(pending_jobs("프린트내용")),
                         ["NO-PRINTER", "NOT-DONE", "OTHER-POS"])

    def test_lower_case_com2_prints_on_port_2(self):
        com2 = self.printer(2)
        add_job(프린터포트="com2", 프린트내용="SECOND PORT\r\n")
        self.start()
        com2.wait_for(b"SECOND PORT")
        wait_until(lambda: not pending_jobs(), what="the job to be deleted")
        self.assertEqual(self.com1.received(), b"")

    def test_network_job_reached_through_the_cycle_is_logged_and_deleted_unprinted(self):
        add_job(프린터포트="9100", 테이블번호=4, 프린트내용="A\r\nB\r\nC")
        self.start()
        wait_until(lambda: not pending_jobs(), what="the job to be deleted")
        self.assertEqual(self.com1.received(), b"")
        line = self.folder.log_text("주방출력_LOG", "-주방출력물.LOG")
        self.assertRegex(line, r"^2026-12-09 10:00:00 테이블번호 : 4 프린터명 : 주방1 127\.0\.0\.1 "
                               r"주문내용 : A B C  \d{4}-\d\d-\d\d  \d\d:\d\d:\d\d\r\n$")

    def test_port_number_that_is_not_a_number_is_shown_and_reconnects(self):
        add_job(프린터포트="COMx")
        before = connections_so_far()
        self.start()
        self.program.wait_for_line("형식이 일치하지 않습니다")
        wait_until(lambda: connections_so_far() >= before + 2, what="a reconnection")
        self.assertEqual(pending_jobs(), ["1"])
        self.assertEqual(self.com1.received(), b"")

    def test_read_only_program_folder_prints_on_without_logs(self):
        require_or_skip(os.geteuid() == 0, "mounting a read-only folder needs root")
        path = tempfile.mkdtemp(prefix="kps-read-only-")
        self.addCleanup(os.rmdir, path)
        subprocess.run(["mount", "-t", "tmpfs", "tmpfs", path], check=True)
        self.addCleanup(subprocess.run, ["umount", path], check=True)
        folder = ProgramFolder(path=path)
        printer = SerialPrinter(folder, 1)
        self.addCleanup(printer.close)
        subprocess.run(["mount", "-o", "remount,ro", path], check=True)
        add_job(테이블번호=1, 프린트내용="READ ONLY\r\n")
        add_job(테이블번호=2, 프린터포트="COM99")
        self.start(folder)
        printer.wait_for(b"READ ONLY")
        wait_until(lambda: pending_jobs() == ["2"], what="the printed job to go")
        time.sleep(1.5)
        self.assertFalse(os.path.exists(os.path.join(path, "ERROR_LOG")))
        self.assertFalse(os.path.exists(os.path.join(path, "주방출력_LOG")))
        self.assertEqual(len(self.program.notices()), 1)


if __name__ == "__main__":
    unittest.main()
