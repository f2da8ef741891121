"""Jobs whose bodies begin and end with a marker of their own: what a printer received then
tells how often each job was begun and whether it was printed in full."""

from program_rig import add_job

FILLER_LINE_BYTES = 2000


class MarkedJobs:
    def __init__(self, name, count, body_bytes=0):
        self.names = [f"{name}-{number:02}" for number in range(1, count + 1)]
        self.body_bytes = body_bytes

    def body(self, name):
        """Marker lines around long filler lines, so that a big body has few lines."""
        line = f"{name} " + "=" * (FILLER_LINE_BYTES - len(name) - 3) + "\r\n"
        filler = line * (self.body_bytes // len(line))
        return f"{name} BEGIN\r\n{filler}{name} END\r\n"

    def file(self, add=add_job, **columns):
        """Files the jobs in order, at table numbers 1, 2, … unless columns say otherwise."""
        for table, name in enumerate(self.names, start=1):
            add(**{"테이블번호": table, "프린트내용": self.body(name), **columns})

    def printed_in_full(self, received):
        return all(f"{name} END".encode() in received for name in self.names)

    def assert_delivered(self, test, received, faults=0):
        """Every job printed in full at least once; a job begun again after a fault is a repeat,
        and there are no more repeats than injected faults."""
        begun = {name: received.count(f"{name} BEGIN".encode()) for name in self.names}
        unfinished = [name for name in self.names if f"{name} END".encode() not in received]
        test.assertEqual(unfinished, [], "jobs never printed in full")
        repeats = sum(count - 1 for count in begun.values())
        test.assertLessEqual(repeats, faults, f"times each job was begun: {begun}")
