"""The demo store: a database with one terminal as main POS, a serial kitchen printer, two
network printers (one unreachable), the kitchen print server, and a simulator filing jobs. The
reachable network printer runs out of paper for a while and gets it back.
Runs inside the private test network (scripts/with-test-network.sh); see scripts/run-demo.sh."""

import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
os.environ.setdefault("KPS_BUILD_DIR", os.path.join(REPO, "build"))
BIN = os.path.join(os.environ["KPS_BUILD_DIR"], "bin")
os.environ.setdefault("KPS_SOURCE_DIR", REPO)
os.environ.setdefault("KPS_PROGRAM", os.path.join(BIN, "kitchen-print-server"))
# Qt wants a private runtime folder; root's session may have none.
os.environ.setdefault("XDG_RUNTIME_DIR", tempfile.mkdtemp(prefix="kps-demo-runtime-"))
sys.path.insert(0, os.path.join(REPO, "tests", "support"))

from order_simulator import OrderSimulator  # noqa: E402
from printer_rig import SilentPrinter, control_command  # noqa: E402
from program_rig import ProgramFolder, insert_statement, reset_tables, sql  # noqa: E402

OUTPUT = os.path.join(REPO, "demo-output")
RECEIPTS = os.path.join(OUTPUT, "receipts")
PAPER_FILE = os.path.join(OUTPUT, "network-printer.paper")
CONTROL = os.path.join(OUTPUT, "network-printer.control")
PAPER_OUT_AT, PAPER_BACK_AT = 15, 25
CUTS = (b"\x1bi", b"\x1bm")
STORE, POS = "S001", "01"
NETWORK_PRINTER = ("주방 2 (네트워크)", "127.0.0.2", "9100")
UNREACHABLE_PRINTER = ("주방 3 (꺼짐)", "127.0.0.3", "9100")
# Option line 72 prints marked item lines ("* ", "└") in double height.
OTHER_OPTIONS = "\r\n".join(f"option{n}=1" if n == 72 else f"option{n}=" for n in range(1, 80))
SETTINGS = {
    "매장코드": STORE, "POSID": POS, "메인포스로사용": "1", "영수증딜레이타임": "20",
    "기타옵션": OTHER_OPTIONS, "프린터종류": "TM-T83", "주방프린터글자크기": "세로확대",
    "프린터포트": "COM1", "프린터파라미터": "9600,N,8,1", "돈통열기코드": "027112000025250",
    "주방프린터하단마진": "2", "하단마진": "1", "주문서에객수표시": "1", "푸드코트명표시": "1",
    "주문서에헤드라인표시": "1", "좌측여백": "1", "포스타입": "후불형", "주문서자동컷팅": "1"}


def say(source, text):
    print(f"[{source}] {text}", flush=True)


def set_up_store():
    reset_tables()
    statements = [insert_statement("환경설정", SETTINGS)]
    for address, port in (("127.0.0.1", "COM1"), NETWORK_PRINTER[1:], UNREACHABLE_PRINTER[1:]):
        statements.append(insert_statement(
            "주방프린터", {"매장코드": STORE, "프린터포트": port, "IP주소": address}))
    for table in range(1, 21):
        statements.append(insert_statement(
            "주문합계", {"매장코드": STORE, "테이블번호": table, "객수": random.randint(1, 6)}))
    sql("".join(statements))
    say("demo", "store S001: terminal 01 is the main POS; printers COM1, "
                f"{NETWORK_PRINTER[1]}:9100 and {UNREACHABLE_PRINTER[1]}:9100 (switched off)")


def echo_lines(stream, source):
    for raw in stream:
        say(source, raw.decode("utf-8", errors="replace").rstrip())


class DemoProcesses:
    """Everything the demo starts, stopped again in reverse order."""

    def __init__(self):
        self.processes = []

    def start(self, arguments, source=None, **options):
        stderr = subprocess.PIPE if source else None
        process = subprocess.Popen(arguments, stderr=stderr, **options)
        if source:
            threading.Thread(target=echo_lines, args=(process.stderr, source), daemon=True).start()
        self.processes.append(process)
        return process

    def stop(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.send_signal(signal.SIGTERM)
        for process in reversed(self.processes):
            try:
                process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                process.kill()


def start_printers(processes, program_folder):
    ports = os.path.join(program_folder, "ports")
    os.makedirs(ports, exist_ok=True)
    serial_end = os.path.join(OUTPUT, "printer-COM1")
    processes.start(["socat", f"pty,raw,echo=0,link={ports}/COM1",
                     f"pty,raw,echo=0,link={serial_end}"])
    while not os.path.exists(serial_end):
        time.sleep(0.05)
    printer = os.path.join(BIN, "virtual-printer")
    processes.start([printer, "--name", "주방1-COM1", "--out", RECEIPTS, "--serial", serial_end])
    processes.start([printer, "--name", "주방2-네트워크", "--out", RECEIPTS,
                     "--listen", f"{NETWORK_PRINTER[1]}:{NETWORK_PRINTER[2]}",
                     "--paper", PAPER_FILE, "--control", CONTROL])
    while not os.path.exists(CONTROL):
        time.sleep(0.05)
    return SilentPrinter(UNREACHABLE_PRINTER[1], int(UNREACHABLE_PRINTER[2]))


class PaperRunningOut:
    """The network printer's paper runs out 15 s into the demo and is put back 10 s later; the
    tickets filed for it meanwhile, at least one, wait in the printer or in the table and print
    once it is back."""

    def __init__(self):
        self.out = False
        self.filed = self.filed_while_out = 0
        self._timers = [threading.Timer(PAPER_OUT_AT, self._set, (True,)),
                        threading.Timer(PAPER_BACK_AT, self._set, (False,))]
        for timer in self._timers:
            timer.start()

    def _set(self, out):
        control_command(CONTROL, "paper out" if out else "paper in")
        self.out = out
        say("주방2-네트워크", "용지 없음 (paper out)" if out else "용지 넣음 (paper back in)")

    def route(self, job):
        """The job as filed: the first ticket while the paper is out goes to this printer."""
        if self.out and not self.filed_while_out and job["출력물종류"] != "돈통열기":
            job = {**job, "프린터명": NETWORK_PRINTER[0], "IP주소": NETWORK_PRINTER[1],
                   "프린터포트": NETWORK_PRINTER[2]}
        if job["IP주소"] == NETWORK_PRINTER[1]:
            self.filed += 1
            self.filed_while_out += self.out
        return job

    def end(self):
        for timer in self._timers:
            timer.cancel()
        if self.out:
            self._set(False)

    def report(self):
        left = int(sql(f"Select count(*) From 주방출력물 Where IP주소 = '{NETWORK_PRINTER[1]}';"))
        with open(PAPER_FILE, "rb") as paper:
            printed = paper.read()
        cut = sum(printed.count(cut) for cut in CUTS)
        if left == 0 and cut >= self.filed:
            say("demo", f"every one of the {self.filed} tickets for 주방2-네트워크 was printed, "
                        f"{self.filed_while_out} of them filed while it was out of paper")
        else:
            say("demo", f"주방2-네트워크: {self.filed} tickets filed, {cut} cut on paper, "
                        f"{left} still in the table")


def file_jobs(simulator, seconds, paper):
    deadline = None if seconds is None else time.monotonic() + seconds
    while deadline is None or time.monotonic() < deadline:
        job = paper.route(simulator.next_job())
        sql(insert_statement("주방출력물", job))
        say("POS", f"{job['출력물종류']} 테이블 {job['테이블명']} → {job['프린터명']} "
                   f"({job['IP주소']} {job['프린터포트']})")
        pause = random.uniform(2.5, 5.0)
        if deadline is not None:
            pause = min(pause, max(deadline - time.monotonic(), 0))
        time.sleep(pause)


def main():
    seconds = float(sys.argv[1]) if len(sys.argv) > 1 else None
    shutil.rmtree(OUTPUT, ignore_errors=True)
    os.makedirs(RECEIPTS)
    set_up_store()
    folder = ProgramFolder(lines=["[ZelnorPOS]", f"매장코드={STORE}", f"POSID={POS}",
                                  "SERVER=127.0.0.1", "DB=MS-SQL"],
                           path=os.path.join(OUTPUT, "program"))
    processes = DemoProcesses()
    silent = paper = None
    try:
        silent = start_printers(processes, folder.path)
        processes.start([folder.program], source="주방출력서버",
                        env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
        simulator = OrderSimulator(STORE, POS, "COM1", [NETWORK_PRINTER, UNREACHABLE_PRINTER])
        paper = PaperRunningOut()
        file_jobs(simulator, seconds, paper)
        paper.end()
        time.sleep(5)  # lets the last jobs print
    except KeyboardInterrupt:
        say("demo", "stopping")
    finally:
        if paper:
            paper.end()
        processes.stop()
        if silent:
            silent.close()
    if paper:
        paper.report()
    receipts = sorted(name for name in os.listdir(RECEIPTS) if name.endswith(".png"))
    say("demo", f"{len(receipts)} receipts as PNG in {RECEIPTS}; "
                f"logs in {folder.path}/ERROR_LOG and {folder.path}/주방출력_LOG")


if __name__ == "__main__":
    main()
