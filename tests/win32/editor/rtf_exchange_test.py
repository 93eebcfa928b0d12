#!/usr/bin/env python3
"""Rich text exchanged with LibreOffice Writer. Under Wine, a rich editor saves a formatted
text as RTF; Writer converts it to plain text, which must equal the editor's text, and
writes it again as its own RTF, which must keep the bold, italic, red and font parts and
which the editor loads and must read back as the same text.
Usage: rtf_exchange_test.py RTF_EXCHANGE_EXE"""
import pathlib
import re
import subprocess
import sys
import tempfile

ROOT = pathlib.Path(__file__).resolve().parents[3]
LINES = ["Plain words first,", "then bold and italic ones,", "a red typewriter line",
         "and accented letters: café naïve ü"]
failures = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what)
    if not condition:
        failures.append(what)


def wine(exe, *args):
    """The program's exit code and output."""
    result = subprocess.run([str(ROOT / "scripts" / "wine-run.sh"), exe, *args],
                            capture_output=True, text=True, timeout=120)
    print(result.stdout, end="")
    return result.returncode, result.stdout


def writer(work, target, source, outdir):
    subprocess.run(["soffice", "--headless", "--convert-to", target, "--outdir", str(work / outdir),
                    str(source)], env={"HOME": str(work), "PATH": "/usr/bin:/bin"},
                   capture_output=True, timeout=180)
    produced = work / outdir / (source.stem + "." + target.split(":")[0])
    return produced.read_bytes() if produced.exists() else b""


def windows(path):
    return "Z:" + str(path).replace("/", "\\")


def main():
    exe = sys.argv[1]
    with tempfile.TemporaryDirectory() as name:
        work = pathlib.Path(name)
        saved = work / "saved.rtf"
        code, output = wine(exe, "save", windows(saved))
        check(code == 0, f"the editor saves its text as RTF (exit code {code})")
        def reported(name):
            found = re.search(rf"^{name} (.+)$", output, re.M)
            return found.group(1).strip() if found else f"(no {name} face reported)"
        face, fixed = reported("font"), reported("fixed")
        check(saved.read_bytes().startswith(b"{\\rtf"), "the file is RTF")

        text = writer(work, "txt:Text (encoded):UTF8", saved, "txt").decode("utf-8-sig")
        check(text.rstrip("\n").splitlines() == LINES, "Writer reads the editor's text: " + repr(text))
        rewritten = work / "writer" / "saved.rtf"
        theirs = writer(work, "rtf", saved, "writer").decode("latin-1")
        check(theirs.startswith("{\\rtf"), "Writer writes its own RTF")
        check(re.search(r"\\b[\\ ]", theirs) is not None, "the bold part stays bold")
        check(re.search(r"\\i[\\ ]", theirs) is not None, "the italic part stays italic")
        check("\\red255\\green0\\blue0;" in theirs, "the red line stays red")
        check(fixed in theirs and face in theirs, f"both fonts are kept: {fixed} and {face}")
        back = work / "back.txt"
        code = wine(exe, "load", windows(rewritten), windows(back))[0]
        check(code == 0, f"the editor loads Writer's RTF (exit code {code})")
        loaded = back.read_bytes().decode("utf-8") if back.exists() else ""
        check(loaded.rstrip("\r\n").splitlines() == LINES, "the editor reads Writer's text: " + repr(loaded))
    if failures:
        print(f"{len(failures)} check(s) failed")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
