"""Drawer kicks made by the running program through the terminal's serial printer."""

import time
import unittest

from printer_rig import SerialPrinter
from program_rig import ProgramTestCase, add_job, pending_jobs, sql, wait_until

KICK = bytes([27, 112, 0, 25, 250])


class CashDrawer(ProgramTestCase):
    settings = {"프린터포트": "COM1", "프린터파라미터": "9600,N,8,1", "돈통열기코드": "027112000025250"}

    def setUp(self):
        super().setUp()
        self.com1 = SerialPrinter(self.folder, 1)
        self.addCleanup(self.com1.close)

    def drawer_job(self, **columns):
        add_job(출력물종류="돈통열기", 프린트내용="", **columns)

    def test_pending_requests_give_one_kick_and_all_go(self):
        for table in (1, 2, 3):
            self.drawer_job(테이블번호=table)
        self.start()
        wait_until(lambda: not pending_jobs(), what="the requests to go")
        time.sleep(1.5)
        self.assertEqual(self.com1.received(), KICK)

    def test_kicked_request_that_would_not_go_is_not_kicked_again(self):
        sql("Revoke Delete On 주방출력물 From sa;")
        self.addCleanup(sql, "Grant Delete On 주방출력물 To sa;")
        self.drawer_job(테이블번호=1)
        self.start()
        wait_until(lambda: self.com1.received() == KICK, what="the kick")
        time.sleep(2.5)
        self.drawer_job(테이블번호=2)
        wait_until(lambda: self.com1.received() == KICK * 2, what="the new request's kick")
        time.sleep(2.5)
        self.assertEqual(self.com1.received(), KICK * 2)
        self.assertEqual(len(self.folder.error_log_lines("돈통열기_PROC")), 2, "once per kick")
        sql("Grant Delete On 주방출력물 To sa;")
        wait_until(lambda: not pending_jobs(), what="the requests to go")
        time.sleep(1.5)
        self.assertEqual(self.com1.received(), KICK * 2)

    def test_requests_of_another_terminal_or_not_ready_are_left_alone(self):
        self.drawer_job(POSID="02", 테이블번호=1)
        self.drawer_job(정리완료="0", 테이블번호=2)
        self.start()
        time.sleep(2.5)
        self.assertEqual(self.com1.received(), b"")
        self.assertEqual(pending_jobs(), ["1", "2"])

    def test_terminal_without_printer_keeps_the_requests(self):
        for port in ("none", ""):
            with self.subTest(port=port):
                sql(f"Update 환경설정 Set 프린터포트 = '{port}'; Delete From 주방출력물;")
                self.drawer_job()
                self.start()
                time.sleep(2.5)
                self.assertEqual(pending_jobs(), ["1"])
                self.program.stop()
        self.assertEqual(self.com1.received(), b"")

    def test_empty_code_opens_the_port_writes_nothing_and_removes_the_request(self):
        sql("Update 환경설정 Set 돈통열기코드 = '';")
        self.drawer_job()
        self.start()
        wait_until(lambda: not pending_jobs(), what="the request to go")
        self.assertEqual(self.com1.received(), b"")

    def test_failed_kick_is_logged_and_the_requests_stay(self):
        sql("Update 환경설정 Set 돈통열기코드 = '027999';")
        self.drawer_job()
        self.start()
        wait_until(self.folder.error_log_lines, what="the error log")
        time.sleep(1.2)
        entries = self.folder.error_log_lines()
        self.assertGreaterEqual(len(entries), 2, "tried again next tick")
        self.assertTrue(entries[0].startswith("돈통열기_PROC  "), entries[0])
        self.assertEqual(pending_jobs(), ["1"])
        self.assertEqual(self.program.notices()[1:], [])


if __name__ == "__main__":
    unittest.main()
