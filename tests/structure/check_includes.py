#!/usr/bin/env python3
"""check_includes.py TOOLKIT_DIR: the toolkit's include graph against its library graph.

Fails (exit 1, one line per fault) when a public header under include/quill includes
anything but standard or other public headers, when an area includes the internal
headers of an area above it (base <- text <- os <- core <- dialog <- graphics <- grid <- bitmap, editor <- layers),
when quoted includes form a cycle, when quill/quillanthor.hpp leaves out a public header,
or when a public header declares anything beyond the routines, constants and types an
application uses: a namespace (internal code), a declaration only some builds see, a
variable that is not a constant, or a function named like internal code (lower case)."""
import re
import sys
from pathlib import Path

# Each area may include the internal headers of the areas listed for it (and its own).
ALLOWED = {
    "base": {"base"},
    "text": {"base", "text"},
    "os": {"base", "os"},
    "core": {"base", "text", "os", "core"},
    "dialog": {"base", "text", "os", "core", "dialog"},
    "graphics": {"base", "text", "os", "core", "graphics"},
    "grid": {"base", "text", "os", "core", "dialog", "graphics", "grid"},
    "bitmap": {"base", "text", "os", "core", "dialog", "graphics", "bitmap"},
    "editor": {"base", "text", "os", "core", "graphics", "editor"},
    "layers": {"base", "text", "os", "core", "dialog", "graphics", "grid", "bitmap", "editor", "layers"},
    "capi": {"base", "text", "os", "core", "dialog", "graphics", "grid", "bitmap", "editor", "layers", "capi"},
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)
COMMENT = re.compile(r"//[^\n]*|/\*.*?\*/", re.DOTALL)
NOT_PUBLIC = [
    (re.compile(r"\bnamespace\s*\w*\s*$", re.MULTILINE), "a namespace"),
    (re.compile(r"^\s*#\s*(if|ifdef|ifndef|elif)\b", re.MULTILINE), "a declaration only some builds see"),
    (re.compile(r"^\s*(extern|static|inline)\s+(?!constexpr\b)[^(;]*;", re.MULTILINE),
     "a variable that is not a constant"),
    (re.compile(r"^[\w:<>,*& ]+?[\s*&]([a-z_]\w*)\s*\(", re.MULTILINE), "an internal function"),
]


def public_declaration_faults(header):
    """What a public header declares beyond the public routines, constants and types."""
    text = COMMENT.sub("", header.read_text())
    # Member functions belong to their type: only what stands outside braces counts.
    while True:
        outer = re.sub(r"\{[^{}]*\}", "", text)
        if outer == text:
            break
        text = outer
    return [f"public header include/quill/{header.name} declares {what}: {match.group(0).strip()}"
            for pattern, what in NOT_PUBLIC for match in pattern.finditer(text)]


def resolve(toolkit, source, name):
    for base in (source.parent, toolkit, toolkit / "include"):
        candidate = (base / name).resolve()
        if candidate.is_file():
            return candidate
    return None


def area_of(toolkit, path):
    parts = path.relative_to(toolkit).parts
    return "include" if parts[0] == "include" else parts[0]


def main():
    toolkit = Path(sys.argv[1]).resolve()
    files = [p.resolve() for p in toolkit.rglob("*") if p.suffix in (".hpp", ".h", ".cpp")]
    graph = {}
    faults = []
    for source in files:
        area = area_of(toolkit, source)
        edges = []
        for name in INCLUDE.findall(source.read_text(errors="replace")):
            target = resolve(toolkit, source, name)
            if target is None:
                continue  # a header outside the toolkit (resource headers of tests, ...)
            edges.append(target)
            target_area = area_of(toolkit, target)
            if area == "include" and target_area != "include":
                faults.append(f"public header {source.relative_to(toolkit)} includes internal {name}")
            elif area in ALLOWED and target_area != "include" and target_area not in ALLOWED[area]:
                faults.append(f"{source.relative_to(toolkit)} ({area}) includes {name} ({target_area})")
        graph[source] = edges
    umbrella = toolkit / "include" / "quill" / "quillanthor.hpp"
    included = set(INCLUDE.findall(umbrella.read_text()))
    faults += [f"quillanthor.hpp does not include quill/{header.name}"
               for header in sorted(umbrella.parent.glob("*.hpp"))
               if header != umbrella and f"quill/{header.name}" not in included]
    for header in sorted(umbrella.parent.glob("*.hpp")):
        faults += public_declaration_faults(header)
    faults += [f"include cycle: {' -> '.join(str(p.relative_to(toolkit)) for p in cycle)}"
               for cycle in cycles(graph)]
    for fault in faults:
        print(fault)
    print(f"{len(files)} files, {sum(len(e) for e in graph.values())} includes, {len(faults)} faults")
    return 1 if faults else 0


def cycles(graph):
    """One cycle per strongly connected group of headers that include each other."""
    found = []
    state = {}
    stack = []

    def visit(node):
        state[node] = "open"
        stack.append(node)
        for nxt in graph.get(node, []):
            if state.get(nxt) == "open":
                found.append(stack[stack.index(nxt):] + [nxt])
            elif nxt not in state:
                visit(nxt)
        stack.pop()
        state[node] = "done"

    for node in graph:
        if node not in state:
            visit(node)
    return found


if __name__ == "__main__":
    sys.exit(main())
