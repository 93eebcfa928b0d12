"""Python's csv module as an independent reader and writer of grid files.

read CSV OUT: reads CSV in strict mode (newline='') and writes one line per record,
  each field as the hex of its bytes ("-" for an empty field).
write IN CSV QUOTING END: reads such hex lines and writes them with csv.writer,
  QUOTING "minimal" or "all", END "crlf" or "lf".
"""
import csv
import sys


def encode(field):
    return field.encode("latin-1").hex() or "-"


def decode(token):
    return "" if token == "-" else bytes.fromhex(token).decode("latin-1")


def main():
    mode = sys.argv[1]
    if mode == "read":
        with open(sys.argv[2], newline="", encoding="latin-1") as source, open(sys.argv[3], "w") as out:
            for record in csv.reader(source, strict=True):
                out.write(" ".join(encode(field) for field in record) + "\n")
    elif mode == "write":
        quoting = {"minimal": csv.QUOTE_MINIMAL, "all": csv.QUOTE_ALL}[sys.argv[4]]
        end = {"crlf": "\r\n", "lf": "\n"}[sys.argv[5]]
        with open(sys.argv[2]) as source, open(sys.argv[3], "w", newline="", encoding="latin-1") as target:
            writer = csv.writer(target, quoting=quoting, lineterminator=end, strict=True)
            for line in source:
                writer.writerow([decode(token) for token in line.split()])
    else:
        sys.exit("unknown mode " + mode)


if __name__ == "__main__":
    main()
