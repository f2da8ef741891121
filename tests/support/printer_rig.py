"""Kitchen printers for tests: a serial printer is a socat pseudo-terminal pair whose one end
the program opens as <program folder>/ports/COMn; the test reads the other end."""

import contextlib
import os
import select
import socket
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
        self._last_byte_at = None
        # (read time, bytes received so far) per chunk, to tell when a given byte arrived.
        self._arrivals = []
        self._lock = threading.Lock()
        self._reading = threading.Event()
        self._reading.set()
        self._stop = False
        self._thread = threading.Thread(target=self._read, daemon=True)
        self._thread.start()

    def _read(self):
        while not self._stop:
            if not self._reading.wait(0.05):
                continue
            ready, _, _ = select.select([self.fd], [], [], 0.05)
            if ready:
                try:
                    chunk = os.read(self.fd, 4096)
                except BlockingIOError:
                    continue
                with self._lock:
                    self._received += chunk
                    self._last_byte_at = time.monotonic()
                    self._arrivals.append((self._last_byte_at, len(self._received)))

    def pause(self):
        """Stops reading, as a printer out of paper does, until resume(); the pseudo-terminals'
        kernel buffers then fill and the program's writes stall."""
        self._reading.clear()

    def resume(self):
        self._reading.set()

    def remove_port(self):
        """Unplugs the printer: the port the program opens is gone until restore_port()."""
        self._port_target = os.readlink(self.port_link)
        os.unlink(self.port_link)

    def restore_port(self):
        os.symlink(self._port_target, self.port_link)

    def last_byte_at(self):
        with self._lock:
            return self._last_byte_at

    def arrivals(self):
        """(read time, bytes received so far) for every chunk read, oldest first."""
        with self._lock:
            return list(self._arrivals)

    def first_byte_at(self):
        with self._lock:
            return self._arrivals[0][0] if self._arrivals else None

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


class NetworkPrinter:
    """A kitchen printer on a TCP port: it answers each connection with a status byte, as
    printers do, reads until the program closes, can drop a connection mid-job, and can pause
    reading. A small receive_buffer (bytes) makes a pause back up the program's sending."""

    def __init__(self, host, port=9100, drop_after_bytes=None, receive_buffer=None):
        self.host, self.port = host, port
        self.drop_after_bytes = drop_after_bytes
        self.connections = 0
        self._received = bytearray()
        self._first_byte_at = None
        self._last_byte_at = None
        self._lock = threading.Lock()
        self._reading = threading.Event()
        self._reading.set()
        self._server = socket.create_server((host, port))
        if receive_buffer is not None:
            # Connections accepted later inherit the listening socket's buffer size.
            self._server.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, receive_buffer)
        self._server.settimeout(0.05)
        self._stop = False
        self._thread = threading.Thread(target=self._serve, daemon=True)
        self._thread.start()

    def _serve(self):
        while not self._stop:
            try:
                connection, _ = self._server.accept()
            except socket.timeout:
                continue
            with self._lock:
                self.connections += 1
            # A connection the program reset ends like one it closed.
            with contextlib.suppress(ConnectionError):
                self._take(connection)

    def _take(self, connection):
        connection.sendall(b"\x12")
        connection.settimeout(0.05)
        taken = 0
        with connection:
            while not self._stop:
                if not self._reading.wait(0.05):
                    continue
                try:
                    chunk = connection.recv(4096)
                except socket.timeout:
                    continue
                if not chunk:
                    return
                with self._lock:
                    self._received += chunk
                    self._last_byte_at = time.monotonic()
                    self._first_byte_at = self._first_byte_at or self._last_byte_at
                taken += len(chunk)
                if self.drop_after_bytes is not None and taken >= self.drop_after_bytes:
                    self.drop_after_bytes = None
                    return

    def drop_at_next_chunk(self):
        """Drops the connection that receives the next chunk, as a printer reset mid-job does."""
        self.drop_after_bytes = 0

    def pause(self):
        """Stops reading, as a printer out of paper does, until resume()."""
        self._reading.clear()

    def resume(self):
        self._reading.set()

    def received(self):
        with self._lock:
            return bytes(self._received)

    def first_byte_at(self):
        with self._lock:
            return self._first_byte_at

    def last_byte_at(self):
        with self._lock:
            return self._last_byte_at

    def close(self):
        self._stop = True
        self._thread.join()
        self._server.close()


class SilentPrinter:
    """A printer address that never completes a connection: its listen queue is full, so
    the kernel drops further connection attempts without an answer."""

    def __init__(self, host, port=9100):
        self._server = socket.create_server((host, port), backlog=0)
        self._fillers = []
        for _ in range(3):
            filler = socket.socket()
            filler.setblocking(False)
            filler.connect_ex((host, port))
            self._fillers.append(filler)
        time.sleep(0.1)

    def close(self):
        for filler in self._fillers:
            filler.close()
        self._server.close()
