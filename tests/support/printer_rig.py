"""Kitchen printers for tests: the build's virtual printer (src/virtual_printer), which keeps a
receive buffer, prints at a printer's speed, answers status requests and is worked through its
control socket like a real printer's paper, cover and switches. A serial printer reads one end
of a socat pseudo-terminal pair whose other end the program opens as <program folder>/ports/COMn.
received() is what went onto paper."""

import os
import shutil
import socket
import subprocess
import tempfile
import threading
import time

FOLLOW_SECONDS = 0.005
START_SECONDS = 10


def virtual_printer_program():
    return os.path.join(os.environ["KPS_BUILD_DIR"], "bin", "virtual-printer")


def control_command(path, line):
    """Sends one command to the control socket of a virtual printer; returns its answer, which
    must not be an error."""
    with socket.socket(socket.AF_UNIX) as control:
        control.settimeout(START_SECONDS)
        control.connect(path)
        control.sendall(line.encode() + b"\n")
        answer = control.makefile(encoding="utf-8").readline().strip()
    if answer.startswith("error"):
        raise AssertionError(f"{line!r}: {answer}")
    return answer


class VirtualPrinter:
    """The virtual printer as a process with its paper file, followed as it grows, and its
    control socket."""

    def __init__(self, port_arguments, receive_buffer=None, impact=False, answers=True,
                 printed_answers=True, window_hold_seconds=None, xon_xoff=False):
        self._folder = tempfile.mkdtemp(prefix="kps-printer-")
        self._paper_path = os.path.join(self._folder, "paper")
        self._control = os.path.join(self._folder, "control")
        options = [*port_arguments, "--paper", self._paper_path, "--control", self._control,
                   "--quiet"]
        if receive_buffer is not None:
            options += ["--buffer", str(receive_buffer)]
        options += ["--impact"] * impact + ["--no-answers"] * (not answers)
        options += ["--no-printed-answer"] * (not printed_answers)
        if window_hold_seconds is not None:
            options += ["--hold-window", str(window_hold_seconds)]
        options += ["--xon-xoff"] * xon_xoff
        self._log_path = os.path.join(self._folder, "log")
        with open(self._log_path, "wb") as log:
            self.process = subprocess.Popen(
                [virtual_printer_program(), "--name", "printer", "--out",
                 os.path.join(self._folder, "receipts"), *options],
                stdout=subprocess.DEVNULL, stderr=log)
        self._received = bytearray()
        # (time the paper file was seen to grow, bytes printed so far), oldest first.
        self._arrivals = []
        self._lock = threading.Lock()
        self._wait_until_controlled()
        self._paper = open(self._paper_path, "rb")
        self._stop = threading.Event()
        self._thread = threading.Thread(target=self._follow_paper, daemon=True)
        self._thread.start()

    def _wait_until_controlled(self):
        deadline = time.monotonic() + START_SECONDS
        while True:
            try:
                self.status()
                return
            except OSError:
                if self.process.poll() is not None or time.monotonic() > deadline:
                    self.process.kill()
                    with open(self._log_path, encoding="utf-8", errors="replace") as log:
                        raise AssertionError(f"the virtual printer did not start: {log.read()}")
                time.sleep(0.02)

    def _follow_paper(self):
        while not self._stop.wait(FOLLOW_SECONDS):
            self._read_paper()

    def _read_paper(self):
        with self._lock:
            printed = self._paper.read()
            if printed:
                self._received += printed
                self._arrivals.append((time.monotonic(), len(self._received)))

    def command(self, line):
        return control_command(self._control, line)

    def status(self):
        """The printer's counters and state: connections, received, printed, buffered, paper,
        cover, online, power, answers, reset-after."""
        return dict(field.split("=", 1) for field in self.command("status").split())

    def paper_out(self):
        self.command("paper out")

    def paper_near_end(self):
        self.command("paper near-end")

    def paper_in(self):
        self.command("paper in")

    def cover_open(self):
        self.command("cover open")

    def cover_close(self):
        self.command("cover close")

    def offline(self):
        self.command("offline")

    def online(self):
        self.command("online")

    def power_off(self):
        """Power gone: what the buffer held is lost; a network printer refuses connections."""
        self.command("power off")

    def power_on(self):
        self.command("power on")

    def answers(self, on):
        self.command("answers on" if on else "answers off")

    def pause(self):
        """The paper runs out: printing stops, the buffer fills and the printer stops reading,
        until resume()."""
        self.paper_out()

    def resume(self):
        self.paper_in()

    def received(self):
        """Every byte that went onto paper so far, status requests left out."""
        self._read_paper()
        with self._lock:
            return bytes(self._received)

    def arrivals(self):
        """(time, bytes printed so far) for every growth of the paper, oldest first."""
        self._read_paper()
        with self._lock:
            return list(self._arrivals)

    def first_byte_at(self):
        arrivals = self.arrivals()
        return arrivals[0][0] if arrivals else None

    def last_byte_at(self):
        arrivals = self.arrivals()
        return arrivals[-1][0] if arrivals else None

    def wait_for(self, data, timeout=15.0):
        deadline = time.monotonic() + timeout
        while data not in self.received():
            if time.monotonic() > deadline:
                raise AssertionError(f"{data!r} never reached the paper; got {self.received()!r}")
            time.sleep(0.05)

    def close(self):
        """Switches the printer off for good; received() still answers."""
        if self.process.poll() is None:
            self.process.terminate()
        try:
            self.process.wait(timeout=START_SECONDS)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        self._stop.set()
        self._thread.join()
        self._read_paper()
        self._paper.close()
        shutil.rmtree(self._folder, ignore_errors=True)


class SerialPrinter(VirtualPrinter):
    """A serial kitchen printer on COMn of a program folder."""

    def __init__(self, folder, number, **options):
        ports = os.path.join(folder.path, "ports")
        os.makedirs(ports, exist_ok=True)
        self.port_link = os.path.join(ports, f"COM{number}")
        self.reader_link = os.path.join(folder.path, f"printer-COM{number}")
        self.socat = subprocess.Popen(
            ["socat", f"pty,raw,echo=0,link={self.port_link}",
             f"pty,raw,echo=0,link={self.reader_link}"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + START_SECONDS
        while not (os.path.exists(self.port_link) and os.path.exists(self.reader_link)):
            if time.monotonic() > deadline:
                self.socat.kill()
                raise AssertionError("socat did not make the pseudo-terminals")
            time.sleep(0.02)
        try:
            super().__init__(["--serial", self.reader_link], **options)
        except AssertionError:
            self.socat.kill()
            raise

    def remove_port(self):
        """Unplugs the printer: the port the program opens is gone until restore_port()."""
        self._port_target = os.readlink(self.port_link)
        os.unlink(self.port_link)

    def restore_port(self):
        os.symlink(self._port_target, self.port_link)

    def close(self):
        super().close()
        self.socat.terminate()
        self.socat.wait(timeout=5)


class NetworkPrinter(VirtualPrinter):
    """A network kitchen printer: it greets each connection with a status byte, as printers
    do, serves one connection at a time and can reset one mid-job (drop_after_bytes)."""

    def __init__(self, host, port=9100, drop_after_bytes=None, **options):
        self.host, self.port = host, port
        super().__init__(["--listen", f"{host}:{port}"], **options)
        if drop_after_bytes is not None:
            self.drop_after_bytes = drop_after_bytes

    @property
    def connections(self):
        return int(self.status()["connections"])

    @property
    def drop_after_bytes(self):
        """Bytes still to come before the printer resets its connection, None when no reset
        waits (none was asked for, or it happened)."""
        left = self.status()["reset-after"]
        return None if left == "none" else int(left)

    @drop_after_bytes.setter
    def drop_after_bytes(self, count):
        """Resets the connection, as a printer reset mid-job does, once that many more bytes
        came in."""
        self.command(f"reset after {count}")

    def drop_at_next_chunk(self):
        """Resets the connection that receives the next chunk."""
        self.drop_after_bytes = 0


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
