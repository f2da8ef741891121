"""What the operator sees and does on a real desktop (Xvfb with a trayer notification area):
the notification icon, the main window, the message window and the exit question."""

import os
import subprocess
import time
import unittest

from desktop_rig import VirtualDesktop
from printer_rig import SerialPrinter
from program_rig import (ProgramTestCase, RunningProgram, add_job, pending_jobs, start_database,
                         stop_database, wait_until)

MAIN_WINDOW = "ZelnorPOS_CS 식음 주방 출력 서버"
MESSAGE_WINDOW = "ZelnorPOS_CS 메세지"
DIALOG = "ZelnorPOS_CS 확인"
PROGRAM_CLASS = "kitchen-print-server"
SCREENSHOTS = os.path.join(os.environ.get("KPS_BUILD_DIR", "."), "screenshots")
HIDE_BUTTON, EXIT_BUTTON = (298, 130), (430, 130)
YES_AREA, NO_AREA = (188 + 81, 224 + 33), (360 + 83, 224 + 34)
OK_AREA = (276 + 83, 200 + 33)
BAD_PORT_NOTICE = "형식이 일치하지 않습니다 (프린터포트: 'x')"


class OperatorDesktop(ProgramTestCase):
    def setUp(self):
        super().setUp()
        self.desktop = VirtualDesktop()
        self.addCleanup(self.desktop.close)
        self.desktop.start_tray()
        time.sleep(0.5)

    def start(self, folder=None):
        self.program = RunningProgram(folder or self.folder, platform="xcb",
                                      extra_env={"DISPLAY": self.desktop.display})
        self.program.wait_for_line("출력을 시작합니다")

    def icons(self, count, program_class=PROGRAM_CLASS):
        deadline = time.monotonic() + 10
        while len(self.desktop.tray_icons(program_class)) != count:
            if time.monotonic() > deadline:
                self.fail(f"expected {count} notification icons, "
                          f"found {self.desktop.tray_icons(program_class)}")
            time.sleep(0.1)
        return self.desktop.tray_icons(program_class)

    def restore_from_tray(self):
        (icon,) = self.icons(1)
        self.desktop.click_at(*icon, repeat=2)
        window = self.desktop.find_window(MAIN_WINDOW)
        self.icons(0)
        return window

    def test_icon_double_click_shows_the_window_and_hide_brings_the_icon_back(self):
        self.start()
        time.sleep(0.5)
        self.assertFalse(self.desktop.is_visible(MAIN_WINDOW))
        (icon,) = self.icons(1)
        self.desktop.click_at(*icon)
        time.sleep(1)
        self.assertFalse(self.desktop.is_visible(MAIN_WINDOW), "a single click does nothing")
        window = self.restore_from_tray()
        self.desktop.click(window, *HIDE_BUTTON)
        self.icons(1)
        time.sleep(0.3)
        self.assertFalse(self.desktop.is_visible(MAIN_WINDOW))
        self.restore_from_tray()

    def red_pixels(self, x, y, width, height):
        return sum(r > 150 and g < 70 and b < 70 for r, g, b in
                   self.desktop.pixels(x, y, width, height))

    def test_status_list_and_icon_show_a_printer_out_of_paper_until_it_prints_again(self):
        com1 = SerialPrinter(self.folder, 1)
        self.addCleanup(com1.close)
        self.start()
        (x, y) = self.icons(1)[0]
        self.assertEqual(self.red_pixels(x - 12, y - 12, 24, 24), 0)
        com1.paper_out()
        add_job(프린트내용="AFTER THE ROLL\r\n")
        self.program.wait_for_line("COM1: 용지가 없습니다")
        wait_until(lambda: self.red_pixels(x - 12, y - 12, 24, 24) > 10,
                   what="the icon's red corner")
        self.desktop.click(self.desktop.find_window(MESSAGE_WINDOW), *OK_AREA)
        window = self.restore_from_tray()
        time.sleep(1.5)
        self.desktop.screenshot(window, os.path.join(SCREENSHOTS, "main-window.png"))
        left, top = (int(v) for v in self.desktop.xdotool("getwindowgeometry", window)[3].split(","))
        list_row = (left + 16, top + 168 + 20, 472, 20)
        self.assertGreater(self.red_pixels(*list_row), 10, "COM1's state shown in red")
        com1.paper_in()
        com1.wait_for(b"AFTER THE ROLL")
        wait_until(lambda: self.red_pixels(*list_row) == 0, what="COM1 ready again")

    def test_hiding_twice_leaves_one_icon(self):
        probe = subprocess.Popen([os.environ["KPS_TRAY_PROBE"]], env=dict(
            self.desktop.env, QT_QPA_PLATFORM="xcb"), stderr=subprocess.PIPE, text=True)
        self.addCleanup(probe.wait)
        self.addCleanup(probe.terminate)
        self.assertIn("twice", probe.stderr.readline() + probe.stderr.readline())
        time.sleep(0.5)
        self.icons(1, program_class="tray_icon_probe")
        probe.stderr.close()

    def test_message_window_shows_a_failed_job_until_confirmed(self):
        add_job(프린터포트="COMx")
        self.start()
        window = self.desktop.find_window(MESSAGE_WINDOW)
        # Later ticks report the row again into the same window instead of closing it.
        wait_until(lambda: self.program.notices().count(BAD_PORT_NOTICE) >= 2,
                   what="a second tick to report the bad row")
        self.assertIn(window, self.visible_message_windows())
        self.assertEqual(pending_jobs("프린터포트"), ["COMx"], "the bad row stays")
        self.desktop.screenshot(window, os.path.join(SCREENSHOTS, "message-window.png"))
        self.desktop.click(window, *OK_AREA)
        wait_until(lambda: window not in self.visible_message_windows(),
                   what="the confirmed window to close")
        self.assertTrue(self.program.is_running())

    def visible_message_windows(self):
        return self.desktop.xdotool("search", "--onlyvisible", "--name", MESSAGE_WINDOW)

    def test_exit_asks_first_jobs_print_behind_it_and_yes_ends_even_without_database(self):
        com1 = SerialPrinter(self.folder, 1)
        self.addCleanup(com1.close)
        self.start()
        window = self.restore_from_tray()
        self.desktop.click(window, *EXIT_BUTTON)
        dialog = self.desktop.find_window(DIALOG)
        add_job(프린트내용="BEHIND THE QUESTION\r\n")
        com1.wait_for(b"BEHIND THE QUESTION")
        wait_until(lambda: not pending_jobs(), what="the job to be deleted")
        self.desktop.screenshot(dialog, os.path.join(SCREENSHOTS, "exit-question.png"))
        self.desktop.click(dialog, *NO_AREA)
        time.sleep(1)
        self.assertTrue(self.program.is_running(), "아니오 keeps the program running")
        self.assertTrue(self.desktop.is_visible(MAIN_WINDOW))
        stop_database()
        self.addCleanup(start_database)
        self.desktop.click(window, *EXIT_BUTTON)
        self.answer_yes_past_failure_messages()
        self.assertEqual(self.program.process.wait(timeout=10), 0)

    def answer_yes_past_failure_messages(self):
        """With the database gone every tick shows its failure on top of the question, as the
        operator would see it: confirm the message, then answer the question."""
        for _ in range(10):
            if self.desktop.is_visible(MESSAGE_WINDOW):
                self.desktop.click(self.desktop.find_window(MESSAGE_WINDOW), *OK_AREA)
            if self.desktop.is_visible(DIALOG):
                self.desktop.click(self.desktop.find_window(DIALOG), *YES_AREA)
            try:
                self.program.process.wait(timeout=1)
                return
            except subprocess.TimeoutExpired:
                continue


if __name__ == "__main__":
    unittest.main()
