// Bitmap operations and bitmap views: pixel work on memory bitmaps (WBitmapCreate) and
// the current drawable, and child windows that show a memory bitmap a person can scroll
// and zoom. Pixel positions count from the top-left corner, 0-based.
#pragma once

#include <optional>

// Bitwise modes of WBitmapCopy: the target pixel becomes the source, target AND source,
// target OR source, target XOR source, or NOT source.
inline constexpr int BitmapCopyMode = 0;
inline constexpr int BitmapAndMode = 1;
inline constexpr int BitmapOrMode = 2;
inline constexpr int BitmapXorMode = 3;
inline constexpr int BitmapInvertMode = 4;

// Copies width x height pixels at (x, y) of source to (to_x, to_y) of target with a
// bitwise mode (default copy). source and target: a memory bitmap's handle, or 0 for the
// current drawable (a window, graphics field or memory bitmap). Parts outside either are
// left out. Between bitmaps of one depth the stored values are combined (colour numbers
// on 4- and 8-bit bitmaps); otherwise each pixel takes the target's nearest colour first.
// Errors: 1043 an unknown mode, 1021 an invalid handle, 1065 the current drawable is a
// memory metafile, 1019 there is no current drawable, 1066 the pixels cannot be moved.
void WBitmapCopy(int source, int x, int y, int width, int height, int target, int to_x, int to_y,
                 std::optional<int> mode = std::nullopt);
// Turns a memory bitmap counter-clockwise by 90, 180 or 270 degrees (other angles: 1090);
// a quarter turn swaps its width and height. 1021 an invalid handle, 1020 no memory.
void WBitmapRotate(int handle, int angle);
// Reads and writes one pixel of a bitmap (or of the current drawable with handle 0) as
// IGrColourN takes colours: the colour number on 4- and 8-bit bitmaps, 0xBBGGRR on the
// others and on windows. A position outside, or a colour number beyond the bitmap's
// table: 1066 (colour receives -1 from a failed read). 1021, 1065, 1019 as for WBitmapCopy.
void WBitmapGetPixel(int handle, int x, int y, int& colour);
void WBitmapPutPixel(int handle, int x, int y, int colour);

// View modes: the bitmap at its actual size, fitted into the window whole, or zoomed.
inline constexpr int ViewActualSize = 1;
inline constexpr int ViewFit = 2;
inline constexpr int ViewZoom = 3;

// Turns the current window (a child window) into a view of memory bitmap handle, or
// changes the mode of its view: mode (default ViewActualSize), zoom (ViewZoom only: window
// pixels per bitmap pixel, 1/64..64, default 1). Handle 0 gives the window back. The view
// has scroll bars; the arrow keys, Page Up/Down, Home and End, the wheel (with Shift
// across) and dragging with the left button scroll it, each change posting EvViewScroll
// (type 15, enable it) with the position (the bitmap pixel at the top-left corner) in words
// 1, 2, 12 and 13. Other keys and the pointer give their events with word 3 = 2 and
// positions in the bitmap's pixels (words 12, 13; -1 off the bitmap) and in the graphics
// units of the bitmap (words 9, 10). Drawing into the bitmap shows at once.
// Errors: 1039 an unknown mode, 1021 an invalid handle, 1022 the root window, 1003 no
// window, 1038 a grid window, 1037 another window shows the bitmap, 1040 the view
// cannot be made.
void WBitmapView(int handle, std::optional<int> mode = std::nullopt,
                 std::optional<float> zoom = std::nullopt);
// Scrolls the current window's view to bitmap pixel (x, y) at the top-left (clamped); no
// event. 1096 when the current window shows no bitmap.
void WBitmapViewScroll(int x, int y);
// The current window's view: its position and zoom. 1096 (and -1, -1, 0) when none.
void WBitmapViewQuery(int& x, int& y, float& zoom);
