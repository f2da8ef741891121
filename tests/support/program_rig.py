"""Runs the kitchen print server from a temporary program folder against the test rig."""

import os
import shutil
import socket
import subprocess
import tempfile
import threading
import time
import unittest

from required_parts import require_or_skip

SOURCE_DIR = os.environ.get("KPS_SOURCE_DIR", "")
PROGRAM = os.environ.get("KPS_PROGRAM", "")
IN_RIG = os.environ.get("KPS_TEST_RIG") == "1"
STORE_CODE = "S001"
POS_ID = "01"
TERMINAL_IP = os.environ.get("KPS_TEST_TERMINAL_IP", "127.0.0.1")
# The name the kitchen job run writes its failures under in the error log.
JOB_PROCEDURE = "주문서인쇄"


def require_rig(test_case):
    require_or_skip(IN_RIG, "needs the test rig (scripts/with-test-network.sh)")


def rig(*arguments, input_text=None):
    return subprocess.run(
        ["bash", os.path.join(SOURCE_DIR, "scripts", "test-db.sh"), *arguments],
        input=input_text, text=True, capture_output=True, check=True
    ).stdout


def sql(statement):
    return rig("psql", "-q", "-At", input_text=statement)


def stop_database():
    rig("stop")


def start_database():
    """Starts the server unless it already runs."""
    rig("start")


def restart_database():
    """Restarts the server as after a crash: every connection is cut at once."""
    rig("restart")


def reset_tables():
    sql("Delete From 주방출력물; Delete From 주방프린터; Delete From 환경설정; Delete From 주문합계;")


def add_settings_row(store_code=STORE_CODE, pos_id=POS_ID, **columns):
    values = {"매장코드": store_code, "POSID": pos_id, **PRINTING_SETTINGS, **columns}
    sql(insert_statement("환경설정", values))


def connections_so_far():
    """Connections the server has authorised since the log began."""
    with open(os.environ["KPS_TEST_PGLOG"], encoding="utf-8", errors="replace") as log:
        return sum("connection authorized" in line for line in log)


class ProgramFolder:
    """A folder holding a copy of the program and its configuration file; given an installed
    program instead, the folder it was installed in."""

    def __init__(self, lines=None, path=None, installed_program=None):
        self.path = path or tempfile.mkdtemp(prefix="kps-program-")
        self.owned = path is None
        os.makedirs(self.path, exist_ok=True)
        if installed_program:
            self.program = installed_program
        else:
            self.program = os.path.join(self.path, "kitchen-print-server")
            shutil.copy2(PROGRAM, self.program)
        if lines is None:
            lines = ["[ZelnorPOS]", f"매장코드={STORE_CODE}", f"POSID={POS_ID}",
                     "SERVER=127.0.0.1", "DB=MS-SQL"]
        self.write_config(lines)

    def write_config(self, lines):
        with open(os.path.join(self.path, "환경설정.CFG"), "wb") as config:
            config.write("\r\n".join(lines).encode("cp949") + b"\r\n")

    def log_text(self, log_folder, suffix):
        """Today's daily log of one kind, "" until the program writes it."""
        path = os.path.join(self.path, log_folder, time.strftime("%Y%m%d") + suffix)
        if not os.path.exists(path):
            return ""
        with open(path, "rb") as log:
            return log.read().decode("cp949")

    def error_log_lines(self, procedure=""):
        """Today's error log lines, only the given procedure's if one is named. A database
        message may span several lines."""
        return [line for line in self.log_text("ERROR_LOG", "-프로시져오류.LOG").splitlines()
                if line.startswith(procedure)]

    def remove(self):
        if self.owned:
            shutil.rmtree(self.path, ignore_errors=True)


class RunningProgram:
    """The program as a process, its standard error collected line by line."""

    def __init__(self, folder, platform="offscreen", extra_env=None, launcher=(), arguments=()):
        env = dict(os.environ, QT_QPA_PLATFORM=platform, **(extra_env or {}))
        self.process = subprocess.Popen([*launcher, folder.program, *arguments], cwd="/", env=env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        self.lines = []
        self._changed = threading.Condition()
        threading.Thread(target=self._collect, daemon=True).start()

    def _collect(self):
        for raw in self.process.stderr:
            with self._changed:
                self.lines.append(raw.decode("utf-8", errors="replace").rstrip("\r\n"))
                self._changed.notify_all()

    def wait_for_line(self, text, timeout=15.0):
        deadline = time.monotonic() + timeout
        with self._changed:
            while not any(text in line for line in self.lines):
                left = deadline - time.monotonic()
                if left <= 0:
                    raise AssertionError(f"no line with {text!r}; seen: {self.lines}")
                self._changed.wait(left)

    def notices(self):
        prefix = "kitchen-print-server: "
        return [line[len(prefix):] for line in self.lines if line.startswith(prefix)]

    def is_running(self):
        return self.process.poll() is None

    def stop(self):
        if self.is_running():
            self.process.terminate()
        self.process.wait(timeout=10)
        self.process.stderr.close()


def count_echo_requests(seconds, payload=b"Echo This"):
    """Echo requests with the program's payload seen on loopback during the given time."""
    listener = socket.socket(socket.AF_INET, socket.SOCK_RAW, socket.IPPROTO_ICMP)
    listener.settimeout(0.05)
    seen = 0
    deadline = time.monotonic() + seconds
    try:
        while time.monotonic() < deadline:
            try:
                packet = listener.recv(2048)
            except socket.timeout:
                continue
            header_length = (packet[0] & 0x0F) * 4
            icmp_type = packet[header_length]
            if icmp_type == 8 and packet[header_length + 8:] == payload:
                seen += 1
    finally:
        listener.close()
    return seen




PRINTING_SETTINGS = {
    "영수증딜레이타임": "10", "주방프린터하단마진": "0", "하단마진": "0", "좌측여백": "0",
    "푸드코트명표시": "0", "주문서에헤드라인표시": "0", "포스타입": "선불형",
    "주문서자동컷팅": "0", "프린터종류": "TM-T83", "주방프린터글자크기": "세로확대",
    "메인포스로사용": "0", "주문서에객수표시": "0",
}


def add_job(**columns):
    """Files one job as the order-taking POS does."""
    values = {"매장코드": STORE_CODE, "IP주소": "127.0.0.1", "POSID": POS_ID,
              "프린터포트": "COM1", "정리완료": "1", "출력물종류": "주문서", "테이블번호": 1,
              "프린터파라미터": "9600,N,8,1", "주문번호": 0, "테이블명": "", "코너명": "",
              "결제여부": "", "미결금액": 0, "신규추가여부": "", "프린트내용": "x\r\n",
              "주문일시": "2026-12-09 10:00:00", "프린터명": "주방1", **columns}
    sql(insert_statement("주방출력물", values))


def add_printer_row(host, port="9100"):
    """Registers a network printer; the main POS reads these rows at start."""
    sql(insert_statement("주방프린터", {"매장코드": STORE_CODE, "프린터포트": port, "IP주소": host}))


def network_job(host, **columns):
    """Files a job for the network printer at host, from another terminal."""
    add_job(**{"IP주소": host, "프린터포트": "9100", "POSID": "07", **columns})


def insert_statement(table, values):
    names = ", ".join(values)
    quoted = ", ".join("Null" if v is None else "'" + str(v).replace("'", "''") + "'"
                       for v in values.values())
    return f"Insert Into {table} ({names}) Values ({quoted});"


def pending_jobs(columns="테이블번호"):
    return [line for line in sql(f"Select {columns} From 주방출력물 Order by 일련번호;").splitlines()
            if line]


def wait_until(condition, timeout=15.0, what="the condition"):
    deadline = time.monotonic() + timeout
    while not condition():
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out waiting for {what}")
        time.sleep(0.05)


class ProgramTestCase(unittest.TestCase):
    """A test of the running program: clean tables, a settings row for this terminal, a fresh
    program folder; start() runs the program until its start is complete."""

    settings = {}

    def setUp(self):
        require_rig(self)
        reset_tables()
        add_settings_row(**self.settings)
        self.folder = ProgramFolder()
        self.addCleanup(self.folder.remove)
        self.program = None

    def tearDown(self):
        if self.program:
            self.program.stop()

    def start(self, folder=None):
        self.program = RunningProgram(folder or self.folder)
        self.program.wait_for_line("출력을 시작합니다")
