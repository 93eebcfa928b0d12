// The window table shared by the root window, the event loop, the dialog manager and the
// error reporter. Windows build only.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <vector>

namespace quill {

inline constexpr int kMaxWindows = 51;  // 0 root window, 1..50 child windows
inline constexpr int kStatusBarId = 999;
inline constexpr int kMaxStatusParts = 255;

// Kind of the record attached to a frame (GWLP_USERDATA holds the kind).
enum class WindowKind : int {
  Plain = 0,
  CombinedDialog = 3,
  Special = 5,
  Grid = 6,
  Editor = 7,
  BitmapViewer = 8
};

struct WindowEntry {
  HWND frame = nullptr;
  HWND client = nullptr;
  HWND status_bar = nullptr;
  HMENU menu = nullptr;
  int menu_id = 0;
  HACCEL accelerators = nullptr;
  // "KVSMENUSTRING" resource of the menu, when present (owned by the module).
  const unsigned char* menu_strings = nullptr;
  std::size_t menu_strings_size = 0;
  std::array<HWND, 4> toolbars{};       // top, left, right, bottom
  std::array<int, 4> toolbar_extent{};  // height of top/bottom, width of left/right
  std::array<HBITMAP, 4> toolbar_bitmaps{};
  HBRUSH background = nullptr;
  int background_colour = -1;
  std::vector<int> status_widths;  // -1: the part shares the rest of the width
  std::vector<int> status_styles;
  bool status_simple = false;  // menu help is showing
  WindowKind kind = WindowKind::Plain;
  HWND combined_dialog = nullptr;  // the dialog window when kind is CombinedDialog
  int combined_outer_width = 0;    // the frame's outer size when the dialog was combined
  int combined_outer_height = 0;
  // Kind Grid: the grid window that covers the client area. It follows the client's size
  // and focus and receives the window's menu, toolbar and accelerator commands first.
  HWND converted = nullptr;
  HWND last_focus = nullptr;   // focused control when the frame was deactivated
  bool inside_parent = false;  // a child window inside the root window's client area
  int client_width = 0;
  int client_height = 0;
};

struct WindowTable {
  std::array<WindowEntry, kMaxWindows> windows{};
  bool open = false;
  int current = 0;  // current window for output
  HINSTANCE instance = nullptr;
  HDC client_dc = nullptr;  // root client area, kept while the window is open
  HFONT font = nullptr;     // default text font (system font)
  int char_height = 0;
  int char_width = 0;
  int x = 0, y = 0;  // frame position

  // First-open initialisation.
  bool initialised = false;
  HMODULE comctl32 = nullptr;
  HMODULE rich_edit = nullptr;
  int rich_edit_level = 0;
  UINT find_replace_message = 0;
  HWND measuring_window = nullptr;  // hidden 10x10 window, lives until the root is made
  HMODULE msimg32 = nullptr;
  HMODULE dwmapi = nullptr;
  FARPROC gradient_fill = nullptr;
  FARPROC dwm_is_composition_enabled = nullptr;
  UINT cgm_clipboard_format = 0;
};

WindowTable& windows();

// Number 0..50 of the toolkit window whose frame or client area is hwnd, else -1.
int window_number(HWND hwnd);
// Client area of the current window, or null.
HWND current_client();
// Selects window n as the current window; reports 1003 for "YYWINSEL" when not open.
void select_window(int n);
// Sets the text of status-bar part 1..255 of the current window (others ignored).
void set_status_text(int part, const char* text);

// True when a child window lies inside the root window's client area.
bool inside_parent_windows_exist();

// Translates msg through the accelerators of the nearest window with a menu, starting at
// hwnd and going up the parent chain. True when it became a command.
bool translate_window_accelerators(HWND hwnd, MSG& msg);

}  // namespace quill
