// Graphics: the drawing state routines, hardcopy output through numbered drivers, and the
// drawing routines. Coordinates are user units (IGrUnits) inside the area (IGrArea).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

// --- State, units and colours ---------------------------------------------------------
// User range; each direction needs lower < upper, else it becomes 0..1 with error 16.
void IGrUnits(float left, float bottom, float right, float top);
// Presentation range for charts; equal bounds reset that direction to 0..1 (error 16).
void IPgArea(float x1, float y1, float x2, float y2);
// Area as fractions of the drawable: 0 <= lower < upper <= 1, else 0..1 with error 44.
void IGrArea(float left, float bottom, float right, float top);
// Colour number 0..255 (palette drawables, else error 42) or 0xBBGGRR value (true colour).
void IGrColourN(int colour);
// Named colour: black, blue, green, cyan, red, magenta, yellow, white (first four
// characters count, a leading "B" other than "BL" is skipped); unknown: error 42.
void IGrColour(std::string_view name);
// Makes a drawable current: kind 1 window (absent: the current one), 2 memory bitmap,
// 4 memory metafile 1..20. An invalid identifier falls back to window 1 (error 1019).
void IGrSelect(int kind, std::optional<int> identifier = std::nullopt);
// Makes a graphics field of a loaded dialog (by its handle; field 0 is a dialog with the
// graphics flag) the current drawable: drawings show in the field and survive repaints.
// The flag comes from the dialog's [Graphics] data or WDialogGraphicsField.
// Not such a field: error 1019, and the current drawable stays.
void IGrSelectField(int dialog_handle, int field_id);
// Frees memory metafile slot 1..20; an invalid or empty slot reports error 1060.
void WMetafileDestroy(int handle);

// --- Hardcopy ----------------------------------------------------------------------------
// action "S" starts a hardcopy through the selected driver into file_name (blank: the
// driver's default file) with an optional title; any other action ends it. Starting ends
// an active hardcopy first. Until the end every drawing routine draws into the hardcopy as
// well as the current drawable (with none, into the hardcopy alone), inside the same
// area (IGrArea) of the page. "file @ destination" keeps the file for printing on a
// printer or device when the hardcopy ends. Errors: 1 the file cannot be created (or its
// name is over 260 characters); 2 a write failed (routine "YYPROU"; the hardcopy is
// abandoned); 63 an unknown print destination, 1, 2, 3 handing the file to it.
void IGrHardCopy(std::string_view action, std::string_view file_name = {}, std::string_view title = {});
// Selects the hardcopy driver by number (1 HP-GL plotter, 2 PostScript, 3 SVG, 6 raster
// image, 8 DXF, 9 CGM, 10 Windows printer, 11 enhanced metafile, 12 HP-GL/2) and sets
// its options to the driver's start values. A number up to 12 without a driver in the
// build (5, 7) is accepted and writes nothing. Other numbers: error 46.
void IGrHardCopySelect(int driver);
// Sets hardcopy option number 1..30 of the selected driver (width 1, height 2, offsets
// 3-4, orientation 5, reverse mode 6, copies 8, line width 9, join 10, cap 11, hatch
// distance 12, end-of-job 15, path limit 16, label terminator 21, encapsulated 22, colour
// depth 23, image format 26). Values outside an option's range are ignored.
void IGrHardCopyOptions(int option, int value);
// Names the printer the Windows printer driver (10) prints on; blank: the default printer.
// A name the system knows no printer by reports 63 and keeps the previous choice.
void IGrPrinterSelect(std::string_view name);
// Paper of driver 10 as a Windows paper code (1 letter, 5 legal, 8 A3, 9 A4, ...); 0: the
// printer's own. Copies and orientation are options 8 and 5.
void IGrPrinterPaper(int paper);
// Shows the platform's print box for the chosen printer. When the person confirms, selects
// driver 10 with the printer, copies, orientation and paper chosen there and sets chosen
// to 1; otherwise (cancelled, or no print box on this platform) chosen is 0.
void IGrPrinterDialog(int& chosen);

// --- Drawing ----------------------------------------------------------------------------
// Rectangle with corners (x1, y1), (x2, y2); zero width or height: error 22.
void IGrRectangle(float x1, float y1, float x2, float y2);
// Current point for IGrLineTo.
void IGrMoveTo(float x, float y);
// Line from the current point to (x, y), which becomes the current point.
void IGrLineTo(float x, float y);
// Line from (x1, y1) to (x2, y2).
void IGrJoin(float x1, float y1, float x2, float y2);
// A point at (x, y) in the current colour.
void IGrPoint(float x, float y);
// Open line through the first n = min(x.size(), y.size()) points; fewer than 2: nothing.
// Points too many for memory (here and in IGrPolygon): error 49, nothing drawn.
void IGrPolyLine(std::span<const float> x, std::span<const float> y);
// Closed polygon (filled or outlined by the fill style); fewer than 3 points: nothing.
void IGrPolygon(std::span<const float> x, std::span<const float> y);
// Triangle; three points on one line: error 22.
void IGrTriangle(float x1, float y1, float x2, float y2, float x3, float y3);
// Parallelogram through three corners; the fourth is x1 + x3 - x2. Flat: error 22.
void IGrParallelogram(float x1, float y1, float x2, float y2, float x3, float y3);
// Circle of radius (x units); ellipse with vertical radius = radius * ratio. A radius or
// ratio of 0 or less (or not finite): error 20, nothing drawn.
void IGrCircle(float x, float y, float radius);
void IGrEllipse(float x, float y, float radius, float ratio);
// Arc (outline) and sector (pie) from start angle through sweep, in degrees counter-
// clockwise; a sweep of 0: error 20.
void IGrArc(float x, float y, float radius, float start_angle, float sweep);
void IGrSector(float x, float y, float radius, float start_angle, float sweep);
// Fill style of closed shapes: 0 outline, 3 solid in the mean of the previous and the
// current colour, 4 solid in the current colour. Other values are taken as outline.
void IGrFillPattern(int style);
// Line style 0 solid, 1..7 dash patterns; width in tenths of a point (at least 1);
// join 0 miter, 1 round, 2 bevel; cap 0 butt, 1 round, 2 square. Others are ignored.
void IGrLineType(int style);
void IGrLineWidth(int tenths_of_point);
void IGrLineJoin(int join);
void IGrLineCap(int cap);
// Text attributes: family 1 Courier, 2 Helvetica, 3 Times, 4 Symbol; style 0 plain,
// 1 bold, 2 italic, 3 bold italic; size in user units (0: 1/40 of the area's height);
// rotation in degrees; justification 0 left, 1 centre, 2 right; mode 0..2 (mode 1
// ignores the justification); flags bit 0 opens and bit 1 closes a text group.
void IGrCharFont(int family, int style = 0);
void IGrCharSize(float width, float height);
void IGrCharRotate(float degrees);
void IGrCharJustify(int justification);
void IGrTextMode(int mode);
void IGrTextFlags(int flags);
// Text at (x, y) with the current attributes.
void IGrCharOut(float x, float y, std::string_view text);
// Image of width x height pixels (row-major from the top, 0xBBGGRR) into the rectangle
// (x1, y1)-(x2, y2); a pixel span shorter than width * height: error 22; pixels too many
// for a driver's copy in memory: error 1109.
void IGrImage(float x1, float y1, float x2, float y2, std::span<const std::uint32_t> pixels, int width,
              int height);
// Ends the current page of an active hardcopy and starts the next; without an active
// hardcopy nothing happens.
void IGrNewPage();
// Whether this build has hardcopy driver number driver (present 1, else 0), and the file
// its output gets when the hardcopy names none (blank-padded; blank for drivers that
// write no file of their own, and for absent drivers).
void IGrHardCopyDriver(int driver, int& present, std::span<char> default_file);
