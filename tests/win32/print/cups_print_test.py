#!/usr/bin/env python3
"""Real printing through CUPS: adds a PDF queue (cups-pdf), makes it the default printer,
runs print_jobs under Wine (driver 10 on the default printer and on the queue by name,
PostScript and HP-GL/2 plot files handed to the queue as raw jobs, then a grid of 300 rows,
a drawable's image, a memory bitmap, images refused with 64, an editor's text and a page on
the printer chosen in the print box, which this test answers with xdotool), then reads the
PDFs back with pdfinfo, pdftotext and pdftoppm and the jobs' copies over IPP. Starts cupsd
when it is not running (and stops it again); removes the queue. Exits 77 (skipped) only where CUPS cannot run. Usage: cups_print_test.py PRINT_JOBS_EXE

Wine reads the system's printers only in the first process of a wine server that loads its
spooler library; while any such process lives, later ones keep the old list and would not see
the new queue. So the prefix's server is stopped before printing (and kept alive again after
it when it was running)."""
import os
import pathlib
import pwd
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import urllib.request

QUEUE = "QuillanthorPdfTest"
PPD = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"
ROOT = pathlib.Path(__file__).resolve().parents[3]
FAMILY_TEXTS = ["Courier family", "Helvetica family", "Times family"]
failures = []


def skip(why):
    print("SKIPPED: " + why)
    sys.exit(77)


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what)
    if not condition:
        failures.append(what)


def run(*command, **options):
    return subprocess.run(command, capture_output=True, text=True, **options)


def scheduler_running():
    return "is running" in run("lpstat", "-r").stdout


def start_cupsd():
    """Starts cupsd in the foreground as a child; None when it is running already."""
    if scheduler_running():
        return None
    if os.geteuid() != 0:
        skip("cupsd is not running and only root may start it")
    daemon = subprocess.Popen(["cupsd", "-f"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    for _ in range(100):
        if scheduler_running():
            return daemon
        if daemon.poll() is not None:
            break
        time.sleep(0.1)
    daemon.kill()
    skip("cupsd does not start here")


def pdf_directory():
    """Where cups-pdf puts the PDFs of this user (its Out setting)."""
    out = "${HOME}/PDF"
    for line in pathlib.Path("/etc/cups/cups-pdf.conf").read_text().splitlines():
        if line.startswith("Out "):
            out = line[4:].strip()
    home = pwd.getpwuid(os.geteuid()).pw_dir
    return pathlib.Path(out.replace("${HOME}", home).replace("${USER}", pwd.getpwuid(os.geteuid()).pw_name))


def wine_server(flag):
    """Runs wineserver with flag in the project's prefix and waits until a server it stopped
    has gone; True when it succeeded (-k: a server was running)."""
    command = f'source "{ROOT}/scripts/env.sh" && wineserver {flag}; status=$?; wineserver -w; exit $status'
    return run("bash", "-c", command).returncode == 0


def queue_jobs(which):
    listing = run("lpstat", "-W", which, "-o", QUEUE).stdout
    return sorted(int(m) for m in re.findall(rf"^{QUEUE}-(\d+)", listing, re.M))


def wait_for_jobs(before, count):
    deadline = time.time() + 60
    while time.time() < deadline:
        done = [job for job in queue_jobs("completed") if job not in before]
        if len(done) >= count and not queue_jobs("not-completed"):
            return done
        time.sleep(0.2)
    return [job for job in queue_jobs("completed") if job not in before]


def find_pdf(directory, job):
    for _ in range(50):  # the backend may finish the file just after the job completes
        found = list(directory.glob(f"*job_{job}.pdf"))
        if found:
            return found[0]
        time.sleep(0.1)
    return None


def pdf_info(pdf):
    """Page count and the first page's size in points as it is viewed (its rotation applied)."""
    info = run("pdfinfo", str(pdf)).stdout
    pages = re.search(r"^Pages:\s+(\d+)", info, re.M)
    size = re.search(r"^Page size:\s+([\d.]+) x ([\d.]+)", info, re.M)
    turned = re.search(r"^Page rot:\s+(90|270)\b", info, re.M) is not None
    size = (round(float(size.group(1))), round(float(size.group(2)))) if size else None
    return int(pages.group(1)) if pages else 0, size[::-1] if size and turned else size


def job_copies(job):
    """The copies CUPS was asked for (IPP Get-Job-Attributes), None when it does not say.
    cups-pdf writes one PDF whatever the copies, so the job's attribute is what shows them."""
    def attribute(tag, name, value):
        return bytes([tag]) + struct.pack(">H", len(name)) + name + struct.pack(">H", len(value)) + value
    request = struct.pack(">HHIB", 0x0200, 0x0009, 1, 0x01) + b"".join(
        [attribute(0x47, b"attributes-charset", b"utf-8"), attribute(0x48, b"attributes-natural-language", b"en"),
         attribute(0x45, b"job-uri", f"ipp://localhost/jobs/{job}".encode()),
         attribute(0x44, b"requested-attributes", b"copies")]) + b"\x03"
    try:
        answer = urllib.request.urlopen(urllib.request.Request(
            "http://localhost:631/jobs", data=request, headers={"Content-Type": "application/ipp"}), timeout=10).read()
    except OSError:
        return None
    found = re.search(rb"\x21\x00\x06copies\x00\x04(.{4})", answer, re.S)
    return struct.unpack(">i", found.group(1))[0] if found else None


def word_boxes(pdf, page, word):
    """(width, height) in points of each occurrence of word on page (pdftotext -bbox)."""
    xml = run("pdftotext", "-bbox", "-f", str(page), "-l", str(page), str(pdf), "-").stdout
    pattern = r'xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">' + re.escape(word) + "<"
    return [(float(x1) - float(x0), float(y1) - float(y0)) for x0, y0, x1, y1 in re.findall(pattern, xml)]


def render(pdf, page, work):
    """Page as (width, height, rgb bytes) at 24 dots per inch."""
    prefix = work / f"page{page}"
    run("pdftoppm", "-r", "24", "-f", str(page), "-l", str(page), "-singlefile", str(pdf), str(prefix))
    data = (work / f"page{page}.ppm").read_bytes()
    fields = data.split(maxsplit=4)
    width, height = int(fields[1]), int(fields[2])
    return width, height, data[len(data) - width * height * 3:]


def near(image, x_units, y_units, colour):
    """Pixels within 2 of a place (user units 0..100 over the page) close to colour."""
    width, height, rgb = image
    cx, cy = int(x_units / 100 * width), int((1 - y_units / 100) * height)
    hits = 0
    for y in range(max(cy - 2, 0), min(cy + 3, height)):
        for x in range(max(cx - 2, 0), min(cx + 3, width)):
            pixel = rgb[(y * width + x) * 3:(y * width + x) * 3 + 3]
            hits += all(abs(pixel[i] - colour[i]) < 60 for i in range(3))
    return hits


def count_colour(image, colour):
    width, height, rgb = image
    return sum(all(abs(rgb[i + k] - colour[k]) < 60 for k in range(3)) for i in range(0, len(rgb), 3))


def spooled(job):
    """The bytes CUPS received for a job (kept in its spool directory), None if unreadable."""
    try:
        return pathlib.Path(f"/var/spool/cups/d{job:05d}-001").read_bytes()
    except OSError:
        return None


def check_printer_job(pdf, work):
    pages, size = pdf_info(pdf)
    check(pages == 2, f"driver 10: two pages ({pages})")
    check(size == (595, 842), f"driver 10: A4 pages ({size})")
    text = " ".join(run("pdftotext", str(pdf), "-").stdout.split())
    for wanted in FAMILY_TEXTS + ["Second page"]:
        check(wanted in text, f"driver 10: text '{wanted}'")
    check("\u03b1\u03b2\u03b3\u03b4" in text, "driver 10: the symbol family's Greek letters")
    boxes = word_boxes(pdf, 1, "upwards")
    check(len(boxes) == 1 and boxes[0][1] > 3 * boxes[0][0], f"driver 10: rotated text runs upwards ({boxes})")
    first = render(pdf, 1, work)
    places = [((25, 25), (255, 0, 0), "red rectangle"), ((70, 70), (0, 255, 0), "green circle"),
              ((66, 29), (0, 0, 255), "blue sector"), ((74, 21), (255, 255, 255), "sector gap"),
              ((25, 60), (255, 0, 255), "magenta line"), ((50, 53), (255, 255, 0), "yellow image half"),
              ((50, 47), (0, 0, 255), "blue image half"), ((25, 75), (255, 255, 255), "paper")]
    for (x, y), colour, what in places:
        check(near(first, x, y, colour) >= 5, f"driver 10 page 1: {what}")
    second = render(pdf, 2, work)
    check(near(second, 50, 35, (0, 255, 255)) >= 5, "driver 10 page 2: cyan block")
    check(near(second, 50, 10, (255, 255, 255)) >= 5, "driver 10 page 2: paper")


def check_named_job(pdf, job):
    check("Named printer" in run("pdftotext", str(pdf), "-").stdout, "named printer: its text")
    _, size = pdf_info(pdf)
    check(size == (792, 612), f"named printer: a landscape letter page ({size})")
    copies = job_copies(job)
    check(copies == 2, f"named printer: two copies asked of CUPS ({copies})")


def check_postscript_job(pdf, work):
    pages, _ = pdf_info(pdf)
    check(pages == 2, f"raw PostScript: two pages ({pages})")
    text = " ".join(run("pdftotext", str(pdf), "-").stdout.split())  # words may stand apart
    for wanted in FAMILY_TEXTS + ["Second page"]:
        check(wanted in text, f"raw PostScript: text '{wanted}'")
    # The queue may turn or scale a raw job: colours are checked, not their places.
    first = render(pdf, 1, work)
    for colour, what in [((255, 0, 0), "red"), ((0, 255, 0), "green"), ((0, 0, 255), "blue")]:
        check(count_colour(first, colour) > 20, f"raw PostScript page 1: {what}")
    check(count_colour(render(pdf, 2, work), (0, 255, 255)) > 20, "raw PostScript page 2: cyan")


def page_text(pdf, page):
    return run("pdftotext", "-f", str(page), "-l", str(page), str(pdf), "-").stdout


def check_grid_job(pdf):
    """300 rows of cells R<row>C1, R<row>C2 and 50000 + row under the titles Alpha, Beta and
    Gamma: every page full but the last, with the titles and its page number."""
    pages, _ = pdf_info(pdf)
    check(pages >= 2, f"grid: more than one page ({pages})")
    words = []
    for page in range(1, pages + 1):
        text = page_text(pdf, page)
        words += text.split()
        check(all(title in text for title in ("Alpha", "Beta", "Gamma")), f"grid page {page}: column titles")
        check(f"Page {page} of {pages}" in " ".join(text.split()), f"grid page {page}: its number")
    first_page_rows = len(re.findall(r"\bR\d{3}C1\b", page_text(pdf, 1)))
    if first_page_rows:
        check(pages == -(-300 // first_page_rows), f"grid: {pages} pages of {first_page_rows} rows for 300")
    cells = [f"R{r:03d}C{c}" for r in range(1, 301) for c in (1, 2)] + [str(50000 + r) for r in range(1, 301)]
    found = set(words)
    missing = [cell for cell in cells if cell not in found]
    check(not missing, f"grid: every cell's text ({len(missing)} missing, e.g. {missing[:3]})")


def check_image_jobs(image_pdf, bitmap_pdf, work):
    """The drawable's image (red left, blue right) and the bitmap (green over yellow), each as
    large as fits the page inside its margins."""
    for pdf, what in [(image_pdf, "IGrPrintImage"), (bitmap_pdf, "WBitmapPrint")]:
        pages, _ = pdf_info(pdf)
        check(pages == 1, f"{what}: one page ({pages})")
    image = render(image_pdf, 1, work)
    for (x, y), colour, what in [((30, 50), (255, 0, 0), "red half"), ((70, 50), (0, 0, 255), "blue half"),
                                 ((50, 80), (255, 255, 255), "paper above")]:
        check(near(image, x, y, colour) >= 5, f"IGrPrintImage: {what}")
    bitmap = render(bitmap_pdf, 1, work)
    for (x, y), colour, what in [((50, 60), (0, 255, 0), "green top"), ((50, 40), (255, 255, 0), "yellow bottom"),
                                 ((2, 50), (255, 255, 255), "paper beside")]:
        check(near(bitmap, x, y, colour) >= 5, f"WBitmapPrint: {what}")


def check_editor_job(pdf):
    """70 lines "Editor line N" under the header "Editor notes" and "Page n of m"."""
    pages, _ = pdf_info(pdf)
    check(pages == 2, f"editor: two pages ({pages})")
    text = " ".join(page_text(pdf, 1).split() + page_text(pdf, 2).split())
    missing = [n for n in range(1, 71) if f"Editor line {n} " not in text + " "]
    check(not missing, f"editor: every line ({len(missing)} missing, e.g. {missing[:3]})")
    for page in range(1, pages + 1):
        header = " ".join(page_text(pdf, page).split())
        check("Editor notes" in header and f"Page {page} of {pages}" in header, f"editor page {page}: its header")


def xdotool(display, *args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True, timeout=20,
                          env=dict(os.environ, DISPLAY=display)).stdout.split()


def answer_print_boxes(display, wine):
    """Answers print_jobs' two print boxes as a person would: the first on the queue (the
    printer list's first letter) with three copies, OK; the second Cancel. Keys go to the box's
    own window, so other programs on the display are not disturbed."""
    seen = set()
    for keys in ([["key", "alt+n"], ["type", QUEUE[0]], ["key", "alt+c"], ["type", "3"], ["key", "Return"]],
                 [["key", "Escape"]]):
        box = None
        deadline = time.time() + 90
        while box is None and time.time() < deadline and wine.poll() is None:
            found = {window for window in xdotool(display, "search", "--classname", r"^print_jobs\.exe$")
                     if xdotool(display, "getwindowname", window) == ["Print"]}
            box = next(iter(found - seen), None)
            time.sleep(0.3)
        if box is None:
            return False
        seen.add(box)
        time.sleep(0.5)  # the box takes keys once it has painted
        for action, what in keys:
            xdotool(display, action, "--window", box, what)
            time.sleep(0.3)
    return True


def main():
    exe = sys.argv[1]
    for tool in ("cupsd", "lpadmin", "lpstat", "pdfinfo", "pdftotext", "pdftoppm", "xdotool"):
        if shutil.which(tool) is None:
            skip(f"{tool} is not installed")
    if not pathlib.Path(PPD).exists():
        skip("the CUPS PDF printer (printer-driver-cups-pdf) is not installed")
    daemon = start_cupsd()
    default = re.search(r"destination: (\S+)", run("lpstat", "-d").stdout)
    pdfs = pdf_directory()
    work = pathlib.Path(tempfile.mkdtemp(prefix="quill_cups_"))
    created = []
    try:
        added = run("lpadmin", "-p", QUEUE, "-v", "cups-pdf:/", "-E", "-P", PPD)
        if added.returncode != 0:
            skip("CUPS refuses a new queue: " + added.stderr.strip())
        run("lpadmin", "-d", QUEUE)
        before = set(queue_jobs("all"))
        server_was_running = wine_server("-k")
        started = time.time()
        windows_work = "Z:" + str(work).replace("/", "\\")
        display = run("bash", "-c", f'source "{ROOT}/scripts/env.sh" && orlix_ensure_display && echo "$DISPLAY"')
        display = display.stdout.strip()
        # Through a file: the X server and Wine's helpers outlive the program and would keep
        # a pipe open.
        with open(work / "wine.log", "w") as log:
            wine = subprocess.Popen([str(ROOT / "scripts" / "wine-run.sh"), exe, windows_work, QUEUE],
                                    stdout=log, stderr=subprocess.STDOUT, env=dict(os.environ, DISPLAY=display))
            check(answer_print_boxes(display, wine), "the print box shows twice")
            try:
                wine.wait(timeout=120)
            except subprocess.TimeoutExpired:
                wine.kill()
                wine.wait()
        if server_was_running:
            wine_server("-p")
        output = (work / "wine.log").read_text()
        print(output, end="")
        check(wine.returncode == 0, "print_jobs under Wine reports no error")
        check(re.findall(r"print box: chosen (-?\d+)", output) == ["1", "0"],
              "print box: chosen 1 when confirmed, 0 when cancelled")
        check((work / "after_cancel.ps").exists(), "print box cancelled: driver 2 stays selected")
        # print_jobs submits them in this order: driver 10 on the default printer, driver 10
        # on the queue by name, PostScript, HP-GL/2, the grid, the image, the bitmap, the
        # editor, the print box's page; the refused images print nothing.
        jobs = wait_for_jobs(before, 9)
        print(f"jobs {jobs} done {time.time() - started:.1f} s after the start")
        check(len(jobs) == 9, f"nine jobs completed ({len(jobs)})")
        if len(jobs) == 9:
            printer, named, postscript, hpgl, grid, image, bitmap, editor, box = jobs
            for job, plain in [(postscript, "plain.ps"), (hpgl, "plain.plt")]:
                data = spooled(job)
                if data is not None:
                    check(data == (work / plain).read_bytes(), f"job {job} holds exactly {plain}")
            found = {job: find_pdf(pdfs, job) for job in jobs}
            created = [pdf for pdf in found.values() if pdf is not None]
            check(all(found.values()), f"a PDF for every job in {pdfs}")
            if found[printer]:
                check_printer_job(found[printer], work)
            if found[named]:
                check_named_job(found[named], named)
            if found[postscript]:
                check_postscript_job(found[postscript], work)
            if found[grid]:
                check_grid_job(found[grid])
            if found[image] and found[bitmap]:
                check_image_jobs(found[image], found[bitmap], work)
            if found[editor]:
                check_editor_job(found[editor])
            if found[box]:
                check("Chosen in the print box" in run("pdftotext", str(found[box]), "-").stdout, "print box: its page")
            check(job_copies(box) == 3, f"print box: three copies asked of CUPS ({job_copies(box)})")
    finally:
        run("lpadmin", "-x", QUEUE)
        if default:
            run("lpadmin", "-d", default.group(1))
        for pdf in created if "QUILL_KEEP_PDFS" not in os.environ else []:
            pdf.unlink(missing_ok=True)
        shutil.rmtree(work, ignore_errors=True)
        if daemon is not None:
            daemon.terminate()
            daemon.wait(10)
    if failures:
        print(f"{len(failures)} check(s) failed")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
