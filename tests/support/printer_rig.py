"""Kitchen printers for tests: a serial printer is a socat pseudo-terminal pair whose one end
the program opens as <program folder>/ports/COMn; the test reads the other end."""

import os
import select
import subprocess
import threading
import time


class SerialPrinter:
    def __init__(self, folder, number):
        ports = os.path.join(folder.path, "ports")
        os.makedirs(ports, exist_ok=True)
        self.port_link = os.path.join(ports, f"COM{number}")
        self.reader_link = os.path.join(folder.path, f"printer-COM{number}")
        self.socat = subprocess.Popen(
            ["socat", f"pty,raw,echo=0,link={self.port_link}",
             f"pty,raw,echo=0,link={self.reader_link}"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + 5
        while not (os.path.exists(self.port_link) and os.path.exists(self.reader_link)):
            if time.monotonic() > deadline:
                raise AssertionError("socat did not make the pseudo-terminals")
            time.sleep(0.02)
        self.fd = os.open(self.reader_link, os.O_RDONLY | os.O_NOCTTY | os.O_NONBLOCK)
        self._received = bytearray()
        self._lock = threading.Lock()
        self._stop = False
        self._thread = threading.Thread(target=self._read, daemon=True)
        self._thread.start()

    def _read(self):
        while not self._stop:
            ready, _, _ = select.select([self.fd], [], [], 0.05)
            if ready:
                try:
                    chunk = os.read(self.fd, 4096)
                except BlockingIOError:
                    continue
                with self._lock:
                    self._received += chunk

    def received(self):
        with self._lock:
            return bytes(self._received)

    def wait_for(self, data, timeout=15.0):
        deadline = time.monotonic() + timeout
        while data not in self.received():
            if time.monotonic() > deadline:
                raise AssertionError(f"{data!r} never reached the printer; got {self.received()!r}")
            time.sleep(0.05)

    def close(self):
        self._stop = True
        self._thread.join()
        os.close(self.fd)
        self.socat.terminate()
        self.socat.wait(timeout=5)
