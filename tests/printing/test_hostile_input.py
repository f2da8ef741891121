"""Values typed by strangers (delivery apps, web forms) and broken rows, through every statement
of the running program: a store code and POS ID holding a quote, NULLs, text where numbers
belong, huge bodies, characters code page 949 lacks. Each bad row gets the failure a bad value
gets and stays; the program runs on and every other job is printed."""

import time
import unittest

from printer_rig import NetworkPrinter, SerialPrinter
from program_rig import (ProgramTestCase, RunningProgram, add_job, add_printer_row,
                         add_settings_row, insert_statement, pending_jobs, reset_tables, sql,
                         wait_until)

STORE, POS = "S'01", "0'1"
PRINTER_HOST = "127.0.0.2"
DRAWER_KICK = bytes([27, 112, 0, 25, 250])
# Columns the order-taking terminals may well keep as text in their own databases.
NUMBER_COLUMNS = ("테이블번호", "주문번호", "미결금액")


def as_text_columns():
    sql("".join(f"Alter Table 주방출력물 Alter Column {column} Type text;"
                for column in NUMBER_COLUMNS))


def as_number_columns():
    sql("Delete From 주방출력물;" + "".join(
        f"Alter Table 주방출력물 Alter Column {column} Type integer Using {column}::integer;"
        for column in NUMBER_COLUMNS))


def job(**columns):
    add_job(**{"매장코드": STORE, "POSID": POS, **columns})


class HostileInput(ProgramTestCase):
    settings = {"메인포스로사용": "1", "주문서에객수표시": "1", "포스타입": "후불형",
                "프린터포트": "COM1", "프린터파라미터": "9600,N,8,1",
                "돈통열기코드": "027112000025250"}

    def setUp(self):
        super().setUp()
        reset_tables()
        add_settings_row(store_code=STORE, pos_id=POS, **self.settings)
        self.folder.write_config(["[ZelnorPOS]", f"매장코드={STORE}", f"POSID={POS}",
                                  "SERVER=127.0.0.1", "DB=MS-SQL"])
        as_text_columns()
        self.addCleanup(as_number_columns)

    def printers(self):
        com1 = SerialPrinter(self.folder, 1)
        self.addCleanup(com1.close)
        add_printer_row(PRINTER_HOST)
        sql(f"Update 주방프린터 Set 매장코드 = '{STORE.replace(chr(39), chr(39) * 2)}';")
        network = NetworkPrinter(PRINTER_HOST)
        self.addCleanup(network.close)
        return com1, network

    def test_bad_rows_stay_and_everything_else_prints_once(self):
        com1, network = self.printers()
        sql(insert_statement("주문합계", {"매장코드": STORE, "테이블번호": 7, "객수": 4}))
        sql(insert_statement("주방출력물", {"매장코드": STORE, "IP주소": "127.0.0.1",
                                            "POSID": POS, "프린터포트": "COM1", "정리완료": "1",
                                            "출력물종류": "돈통열기", "테이블번호": "1"}))
        # Another store whose code the quote would reach if it ended the literal early.
        add_job(매장코드="S", POSID=POS, 프린트내용="OTHER STORE\r\n")
        job(테이블번호="1", 프린터파라미터=None, 출력물종류=None, 프린트내용=None, 주문일시=None,
            프린터명=None, 테이블명=None, 코너명=None, 결제여부=None, 미결금액=None,
            신규추가여부=None, 주문번호=None)
        job(테이블번호="여섯", 프린트내용="TABLE IS TEXT\r\n")
        job(테이블번호="7", 결제여부="미결", 미결금액="many", 프린트내용="AMOUNT IS TEXT\r\n")
        job(테이블번호="7", 주문자명="\x1bp0\x19\x7f 김\x1dVA", 테이블명="7",
            프린트내용="GUESTS 😀 똠 \U00020000\r\n")
        body = "".join(f"LINE {n:04}\r\n" for n in range(2184))
        job(IP주소=PRINTER_HOST, 프린터포트="9100", 테이블번호="8", 출력물종류="티켓",
            프린트내용=body)
        job(IP주소=PRINTER_HOST, 프린터포트="9100", 테이블번호="9", 출력물종류="티켓",
            프린트내용="W" * 100000 + "\r\n")
        self.start()
        wait_until(lambda: len(pending_jobs()) == 4, timeout=90,
                   what="every good job printed and deleted")
        time.sleep(2)

        serial = com1.received()
        self.assertTrue(serial.startswith(DRAWER_KICK), serial[:8])
        self.assertEqual(serial.count(b"\x1bp"), 1, "the name's control bytes kick nothing")
        self.assertIn("GUESTS ? 똠 ?".encode("cp949"), serial)
        self.assertIn("(4명)".encode("cp949"), serial)
        self.assertNotIn(b"\x1dV", serial, "the name's control bytes cut nothing")
        received = network.received()
        self.assertEqual(received.count(b"LINE 2183\r\n"), 1)
        self.assertEqual(received.count(b"W" * 100000), 1)
        self.assertNotIn(b"OTHER STORE", serial)
        self.assertEqual(sorted(pending_jobs()), ["1", "1", "7", "여섯"])
        self.assertTrue(self.program.is_running())

    def test_settings_row_of_nulls_is_a_failed_start_not_a_crash(self):
        sql("Delete From 환경설정;" + insert_statement("환경설정", {"매장코드": STORE,
                                                                "POSID": POS}))
        job(프린트내용="WAITS\r\n")
        self.program = RunningProgram(self.folder)
        wait_until(lambda: len(self.program.lines) > 1, what="the program's first word")
        time.sleep(3)
        self.assertTrue(self.program.is_running())
        self.assertEqual(pending_jobs("프린트내용"), ["WAITS"])


if __name__ == "__main__":
    unittest.main()
