"""Statements the database server itself logs for one backend of the rig's cluster."""

import contextlib
import datetime
import os
import re
import subprocess

from program_rig import sql

# The server's default log line prefix, '%m [%p] ': a timestamp with its zone, then the pid.
STATEMENT_LINE = re.compile(
    r"^(\S+ \S+) \S+ \[(\d+)\] LOG:  (?:statement|execute [^:]*): (.*)$")


def as_superuser(statement):
    """sa may not change logging; the cluster trusts postgres over its socket folder."""
    socket_folder = os.path.dirname(os.environ["KPS_TEST_PGDATA"])
    subprocess.run([os.path.join(os.environ["KPS_TEST_PGBIN"], "psql"), "-X", "-q",
                    "-h", socket_folder, "-U", "postgres", "-d", "postgres",
                    "-v", "ON_ERROR_STOP=1", "-c", statement],
                   check=True, capture_output=True)


@contextlib.contextmanager
def logging_statements_of_sa():
    """Sessions of sa opened inside the block log every statement they run."""
    as_superuser("Alter Role sa Set log_statement = 'all'")
    try:
        yield
    finally:
        as_superuser("Alter Role sa Reset log_statement")


def program_backend():
    """The pid of the one other session of sa: the running program's connection."""
    pids = sql("Select pid From pg_stat_activity "
               "Where usename = 'sa' and pid <> pg_backend_pid();").split()
    if len(pids) != 1:
        raise AssertionError(f"expected the program's one session of sa, found {pids}")
    return int(pids[0])


def log_end():
    return os.path.getsize(os.environ["KPS_TEST_PGLOG"])


def statements_since(offset, pid):
    """(server time, statement) for each statement the backend ran since the log offset."""
    with open(os.environ["KPS_TEST_PGLOG"], "rb") as log:
        log.seek(offset)
        text = log.read().decode("utf-8", errors="replace")
    matches = (STATEMENT_LINE.match(line) for line in text.splitlines())
    return [(datetime.datetime.fromisoformat(match.group(1)), match.group(3))
            for match in matches if match and int(match.group(2)) == pid]
