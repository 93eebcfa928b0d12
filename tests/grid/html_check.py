"""Parses a grid HTML file with html5lib in strict mode (any parse error fails) and
prints what a reader sees, one line per item:
  doc title=... h2=... bgcolor=... center=yes|no
  row
  cell TAG align=... bgcolor=... color=... text=JSON
"""
import json
import sys

import html5lib


def main():
    data = open(sys.argv[1], "rb").read()
    text = data.decode("ascii")  # everything beyond ASCII must be a reference
    parser = html5lib.HTMLParser(strict=True, namespaceHTMLElements=False)
    fragment = len(sys.argv) > 2 and sys.argv[2] == "fragment"
    root = parser.parseFragment(text) if fragment else parser.parse(text)
    if not fragment:
        title = root.find(".//title")
        h2 = root.find(".//h2")
        body = root.find(".//body")
        print("doc title=%s h2=%s bgcolor=%s center=%s" % (
            json.dumps(title.text if title is not None else None),
            json.dumps("".join(h2.itertext()) if h2 is not None else None),
            body.get("bgcolor"), "yes" if root.find(".//center") is not None else "no"))
    for row in root.iter("tr"):
        print("row")
        for cell in row:
            font = cell.find("font")
            colour = font.get("color") if font is not None else None
            print("cell %s align=%s bgcolor=%s color=%s text=%s" % (
                cell.tag, cell.get("align"), cell.get("bgcolor"), colour,
                json.dumps("".join(cell.itertext()).strip("\r\n"))))


if __name__ == "__main__":
    main()
