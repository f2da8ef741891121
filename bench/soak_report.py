"""The soak's checks and tables: arrivals per job and printer, the faults, memory and open
descriptors of the programs; each check passes or fails."""

import dataclasses
import statistics

from report import publish
from soak_jobs import BEGIN, END, KICK_BYTES, SoakJobs, marker_counts

# At a database restart each terminal may have one job printed but not yet deleted; the reset
# and the pause each cut off the one job being sent: at most four jobs arrive twice.
REPEAT_BOUND = 4
FLAT_SHARE = 0.05
LISTED = 10


@dataclasses.dataclass
class Observed:
    jobs: SoakJobs
    faults: list
    filing_seconds: float
    drained_seconds: float | None
    rows_left: int
    received: dict
    samples: dict
    running: dict
    notices: dict


def per_job(observed, marker):
    """How often each job's marker reached the printer the job was filed for."""
    counted = {name: marker_counts(marker, received)
               for name, received in observed.received.items()}
    return [counted[printer][number]
            for number, printer in enumerate(observed.jobs.printer_of_job)]


def printer_rows(observed, begun, ended):
    rows = []
    for name, received in observed.received.items():
        own = [number for number, printer in enumerate(observed.jobs.printer_of_job)
               if printer == name]
        kicks = (f"{observed.jobs.kicks[name]} / {received.count(KICK_BYTES)}"
                 if name.startswith("COM") else "–")
        rows.append([name, len(own), sum(begun[number] > 0 for number in own),
                     sum(ended[number] > 0 for number in own),
                     sum(begun[number] == 0 for number in own),
                     sum(begun[number] > 1 for number in own), kicks])
    return rows


# Memory is compared by the quarters' means. Descriptors by their floor: a port or connection
# that happens to be open at a sample adds one to a count of about seven, while a leak raises
# the floor.
QUARTER_STATISTICS = {0: statistics.mean, 1: min}


def quarter_means(samples, measure):
    """The first and the last quarter of the samples summed up (mean, or floor for descriptors),
    or None for fewer than four."""
    quarter = len(samples) // 4
    if quarter == 0:
        return None
    values = [sample[measure] for sample in samples]
    summary = QUARTER_STATISTICS[measure]
    return summary(values[:quarter]), summary(values[-quarter:])


def quarter_cells(samples, measure):
    """First quarter's mean, last quarter's mean, change."""
    means = quarter_means(samples, measure)
    if means is None:
        return ["–"] * 3
    first, last = means
    return [f"{first:.1f}", f"{last:.1f}", f"{(last - first) / first:+.1%}"]


def usage_rows(observed):
    return [[name, len(samples), *quarter_cells(samples, 0), *quarter_cells(samples, 1)]
            for name, samples in observed.samples.items()]


def flat(samples, measure):
    means = quarter_means(samples, measure)
    return means is not None and abs(means[1] - means[0]) <= FLAT_SHARE * means[0]


def job_checks(observed, begun, ended):
    missing = sum(count == 0 for count in begun)
    unfinished = sum(count == 0 for count in ended)
    repeated = sum(count > 1 for count in begun)
    drained = (f"{observed.rows_left} rows left" if observed.drained_seconds is None
               else f"empty {observed.drained_seconds:.1f} s after the last batch")
    return [["every job's marker arrived", "0 missing", f"{missing} of {len(begun)} missing",
             missing == 0],
            ["every job printed to its last line", "0 unfinished",
             f"{unfinished} of {len(ended)} unfinished", unfinished == 0],
            ["repeats within the faults", f"at most {REPEAT_BOUND} jobs, each twice at most",
             f"{repeated} jobs, most arrivals {max(begun)}",
             repeated <= REPEAT_BOUND and max(begun) <= 2],
            ["job table empty", "after the last batch", drained,
             observed.rows_left == 0]]


def kick_checks(observed):
    """All of a terminal's pending requests open its drawer once, so kicks merge."""
    checks = []
    for name, filed in sorted(observed.jobs.kicks.items()):
        opened = observed.received[name].count(KICK_BYTES)
        checks.append([f"drawer kicks at {name}", f"1 to {filed + 1} (filed + restart)",
                       f"{opened}", 1 <= opened <= filed + 1])
    return checks


def program_checks(observed):
    checks = []
    for name, samples in observed.samples.items():
        checks.append([f"{name} ran to the end", "running", "running" if observed.running[name]
                       else "ended", observed.running[name]])
        for measure, label in ((0, "resident memory"), (1, "open descriptors")):
            checks.append([f"{name} {label} flat", f"last ¼ within {FLAT_SHARE:.0%} of first ¼",
                           "flat" if flat(samples, measure) else "not flat",
                           flat(samples, measure)])
    return checks


def listed(title, markers):
    more = f" and {len(markers) - LISTED} more" if len(markers) > LISTED else ""
    return f"{title}: {', '.join(markers[:LISTED]) or 'none'}{more}."


def notes(observed, begun, ended, total_seconds, method):
    kinds = ", ".join(f"{kind} {count}" for kind, count in observed.jobs.kinds.most_common())
    missing = [f"SOAK-{number:06}" for number, count in enumerate(begun) if count == 0]
    unfinished = [f"SOAK-{number:06}" for number, count in enumerate(ended)
                  if count == 0 and begun[number] > 0]
    repeated = [f"SOAK-{number:06} ×{count}" for number, count in enumerate(begun) if count > 1]
    return [f"Filed {kinds} over {observed.filing_seconds:.0f} s; the whole soak took "
            f"{total_seconds / 60:.1f} min.",
            *(f"Notices of {name}: " + "; ".join(f"{text} ×{count}"
                                                 for text, count in shown.most_common()) + "."
              for name, shown in observed.notices.items()),
            listed("Missing", missing), listed("Begun but never finished", unfinished),
            listed("Repeated", repeated),
            f"Repeat bound: at most one repeat per job a fault interrupts — one per terminal at "
            f"the database restart, one at the reset, one at the pause: {REPEAT_BOUND} jobs.",
            "Drawer kicks: filed / opened at the printer; the requests pending at one tick open "
            "the drawer once.",
            f"Flat: the last quarter of samples is within {FLAT_SHARE:.0%} of the first "
            "quarter: resident memory by the quarters' means, open descriptors by their "
            "least count."] + method


def publish_soak(observed, total_seconds, method):
    """Prints and keeps the tables, with notes on the method; true when every check passed."""
    begun, ended = per_job(observed, BEGIN), per_job(observed, END)
    checks = (job_checks(observed, begun, ended) + kick_checks(observed)
              + program_checks(observed))
    publish("soak", "Soak: two terminals, four printers, three faults",
            [(("printer", "jobs", "arrived", "to the last line", "missing", "repeated",
               "drawer kicks filed / opened"), printer_rows(observed, begun, ended)),
             (("fault", "after job", "s into filing", "what happened"), observed.faults),
             (("program", "samples", "VmRSS MB first ¼", "last ¼", "change", "fds first ¼",
               "last ¼", "change"), usage_rows(observed)),
             (("check", "expected", "seen", "result"),
              [check[:3] + ["pass" if check[3] else "FAIL"] for check in checks])],
            notes(observed, begun, ended, total_seconds, method))
    return all(check[3] for check in checks)
