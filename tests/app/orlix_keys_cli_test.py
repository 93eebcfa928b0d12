#!/usr/bin/env python3
"""Checks the key-replay tool as a user runs it: arguments, standard input, COPY lines,
the overflow word in UTF-8, --help, and the refusal of unknown keys."""
import subprocess
import sys
import unittest

TOOL = sys.argv.pop(1)


def run(args, stdin=""):
    return subprocess.run([TOOL, *args], input=stdin.encode(), capture_output=True, timeout=30)


class OrlixKeys(unittest.TestCase):
    def test_arguments_print_one_display_per_key(self):
        result = run(["1", "2", "+", "3", "=", "COPY"])
        self.assertEqual(result.returncode, 0)
        self.assertEqual(result.stdout.decode().splitlines(), [
            "|           1.000  |", "|          12.000  |", "|          12.000  |",
            "|           3.000  |", "|          15.000  |", "copy|15.000|"])
        self.assertEqual(result.stderr, b"")

    def test_standard_input_accepts_blanks_and_line_ends(self):
        result = run([], "4 M+ M+\n C\tMr\n\n.\n")
        self.assertEqual(result.returncode, 0)
        self.assertEqual(result.stdout.decode().splitlines(), [
            "|           4.000  |", "|           4.000  |", "|           4.000  |",
            "|           0.000  |", "|           8.000 M|", "|           8.000 M|"])

    def test_overflow_word_is_printed_in_utf8(self):
        keys = "9 9 9 9 9 9 9 9 9 9 * 1 0 0 = COPY".split()
        lines = run(keys).stdout.decode("utf-8").splitlines()
        self.assertEqual(lines[-2], "|препълване        |")
        self.assertEqual(lines[-1], "copy|препълване      |")

    def test_unknown_key_is_named_and_nothing_runs(self):
        result = run(["1", "+", "x", "2"])
        self.assertEqual(result.returncode, 2)
        self.assertEqual(result.stdout, b"")
        self.assertIn("'x'", result.stderr.decode())
        self.assertIn("position 3", result.stderr.decode())
        result = run([], "1 +\nm+ 2\n")
        self.assertEqual(result.returncode, 2)
        self.assertEqual(result.stdout, b"")
        self.assertIn("'m+'", result.stderr.decode())

    def test_help_lists_the_keys(self):
        result = run(["--help"])
        self.assertEqual(result.returncode, 0)
        for key in ("COPY", "<-", "M+", "Mr", "%"):
            self.assertIn(key, result.stdout.decode())


if __name__ == "__main__":
    unittest.main(verbosity=1)
