"""The technician's status page and metrics, read from the running program over loopback: what
they show of a printer out of paper, that they change nothing, and that a slow or hostile client
holds neither the page nor the printing."""

import os
import re
import shutil
import socket
import subprocess
import tempfile
import unittest
import urllib.error
import urllib.parse
import urllib.request

from printer_rig import NetworkPrinter
from program_rig import ProgramTestCase, add_printer_row, network_job, pending_jobs, wait_until
from required_parts import require_or_skip

PRINTER_HOST = "127.0.0.2"
PAGE_HOST, PAGE_PORT = "127.0.0.1", 8480
BASE_URL = f"http://{PAGE_HOST}:{PAGE_PORT}"
SCREENSHOTS = os.path.join(os.environ.get("KPS_BUILD_DIR", "."), "screenshots")
CONFIG = ["[ZelnorPOS]", "매장코드=S001", "POSID=01", "SERVER=127.0.0.1", "DB=MS-SQL"]


def fetch(path, method="GET"):
    """(status, body) of one request; an error status is an answer too."""
    request = urllib.request.Request(BASE_URL + path, method=method, data=b"x" * (method == "POST"))
    try:
        with urllib.request.urlopen(request, timeout=10) as response:
            return response.status, response.read().decode()
    except urllib.error.HTTPError as error:
        return error.code, error.read().decode()


def metric(text, name, printer_state=""):
    """The values of a metric's samples whose labels contain printer_state."""
    return [int(value) for labels, value in
            re.findall(rf"^kitchen_print_server_{name}(\{{[^}}]*\}})? (\d+)$", text, re.M)
            if printer_state in labels]


class StatusPage(ProgramTestCase):
    settings = {"메인포스로사용": "1"}

    def start_with_page(self, value=f"{PAGE_HOST}:{PAGE_PORT}"):
        self.folder.write_config(CONFIG + [f"상태페이지={value}"])
        self.start()

    def test_metrics_and_page_show_a_printer_out_of_paper_and_refuse_changes(self):
        add_printer_row(PRINTER_HOST)
        printer = NetworkPrinter(PRINTER_HOST)
        self.addCleanup(printer.close)
        printer.paper_out()
        self.start_with_page()
        network_job(PRINTER_HOST, 테이블번호=1)
        network_job(PRINTER_HOST, 테이블번호=2)
        wait_until(lambda: metric(fetch("/metrics")[1], "printer_state", 'state="paper_out"')
                   == [1], timeout=30, what="the printer shown out of paper")
        status, text = fetch("/metrics")
        self.assertEqual((status, metric(text, "database_connected")), (200, [1]))
        self.assertEqual(metric(text, "jobs_waiting"), [2])
        status, page = fetch("/")
        self.assertEqual(status, 200)
        self.assertIn("용지 없음", page)
        self.assertIn("용지가 없습니다", page, "the error log's line")
        self.take_screenshot()
        for method in ("POST", "PUT", "DELETE"):
            self.assertEqual(fetch("/metrics", method)[0], 405, method)
        self.assertEqual(fetch("/" + urllib.parse.quote("환경설정.CFG"))[0], 404)
        self.assertEqual(fetch("/", "HEAD"), (200, ""))
        printer.paper_in()
        wait_until(lambda: not pending_jobs(), timeout=30, what="the jobs printed")
        wait_until(lambda: metric(fetch("/metrics")[1], "jobs_printed_today") == [2],
                   what="the printed jobs counted")
        self.assertEqual(metric(fetch("/metrics")[1], "printer_state", "ready"), [1])

    def take_screenshot(self):
        require_or_skip(shutil.which("chromium"), "needs chromium for the screenshot")
        os.makedirs(SCREENSHOTS, exist_ok=True)
        path = os.path.join(SCREENSHOTS, "status-page.png")
        with tempfile.TemporaryDirectory() as profile:
            subprocess.run(["chromium", "--headless", "--no-sandbox", "--disable-gpu",
                            "--hide-scrollbars", f"--user-data-dir={profile}",
                            f"--screenshot={path}", "--window-size=412,640", BASE_URL + "/"],
                           check=True, capture_output=True, timeout=60)
        self.assertGreater(os.path.getsize(path), 0)

    def test_slow_oversized_and_surplus_clients_hold_neither_page_nor_printing(self):
        add_printer_row(PRINTER_HOST)
        printer = NetworkPrinter(PRINTER_HOST)
        self.addCleanup(printer.close)
        self.start_with_page()
        with socket.create_connection((PAGE_HOST, PAGE_PORT)) as big:
            big.sendall(b"GET / HTTP/1.1\r\nX: " + b"a" * 20000)
            self.assertIn(b" 431 ", big.recv(4096))
        idle = [socket.create_connection((PAGE_HOST, PAGE_PORT)) for _ in range(12)]
        for client in idle:
            self.addCleanup(client.close)
            client.settimeout(30)
        network_job(PRINTER_HOST, 프린트내용="WHILE HELD\r\n")
        printer.wait_for(b"WHILE HELD")
        wait_until(lambda: not pending_jobs(), what="the job's row deleted")
        # The page closes each idle client itself, then answers again.
        self.assertEqual([client.recv(1) for client in idle], [b""] * len(idle))
        self.assertEqual(fetch("/metrics")[0], 200)

    def test_a_bad_address_is_logged_and_the_program_prints_without_the_page(self):
        self.start_with_page("localhost:80")
        wait_until(lambda: self.folder.error_log_lines("상태페이지"), what="the bad value logged")
        self.assertIn("localhost:80", self.folder.error_log_lines("상태페이지")[0])
        with self.assertRaises(OSError):
            socket.create_connection((PAGE_HOST, 80), timeout=2)
        self.assertTrue(self.program.is_running())


if __name__ == "__main__":
    unittest.main()
