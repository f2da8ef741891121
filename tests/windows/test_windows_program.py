"""The Windows program under wine, against the rig. Installed by its own installer, it starts,
connects through wine's ODBC (which hands the program's connection text to the host's
unixODBC), and prints one serial job (a socat pseudo-terminal mapped as COM3) and one network
job with exactly the bytes the Linux program prints for the same rows. The uninstaller then
takes the program away and leaves the configuration file and the logs."""

import functools
import glob
import os
import re
import subprocess
import tempfile
import types
import unittest

from marked_jobs import MarkedJobs
from printer_rig import NetworkPrinter, SerialPrinter
from program_rig import (ProgramFolder, RunningProgram, add_job, add_printer_row,
                         add_settings_row, network_job, pending_jobs, require_rig, reset_tables,
                         wait_until)
from required_parts import require_or_skip

SETUP = os.environ.get("KPS_WINDOWS_SETUP", "")
WINE_PREFIX = os.environ.get("WINEPREFIX", "")
PRINTER_HOST = "127.0.0.2"
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"


def wine(*arguments, check=True):
    """Runs a wine command and waits for every process it started: wine's installers and
    uninstallers relaunch themselves."""
    result = subprocess.run(["wine", *arguments], capture_output=True, text=True, check=check)
    subprocess.run(["wineserver", "-w"], check=True)
    return result.stdout


def without_print_time(printed):
    """The bytes with the time of printing that the order sheet carries blanked out."""
    return re.sub(rb"\d{4}-\d\d-\d\d \d\d:\d\d:\d\d", b"<printed at>", printed)


def file_rows():
    """The same two jobs for each program: a Korean order sheet on COM3 and a network job."""
    reset_tables()
    add_settings_row(메인포스로사용="1", 주문서자동컷팅="1")
    add_printer_row(PRINTER_HOST)
    add_job(프린터포트="COM3", 테이블번호=7, 테이블명="창가 7", 프린트내용="김치찌개 2\r\n똠얌꿍 1\r\n")
    network_job(PRINTER_HOST, 테이블번호=8, 코너명="분식", 프린트내용="떡볶이 1\r\n뷁 1\r\n")


class WindowsProgram(unittest.TestCase):
    def setUp(self):
        require_rig(self)
        require_or_skip(os.path.isfile(SETUP), "needs the Windows installer (KPS_WINDOWS_SETUP)")
        require_or_skip(bool(WINE_PREFIX), "needs a wine prefix (WINEPREFIX)")

    def print_rows(self, folder, com3_link_to=None, launcher=()):
        """Prints the rows with one program; returns the bytes of COM3 and of the network
        printer."""
        file_rows()
        ports = types.SimpleNamespace(path=tempfile.mkdtemp(prefix="kps-ports-"))
        com3 = SerialPrinter(ports, 3)
        network_printer = NetworkPrinter(PRINTER_HOST)
        try:
            if com3_link_to:
                com3_link_to(com3.port_link)
            else:
                os.symlink(os.path.join(ports.path, "ports"), os.path.join(folder.path, "ports"))
            program = RunningProgram(folder, launcher=launcher)
            try:
                program.wait_for_line("출력을 시작합니다", timeout=60)
                wait_until(lambda: not pending_jobs(), timeout=30, what="both jobs to be printed")
            finally:
                program.stop()
            return com3.received(), network_printer.received()
        finally:
            com3.close()
            network_printer.close()

    def map_com3(self, device):
        wine("reg", "add", r"HKLM\Software\Wine\Ports", "/v", "COM3", "/d", device, "/f")
        # wine makes its COM devices from that key when it starts.
        subprocess.run(["wineserver", "-k"], check=False)

    def install(self):
        """Installs silently; returns the program folder with the rig's configuration file."""
        wine(SETUP, "/S")
        found = glob.glob(os.path.join(WINE_PREFIX, "drive_c", "users", "*", "AppData", "Local",
                                       "kitchen-print-server", "kitchen-print-server.exe"))
        self.assertEqual(len(found), 1, "the program in the user's program folder")
        uninstaller = os.path.join(os.path.dirname(found[0]), "uninstall.exe")
        self.addCleanup(lambda: os.path.exists(uninstaller) and wine(uninstaller, "/S"))
        self.assertIn("kitchen-print-server.exe", wine("reg", "query", RUN_KEY))
        self.assertTrue(glob.glob(os.path.join(WINE_PREFIX, "drive_c", "users", "*", "AppData",
                                               "Roaming", "Microsoft", "Windows", "Start Menu",
                                               "Programs", "*", "*.lnk")))
        return ProgramFolder(path=os.path.dirname(found[0]), installed_program=found[0])

    def uninstall(self, folder):
        wine(os.path.join(folder.path, "uninstall.exe"), "/S")
        self.assertFalse(os.path.exists(folder.program))
        self.assertFalse(os.path.exists(os.path.join(folder.path, "Qt6Core.dll")))
        self.assertTrue(os.path.exists(os.path.join(folder.path, "환경설정.CFG")))
        self.assertIn("김치찌개", folder.log_text("주방출력_LOG", "-주방출력물.LOG"))
        self.assertNotIn("kitchen-print-server", wine("reg", "query", RUN_KEY, check=False))

    def test_installed_program_prints_the_bytes_the_linux_program_prints(self):
        linux_folder = ProgramFolder()
        self.addCleanup(linux_folder.remove)
        linux_serial, linux_network = self.print_rows(linux_folder)
        self.assertIn("똠얌꿍".encode("cp949"), linux_serial)
        self.assertIn("뷁".encode("cp949"), linux_network)

        windows_folder = self.install()
        windows_serial, windows_network = self.print_rows(windows_folder, self.map_com3,
                                                          launcher=("wine",))
        self.assertEqual(without_print_time(windows_serial), without_print_time(linux_serial))
        self.assertEqual(without_print_time(windows_network), without_print_time(linux_network))
        unconfirmed = [line for line in windows_folder.error_log_lines() if "확인할 수" in line]
        self.assertEqual(unconfirmed, [], "both printers' answers reach the Windows program")
        self.assert_paper_out_loses_nothing(windows_folder)
        self.uninstall(windows_folder)

    def assert_paper_out_loses_nothing(self, folder):
        """Wine refuses the system's count of unacknowledged bytes: the printer's own answer
        must keep the rows of tickets its buffer took while the paper was out."""
        reset_tables()
        add_settings_row(메인포스로사용="1")
        add_printer_row(PRINTER_HOST)
        printer = NetworkPrinter(PRINTER_HOST)
        program = RunningProgram(folder, launcher=("wine",))
        try:
            program.wait_for_line("출력을 시작합니다", timeout=60)
            printer.paper_out()
            jobs = MarkedJobs("WINE", 3)
            jobs.file(add=functools.partial(network_job, PRINTER_HOST), 출력물종류="영수증")
            wait_until(lambda: any("용지가 없습니다" in line for line in folder.error_log_lines()),
                       timeout=60, what="the paper end in the error log")
            self.assertEqual(len(pending_jobs()), 3)
            printer.power_off()
            printer.power_on()
            printer.paper_in()
            wait_until(lambda: jobs.printed_in_full(printer.received()) and not pending_jobs(),
                       timeout=60, what="every ticket on paper and its row gone")
            jobs.assert_delivered(self, printer.received(), faults=1)
        finally:
            program.stop()
            printer.close()


if __name__ == "__main__":
    unittest.main()
