"""One measured run of the program: emptied tables, a settings row for this terminal, a fresh
program folder and its printers, all taken down again when the with block ends."""

import contextlib

from printer_rig import NetworkPrinter, SerialPrinter
from program_rig import (POS_ID, STORE_CODE, ProgramFolder, RunningProgram, add_settings_row,
                         insert_statement, reset_tables, sql)


class MeasuredProgram(contextlib.ExitStack):
    def __init__(self, **settings):
        super().__init__()
        reset_tables()
        add_settings_row(**{column: str(value) for column, value in settings.items()})
        self.folder = ProgramFolder()
        self.callback(self.folder.remove)
        self.program = None

    def serial_printer(self, number=1):
        printer = SerialPrinter(self.folder, number)
        self.callback(printer.close)
        return printer

    # The program reads its network printers once, at start.
    def network_printer(self, host, port=9100, **options):
        sql(insert_statement("주방프린터",
                             {"매장코드": STORE_CODE, "프린터포트": str(port), "IP주소": host}))
        printer = NetworkPrinter(host, port, **options)
        self.callback(printer.close)
        return printer

    def start(self, platform="offscreen", extra_env=None):
        """Runs the program until its start is complete; returns its process id."""
        self.program = RunningProgram(self.folder, platform, extra_env)
        self.callback(self.program.stop)
        self.program.wait_for_line("출력을 시작합니다")
        return self.program.process.pid


def order(body, **columns):
    """A kitchen order for this terminal's printer on COM1, as an order-taking POS files it."""
    return {"매장코드": STORE_CODE, "IP주소": "127.0.0.1", "POSID": POS_ID, "프린터포트": "COM1",
            "정리완료": "1", "출력물종류": "주문서", "테이블번호": 1, "프린터파라미터": "9600,N,8,1",
            "주문번호": 0, "주문일시": "2026-12-09 10:00:00", "프린터명": "주방1",
            "프린트내용": body, **columns}


def body_of(marker, lines):
    return "".join(f"{marker} LINE {line:02}\r\n" for line in range(lines))


def file_at_once(jobs):
    """Files the jobs in one transaction, so that the program's selection sees all or none."""
    sql("Begin; " + " ".join(insert_statement("주방출력물", job) for job in jobs) + " Commit;")
