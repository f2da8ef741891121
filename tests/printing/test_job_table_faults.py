"""The job table failing the program: locked by another session, the database restarted in the
middle of a run, rows that cannot be deleted or whose key is hard to match, rows that cannot be
printed. Every job is printed in full at least once, a row goes only once its job was printed,
each fault repeats at most one job, and the program runs on."""

import os
import subprocess
import time
import unittest

from marked_jobs import MarkedJobs
from printer_rig import SerialPrinter
from program_rig import (JOB_PROCEDURE, SOURCE_DIR, ProgramTestCase, add_job, pending_jobs,
                         restart_database, sql, wait_until)

LOST_CONNECTION = "데이타베이스 연결에 실패 했습니다"
# Longer than two 30 s statement limits: a tick's first statement, the drawer kick's, only logs
# its failure; the job run's, next, is the one that counts as a lost connection.
LOCK_SECONDS = 80
FRACTIONAL_STAMPS = ("2026-12-09 10:00:00.123456", "2026-12-09 10:00:00.123457")
REMEMBERED_FILE = "지우지못한출력물.json"


def job_table_statement():
    """The test schema's CREATE statement of the job table."""
    with open(os.path.join(SOURCE_DIR, "tests", "support", "schema.sql"),
              encoding="utf-8") as schema:
        text = schema.read()
    start = text.index("CREATE TABLE 주방출력물")
    return text[start:text.index(";", start) + 1]


class JobTableFaults(ProgramTestCase):
    def setUp(self):
        super().setUp()
        self.com1 = SerialPrinter(self.folder, 1)
        self.addCleanup(self.com1.close)

    def wait_until_printed(self, jobs, timeout=30):
        wait_until(lambda: jobs.printed_in_full(self.com1.received()), timeout=timeout,
                   what="every job printed")

    def wait_until_delivered(self, jobs, timeout=30):
        wait_until(lambda: jobs.printed_in_full(self.com1.received()) and not pending_jobs(),
                   timeout=timeout, what="every job printed and its row deleted")

    def lock_job_table(self, seconds):
        """Another session holds the table for the given time, as a long report might."""
        locker = subprocess.Popen(
            ["bash", os.path.join(SOURCE_DIR, "scripts", "test-db.sh"), "psql", "-q", "-c",
             "Begin; Lock Table 주방출력물 In Access Exclusive Mode; "
             f"Select pg_sleep({seconds}); Commit;"], stdout=subprocess.DEVNULL)
        self.addCleanup(locker.wait, timeout=10)
        self.addCleanup(sql, "Select pg_terminate_backend(pid) From pg_stat_activity "
                             "Where query Like '%pg_sleep%' And pid <> pg_backend_pid();")
        wait_until(lambda: sql("Select count(*) From pg_locks Where granted And "
                               "relation = '주방출력물'::regclass And "
                               "mode = 'AccessExclusiveLock';").strip() == "1",
                   what="the lock on the job table")
        return locker

    def test_start_behind_a_locked_table_gives_up_within_the_limit_then_prints(self):
        jobs = MarkedJobs("LOCKED", 3)
        jobs.file()
        locker = self.lock_job_table(LOCK_SECONDS)
        self.start()
        self.program.wait_for_line(LOST_CONNECTION, timeout=LOCK_SECONDS + 10)
        self.assertIsNone(locker.poll(), "the program gave up while the table was still locked")
        self.assertEqual(self.com1.received(), b"")
        self.wait_until_delivered(jobs, timeout=LOCK_SECONDS + 30)
        jobs.assert_delivered(self, self.com1.received())
        self.assertTrue(self.program.is_running())

    def test_database_restarted_in_the_middle_of_a_run_repeats_at_most_one_job(self):
        jobs = MarkedJobs("RESTART", 30)
        jobs.file()
        self.start()
        wait_until(lambda: len(pending_jobs()) <= 25, what="the first jobs to go")
        restart_database()
        self.program.wait_for_line(LOST_CONNECTION)
        self.wait_until_delivered(jobs, timeout=90)
        jobs.assert_delivered(self, self.com1.received(), faults=1)
        self.assertTrue(self.program.is_running())

    def test_rows_without_a_simple_key_are_deleted_after_one_print(self):
        schema_table = job_table_statement()
        self.addCleanup(sql, f"Drop Table 주방출력물; {schema_table}")
        no_key = schema_table.replace(" PRIMARY KEY", "")
        microsecond_key = no_key.replace("(", "(\n    접수시각 timestamp(6) PRIMARY KEY,", 1)
        variants = (("NOKEY", no_key, [{}, {}]),
                    ("STAMPED", microsecond_key, [{"접수시각": s} for s in FRACTIONAL_STAMPS]))
        for name, table, keys in variants:
            with self.subTest(table=name):
                sql(f"Drop Table 주방출력물; {table}")
                jobs = MarkedJobs(name, len(keys))
                for number, (job, key) in enumerate(zip(jobs.names, keys), start=1):
                    add_job(테이블번호=number, 프린트내용=jobs.body(job), **key)
                self.start()
                try:
                    self.wait_until_delivered(jobs)
                    time.sleep(1.5)
                    jobs.assert_delivered(self, self.com1.received())
                finally:
                    self.program.stop()

    def test_row_that_cannot_be_deleted_is_printed_once_and_deleted_later(self):
        sql("Revoke Delete On 주방출력물 From sa;")
        self.addCleanup(sql, "Grant Delete On 주방출력물 To sa;")
        jobs = MarkedJobs("KEPT", 2)
        jobs.file()
        self.start()
        self.wait_until_printed(jobs)
        time.sleep(2.5)
        self.assertEqual(len(pending_jobs()), 2)
        self.assertEqual(len(self.folder.error_log_lines(JOB_PROCEDURE)), 2,
                         "one line per job, not per tick")
        sql("Grant Delete On 주방출력물 To sa;")
        wait_until(lambda: not pending_jobs(), what="the rows to go")
        time.sleep(1.5)
        jobs.assert_delivered(self, self.com1.received())

    def test_identical_rows_without_a_key_are_two_copies(self):
        schema_table = job_table_statement()
        self.addCleanup(sql, f"Drop Table 주방출력물; {schema_table}")
        sql(f"Drop Table 주방출력물; {schema_table.replace(' PRIMARY KEY', '')}")
        sql("Revoke Delete On 주방출력물 From sa;")
        self.addCleanup(sql, "Grant Delete On 주방출력물 To sa;")
        for _ in range(2):
            add_job(일련번호=1, 프린트내용="COPY BEGIN\r\nCOPY END\r\n")
        self.start()
        wait_until(lambda: len(self.folder.error_log_lines(JOB_PROCEDURE)) == 2,
                   what="both copies printed while neither row can go")
        time.sleep(2.5)
        sql("Grant Delete On 주방출력물 To sa;")
        wait_until(lambda: not pending_jobs(), what="both rows to go")
        time.sleep(1.5)
        self.assertEqual(self.com1.received().count(b"COPY END"), 2)

    def test_printed_job_whose_row_would_not_go_is_not_printed_again_after_a_restart(self):
        sql("Revoke Delete On 주방출력물 From sa;")
        self.addCleanup(sql, "Grant Delete On 주방출력물 To sa;")
        jobs = MarkedJobs("RESTART", 2)
        jobs.file()
        self.start()
        wait_until(lambda: len(self.folder.error_log_lines(JOB_PROCEDURE)) == 2,
                   what="both jobs printed and their rows remembered")
        self.program.stop()
        self.start()
        time.sleep(2.5)
        sql("Grant Delete On 주방출력물 To sa;")
        wait_until(lambda: not pending_jobs(), what="the rows to go")
        time.sleep(1.5)
        jobs.assert_delivered(self, self.com1.received())
        self.assertFalse(os.path.exists(os.path.join(self.folder.path, REMEMBERED_FILE)))

    def test_order_sheet_without_the_columns_of_its_print_log_line_is_reported_not_printed(self):
        self.addCleanup(sql, f"Drop Table 주방출력물; {job_table_statement()}")
        sheet = MarkedJobs("SHEET", 1)
        sheet.file()
        plain = MarkedJobs("PLAIN", 1)
        plain.file(테이블번호=2, 출력물종류="영수증")
        sql("Alter Table 주방출력물 Drop Column 프린터명;")
        self.start()
        self.program.wait_for_line("항목을 찾을 수 없습니다: 프린터명")
        wait_until(lambda: pending_jobs() == ["1"], what="only the order sheet to stay")
        time.sleep(2.5)
        self.assertNotIn(b"SHEET", self.com1.received())
        plain.assert_delivered(self, self.com1.received())

    def test_rows_that_cannot_be_printed_leave_the_jobs_behind_them_printing(self):
        add_job(테이블번호=1, 프린터파라미터="9600,X,8,1", 프린트내용="BAD SETTINGS\r\n")
        add_job(테이블번호=1, 프린터포트="COMx", 프린트내용="BAD PORT\r\n")
        first = MarkedJobs("FIRST", 1)
        first.file(테이블번호=2)
        self.start()
        self.wait_until_printed(first)
        later = MarkedJobs("LATER", 1)
        later.file(테이블번호=3)
        self.wait_until_printed(later)
        wait_until(lambda: pending_jobs() == ["1", "1"], what="only the bad rows to stay")
        first.assert_delivered(self, self.com1.received())
        later.assert_delivered(self, self.com1.received())
        self.assertNotIn(b"BAD", self.com1.received())
        self.assertTrue(self.program.is_running())


if __name__ == "__main__":
    unittest.main()
