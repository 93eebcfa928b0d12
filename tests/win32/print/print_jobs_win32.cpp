// Prints the jobs the spooler test reads back: through the Windows printer driver (10)
// on the default printer, and PostScript (2) and HP-GL/2 (12) plot files handed to the
// named queue as raw jobs, each also written to a plain file for comparison; between them
// a landscape letter page in two copies on the queue chosen by name.
// Usage: print_jobs DIRECTORY QUEUE. Exits 1 when a routine reported an error.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "quill/errors.hpp"
#include "quill/graphics.hpp"

namespace {

int failures = 0;

void check(const char* what) {
  if (IErrorCode() != 0) {
    std::printf("%s: error %d\n", what, IErrorCode());
    ++failures;
  }
  IErrorReset();
}

// Page 1: filled shapes in known colours and places (user units 0..100 over the page),
// the text families and a rotated text; page 2: a cyan block and its caption. Wine's
// printer driver crashes downloading the symbol family's font (it has no TrueType outlines),
// so the printer's pages leave that family out.
void draw_pages(int families_drawn) {
  IGrUnits(0, 0, 100, 100);
  IGrFillPattern(4);
  IGrColour("red");
  IGrRectangle(10, 10, 40, 40);
  IGrColour("green");
  IGrCircle(70, 70, 10);
  IGrColour("blue");
  IGrSector(70, 25, 10, 0, 270);
  IGrFillPattern(0);
  IGrColour("magenta");
  IGrLineWidth(60);
  IGrJoin(10, 60, 40, 60);
  IGrLineWidth(10);
  IGrEllipse(85, 50, 8, 0.5F);
  IGrColour("black");
  const char* const families[] = {"Courier family", "Helvetica family", "Times family", "abgd"};
  for (int family = 1; family <= families_drawn; ++family) {
    IGrCharFont(family, 0);
    IGrCharSize(1.5F, 2.0F);
    IGrCharOut(10, 95 - 4.0F * static_cast<float>(family), families[family - 1]);
  }
  IGrCharFont(2, 1);
  IGrCharRotate(90);
  IGrCharOut(95, 10, "Rotated upwards");
  IGrCharRotate(0);
  std::vector<std::uint32_t> pixels(16 * 16);
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = (i / 16) < 8 ? 0x00FFFFU : 0xFF0000U;
  IGrImage(45, 45, 55, 55, pixels, 16, 16);  // yellow over blue
  IGrNewPage();
  IGrFillPattern(4);
  IGrColour("cyan");
  IGrRectangle(20, 20, 80, 50);
  IGrColour("black");
  IGrCharFont(3, 0);
  IGrCharSize(2, 3);
  IGrCharOut(20, 70, "Second page");
}

void print(int driver, const std::string& name) {
  IGrHardCopySelect(driver);
  IGrHardCopy("S", name, "Spooler test");
  draw_pages(driver == 10 ? 3 : 4);
  IGrHardCopy("E");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::printf("usage: print_jobs DIRECTORY QUEUE\n");
    return 2;
  }
  const std::string directory = argv[1], queue = argv[2];
  IErrorMode(0);
  IErrorReset();
  print(10, "");
  check("driver 10");
  IGrPrinterSelect("No such printer here");
  if (IErrorCode() != 63) {
    std::printf("an unknown printer: error %d, not 63\n", IErrorCode());
    ++failures;
  }
  IErrorReset();
  // The queue by name: two copies of a landscape letter page.
  IGrPrinterSelect(queue);
  IGrPrinterPaper(1);
  IGrHardCopySelect(10);
  IGrHardCopyOptions(5, 1);
  IGrHardCopyOptions(8, 2);
  IGrHardCopy("S", "", "Named printer");
  IGrUnits(0, 0, 100, 100);
  IGrCharFont(2, 0);
  IGrCharSize(2, 4);
  IGrCharOut(10, 50, "Named printer");
  IGrHardCopy("E");
  check("driver 10 on the named printer");
  IGrPrinterSelect("");
  IGrPrinterPaper(0);
  print(2, directory + "\\plain.ps");
  print(2, "cups.ps @ " + queue);
  check("driver 2");
  print(12, directory + "\\plain.plt");
  print(12, "cups.plt @ " + queue);
  check("driver 12");
  return failures == 0 ? 0 : 1;
}
