"""When printed jobs reached a virtual printer's paper, from the times its paper file was seen
to grow; and the nearest-rank percentile the latency figures are given in."""

import bisect


def first_byte_times(printer, markers):
    """For each marker, when the first byte of the job holding it reached the paper. The
    markers are every job the printer printed, once each, all laid out alike and as long: so a
    job begins as far before its marker as the paper's first job does, whatever the pauses
    inside and between jobs."""
    received = printer.received()
    offsets = [received.find(marker) for marker in markers]
    in_order = sorted(offsets)
    length = len(received) // len(markers) if markers else 0
    if (-1 in offsets or length * len(markers) != len(received)
            or any(offset - number * length != in_order[0]
                   for number, offset in enumerate(in_order))):
        raise AssertionError(f"{len(markers)} jobs do not make up the {len(received)} bytes "
                             "on paper alike")
    arrivals = printer.arrivals()
    ends = [end for _, end in arrivals]
    return [arrivals[bisect.bisect_right(ends, offset - in_order[0])][0] for offset in offsets]


def percentile(values, share):
    """Nearest rank."""
    ordered = sorted(values)
    return ordered[max(0, -(-len(ordered) * share // 100) - 1)]
