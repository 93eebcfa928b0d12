// Bitmap views: a child window whose client area a view control covers, showing a memory
// bitmap with scroll bars. The window table keeps the control as the window's converted
// window, so that core hands it the window's size and focus. The view paints straight
// from the bitmap's rows, only the part the window shows.
#include <windows.h>
#include <windowsx.h>

#include <array>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "base/error_codes.hpp"
#include "bitmap/bitmap_layer_win32.hpp"
#include "bitmap/dib_win32.hpp"
#include "bitmap/view_geometry.hpp"
#include "core/event_queue.hpp"
#include "core/keycode.hpp"
#include "core/window_procs_win32.hpp"
#include "core/window_layers.hpp"
#include "core/window_table.hpp"
#include "graphics/event_units.hpp"
#include "graphics/image/memory_bitmap.hpp"
#include "quill/bitmap.hpp"
#include "quill/errors.hpp"

namespace quill {
namespace {

constexpr char kViewClass[] = "QUILBITMAPVIEW";
constexpr int kWheelLines = 3;
constexpr UINT_PTR kThumbTimer = 1;
constexpr UINT kThumbDelayMs = 40;

struct View {
  HWND hwnd = nullptr;
  int window = 0;
  int bitmap = 0;
  ViewGeometry geometry;
  bool dragging = false;
  POINT drag_from{};
  int drag_x = 0, drag_y = 0;
  std::vector<std::uint8_t> strip;  // the columns shown, when they are not whole rows
};

std::array<std::unique_ptr<View>, kMaxWindows>& views() {
  static std::array<std::unique_ptr<View>, kMaxWindows> table;
  return table;
}

View* view_of(HWND hwnd) {
  for (const auto& v : views()) {
    if (v && v->hwnd == hwnd) return v.get();
  }
  return nullptr;
}

View* view_showing(int bitmap) {
  for (const auto& v : views()) {
    if (v && v->bitmap == bitmap) return v.get();
  }
  return nullptr;
}

void post(const View& view, int type, int detail1, int detail2, int x, int y) {
  EventValues v;
  v.type = type;
  v.window = view.window;
  v.detail1 = detail1;
  v.detail2 = detail2;
  v.detail3 = 2;
  v.detail4 = -1;
  v.pixel_x = x;
  v.pixel_y = y;
  v.time_ms = static_cast<int>(GetMessageTime());
  PostSource source;
  source.keeps_pending = false;
  post_event(v, source);
}

// A scroll step moves the thumbs without drawing them: drawing a scroll bar costs several
// times what drawing the picture does, so the bars are drawn once the steps pause for
// kThumbDelayMs (a held key or a turning wheel redraws them at that rate at most).
void move_thumbs(const View& view, int old_x, int old_y) {
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_POS;
  if (view.geometry.x != old_x) {
    info.nPos = view.geometry.x;
    SetScrollInfo(view.hwnd, SB_HORZ, &info, FALSE);
  }
  if (view.geometry.y != old_y) {
    info.nPos = view.geometry.y;
    SetScrollInfo(view.hwnd, SB_VERT, &info, FALSE);
  }
  SetTimer(view.hwnd, kThumbTimer, kThumbDelayMs, nullptr);
}

void update_scroll_bars(const View& view) {
  const ViewGeometry& g = view.geometry;
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMax = g.bitmap_width - 1;
  info.nPage = static_cast<UINT>(g.bitmap_width - g.max_x());
  info.nPos = g.x;
  SetScrollInfo(view.hwnd, SB_HORZ, &info, TRUE);
  info.nMax = g.bitmap_height - 1;
  info.nPage = static_cast<UINT>(g.bitmap_height - g.max_y());
  info.nPos = g.y;
  SetScrollInfo(view.hwnd, SB_VERT, &info, TRUE);
}

// Takes the bitmap's and the window's sizes again (after a resize, a mode change or a
// rotation) and repaints.
void relayout(View& view) {
  const MemoryBitmap* bitmap = bitmap_slot(view.bitmap);
  if (bitmap == nullptr) return;
  RECT r{};
  GetClientRect(view.hwnd, &r);
  ViewGeometry& g = view.geometry;
  g.bitmap_width = bitmap->width();
  g.bitmap_height = bitmap->height();
  g.client_width = r.right;
  g.client_height = r.bottom;
  layout_view(g);
  update_scroll_bars(view);
  InvalidateRect(view.hwnd, nullptr, FALSE);
}

// A scroll the user asked for: repaint and tell the application.
void user_scroll(View& view, int x, int y) {
  const int old_x = view.geometry.x, old_y = view.geometry.y;
  if (!scroll_view(view.geometry, x, y)) return;
  move_thumbs(view, old_x, old_y);
  InvalidateRect(view.hwnd, nullptr, FALSE);
  post(view, EvViewScroll, view.geometry.x, view.geometry.y, view.geometry.x, view.geometry.y);
}

// The rows shown, cut to the columns shown when the bitmap is wider: the first byte, the
// column of the first pixel shown within a row (4-bit rows start on a whole byte), and the
// pixels a row holds.
const std::uint8_t* shown_pixels(View& view, const MemoryBitmap& bitmap, const ViewBlit& b, int& from_x,
                                 int& width) {
  const std::size_t pitch = bitmap.pitch();
  const std::uint8_t* top = bitmap.rows().data() + static_cast<std::size_t>(b.src_y) * pitch;
  if (b.src_width == bitmap.width()) {
    from_x = 0;
    width = bitmap.width();
    return top;
  }
  const int depth = bitmap.depth();
  const int start = depth == 4 ? b.src_x & ~1 : b.src_x;
  from_x = b.src_x - start;
  width = b.src_width + from_x;
  const std::size_t skip = static_cast<std::size_t>(start) * static_cast<std::size_t>(depth) / 8;
  const std::size_t bytes = (static_cast<std::size_t>(width) * static_cast<std::size_t>(depth) + 7) / 8;
  const std::size_t strip_pitch = (bytes + 3) & ~std::size_t{3};
  view.strip.resize(strip_pitch * static_cast<std::size_t>(b.src_height));
  for (int y = 0; y < b.src_height; ++y) {
    std::memcpy(view.strip.data() + static_cast<std::size_t>(y) * strip_pitch,
                top + static_cast<std::size_t>(y) * pitch + skip, std::min(bytes, pitch - skip));
  }
  return view.strip.data();
}

void paint(View& view) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(view.hwnd, &ps);
  const MemoryBitmap* bitmap = bitmap_slot(view.bitmap);
  RECT r{};
  GetClientRect(view.hwnd, &r);
  const ViewBlit b = view_blit(view.geometry);
  // The margins around a bitmap smaller than the window.
  HBRUSH margin = GetSysColorBrush(COLOR_APPWORKSPACE);
  HRGN all = CreateRectRgn(0, 0, r.right, r.bottom);
  HRGN shown = CreateRectRgn(b.dst_x, b.dst_y, b.dst_x + b.dst_width, b.dst_y + b.dst_height);
  CombineRgn(all, all, shown, RGN_DIFF);
  FillRgn(dc, all, margin);
  DeleteObject(all);
  DeleteObject(shown);
  if (bitmap != nullptr && b.src_width > 0 && b.src_height > 0) {
    // Only the pixels shown are handed over, as a top-down DIB of their own: GDI then
    // converts a window's worth, however wide the bitmap is.
    int from_x = 0;
    int width = 0;
    const std::uint8_t* first = shown_pixels(view, *bitmap, b, from_x, width);
    const DibInfo info = describe_dib(*bitmap, b.src_height, width);
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, b.dst_x, b.dst_y, b.dst_width, b.dst_height, from_x, 0, b.src_width, b.src_height,
                  first, info.info(), DIB_RGB_COLORS, SRCCOPY);
  }
  EndPaint(view.hwnd, &ps);
}

void scroll_message(View& view, int bar, int request) {
  const ViewGeometry& g = view.geometry;
  const bool across = bar == SB_HORZ;
  int x = g.x, y = g.y;
  int& pos = across ? x : y;
  const int page = across ? g.page_step_x() : g.page_step_y();
  switch (request) {
    case SB_LINEUP: pos -= g.line_step(); break;
    case SB_LINEDOWN: pos += g.line_step(); break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = across ? g.max_x() : g.max_y(); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO info{};
      info.cbSize = sizeof(info);
      info.fMask = SIF_TRACKPOS;
      GetScrollInfo(view.hwnd, bar, &info);
      pos = info.nTrackPos;
      break;
    }
    default: return;
  }
  user_scroll(view, x, y);
}

// Arrow, page, Home and End keys scroll; true when the key was one of them.
bool scroll_key(View& view, WPARAM key) {
  const ViewGeometry& g = view.geometry;
  switch (key) {
    case VK_LEFT: user_scroll(view, g.x - g.line_step(), g.y); return true;
    case VK_RIGHT: user_scroll(view, g.x + g.line_step(), g.y); return true;
    case VK_UP: user_scroll(view, g.x, g.y - g.line_step()); return true;
    case VK_DOWN: user_scroll(view, g.x, g.y + g.line_step()); return true;
    case VK_PRIOR: user_scroll(view, g.x, g.y - g.page_step_y()); return true;
    case VK_NEXT: user_scroll(view, g.x, g.y + g.page_step_y()); return true;
    case VK_HOME: user_scroll(view, 0, 0); return true;
    case VK_END: user_scroll(view, g.max_x(), g.max_y()); return true;
    default: return false;
  }
}

POINT bitmap_point(const View& view, int cx, int cy) {
  POINT p{-1, -1};
  int bx = -1, by = -1;
  if (window_to_bitmap(view.geometry, cx, cy, bx, by)) p = POINT{bx, by};
  return p;
}

void other_key(View& view, WPARAM wparam) {
  const int vk = static_cast<int>(wparam);
  MSG next;
  int code = 0;
  if (PeekMessageA(&next, view.hwnd, WM_CHAR, WM_CHAR, PM_REMOVE)) {
    code = key_code_with_char(vk, GetKeyState(VK_SHIFT) < 0, static_cast<int>(next.wParam & 0xFF));
  } else {
    code = key_code_without_char(vk, GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0);
  }
  if (code == 0) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  ScreenToClient(view.hwnd, &cursor);
  const POINT p = bitmap_point(view, cursor.x, cursor.y);
  post(view, EvKey, code, -1, p.x, p.y);
}

void mouse(View& view, UINT message, WPARAM wparam, LPARAM lparam) {
  const int cx = GET_X_LPARAM(lparam), cy = GET_Y_LPARAM(lparam);
  const POINT p = bitmap_point(view, cx, cy);
  const int state = modifier_state(wparam);
  switch (message) {
    case WM_MOUSEMOVE:
      if (view.dragging) {
        const double zoom = view.geometry.zoom;
        user_scroll(view, view.drag_x - static_cast<int>(std::lround((cx - view.drag_from.x) / zoom)),
                    view.drag_y - static_cast<int>(std::lround((cy - view.drag_from.y) / zoom)));
        return;
      }
      post(view, EvMouseMotion, -1, state, p.x, p.y);
      return;
    case WM_LBUTTONDOWN:
      view.dragging = true;
      view.drag_from = POINT{cx, cy};
      view.drag_x = view.geometry.x;
      view.drag_y = view.geometry.y;
      SetCapture(view.hwnd);
      SetFocus(view.hwnd);
      post(view, EvMouseDown, 1, state, p.x, p.y);
      return;
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN: post(view, EvMouseDown, message == WM_MBUTTONDOWN ? 2 : 3, state, p.x, p.y); return;
    case WM_LBUTTONUP:
      view.dragging = false;
      ReleaseCapture();
      post(view, EvMouseUp, 1, state, p.x, p.y);
      return;
    default: post(view, EvMouseUp, message == WM_MBUTTONUP ? 2 : 3, state, p.x, p.y); return;
  }
}

void wheel(View& view, WPARAM wparam) {
  const int notches = GET_WHEEL_DELTA_WPARAM(wparam) / WHEEL_DELTA;
  const int step = notches * kWheelLines * view.geometry.line_step();
  if ((GET_KEYSTATE_WPARAM(wparam) & MK_SHIFT) != 0) {
    user_scroll(view, view.geometry.x - step, view.geometry.y);
  } else {
    user_scroll(view, view.geometry.x, view.geometry.y - step);
  }
}

void forget_view(HWND hwnd) {
  for (auto& v : views()) {
    if (!v || v->hwnd != hwnd) continue;
    WindowEntry& entry = windows().windows[static_cast<std::size_t>(v->window)];
    if (entry.converted == hwnd) {
      entry.converted = nullptr;
      entry.kind = WindowKind::Plain;
      if (entry.frame != nullptr) SetWindowLongPtrA(entry.frame, GWLP_USERDATA, 0);
    }
    v.reset();
  }
}

LRESULT CALLBACK view_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  View* view = view_of(hwnd);
  if (view == nullptr) return DefWindowProcA(hwnd, message, wparam, lparam);
  switch (message) {
    case WM_PAINT: paint(*view); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SIZE: relayout(*view); return 0;
    case WM_HSCROLL: scroll_message(*view, SB_HORZ, LOWORD(wparam)); return 0;
    case WM_VSCROLL: scroll_message(*view, SB_VERT, LOWORD(wparam)); return 0;
    case WM_MOUSEWHEEL: wheel(*view, wparam); return 0;
    case WM_TIMER:
      if (wparam == kThumbTimer) {
        KillTimer(hwnd, kThumbTimer);
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
      }
      return 0;
    case WM_KEYDOWN:
      if (!scroll_key(*view, wparam)) other_key(*view, wparam);
      return 0;
    case WM_CHAR: {
      POINT cursor{};
      GetCursorPos(&cursor);
      ScreenToClient(hwnd, &cursor);
      const POINT p = bitmap_point(*view, cursor.x, cursor.y);
      post(*view, EvKey, static_cast<int>(wparam & 0xFF), -1, p.x, p.y);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MOUSEMOVE: mouse(*view, message, wparam, lparam); return 0;
    case WM_NCDESTROY: forget_view(hwnd); break;
    default: break;
  }
  return DefWindowProcA(hwnd, message, wparam, lparam);
}

bool register_view_class() {
  static bool registered = false;
  if (registered) return true;
  WNDCLASSA wc{};
  wc.lpfnWndProc = view_proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpszClassName = kViewClass;
  registered = RegisterClassA(&wc) != 0;
  return registered;
}

// Makes the view of window number on entry; 0 or 1040.
int make_view(int number, WindowEntry& entry, int bitmap, ViewMode mode, double zoom) {
  if (!register_view_class()) return error::kViewerInit;
  auto view = std::make_unique<View>();
  view->window = number;
  view->bitmap = bitmap;
  view->geometry.mode = mode;
  view->geometry.zoom = zoom;
  View* made = view.get();
  views()[static_cast<std::size_t>(number)] = std::move(view);
  RECT r{};
  GetClientRect(entry.client, &r);
  made->hwnd =
      CreateWindowExA(0, kViewClass, "", WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | WS_CLIPSIBLINGS, 0,
                      0, r.right, r.bottom, entry.client, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (made->hwnd == nullptr) {
    views()[static_cast<std::size_t>(number)].reset();
    return error::kViewerInit;
  }
  entry.converted = made->hwnd;
  entry.kind = WindowKind::BitmapViewer;
  SetWindowLongPtrA(entry.frame, GWLP_USERDATA, static_cast<LONG_PTR>(entry.kind));
  relayout(*made);
  if (GetActiveWindow() == entry.frame || GetFocus() == entry.client) SetFocus(made->hwnd);
  return 0;
}

View* current_view() {
  const WindowTable& table = windows();
  if (!table.open || table.current < 1 || table.current >= kMaxWindows) return nullptr;
  return views()[static_cast<std::size_t>(table.current)].get();
}

// The view's events: sizes and graphics units of the bitmap it shows.
std::optional<PixelSize> view_size(int window) {
  if (window < 0 || window >= kMaxWindows || !views()[static_cast<std::size_t>(window)]) return std::nullopt;
  const MemoryBitmap* bitmap = bitmap_slot(views()[static_cast<std::size_t>(window)]->bitmap);
  if (bitmap == nullptr) return std::nullopt;
  return PixelSize{bitmap->width(), bitmap->height()};
}

std::optional<GraphicsUnits> view_event_units(const EventValues& event, int width, int height) {
  if (event.detail3 != 2 || event.window < 0 || event.window >= kMaxWindows) return std::nullopt;
  const View* view = views()[static_cast<std::size_t>(event.window)].get();
  if (view == nullptr) return std::nullopt;
  Drawable target;
  target.kind = DrawableKind::Bitmap;
  target.id = view->bitmap;
  target.width = width;
  target.height = height;
  const EventUnits found = event_units(target, EventPixels{event.pixel_x, event.pixel_y, 0, 0});
  return GraphicsUnits{found.x, found.y, found.width, found.height};
}

bool view_shows(int bitmap) { return view_showing(bitmap) != nullptr; }

// Bitmap id was drawn into: a view showing it shows the change (laid out again when the
// bitmap's size changed).
void show_change(int id) {
  if (View* view = view_showing(id)) {
    const MemoryBitmap* bitmap = bitmap_slot(id);
    if (bitmap != nullptr && (bitmap->width() != view->geometry.bitmap_width ||
                              bitmap->height() != view->geometry.bitmap_height)) {
      relayout(*view);
    } else {
      InvalidateRect(view->hwnd, nullptr, FALSE);
    }
  }
}

void release_views() {
  for (auto& v : views()) {
    if (v && v->hwnd != nullptr) DestroyWindow(v->hwnd);
    v.reset();
  }
}

}  // namespace

void register_bitmap_layer() {
  register_layer(
      DrawableLayer{.name = "bitmap views", .bitmap_in_view = view_shows, .bitmap_changed = show_change});
  register_screen_pixels();
  register_image_fields();
  register_layer(WindowLayer{
      .name = "bitmaps", .shutdown = release_views, .view_size = view_size, .event_units = view_event_units});
}

}  // namespace quill

using namespace quill;

void WBitmapView(int handle, std::optional<int> mode, std::optional<float> zoom) {
  const int how = mode.value_or(ViewActualSize);
  if (!valid_view_mode(how)) {
    IErrorReport(error::kViewerMode, "WBitmapView");
    return;
  }
  WindowTable& table = windows();
  if (!table.open || table.current < 0 || table.current >= kMaxWindows ||
      table.windows[static_cast<std::size_t>(table.current)].frame == nullptr) {
    IErrorReport(error::kInvalidWindow, "WBitmapView");
    return;
  }
  const int number = table.current;
  WindowEntry& entry = table.windows[static_cast<std::size_t>(number)];
  View* view = views()[static_cast<std::size_t>(number)].get();
  int code = 0;
  if (number == 0) {
    code = error::kNotChildWindow;
  } else if (entry.kind != WindowKind::Plain && entry.kind != WindowKind::BitmapViewer) {
    code = error::kWindowConverted;
  } else if (handle == 0) {
    if (view != nullptr) DestroyWindow(view->hwnd);
    return;
  } else if (bitmap_slot(handle) == nullptr) {
    code = error::kInvalidBitmap;
  } else if (View* other = view_showing(handle); other != nullptr && other != view) {
    code = error::kBitmapInUse;
  }
  if (code != 0) {
    IErrorReport(code, "WBitmapView");
    return;
  }
  const double factor = how == ViewZoom ? zoom.value_or(1.0F) : 1.0;
  if (view == nullptr) {
    code = make_view(number, entry, handle, static_cast<ViewMode>(how), factor);
    if (code != 0) IErrorReport(code, "WBitmapView");
    return;
  }
  view->bitmap = handle;
  view->geometry.mode = static_cast<ViewMode>(how);
  view->geometry.zoom = factor;
  relayout(*view);
}

void WBitmapViewScroll(int x, int y) {
  View* view = current_view();
  if (view == nullptr) {
    IErrorReport(error::kNotSpecialWindow, "WBitmapViewScroll");
    return;
  }
  const int old_x = view->geometry.x, old_y = view->geometry.y;
  if (scroll_view(view->geometry, x, y)) {
    move_thumbs(*view, old_x, old_y);
    InvalidateRect(view->hwnd, nullptr, FALSE);
  }
}

void WBitmapViewQuery(int& x, int& y, float& zoom) {
  const View* view = current_view();
  if (view == nullptr) {
    x = y = -1;
    zoom = 0.0F;
    IErrorReport(error::kNotSpecialWindow, "WBitmapViewQuery");
    return;
  }
  x = view->geometry.x;
  y = view->geometry.y;
  zoom = static_cast<float>(view->geometry.zoom);
}
