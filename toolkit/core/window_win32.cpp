// The root window: WindowOpen, WindowShutdown, the window table and the current window.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>

#include "base/error_codes.hpp"
#include "event_queue.hpp"
#include "init_win32.hpp"
#include "menu_tables.hpp"
#include "quill/errors.hpp"
#include "quill/window.hpp"
#include "base/report_layer.hpp"
#include "settings.hpp"
#include "startup_trace_win32.hpp"
#include "window_procs_win32.hpp"
#include "window_table.hpp"
#include "core/resources_win32.hpp"
#include "core/window_layers.hpp"

namespace quill {

WindowTable& windows() {
  static WindowTable table;
  return table;
}

int window_number(HWND hwnd) {
  if (hwnd == nullptr) return -1;
  const WindowTable& table = windows();
  for (int n = 0; n < kMaxWindows; ++n) {
    const WindowEntry& entry = table.windows[static_cast<std::size_t>(n)];
    if (entry.frame == hwnd || entry.client == hwnd) return n;
  }
  return -1;
}

HWND current_client() {
  WindowTable& table = windows();
  if (table.current < 0 || table.current >= kMaxWindows) return nullptr;
  return table.windows[static_cast<std::size_t>(table.current)].client;
}

void select_window(int n) {
  WindowTable& table = windows();
  if (n < 0 || n >= kMaxWindows || table.windows[static_cast<std::size_t>(n)].frame == nullptr) {
    IErrorReport(quill::error::kInvalidWindow, "YYWINSEL");
    return;
  }
  table.current = n;
}

void set_status_text(int part, const char* text) {
  WindowTable& table = windows();
  if (part < 1 || part > kMaxStatusParts || table.current < 0 || table.current >= kMaxWindows) return;
  HWND bar = table.windows[static_cast<std::size_t>(table.current)].status_bar;
  if (bar == nullptr) return;
  SendMessageA(bar, SB_SETTEXTA, static_cast<WPARAM>(part - 1), reinterpret_cast<LPARAM>(text));
}

bool translate_window_accelerators(HWND hwnd, MSG& msg) {
  for (HWND h = hwnd; h != nullptr; h = GetParent(h)) {
    const int n = window_number(h);
    if (n < 0) continue;
    WindowEntry& entry = windows().windows[static_cast<std::size_t>(n)];
    if (entry.frame != h || entry.menu == nullptr) continue;
    if (entry.accelerators == nullptr) return false;
    return TranslateAcceleratorA(entry.frame, entry.accelerators, &msg) != 0;
  }
  return false;
}

namespace {

constexpr int kCentred = -999999;

int screen_width() {
  const int w = settings().screen_width;
  return w > 0 ? w : GetSystemMetrics(SM_CXSCREEN);
}

int screen_height() {
  const int h = settings().screen_height;
  return h > 0 ? h : GetSystemMetrics(SM_CYSCREEN);
}

// Gives menu items without identifiers (pop-ups) the identifiers of the table.
void apply_menu_id_table(HMENU menu, std::span<const unsigned char> data) {
  for (const MenuIdEntry& entry : parse_menu_id_table(data)) {
    HMENU m = menu;
    for (std::size_t i = 0; m != nullptr && i + 1 < entry.path.size(); ++i) {
      m = GetSubMenu(m, entry.path[i] - 1);
    }
    if (m == nullptr) continue;
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID;
    info.wID = static_cast<UINT>(entry.id);
    SetMenuItemInfoA(m, static_cast<UINT>(entry.path.back() - 1), TRUE, &info);
  }
}

struct ToolbarLayout {
  int width = 0;   // of a left or right toolbar
  int height = 0;  // of a top or bottom toolbar
};

// Creates toolbar `position` (0 top, 1 left, 2 right, 3 bottom) from the raw data and
// bitmap resources named id; null when the raw data is missing.
HWND create_toolbar(WindowEntry& entry, HINSTANCE instance, int position, int id, ToolbarLayout& layout) {
  ToolbarData data;
  if (!parse_toolbar_data(resource_bytes(instance, id, RT_RCDATA), data)) return nullptr;
  const bool vertical = position == 1 || position == 2;
  DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NORESIZE |
                CCS_NOPARENTALIGN | CCS_NODIVIDER;
  if (vertical) style |= CCS_VERT;
  HWND bar = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr, style, 0, 0, 0, 0, entry.frame,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  if (bar == nullptr) return nullptr;
  const int bw = data.image_width + 6;
  const int bh = data.image_height + 6;
  SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageA(bar, TB_SETBITMAPSIZE, 0, MAKELPARAM(data.image_width, data.image_height));
  SendMessageA(bar, TB_SETBUTTONSIZE, 0, MAKELPARAM(bw, bh));
  const int images = static_cast<int>(
      std::count_if(data.commands.begin(), data.commands.end(), [](int c) { return c != 0; }));
  HBITMAP bitmap = LoadBitmapA(instance, MAKEINTRESOURCEA(id));
  if (bitmap != nullptr && images > 0) {
    TBADDBITMAP add{nullptr, reinterpret_cast<UINT_PTR>(bitmap)};
    SendMessageA(bar, TB_ADDBITMAP, static_cast<WPARAM>(images), reinterpret_cast<LPARAM>(&add));
  }
  entry.toolbar_bitmaps[static_cast<std::size_t>(position)] = bitmap;
  std::vector<TBBUTTON> buttons;
  int image = 0;
  for (int command : data.commands) {
    TBBUTTON b{};
    if (command == 0) {
      b.fsStyle = BTNS_SEP;
    } else {
      b.iBitmap = image++;
      b.idCommand = command;
      b.fsStyle = BTNS_BUTTON;
      b.fsState = TBSTATE_ENABLED;
      const UINT state = entry.menu ? GetMenuState(entry.menu, static_cast<UINT>(command), MF_BYCOMMAND)
                                    : static_cast<UINT>(-1);
      if (state != static_cast<UINT>(-1)) {
        if (state & MF_CHECKED) b.fsState |= TBSTATE_CHECKED;
        if (state & (MF_GRAYED | MF_DISABLED)) b.fsState &= static_cast<BYTE>(~TBSTATE_ENABLED);
      }
    }
    if (vertical) b.fsState |= TBSTATE_WRAP;
    buttons.push_back(b);
  }
  if (!buttons.empty()) {
    SendMessageA(bar, TB_ADDBUTTONS, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
  }
  layout.width = bw + 4;
  layout.height = bh + 4;
  return bar;
}

// The frame's client rectangle minus toolbars and status bar: where the client area goes.
RECT client_area_rect(const WindowEntry& entry) {
  RECT r{};
  GetClientRect(entry.frame, &r);
  if (entry.status_bar != nullptr) {
    RECT s{};
    GetWindowRect(entry.status_bar, &s);
    r.bottom -= s.bottom - s.top;
  }
  for (std::size_t i = 0; i < 4; ++i) {
    if (entry.toolbars[i] == nullptr) continue;
    const int extent = entry.toolbar_extent[i];
    switch (i) {
      case 0: r.top += extent; break;
      case 1: r.left += extent; break;
      case 2: r.right -= extent; break;
      default: r.bottom -= extent; break;
    }
  }
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

}  // namespace

void apply_status_parts(WindowEntry& entry) {
  if (entry.status_bar == nullptr || entry.status_simple) return;
  if (entry.status_widths.empty()) {
    int whole = -1;
    SendMessageA(entry.status_bar, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&whole));
    return;
  }
  RECT r{};
  GetClientRect(entry.status_bar, &r);
  std::vector<int> edges = status_part_edges(entry.status_widths, r.right - r.left);
  SendMessageA(entry.status_bar, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

// Places toolbars, status bar and client area inside the frame.
void layout_frame(WindowEntry& entry) {
  if (entry.frame == nullptr) return;
  RECT frame{};
  GetClientRect(entry.frame, &frame);
  int status_height = 0;
  if (entry.status_bar != nullptr) {
    SendMessageA(entry.status_bar, WM_SIZE, 0, 0);
    RECT s{};
    GetWindowRect(entry.status_bar, &s);
    status_height = s.bottom - s.top;
    apply_status_parts(entry);
  }
  const int top = entry.toolbars[0] ? entry.toolbar_extent[0] : 0;
  const int bottom = entry.toolbars[3] ? entry.toolbar_extent[3] : 0;
  const int inner_bottom = frame.bottom - status_height - bottom;
  if (entry.toolbars[0]) MoveWindow(entry.toolbars[0], 0, 0, frame.right, top, TRUE);
  if (entry.toolbars[3]) MoveWindow(entry.toolbars[3], 0, inner_bottom, frame.right, bottom, TRUE);
  if (entry.toolbars[1]) {
    MoveWindow(entry.toolbars[1], 0, top, entry.toolbar_extent[1], inner_bottom - top, TRUE);
  }
  if (entry.toolbars[2]) {
    MoveWindow(entry.toolbars[2], frame.right - entry.toolbar_extent[2], top, entry.toolbar_extent[2],
               inner_bottom - top, TRUE);
  }
  if (entry.client != nullptr) {
    const RECT c = client_area_rect(entry);
    MoveWindow(entry.client, c.left, c.top, c.right - c.left, c.bottom - c.top, TRUE);
  }
}

namespace {

// What WindowOpen was asked for, with the defaults filled in, and where the frame goes.
struct RootWindowPlan {
  int flags = WinSystemMenu | WinMinimiseBox | WinMaximiseBox;
  bool centred_x = true;
  bool centred_y = true;
  int x = 0;
  int y = 0;
  int client_w = 0;
  int client_h = 0;
  int frame_w = 0;
  int frame_h = 0;
  int menu_id = 0;
  int dialog_id = 0;
  int dialog_code = 0;       // why the dialog cannot be combined (see CombinedMeasure), else 0
  HWND measuring = nullptr;  // lives until the dialog is combined
  DWORD style = 0;
  DWORD ex_style = 0;
};

RootWindowPlan plan_from_arguments(std::optional<int> flags, std::optional<int> x, std::optional<int> y,
                                   const int* width, const int* height, std::optional<int> menu_id,
                                   std::optional<int> dialog_id) {
  RootWindowPlan plan;
  plan.flags = flags.value_or(plan.flags);
  plan.centred_x = !x || *x == kCentred;
  plan.centred_y = !y || *y == kCentred;
  plan.x = x.value_or(0);
  plan.y = y.value_or(0);
  plan.client_w = (width != nullptr && *width >= 1) ? *width : screen_width() * 80 / 100;
  plan.client_h = (height != nullptr && *height >= 1) ? *height : screen_height() * 80 / 100;
  plan.menu_id = menu_id.value_or(0);
  plan.dialog_id = dialog_id.value_or(0);
  return plan;
}

// A combined dialog sets the client size and, when it cannot be resized, fixes the frame.
void measure_combined_dialog(RootWindowPlan& plan) {
  if (plan.dialog_id == 0) return;
  plan.measuring = create_measuring_window();
  const CombinedMeasure measured = layers_measure_combined(plan.dialog_id, plan.measuring);
  plan.dialog_code = measured.code;
  if (plan.dialog_code == 0) {
    plan.client_w = measured.width;
    plan.client_h = measured.height;
    if (!measured.resizable) plan.flags = (plan.flags | WinFixedSize) & ~(WinMaximiseBox | WinMaximised);
  }
}

void choose_frame_style(RootWindowPlan& plan) {
  plan.style = WS_CAPTION | WS_CLIPCHILDREN;
  if (plan.flags & WinSystemMenu) plan.style |= WS_SYSMENU;
  if (plan.flags & WinMinimiseBox) plan.style |= WS_MINIMIZEBOX;
  if (plan.flags & WinMaximiseBox) plan.style |= WS_MAXIMIZEBOX;
  if (!(plan.flags & WinFixedSize)) plan.style |= WS_THICKFRAME;
  plan.ex_style = (plan.flags & WinTopmost) ? WS_EX_TOPMOST : 0;
}

// The frame around the planned client size, centred where asked.
void create_frame(WindowEntry& entry, RootWindowPlan& plan, std::string_view title, HINSTANCE instance) {
  RECT frame_rect{0, 0, plan.client_w, plan.client_h};
  AdjustWindowRectEx(&frame_rect, plan.style, entry.menu != nullptr, plan.ex_style);
  plan.frame_w = frame_rect.right - frame_rect.left;
  plan.frame_h = frame_rect.bottom - frame_rect.top;
  if (plan.centred_x) plan.x = (screen_width() - plan.frame_w) / 2;
  if (plan.centred_y) plan.y = (screen_height() - plan.frame_h) / 2;

  std::string caption(title.substr(0, title.find('\0')));
  caption.erase(caption.find_last_not_of(' ') + 1);
  entry.frame = CreateWindowExA(plan.ex_style, "QUILLANTHOR", caption.c_str(), plan.style, plan.x, plan.y,
                                plan.frame_w, plan.frame_h, nullptr, entry.menu, instance, nullptr);
  if (entry.frame == nullptr) fatal_window_failure("Failed to create window - aborting.");
  SetWindowLongPtrA(entry.frame, GWLP_USERDATA, 0);
}

}  // namespace

// The menu's identifier table, accelerators and help strings, all named like the menu.
void attach_menu_resources(WindowEntry& entry, int menu_id, HINSTANCE instance) {
  if (entry.menu == nullptr) return;
  apply_menu_id_table(entry.menu, resource_bytes(instance, menu_id, RT_RCDATA));
  entry.accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(menu_id));
  const std::span<const unsigned char> strings = resource_bytes(instance, menu_id, kMenuStringResource);
  entry.menu_strings = strings.data();
  entry.menu_strings_size = strings.size();
}

namespace {

// Toolbars widen or heighten the frame; a centred frame moves by half of what is added.
void add_toolbars(WindowEntry& entry, RootWindowPlan& plan, std::span<const int> toolbars, HINSTANCE instance,
                  int& added_w, int& added_h) {
  for (std::size_t i = 0; i < 4 && i < toolbars.size(); ++i) {
    if (toolbars[i] == 0) continue;
    ToolbarLayout layout;
    HWND bar = create_toolbar(entry, instance, static_cast<int>(i), toolbars[i], layout);
    if (bar == nullptr) continue;
    entry.toolbars[i] = bar;
    const bool vertical = i == 1 || i == 2;
    entry.toolbar_extent[i] = vertical ? layout.width : layout.height;
    if (vertical) {
      added_w += layout.width;
      if (plan.centred_x) plan.x -= layout.width / 2;
    } else {
      added_h += layout.height;
      if (plan.centred_y) plan.y -= layout.height / 2;
    }
  }
}

void add_status_bar(WindowEntry& entry, RootWindowPlan& plan, HINSTANCE instance, int& added_h) {
  if (!(plan.flags & WinStatusBar)) return;
  const int bar_h = create_status_bar(entry, plan.flags, instance);
  added_h += bar_h;
  if (plan.centred_y) plan.y -= bar_h / 2;
}

void grow_frame(const WindowEntry& entry, RootWindowPlan& plan, int added_w, int added_h) {
  if (added_w == 0 && added_h == 0) return;
  plan.frame_w += added_w;
  plan.frame_h += added_h;
  SetWindowPos(entry.frame, nullptr, plan.x, plan.y, plan.frame_w, plan.frame_h,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void create_client_area(WindowEntry& entry, HINSTANCE instance) {
  const RECT area = client_area_rect(entry);
  entry.client = CreateWindowExA(
      0, "QUILCLIENT", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, area.left, area.top,
      area.right - area.left, area.bottom - area.top, entry.frame, nullptr, instance, nullptr);
  if (entry.client == nullptr) fatal_window_failure("Failed to create window - aborting.");
  layout_frame(entry);
}

int create_status_bar(WindowEntry& entry, int flags, HINSTANCE instance) {
  DWORD bar_style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  if (!(flags & WinFixedSize)) bar_style |= SBARS_SIZEGRIP;
  entry.status_bar =
      CreateWindowExA(0, STATUSCLASSNAMEA, "", bar_style, 0, 0, 0, 0, entry.frame,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStatusBarId)), instance, nullptr);
  if (entry.status_bar == nullptr) return 0;
  SendMessageA(entry.status_bar, WM_SIZE, 0, 0);
  RECT s{};
  GetWindowRect(entry.status_bar, &s);
  return s.bottom - s.top;
}

namespace {

// Loads the measured dialog into the client area; the frame remembers its outer size.
void combine_dialog(WindowEntry& entry, RootWindowPlan& plan) {
  if (plan.dialog_id == 0 || plan.dialog_code != 0) return;
  const CombinedLoad loaded = layers_load_combined(plan.dialog_id, entry.client, entry.frame);
  plan.dialog_code = loaded.code;
  entry.combined_dialog = loaded.dialog;
  if (entry.combined_dialog == nullptr) {
    if (plan.dialog_code == 0) plan.dialog_code = error::kDialogCreation;
    return;
  }
  entry.kind = WindowKind::CombinedDialog;
  SetWindowLongPtrA(entry.frame, GWLP_USERDATA, static_cast<LONG_PTR>(entry.kind));
  RECT outer{};
  GetWindowRect(entry.frame, &outer);
  entry.combined_outer_width = outer.right - outer.left;
  entry.combined_outer_height = outer.bottom - outer.top;
}

// The frame shows without an initial repaint event of its client area.
void show_frame(const WindowEntry& entry, int flags) {
  if (!(flags & WinHidden)) {
    ShowWindow(entry.frame, (flags & WinMaximised) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    startup_step("frame shown (mapped, activated, children framed)");
    UpdateWindow(entry.frame);
    startup_step("frame painted");
  }
  ValidateRect(entry.client, nullptr);
}

// The client area's device context stays with the table while the window is open; the
// client size made is recorded and given back to the caller.
void keep_client_dc(WindowTable& table, WindowEntry& entry, int* width, int* height) {
  table.client_dc = GetDC(entry.client);
  SetBkMode(table.client_dc, TRANSPARENT);
  SetTextAlign(table.client_dc, TA_BASELINE | TA_LEFT);
  SetTextColor(table.client_dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(table.client_dc, GetSysColor(COLOR_WINDOW));
  RECT cr{};
  GetClientRect(entry.client, &cr);
  entry.client_width = cr.right;
  entry.client_height = cr.bottom;
  if (width != nullptr) *width = cr.right;
  if (height != nullptr) *height = cr.bottom;
  RECT wr{};
  GetWindowRect(entry.frame, &wr);
  table.x = wr.left;
  table.y = wr.top;
}

// Marks the root window open and current, with fresh event state and the default font.
void finish_opening(WindowTable& table, const WindowEntry& entry, int flags) {
  if (!(flags & WinHidden) && entry.kind != WindowKind::CombinedDialog) SetFocus(entry.client);
  table.open = true;
  table.current = 0;
  reset_event_state();
  table.font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
  SelectObject(table.client_dc, table.font);
  TEXTMETRICA metrics{};
  if (GetTextMetricsA(table.client_dc, &metrics)) {
    table.char_height = metrics.tmHeight;
    table.char_width = metrics.tmAveCharWidth;
  }
  register_report_layer();
}

}  // namespace

void open_root_window(std::optional<int> flags, std::optional<int> x, std::optional<int> y, int* width,
                      int* height, std::optional<int> menu_id, std::span<const int> toolbars,
                      std::optional<int> dialog_id, std::string_view title, std::optional<int> palette_size,
                      std::optional<int> background) {
  WindowTable& table = windows();
  if (table.open) return;
  if (table.instance == nullptr) table.instance = GetModuleHandleA(nullptr);
  HINSTANCE instance = table.instance;

  RootWindowPlan plan = plan_from_arguments(flags, x, y, width, height, menu_id, dialog_id);
  first_open_initialise();
  measure_combined_dialog(plan);
  startup_step("first window; dialog created and measured");

  WindowEntry& entry = table.windows[0];
  entry = WindowEntry{};
  entry.menu_id = plan.menu_id;
  if (plan.menu_id > 0) entry.menu = LoadMenuA(instance, MAKEINTRESOURCEA(plan.menu_id));
  startup_step("menu loaded");
  choose_frame_style(plan);
  if (background && *background != -1) {
    entry.background_colour = *background;
    entry.background = CreateSolidBrush(static_cast<COLORREF>(*background));
  }
  create_frame(entry, plan, title, instance);
  startup_step("frame created");
  attach_menu_resources(entry, plan.menu_id, instance);
  int added_w = 0;
  int added_h = 0;
  add_toolbars(entry, plan, toolbars, instance, added_w, added_h);
  add_status_bar(entry, plan, instance, added_h);
  grow_frame(entry, plan, added_w, added_h);
  create_client_area(entry, instance);
  startup_step("bars and client area created");
  combine_dialog(entry, plan);
  startup_step("dialog placed and its extended data applied");
  if (plan.measuring != nullptr) DestroyWindow(plan.measuring);
  show_frame(entry, plan.flags);
  keep_client_dc(table, entry, width, height);

  if (settings().bits_per_pixel == 8) {
    const int p = palette_size.value_or(16);
    settings().application_colours = (p == 16 || p == 32 || p == 64 || p == 128) ? p : 16;
  }
  finish_first_open();
  finish_opening(table, entry, plan.flags);
  if (plan.dialog_code != 0) IErrorReport(plan.dialog_code, "WindowOpen");
  startup_step("window open (device context, fonts)");
}

}  // namespace quill

using quill::windows;

void WindowShutdown() {
  quill::WindowTable& table = windows();
  quill::tell_layers(&quill::WindowLayer::shutdown);
  quill::release_snapshots();
  quill::release_optional_libraries();
  if (table.client_dc != nullptr) {
    ReleaseDC(table.windows[0].client, table.client_dc);
    table.client_dc = nullptr;
  }
  for (int n = quill::kMaxWindows - 1; n >= 0; --n) {
    quill::release_window_entry(table.windows[static_cast<std::size_t>(n)]);
  }
  quill::reset_event_state();
  quill::unregister_report_layer();
  table.open = false;
  table.current = 0;
  table.font = nullptr;
  table.char_height = 0;
  table.char_width = 0;
}

void WindowSelect(int number) { quill::select_window(number); }

void WindowStatusBar(int part, std::string_view text) {
  std::string line(text.substr(0, text.find('\0')));
  quill::set_status_text(part, line.c_str());
}

void WindowStatusBarParts(std::span<const int> widths) {
  quill::WindowTable& table = windows();
  if (table.current < 0 || table.current >= quill::kMaxWindows) return;
  quill::WindowEntry& entry = table.windows[static_cast<std::size_t>(table.current)];
  if (entry.status_bar == nullptr) return;
  const std::size_t count = std::min<std::size_t>(widths.size(), quill::kMaxStatusParts);
  entry.status_widths.assign(widths.begin(), widths.begin() + static_cast<std::ptrdiff_t>(count));
  quill::apply_status_parts(entry);
}

namespace {

bool current_client_size(int& w, int& h) {
  HWND client = quill::current_client();
  RECT r{};
  if (client == nullptr || !GetClientRect(client, &r)) return false;
  w = r.right;
  h = r.bottom;
  return true;
}

}  // namespace

int WindowUnitsToPixelsX(int units) {
  int w = 0, h = 0;
  return current_client_size(w, h) ? quill::units_to_pixel(units, w) : 0;
}
int WindowUnitsToPixelsY(int units) {
  int w = 0, h = 0;
  return current_client_size(w, h) ? quill::units_to_pixel(units, h) : 0;
}
int WindowPixelsToUnitsX(int pixel) {
  int w = 0, h = 0;
  return current_client_size(w, h) ? quill::pixel_to_units(pixel, w) : 0;
}
int WindowPixelsToUnitsY(int pixel) {
  int w = 0, h = 0;
  return current_client_size(w, h) ? quill::pixel_to_units(pixel, h) : 0;
}

int WScreenQuery(int item) {
  auto colour = [](int index) { return static_cast<int>(GetSysColor(index)); };
  BOOL flat = FALSE;
  if (item == 13 || item == 16) SystemParametersInfoA(SPI_GETFLATMENU, 0, &flat, 0);
  switch (item) {
    case 1: return quill::screen_width();
    case 2: return quill::screen_height();
    case 3: {
      const long long colours = quill::settings().colour_count;
      if (colours > 0) return static_cast<int>(std::min<long long>(colours, 0x7FFFFFFF));
      HDC dc = GetDC(nullptr);
      const int bits = GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES);
      ReleaseDC(nullptr, dc);
      return bits >= 31 ? 0x7FFFFFFF : 1 << std::min(bits, 24);
    }
    case 4:
    case 5: return 1;
    case 6: return colour(COLOR_WINDOWTEXT);
    case 7: return colour(COLOR_WINDOW);
    case 8:
    case 25: return colour(COLOR_BTNTEXT);
    case 9:
    case 26: return colour(COLOR_BTNFACE);
    case 10:
    case 15: return colour(COLOR_HIGHLIGHTTEXT);
    case 11: return colour(COLOR_HIGHLIGHT);
    case 12: return colour(COLOR_MENUTEXT);
    case 13: return colour(flat ? COLOR_MENUBAR : COLOR_MENU);
    case 14: return colour(COLOR_MENU);
    case 16: return colour(flat ? COLOR_MENUHILIGHT : COLOR_HIGHLIGHT);
    case 17: return colour(COLOR_BTNHIGHLIGHT);
    case 18: return colour(COLOR_3DLIGHT);
    case 19:
    case 24: return colour(COLOR_3DDKSHADOW);
    case 20: return colour(COLOR_BTNSHADOW);
    case 21: return colour(COLOR_INFOTEXT);
    case 22: return colour(COLOR_INFOBK);
    case 23: return colour(COLOR_GRAYTEXT);
    case 27: return quill::composition_enabled() ? 1 : 0;
    default: return 0;
  }
}
