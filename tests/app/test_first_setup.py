"""The first setup from the command line: each verdict says what it checked, and a failure
says why in the words of whatever refused."""

import os
import shutil
import subprocess
import tempfile
import unittest

from program_rig import (PROGRAM, add_settings_row, require_rig, reset_tables, start_database,
                         stop_database)


class FirstSetup(unittest.TestCase):
    def setUp(self):
        require_rig(self)
        reset_tables()
        add_settings_row()
        self.folder = tempfile.mkdtemp(prefix="kps-setup-")
        self.addCleanup(shutil.rmtree, self.folder, ignore_errors=True)

    def setup(self, env=None):
        return subprocess.run([PROGRAM, "--setup", "--program-folder", self.folder, "--store",
                               "S001", "--pos", "01", "--server", "127.0.0.1", "--overwrite"],
                              env=dict(os.environ, **(env or {})), capture_output=True,
                              text=True, timeout=60)

    def test_a_running_store_passes_with_the_driver_library_named(self):
        passed = self.setup()
        self.assertEqual(passed.returncode, 0, passed.stdout)
        self.assertRegex(passed.stdout, r"통과  ODBC 드라이버 \"SQL Server\" 등록, 라이브러리 /\S+ 읽힘")

    def test_check_reads_the_existing_file_and_writes_nothing(self):
        self.setup()
        config = os.path.join(self.folder, "환경설정.CFG")
        written = os.stat(config).st_mtime_ns
        checked = subprocess.run([PROGRAM, "--check", "--program-folder", self.folder],
                                 capture_output=True, text=True, timeout=60)
        self.assertEqual(checked.returncode, 0, checked.stdout)
        self.assertIn("읽기 (매장코드 S001, POSID 01, 서버 127.0.0.1)", checked.stdout)
        self.assertEqual(checked.stdout.count("통과"), 5, checked.stdout)
        self.assertEqual(os.stat(config).st_mtime_ns, written)

    def test_without_a_display_one_line_and_exit_1_and_autostart_ends_quietly_unset_up(self):
        env = {name: value for name, value in os.environ.items()
               if name not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        run = subprocess.run([PROGRAM, "--program-folder", self.folder], env=env,
                             capture_output=True, text=True, timeout=30)
        self.assertEqual((run.returncode, len(run.stderr.splitlines())), (1, 1), run.stderr)
        self.assertIn("화면(윈도 시스템)에 연결할 수 없어", run.stderr)
        quiet = subprocess.run([PROGRAM, "--autostart", "--program-folder", self.folder],
                               env=dict(env, QT_QPA_PLATFORM="offscreen"), capture_output=True,
                               text=True, timeout=30)
        own = [line for line in quiet.stderr.splitlines() if line.startswith("kitchen-print")]
        self.assertEqual((quiet.returncode, len(own)), (0, 1), quiet.stderr)
        self.assertIn("--setup", own[0])

    def test_a_driver_registered_without_its_library_fails_the_driver_check(self):
        registry = os.path.join(self.folder, "odbcinst")
        os.makedirs(registry)
        with open(os.path.join(registry, "odbcinst.ini"), "w", encoding="utf-8") as entry:
            entry.write("[SQL Server]\nDriver=/usr/lib/missing/libtdsodbc.so\n")
        failed = self.setup({"ODBCSYSINI": registry})
        self.assertEqual(failed.returncode, 1)
        self.assertIn("실패  ODBC 드라이버 \"SQL Server\" 등록: 라이브러리 "
                      "/usr/lib/missing/libtdsodbc.so을(를) 읽을 수 없습니다", failed.stdout)

    def test_an_instance_name_or_ipv6_address_is_called_no_address(self):
        for server in ("db\\kitchen", "::1"):
            failed = subprocess.run([PROGRAM, "--setup", "--program-folder", self.folder,
                                     "--store", "S001", "--pos", "01", "--server", server,
                                     "--overwrite"], capture_output=True, text=True, timeout=60)
            self.assertIn(f"실패  서버 {server} 응답: 주소로 쓸 수 없습니다", failed.stdout)

    def test_a_stopped_server_fails_the_connection_in_the_drivers_words(self):
        stop_database()
        self.addCleanup(start_database)
        failed = self.setup()
        self.assertEqual(failed.returncode, 1)
        self.assertRegex(failed.stdout, r"실패  데이타베이스 연결 \(127\.0\.0\.1, 데이타베이스 "
                                        r"젤노포스식음\): 연결할 수 없습니다: .*[Cc]onnection")


if __name__ == "__main__":
    unittest.main()
