// Memory bitmaps and image files: bitmaps to draw into without a window, and saving an
// area of the current drawable as a Windows bitmap, PCX or PNG file or to the clipboard.
#pragma once

#include <optional>
#include <string_view>

// Creates a white memory bitmap of width x height pixels at depth 4, 8, 16, 24 (default)
// or 32 bits per pixel and returns its number (1..50) in handle; IGrSelect(2, handle)
// draws into it. 4- and 8-bit bitmaps are palette drawables (colour numbers 0..255),
// the others true colour. A bad size or depth, or no free number: error 1020 (handle
// unchanged); a pixel store beyond 1 GiB: error 1109.
void WBitmapCreate(int& handle, int width, int height, std::optional<int> depth = std::nullopt);
// Frees a memory bitmap; an invalid or free number reports error 1021, a bitmap a
// bitmap view shows 1036.
void WBitmapDestroy(int handle);
// Saves the current area (IGrArea) of the current drawable to file_name. The format is
// 1 BMP, 2 PCX or 15 PNG, or when absent chosen by the extension ".bmp", ".pcx" or
// ".png" (any case); format 0 copies to the clipboard instead. Another format or
// extension: error 27. Failures: 1 the file cannot be created, 2 a write failed, 1044
// compression failed, 1063 the drawable is a metafile, 1072 the pixels cannot be read.
void IGrSaveImage(std::string_view file_name, std::optional<int> format = std::nullopt);
// Copies the current area of the current drawable to the clipboard as a bitmap;
// 1094 when the clipboard cannot be opened.
void IGrCopyImageToClipboard();
// Prints the current area of the current drawable (window, dialog graphics field or memory
// bitmap) as an image on a page of its own, as large as fits inside 10 mm margins, through
// the selected hardcopy driver: 10 the Windows printer, or a file driver to file_name (as
// IGrHardCopy takes it, "file @ destination" included). A hardcopy in progress ends first;
// the drawing state is as before afterwards. Errors: 64 the pixels could not be read or
// the printer did not take them, 1064 the drawable is a metafile, 1019 there is no
// drawable; the hardcopy's own errors as IGrHardCopy reports them.
void IGrPrintImage(std::string_view file_name = {}, std::string_view title = {});
// Prints the whole of memory bitmap handle the same way, whatever the current drawable;
// 1021 for an invalid or free number.
void WBitmapPrint(int handle, std::string_view file_name = {}, std::string_view title = {});

// Reads a BMP, PCX or PNG file (told apart by its first bytes, whatever its name) into a
// new memory bitmap and returns its number in handle. The bitmap takes the file's depth
// where a bitmap has it: palette images of up to 16 colours become 4-bit bitmaps, of up
// to 256 colours or grey 8-bit ones, 5-6-5 BMP files 16 bits, 32-bit BMP files 32 bits,
// everything else 24 bits; 16-bit samples keep their high byte, and transparency is
// dropped (each pixel keeps its colour). Failures leave handle as it was and take no
// number: 1 the file cannot be opened, 2 it cannot be read, 27 not an image of these
// kinds or damaged (bad CRC, cut short, a colour index beyond the palette, ...), 1044 the
// image data does not inflate (zlib's code as the detail), 1109 larger than a bitmap may
// be, 1020 no free bitmap number or no memory.
void WBitmapLoad(int& handle, std::string_view file_name);
// Draws a BMP, PCX or PNG file into the current area of the current drawable, scaled to
// fill it (the whole user range). Failures as WBitmapLoad's, without 1020 for numbers.
void IGrLoadImage(std::string_view file_name);

// Type codes of IGrPlotFileType.
inline constexpr int PlotFileUnknown = 0;
inline constexpr int PlotFilePostScript = 1;
inline constexpr int PlotFileEps = 2;  // encapsulated PostScript, also with a binary header
inline constexpr int PlotFileSvg = 3;
inline constexpr int PlotFileHpgl = 4;      // pen-plotter HP-GL
inline constexpr int PlotFileHpgl2 = 5;     // HP-GL/2 without PCL framing
inline constexpr int PlotFileHpgl2Pcl = 6;  // HP-GL/2 inside PCL printer commands
inline constexpr int PlotFileDxf = 7;       // text or binary DXF
inline constexpr int PlotFileCgm = 8;       // binary or clear-text CGM
inline constexpr int PlotFilePng = 9;
inline constexpr int PlotFileBmp = 10;
inline constexpr int PlotFilePcx = 11;
inline constexpr int PlotFileEmf = 12;  // enhanced metafile
// The kind of a plot or image file, from its first 4096 bytes. A file that cannot be
// opened or read reports 1 or 2 and gives PlotFileUnknown; an empty file is unknown.
int IGrPlotFileType(std::string_view file_name);
