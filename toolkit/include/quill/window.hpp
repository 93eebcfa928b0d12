// The root window: opening, shutting down, and what the toolkit knows about the screen.
#pragma once

#include <optional>
#include <span>
#include <string_view>

// WindowOpen flags, combined with |.
inline constexpr int WinSystemMenu = 1;
inline constexpr int WinMinimiseBox = 2;
inline constexpr int WinMaximiseBox = 4;
inline constexpr int WinMaximised = 8;
inline constexpr int WinStatusBar = 32;
inline constexpr int WinFixedSize = 64;
inline constexpr int WinHidden = 128;
inline constexpr int WinTopmost = 512;
// WindowOpenChild only: the child window lies inside the root window's client area.
inline constexpr int WinInsideParent = 1024;

// Opens the root window (window 0). flags (default 7: system menu, minimise and maximise
// boxes): the Win* flags above.
// x, y: frame position (absent or -999999: centred). width, height: client size (absent
// or < 1: 80% of the screen); when given they receive the client size actually made.
// menu_id: a menu resource with its accelerators (commands come as EvCommand).
// toolbars: up to four toolbar resource identifiers (top, left, right, bottom; 0 none).
// title: the caption (up to a NUL, trailing blanks removed). palette_size: on a display
// of 256 colours, the colours kept for the application (16, 32, 64 or 128; default 16).
// background: client colour 0xBBGGRR (absent or -1: the class's white).
// dialog_id: a dialog combined with the window, filling its client area (errors 1007 no
// such dialog, 1045 a dialog of the wrong style, 1088 it cannot be created). Does nothing
// while the root window is open.
void WindowOpen(std::optional<int> flags = std::nullopt, std::optional<int> x = std::nullopt,
                std::optional<int> y = std::nullopt, int* width = nullptr, int* height = nullptr,
                std::optional<int> menu_id = std::nullopt, std::span<const int> toolbars = {},
                std::optional<int> dialog_id = std::nullopt, std::string_view title = {},
                std::optional<int> palette_size = std::nullopt, std::optional<int> background = std::nullopt);
// Closes the root window and releases every window, dialog and library the toolkit holds.
void WindowShutdown();
// Screen and system information: 1 width, 2 height, 3 colours, 4-5 capability bits,
// 6-26 system colours (0xBBGGRR), 27 desktop composition on. Other items give 0.
int WScreenQuery(int item);
// Shows text in part 1..255 of the current window's status bar; others are ignored.
void WindowStatusBar(int part, std::string_view text);
// Sets the current window's status-bar parts: each width adds to the running right
// edge; a width of -1 makes that part and the rest share the remaining width.
void WindowStatusBarParts(std::span<const int> widths);
// Makes window number (0..50) the current window; 1003 when it is not open.
void WindowSelect(int number);
// Sets the current window's title (up to a NUL, trailing blanks removed); 1003 when no
// window is open.
void WindowTitle(std::string_view title);
// Converts between pixels of the current window's client area and screen units 0..9999.
int WindowUnitsToPixelsX(int units);
int WindowUnitsToPixelsY(int units);
int WindowPixelsToUnitsX(int pixel);
int WindowPixelsToUnitsY(int pixel);

// Child windows (numbers 1..50). Positions and sizes are screen units 0..9999 across the
// screen, or across the root window's client area for a window opened with
// WinInsideParent; width and height are those of the client area.
//
// Opens a child window and gives its number (the lowest free one) in number. flags: the
// WindowOpen flags (default 7) plus WinInsideParent. x, y absent: centred; width, height
// absent or < 1: half the screen (or the root's client area). menu_id: a menu resource
// with its accelerators; a window inside the root has no menu bar, its menu's
// accelerators still give EvCommand. Events from the window carry its number in word 0.
// Errors: 1003 the root window is not open or all 50 numbers are in use, 1002 the menu
// cannot be loaded (the window opens without it), and for WinInsideParent 1046 the root
// window holds a dialog, 1056 it is a grid window. number is unchanged on failure.
void WindowOpenChild(int& number, std::optional<int> flags = std::nullopt,
                     std::optional<int> x = std::nullopt, std::optional<int> y = std::nullopt,
                     std::optional<int> width = std::nullopt, std::optional<int> height = std::nullopt,
                     std::string_view title = {}, std::optional<int> menu_id = std::nullopt);
// Closes child window number with what it holds (grid, bitmap view, drawing buffer); the
// root window becomes current when it was. Not an open child window: 1003.
void WindowCloseChild(int number);
// Gives the current window a client area of width x height and, when x and y are given,
// moves it there (units as for WindowOpenChild; the root window's are the screen's).
// A width or height below 1 keeps that size. No window open: 1003.
void WindowSize(int width, int height, std::optional<int> x = std::nullopt,
                std::optional<int> y = std::nullopt);
