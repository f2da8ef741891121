"""Runs one file of program tests and exits as ctest reads it: 0 when the tests passed, the
all-skipped code (ctest's SKIP_RETURN_CODE) when every test was skipped, 1 on any failure or
error, and also when the file held no test at all.
Usage: run_program_tests.py <all-skipped exit code> <test file>"""

import os
import sys
import unittest


class CountingResult(unittest.TextTestResult):
    """Counts the tests that passed: a skip in setUpClass is not counted in testsRun."""

    passed = 0

    def addSuccess(self, test):
        super().addSuccess(test)
        self.passed += 1


def exit_code(result, all_skipped_code):
    if not result.wasSuccessful():
        return 1
    if result.passed or result.expectedFailures:
        return 0
    return all_skipped_code if result.skipped else 1


def main(all_skipped_code, script):
    folder, file_name = os.path.split(os.path.abspath(script))
    sys.path.insert(0, folder)
    tests = unittest.defaultTestLoader.loadTestsFromName(os.path.splitext(file_name)[0])
    result = unittest.TextTestRunner(verbosity=2, resultclass=CountingResult).run(tests)
    return exit_code(result, all_skipped_code)


if __name__ == "__main__":
    sys.exit(main(int(sys.argv[1]), sys.argv[2]))
