// Prints the jobs the spooler test reads back: through the Windows printer driver (10)
// on the default printer, and PostScript (2) and HP-GL/2 (12) plot files handed to the
// named queue as raw jobs, each also written to a plain file for comparison; between them
// a landscape letter page in two copies on the queue chosen by name; then, through driver 10
// on the default printer, a grid of 300 rows, a bitmap drawable's area (IGrPrintImage), a
// memory bitmap (WBitmapPrint), images that fail with 64 and print nothing, an editor
// window's text, and a page on the printer chosen in the print box (which the test answers).
// Usage: print_jobs DIRECTORY QUEUE. Exits 1 when a routine reported an unexpected error.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "graphics/gdi/gdi_render_win32.hpp"
#include "quill/editor.hpp"
#include "quill/errors.hpp"
#include "quill/graphics.hpp"
#include "quill/grid.hpp"
#include "quill/image.hpp"
#include "quill/window.hpp"

namespace {

int failures = 0;

void check(const char* what, int expected = 0) {
  if (IErrorCode() != expected) {
    std::printf("%s: error %d, not %d\n", what, IErrorCode(), expected);
    ++failures;
  }
  IErrorReset();
}

// Page 1: filled shapes in known colours and places (user units 0..100 over the page),
// the four text families and a rotated text; page 2: a cyan block and its caption.
void draw_pages() {
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
  for (int family = 1; family <= 4; ++family) {
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
  draw_pages();
  IGrHardCopy("E");
}

// A page with one caption through the selected driver.
void print_caption(const char* title, const char* caption) {
  IGrHardCopy("S", "", title);
  IGrUnits(0, 0, 100, 100);
  IGrCharFont(2, 0);
  IGrCharSize(2, 4);
  IGrCharOut(10, 50, caption);
  IGrHardCopy("E");
}

// Grid cells read "R<row>C<column>", three digits of row; titles Alpha, Beta, Gamma; a few
// cells coloured.
void print_grid() {
  WGridMemory(1);
  WGridColumns(0, 3, std::vector<int>{4, 4, 5}, std::vector<int>{12, 12, 8});
  WGridRows(0, 300);
  WGridTitles(0, 1, 0);
  const char* const titles[] = {"Alpha", "Beta", "Gamma"};
  for (int c = 1; c <= 3; ++c) WGridColumnTitle(0, c, titles[c - 1]);
  char text[16];
  for (int r = 1; r <= 300; ++r) {
    for (int c = 1; c <= 2; ++c) {
      std::snprintf(text, sizeof text, "R%03dC%d", r, c);
      WGridPutCellString(0, c, r, text);
    }
    WGridPutCellInteger(0, 3, r, 50000 + r);
  }
  WGridColourCell(0, 1, 1, 0x0000FF, 0x00FFFF);
  IGrHardCopySelect(10);
  WGridPrint(0, "", "Grid of 300 rows");
  check("grid");
}

// A 200 x 100 bitmap, red on the left and blue on the right, printed as the current
// drawable's area; a 100 x 100 one, green over yellow, printed by its number.
void print_images() {
  int wide = 0, square = 0;
  WBitmapCreate(wide, 200, 100);
  WBitmapCreate(square, 100, 100);
  IGrSelect(2, square);
  IGrUnits(0, 0, 1, 1);
  IGrFillPattern(4);
  IGrColour("yellow");
  IGrRectangle(0, 0, 1, 0.5F);
  IGrColour("green");
  IGrRectangle(0, 0.5F, 1, 1);
  IGrSelect(2, wide);
  IGrUnits(0, 0, 1, 1);
  IGrColour("red");
  IGrRectangle(0, 0, 0.5F, 1);
  IGrColour("blue");
  IGrRectangle(0.5F, 0, 1, 1);
  check("bitmaps");
  IGrHardCopySelect(10);
  IGrPrintImage("", "Drawable image");
  check("IGrPrintImage");
  WBitmapPrint(square, "", "Memory bitmap");
  check("WBitmapPrint");
  // Failures print nothing: an area that covers no pixel, and a printer refusing images.
  IGrArea(0.5F, 0.5F, 0.502F, 0.502F);
  IGrPrintImage("", "Unreadable area");
  check("IGrPrintImage of an area without pixels", 64);
  IGrArea(0, 0, 1, 1);
  quill::refuse_images_for_test(true);
  IGrPrintImage("", "Refused image");
  check("IGrPrintImage refused by the printer", 64);
  WBitmapPrint(square, "", "Refused bitmap");
  check("WBitmapPrint refused by the printer", 64);
  quill::refuse_images_for_test(false);
}

// An editor window's text of 70 numbered lines through driver 10, with its page header.
void print_editor() {
  int width = 600, height = 400, window = 0;
  WindowOpen(7, 20, 20, &width, &height, std::nullopt, {}, std::nullopt, "Print jobs");
  WindowOpenChild(window, WinSystemMenu, 200, 200, 5000, 5000, "Notes");
  WindowSelect(window);
  WEditor(EditorPlain);
  std::string text;
  for (int line = 1; line <= 70; ++line) text += "Editor line " + std::to_string(line) + "\r\n";
  WEditorPutText(text);
  WEditorPrint(10, "", "Editor notes");
  check("WEditorPrint");
  WindowShutdown();
}

// The print box twice, driven by the test from outside: first confirmed with three copies
// (a page through driver 10 on the printer chosen there), then cancelled, which leaves the
// selected driver as it was (2: the page goes to a PostScript file, not the printer).
void print_from_print_box(const std::string& directory) {
  int chosen = -1;
  IGrPrinterDialog(chosen);
  std::printf("print box: chosen %d\n", chosen);
  if (chosen == 1) print_caption("Print box", "Chosen in the print box");
  check("print box, confirmed");
  IGrHardCopySelect(2);
  chosen = -1;
  IGrPrinterDialog(chosen);
  std::printf("print box: chosen %d\n", chosen);
  print(2, directory + "\\after_cancel.ps");
  check("print box, cancelled");
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
  check("an unknown printer", 63);
  // The queue by name: two copies of a landscape letter page.
  IGrPrinterSelect(queue);
  IGrPrinterPaper(1);
  IGrHardCopySelect(10);
  IGrHardCopyOptions(5, 1);
  IGrHardCopyOptions(8, 2);
  print_caption("Named printer", "Named printer");
  check("driver 10 on the named printer");
  IGrPrinterSelect("");
  IGrPrinterPaper(0);
  print(2, directory + "\\plain.ps");
  print(2, "cups.ps @ " + queue);
  check("driver 2");
  print(12, directory + "\\plain.plt");
  print(12, "cups.plt @ " + queue);
  check("driver 12");
  print_grid();
  print_images();
  print_editor();
  print_from_print_box(directory);
  return failures == 0 ? 0 : 1;
}
