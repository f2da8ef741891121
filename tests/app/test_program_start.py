"""The program's start, run as the operator's terminal runs it."""

import os
import subprocess
import time
import unittest

from desktop_rig import VirtualDesktop
from printer_rig import SerialPrinter
from program_rig import (TERMINAL_IP, ProgramFolder, RunningProgram, add_job, add_settings_row,
                         connections_so_far, count_echo_requests, pending_jobs, require_rig,
                         reset_tables, start_database, stop_database, wait_until)

STARTED = "출력을 시작합니다"
RETRYING = "데이타베이스에 연결할 수 없어 다시 시도합니다"
AS_NOBODY = ("setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups")


class ProgramStart(unittest.TestCase):
    def setUp(self):
        require_rig(self)
        reset_tables()
        add_settings_row()
        self.folder = ProgramFolder()
        self.programs = []

    def tearDown(self):
        for program in self.programs:
            program.stop()
        self.folder.remove()

    def run_program(self, **options):
        program = RunningProgram(self.folder, **options)
        self.programs.append(program)
        return program

    def config(self, db_kind="DB=MS-SQL", server="SERVER=127.0.0.1"):
        return ["[ZelnorPOS]", "매장코드 =  S001  ", "POSID=01", server, db_kind]

    def test_database_kind_may_carry_blanks_around_it(self):
        self.folder.write_config(self.config(db_kind="DB=  MS-SQL   "))
        program = self.run_program()
        program.wait_for_line(STARTED)
        self.assertTrue(program.is_running())
        self.assertEqual(program.notices(), [f"{STARTED} (터미널 주소 {TERMINAL_IP})"])

    def test_wrong_database_kind_ends_the_program_once_the_message_is_closed(self):
        self.folder.write_config(self.config(db_kind="DB=ms-sql"))
        desktop = VirtualDesktop()
        self.addCleanup(desktop.close)
        program = self.run_program(platform="xcb", extra_env={"DISPLAY": desktop.display})
        program.wait_for_line("DB 종류를 MS-SQL로 해야 합니다")
        self.assertEqual(program.notices(), ["환경설정에서  DB 종류를 MS-SQL로 해야 합니다"])
        window = desktop.find_window("메세지")
        time.sleep(1)
        self.assertTrue(program.is_running(), "the program waits for the operator")
        desktop.click(window, 276 + 167 // 2, 200 + 67 // 2)
        self.assertEqual(program.process.wait(timeout=10), 0)

    def test_jobs_print_while_a_settings_message_waits_for_the_operator(self):
        # Line 12 holds a small number; 70000 does not fit.
        options = "".join(f"option{line}={line}\r\n" for line in range(1, 12)) + "line12=70000"
        reset_tables()
        add_settings_row(기타옵션=options)
        com1 = SerialPrinter(self.folder, 1)
        self.addCleanup(com1.close)
        program = self.run_program()
        program.wait_for_line("70000")
        add_job(프린트내용="BEHIND THE MESSAGE\r\n")
        com1.wait_for(b"BEHIND THE MESSAGE")
        wait_until(lambda: not pending_jobs(), what="the job to be deleted")
        self.assertTrue(program.is_running())

    def test_terminal_started_before_its_network_takes_its_own_jobs_once_it_is_up(self):
        address = [f"{TERMINAL_IP}/24", "dev", "kps0"]
        subprocess.run(["ip", "addr", "del", *address], check=True)
        self.addCleanup(subprocess.run, ["ip", "addr", "replace", *address], check=True)
        com1 = SerialPrinter(self.folder, 1)
        self.addCleanup(com1.close)
        program = self.run_program()
        program.wait_for_line(f"{STARTED} (터미널 주소 127.0.0.1)")
        subprocess.run(["ip", "addr", "add", *address], check=True)
        add_job(IP주소=TERMINAL_IP, POSID="09", 프린트내용="OWN ADDRESS\r\n")
        com1.wait_for(b"OWN ADDRESS")
        wait_until(lambda: not pending_jobs(), what="the job to be deleted")

    def test_four_line_file_shows_the_failure_and_no_timer_runs(self):
        self.folder.write_config(self.config()[:4])
        before = connections_so_far()
        program = self.run_program()
        program.wait_for_line("환경설정.CFG")
        time.sleep(2)
        self.assertTrue(program.is_running(), "the program stays open doing nothing")
        self.assertEqual(connections_so_far(), before)
        self.assertEqual(len(program.notices()), 1)

    def test_qt_options_reach_qt_and_unknown_arguments_are_reported_while_it_prints(self):
        com1 = SerialPrinter(self.folder, 1)
        self.addCleanup(com1.close)
        program = self.run_program(
            arguments=["-session", "x", "-style", "fusion", "--bogus", "stray"])
        program.wait_for_line(STARTED)
        add_job(프린트내용="WITH ARGUMENTS\r\n")
        com1.wait_for(b"WITH ARGUMENTS")
        notice = ("unknown arguments ignored: '--bogus' 'stray'; "
                  "kitchen-print-server --help lists the options.")
        self.assertEqual(program.notices(), [notice, f"{STARTED} (터미널 주소 {TERMINAL_IP})"])
        self.assertEqual([line.split("  ")[1] for line in
                          self.folder.error_log_lines("parseCommandLine")], [notice])

    def test_second_instance_of_any_account_is_refused_until_the_first_is_killed(self):
        # Started under a umask that would close the lock file to every other account.
        umask = os.umask(0o077)
        first = self.run_program()
        os.umask(umask)
        first.wait_for_line(STARTED)
        second = self.run_program()
        second.wait_for_line("이미 실행 중입니다")
        self.assertEqual(second.process.wait(timeout=10), 0)
        self.assertTrue(first.is_running())
        self.assertEqual(first.notices(), [f"{STARTED} (터미널 주소 {TERMINAL_IP})"])

        # Another account, reaching the folder through a link, is refused as well.
        os.chmod(self.folder.path, 0o755)
        link = self.folder.path + "-link"
        os.symlink(self.folder.path, link)
        self.addCleanup(os.remove, link)
        other = self.run_program(launcher=AS_NOBODY, arguments=["--program-folder", link])
        other.wait_for_line("이미 실행 중입니다")
        self.assertEqual(other.process.wait(timeout=10), 0)

        first.process.kill()
        first.process.wait(timeout=10)
        self.run_program().wait_for_line(STARTED)

    def test_another_program_folder_is_another_installation(self):
        other = ProgramFolder()
        self.addCleanup(other.remove)
        first = self.run_program()
        first.wait_for_line(STARTED)
        second = RunningProgram(other)
        self.programs.append(second)
        # The port of the server socket is taken, so the second start stops there, shown.
        second.wait_for_line("in use")
        self.assertTrue(second.is_running())
        self.assertNotIn("이미 실행 중입니다", " ".join(second.notices()))

    def test_unreachable_database_is_retried_silently_until_it_is_back(self):
        stop_database()
        self.addCleanup(start_database)
        program = self.run_program()
        program.wait_for_line(RETRYING)
        echoes = count_echo_requests(seconds=2)
        self.assertGreaterEqual(echoes, 6, "one echo before every attempt, about 10 a second")
        self.assertEqual(program.notices(), [RETRYING])
        start_database()
        program.wait_for_line("데이타베이스에 연결되어 출력을 시작합니다")
        self.assertEqual(len(program.notices()), 2)

    def test_missing_settings_row_is_retried_like_an_unreachable_database(self):
        reset_tables()
        program = self.run_program()
        program.wait_for_line(RETRYING)
        before = connections_so_far()
        time.sleep(1)
        self.assertGreaterEqual(connections_so_far() - before, 4)
        add_settings_row()
        program.wait_for_line("데이타베이스에 연결되어 출력을 시작합니다")
        self.assertEqual(len(program.notices()), 2)


if __name__ == "__main__":
    unittest.main()
