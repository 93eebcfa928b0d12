#!/usr/bin/env python3
"""Doxygen input filter for the public headers: prints the header named by the argument
with its plain // comments read as documentation, line for line (so warnings name the
header's own lines).

- The comment block at the top of a header documents the file.
- A comment block directly above a declaration documents it; when the block stands above
  several declarations with no blank line or comment between them, each of them that has
  no comment of its own gets the block too.
- A comment after a declaration on the same line documents that member.
- Banners ("// --- ...") and blocks followed by a blank line stay plain comments.
"""
import re
import sys

COMMENT = re.compile(r"^(\s*)//(?!/)(.*)$")
BANNER = re.compile(r"^\s*// ---")
TRAILING = re.compile(r"^(\s*[^/\s].*?;)(\s*)//(?!/)(.*)$")


def is_comment(line):
    return COMMENT.match(line) is not None and BANNER.match(line) is None


def declaration_ends(lines, start):
    """Lines that end the declarations in the run of declaration lines from start; none
    when the run opens a body or holds a preprocessor line."""
    end = start
    while end < len(lines) and lines[end].strip() and not is_comment(lines[end]) \
            and not BANNER.match(lines[end]):
        end += 1
    run = range(start, end)
    if any("{" in lines[k] or lines[k].lstrip().startswith("#") for k in run):
        return []
    return [k for k in run if re.sub(r"//.*$", "", lines[k]).rstrip().endswith(";")]


def document(lines):
    out = [TRAILING.sub(r"\1\2///<\3", line) for line in lines]
    i = 0
    top = True
    while i < len(lines):
        if not is_comment(lines[i]):
            top = top and not lines[i].strip()
            i += 1
            continue
        start = i
        while i < len(lines) and is_comment(lines[i]):
            i += 1
        if top:
            for k in range(start, i):
                out[k] = COMMENT.sub(r"\1//!\2", lines[k])
            out[i - 1] += " \\file"
            top = False
            continue
        if i >= len(lines) or not lines[i].strip():
            continue
        for k in range(start, i):
            out[k] = COMMENT.sub(r"\1///\2", lines[k])
        shared = " ".join(COMMENT.match(lines[k]).group(2).strip() for k in range(start, i))
        for k in declaration_ends(lines, i)[1:]:
            if "///<" not in out[k]:
                out[k] += " ///< " + shared
    return out


def main():
    with open(sys.argv[1], encoding="utf-8") as header:
        lines = header.read().split("\n")
    sys.stdout.write("\n".join(document(lines)))


if __name__ == "__main__":
    main()
