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
