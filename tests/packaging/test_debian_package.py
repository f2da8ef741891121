"""The Debian package on this machine: installed with apt, it registers the "SQL Server" driver
of its own architecture and grants no capability, checks the server's reachability as any user,
sets a terminal up from the command line, prints from the user's own program folder, starts
nothing once removed, and is purged without a trace, leaving alone a driver entry it did not add
or that an administrator changed."""

import configparser
import os
import shutil
import subprocess
import tempfile
import unittest

from printer_rig import SerialPrinter
from program_rig import (ProgramFolder, RunningProgram, add_job, add_settings_row, pending_jobs,
                         require_rig, reset_tables, wait_until)
from required_parts import require_or_skip

PACKAGE = os.environ.get("KPS_PACKAGE", "")
NAME = "kitchen-print-server"
PROGRAM = "/usr/lib/kitchen-print-server/kitchen-print-server"
LAUNCHER = "/usr/bin/kitchen-print-server"
ODBCINST_INI = "/etc/odbcinst.ini"
AUTOSTART = "/etc/xdg/autostart/kitchen-print-server.desktop"
PING_GROUP_RANGE = "/proc/sys/net/ipv4/ping_group_range"
# The machine's own driver registry, not the rig's private one.
SYSTEM_ENV = {key: value for key, value in os.environ.items()
              if key not in ("ODBCSYSINI", "ODBCINSTINI", "ODBCINI")}


def system(*command, check=True):
    return subprocess.run(command, env=dict(SYSTEM_ENV, DEBIAN_FRONTEND="noninteractive"),
                          capture_output=True, text=True, check=check)


def sql_server_driver():
    """The machine's "SQL Server" driver entry, None when there is none."""
    found = system("odbcinst", "-q", "-d", "-n", "SQL Server", check=False)
    return found.stdout if found.returncode == 0 else None


def own_architecture_freetds():
    architecture = system("dpkg", "--print-architecture").stdout.strip()
    return next(path for path in system("dpkg", "-L", f"tdsodbc:{architecture}").stdout.split()
                if path.endswith("/odbc/libtdsodbc.so"))


def in_private_network():
    """Only the rig's own network namespace may have its ping sockets changed."""
    machines = os.environ.get("KPS_TEST_NETNS", "")
    return bool(machines) and os.readlink("/proc/self/ns/net") != machines


def is_installed():
    return system("dpkg-query", "-W", "-f=${Status}", NAME, check=False).stdout.endswith(
        " installed")


def has_traces():
    """Installed, or removed with its configuration files left."""
    found = system("dpkg-query", "-W", "-f=${Status}", NAME, check=False)
    return found.returncode == 0 and not found.stdout.endswith(" not-installed")


class DebianPackage(unittest.TestCase):
    def setUp(self):
        require_rig(self)
        require_or_skip(os.geteuid() == 0, "installing a package needs root")
        require_or_skip(os.path.isfile(PACKAGE), "needs the package (KPS_PACKAGE)")
        self.assertFalse(is_installed(), "the package must not be installed before the test")
        with open(ODBCINST_INI, encoding="utf-8") as registry:
            saved = registry.read()
        self.addCleanup(self.restore_registry, saved)
        if sql_server_driver() is not None:
            system("odbcinst", "-u", "-d", "-n", "SQL Server")
        self.addCleanup(lambda: has_traces() and system("apt-get", "purge", "-y", NAME))

    @staticmethod
    def restore_registry(saved):
        with open(ODBCINST_INI, "w", encoding="utf-8") as registry:
            registry.write(saved)

    def install(self):
        system("apt-get", "install", "-y", "--reinstall", "--no-install-recommends", PACKAGE)
        return [path for path in system("dpkg", "-L", NAME).stdout.splitlines()
                if os.path.isfile(path) or os.path.islink(path)]

    def purge(self, installed_files):
        system("apt-get", "purge", "-y", NAME)
        self.assertEqual([path for path in installed_files if os.path.lexists(path)], [])
        self.assertFalse(os.path.exists("/var/lib/kitchen-print-server"))

    def setup_command(self, data_home, *arguments):
        return subprocess.run([LAUNCHER, "--setup", "--store", "S001", "--server", "127.0.0.1",
                               *arguments], env=dict(os.environ, XDG_DATA_HOME=data_home),
                              capture_output=True, text=True)

    def check_setup(self, data_home):
        passed = self.setup_command(data_home, "--pos", "01")
        self.assertEqual(passed.returncode, 0, passed.stdout + passed.stderr)
        self.assertEqual(passed.stdout.count("통과"), 5, passed.stdout)
        missing = self.setup_command(data_home, "--pos", "99", "--overwrite")
        self.assertEqual(missing.returncode, 1)
        self.assertIn("실패  환경설정 행 (매장코드 S001, POSID 99): 행이 없습니다", missing.stdout)
        self.assertEqual(self.setup_command(data_home, "--pos", "01", "--overwrite").returncode, 0)

    def reachability_verdict(self, server):
        """The setup's verdict on the server's reachability, run as an unprivileged user."""
        data_home = tempfile.mkdtemp(prefix="kps-nobody-")
        self.addCleanup(shutil.rmtree, data_home, True)
        shutil.chown(data_home, "nobody", "nogroup")
        run = subprocess.run(["runuser", "-u", "nobody", "--", "env", f"XDG_DATA_HOME={data_home}",
                              LAUNCHER, "--setup", "--store", "S001", "--pos", "01", "--server",
                              server], capture_output=True, text=True)
        return next((line for line in run.stdout.splitlines() if f"서버 {server} 응답" in line),
                    run.stdout + run.stderr)

    def check_reachability_without_privilege(self):
        self.assertTrue(in_private_network(), "the rig runs in a network namespace of its own")
        with open(PING_GROUP_RANGE, encoding="ascii") as setting:
            saved = setting.read()
        self.addCleanup(self.set_ping_groups, saved)
        # Debian's own setting refuses ping sockets: the database port decides. Where they are
        # allowed, the echo does.
        for groups in ("1 0", "0 2147483647"):
            self.set_ping_groups(groups)
            with self.subTest(ping_group_range=groups):
                how = "ICMP 에코" if groups != "1 0" else "TCP 포트 1433 연결 시도"
                self.assertRegex(self.reachability_verdict("127.0.0.1"),
                                 rf"^통과  서버 127\.0\.0\.1 응답 \({how}, \d+ ms\)$")
                # The rig routes 0.0.0.0/8 nowhere.
                self.assertEqual(self.reachability_verdict("0.0.5.153"),
                                 f"실패  서버 0.0.5.153 응답: 200 ms 안에 응답이 없습니다 ({how}, "
                                 "상태 11003)")

    @staticmethod
    def set_ping_groups(groups):
        with open(PING_GROUP_RANGE, "w", encoding="ascii") as setting:
            setting.write(groups)

    def check_removed_entry_starts_nothing(self):
        system("apt-get", "remove", "-y", NAME)
        entry = configparser.ConfigParser(interpolation=None)
        entry.read(AUTOSTART, encoding="utf-8")
        self.assertFalse(os.path.exists(entry["Desktop Entry"]["TryExec"]))

    def check_printing(self, data_home):
        folder = ProgramFolder(path=os.path.join(data_home, NAME), installed_program=LAUNCHER)
        printer = SerialPrinter(folder, 1)
        self.addCleanup(printer.close)
        add_job(프린트내용="PACKAGED\r\n")
        program = RunningProgram(folder, extra_env={"XDG_DATA_HOME": data_home})
        self.addCleanup(program.stop)
        program.wait_for_line("출력을 시작합니다")
        printer.wait_for(b"PACKAGED")
        wait_until(lambda: not pending_jobs(), what="the job to be deleted")

    def test_installed_program_is_set_up_prints_and_is_purged_without_a_trace(self):
        reset_tables()
        add_settings_row()
        installed_files = self.install()
        registered = sql_server_driver()
        self.assertIn(f"Driver={own_architecture_freetds()}\n", registered)
        # As an upgrade runs the maintainer scripts again: nothing doubles, nothing is lost.
        self.install()
        self.assertEqual(sql_server_driver(), registered)
        self.assertEqual(system("getcap", PROGRAM).stdout, "")
        self.check_reachability_without_privilege()
        data_home = tempfile.mkdtemp(prefix="kps-data-home-")
        self.check_setup(data_home)
        self.check_printing(data_home)
        self.check_removed_entry_starts_nothing()
        self.purge(installed_files)
        self.assertIsNone(sql_server_driver())

    def test_driver_entry_an_administrator_changed_stays_after_purge(self):
        installed_files = self.install()
        with open(ODBCINST_INI, encoding="utf-8") as registry:
            text = registry.read()
        ours = f"Driver={own_architecture_freetds()}\n"
        self.assertIn(ours, text)
        with open(ODBCINST_INI, "w", encoding="utf-8") as registry:
            registry.write(text.replace(ours, "Driver=/opt/store/odbc/libsqlserver.so\n"))
        changed = sql_server_driver()
        self.purge(installed_files)
        self.assertEqual(sql_server_driver(), changed)

    def test_driver_entry_it_did_not_add_stays_as_it_was(self):
        with tempfile.NamedTemporaryFile("w", suffix=".ini") as entry:
            entry.write("[SQL Server]\nDescription=the store's own\nDriver=libtdsodbc.so\n")
            entry.flush()
            system("odbcinst", "-i", "-d", "-f", entry.name)
        own = sql_server_driver()
        installed_files = self.install()
        self.assertEqual(sql_server_driver(), own)
        self.purge(installed_files)
        self.assertEqual(sql_server_driver(), own)


if __name__ == "__main__":
    unittest.main()
