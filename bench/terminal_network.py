"""A network stack of its own for a second terminal on this machine: the program listens on a
fixed port, so two of them need two network namespaces, as two terminals are two machines.
The namespace has only its loopback, where a socat bridge passes database connections on to
the rig cluster's Unix socket; nothing else goes in or out."""

import os
import signal
import subprocess
import time

DATABASE_PORT = 5432
LISTENING = "0A"


def network_of(pid):
    return os.readlink(f"/proc/{pid}/ns/net")


class TerminalNetwork:
    def __init__(self):
        database_socket = os.path.join(os.path.dirname(os.environ["KPS_TEST_PGDATA"]),
                                       f".s.PGSQL.{DATABASE_PORT}")
        # A session of its own, so that close() also ends the bridge's per-connection children.
        self._bridge = subprocess.Popen(
            ["unshare", "--net", "--", "sh", "-c",
             'ip link set lo up && exec socat "TCP-LISTEN:$1,bind=127.0.0.1,reuseaddr,fork" '
             '"UNIX-CONNECT:$2"', "bridge", str(DATABASE_PORT), database_socket],
            start_new_session=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self._wait_for_bridge()

    def _bridge_listens(self):
        """/proc/<pid>/net shows the network of that process, here the new namespace's."""
        if network_of(self._bridge.pid) == network_of(os.getpid()):
            return False
        wanted = f"0100007F:{DATABASE_PORT:04X}"
        with open(f"/proc/{self._bridge.pid}/net/tcp", encoding="ascii") as table:
            return any(fields[1] == wanted and fields[3] == LISTENING
                       for fields in (line.split() for line in list(table)[1:]))

    def _wait_for_bridge(self):
        deadline = time.monotonic() + 5
        while not self._bridge_listens():
            if self._bridge.poll() is not None or time.monotonic() > deadline:
                self.close()
                raise AssertionError("the database bridge of the terminal's network did not start")
            time.sleep(0.02)

    def starter(self, folder):
        """A script in the program folder that runs its program inside this network; exec keeps
        the program's process id the script's."""
        path = os.path.join(folder.path, "start-in-terminal-network")
        with open(path, "w", encoding="utf-8") as script:
            script.write(f"#!/bin/sh\nexec nsenter --net=/proc/{self._bridge.pid}/ns/net -- "
                         f"'{folder.program}'\n")
        os.chmod(path, 0o755)
        return path

    def close(self):
        if self._bridge.poll() is None:
            os.killpg(self._bridge.pid, signal.SIGTERM)
        self._bridge.wait(timeout=5)
