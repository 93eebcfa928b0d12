#!/usr/bin/env python3
"""The doxygen filter reads a header's plain comments as documentation without moving a
line: usage doxygen_filter_test.py <path of docs/doxygen_filter.py>."""
import importlib.util
import sys
import unittest

spec = importlib.util.spec_from_file_location("doxygen_filter", sys.argv.pop(1))
doxygen_filter = importlib.util.module_from_spec(spec)
spec.loader.exec_module(doxygen_filter)

HEADER = """// Area: what it holds.
// Second line.
#pragma once

// --- Banner ---------
// A note followed by a blank line.

// Reads one value.
void get(int& value);
// Puts and clears a value.
void put(int value);
void clear(int field,
           int value);
inline constexpr int Kind = 1;  // the kind
// The record.
struct Record {
  int a = 0;   // first word
  int b = 0;
};
"""

EXPECTED = {
    0: "//! Area: what it holds.",
    1: "//! Second line. \\file",
    4: "// --- Banner ---------",
    5: "// A note followed by a blank line.",
    7: "/// Reads one value.",
    8: "void get(int& value);",
    9: "/// Puts and clears a value.",
    10: "void put(int value);",
    11: "void clear(int field,",
    12: "           int value); ///< Puts and clears a value.",
    13: "inline constexpr int Kind = 1;  ///< the kind",
    14: "/// The record.",
    15: "struct Record {",
    16: "  int a = 0;   ///< first word",
    17: "  int b = 0;",
}


class FilterTest(unittest.TestCase):
    def test_lines(self):
        lines = HEADER.split("\n")
        out = doxygen_filter.document(lines)
        self.assertEqual(len(out), len(lines))
        for index, text in EXPECTED.items():
            with self.subTest(line=index):
                self.assertEqual(out[index], text)


if __name__ == "__main__":
    unittest.main()
