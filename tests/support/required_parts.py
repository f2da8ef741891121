"""What a test does when the rig, a display or a tool it needs is missing: it is skipped, but
under CI (CI=true) it fails, so that a CI run cannot pass by skipping."""

import os
import unittest


def require_or_skip(available, what):
    if available:
        return
    if os.environ.get("CI") == "true":
        raise AssertionError(what)
    raise unittest.SkipTest(what)
