// The screen driver: draws with GDI into back buffers and shows each in its surface: the
// client area of a toolkit window, or a dialog's graphics field (or a dialog with the
// graphics flag). A repaint, a resize or a message box never loses the picture. Each
// surface's window procedure is subclassed here (and only here) to paint from its buffer.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/window_layers.hpp"
#include "core/window_table.hpp"
#include "graphics/drawing_state.hpp"
#include "graphics/drawing_rules.hpp"
#include "graphics/gdi/text_face_win32.hpp"
#include "graphics/routines.hpp"
#include "graphics/screen/screen_buffer_win32.hpp"

namespace quill {
namespace {

// One drawing surface: its window and its back buffer with the pen and brush selected.
struct Surface {
  HWND hwnd = nullptr;
  WNDPROC previous_proc = nullptr;
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ old_bitmap = nullptr;
  HPEN pen = nullptr;
  HBRUSH brush = nullptr;
  int width = 0, height = 0;  // back buffer
};

struct Screen {
  std::vector<std::unique_ptr<Surface>> surfaces;
  Surface* current = nullptr;  // the surface of the current drawable
  std::vector<POINT> points;
};

Screen& screen() {
  static Screen instance;
  return instance;
}

constexpr double kDegree = 0.017453292519943295;

int px(double x) {
  const double v = std::isfinite(x) ? x : 0.0;
  return static_cast<int>(std::lround(v < -1e6 ? -1e6 : v > 1e6 ? 1e6 : v));
}
int py(double y) { return px(drawing().drawable.height - y); }

COLORREF colour_ref(const Rgb& rgb) { return RGB(rgb.red, rgb.green, rgb.blue); }

HDC current_dc() { return screen().current->dc; }

void repaint() {
  if (screen().current != nullptr) {
    InvalidateRect(screen().current->hwnd, nullptr, FALSE);
  }
}

void blit(const Surface& s, HDC target) {
  RECT r{};
  GetClientRect(s.hwnd, &r);
  BitBlt(target, 0, 0, r.right, r.bottom, s.dc, 0, 0, SRCCOPY);
}

Surface* find_surface(HWND hwnd) {
  for (const auto& surface : screen().surfaces) {
    if (surface->hwnd == hwnd) return surface.get();
  }
  return nullptr;
}

bool is_screen_drawable(DrawableKind kind) {
  return kind == DrawableKind::Window || kind == DrawableKind::Field;
}

// Frees the buffer's device context and bitmap; the pen and brush stay with s.
void free_buffer(Surface& s) {
  if (s.dc == nullptr) return;
  SelectObject(s.dc, GetStockObject(BLACK_PEN));
  SelectObject(s.dc, GetStockObject(WHITE_BRUSH));
  SelectObject(s.dc, s.old_bitmap);
  DeleteObject(s.bitmap);
  DeleteDC(s.dc);
  s.dc = nullptr;
  s.bitmap = nullptr;
}

// Gives s a back buffer of at least width x height, white, keeping what the old buffer
// holds (top-left anchored, as the window shows it). False when no buffer could be made.
bool grow_buffer(Surface& s, int width, int height) {
  width = std::max(width, s.width);
  height = std::max(height, s.height);
  if (s.dc != nullptr && width == s.width && height == s.height) return true;
  HDC window_dc = GetDC(s.hwnd);
  HDC dc = CreateCompatibleDC(window_dc);
  HBITMAP bitmap = CreateCompatibleBitmap(window_dc, std::max(width, 1), std::max(height, 1));
  ReleaseDC(s.hwnd, window_dc);
  if (dc == nullptr || bitmap == nullptr) {
    if (bitmap != nullptr) DeleteObject(bitmap);
    if (dc != nullptr) DeleteDC(dc);
    return s.dc != nullptr;
  }
  HGDIOBJ old_bitmap = SelectObject(dc, bitmap);
  PatBlt(dc, 0, 0, width, height, WHITENESS);
  SetBkMode(dc, TRANSPARENT);
  if (s.dc != nullptr) {
    BitBlt(dc, 0, 0, s.width, s.height, s.dc, 0, 0, SRCCOPY);
    free_buffer(s);
    if (s.pen != nullptr) SelectObject(dc, s.pen);
    if (s.brush != nullptr) SelectObject(dc, s.brush);
  }
  s.dc = dc;
  s.bitmap = bitmap;
  s.old_bitmap = old_bitmap;
  s.width = width;
  s.height = height;
  return true;
}

void release_surface(Surface& s) {
  if (s.hwnd != nullptr && s.previous_proc != nullptr && IsWindow(s.hwnd)) {
    SetWindowLongPtrA(s.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(s.previous_proc));
  }
  free_buffer(s);
  if (s.pen != nullptr) DeleteObject(s.pen);
  if (s.brush != nullptr) DeleteObject(s.brush);
  s = Surface{};
}

void forget_surface(HWND hwnd) {
  Screen& screen_state = screen();
  auto& list = screen_state.surfaces;
  for (auto it = list.begin(); it != list.end(); ++it) {
    if ((*it)->hwnd != hwnd) continue;
    if (screen_state.current == it->get()) screen_state.current = nullptr;
    list.erase(it);
    return;
  }
}

// The surface's new client size: the buffer grows when it no longer covers the client
// area, and the drawing state follows when the surface is the current drawable.
void surface_resized(Surface& s, int width, int height) {
  if (width <= 0 || height <= 0) return;
  grow_buffer(s, width, height);
  if (screen().current == &s && is_screen_drawable(drawing().drawable.kind)) {
    set_drawable_size(width, height);
  }
}

LRESULT CALLBACK screen_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  Surface* s = find_surface(hwnd);
  if (s == nullptr) return DefWindowProcA(hwnd, message, wparam, lparam);
  const WNDPROC previous = s->previous_proc;
  switch (message) {
    case WM_ERASEBKGND: blit(*s, reinterpret_cast<HDC>(wparam)); return 1;
    case WM_PAINT: {
      const LRESULT result = CallWindowProcA(previous, hwnd, message, wparam, lparam);
      if ((s = find_surface(hwnd)) != nullptr) {
        HDC dc = GetDC(hwnd);
        blit(*s, dc);
        ReleaseDC(hwnd, dc);
      }
      return result;
    }
    case WM_SIZE:
      if (wparam != SIZE_MINIMIZED) surface_resized(*s, LOWORD(lparam), HIWORD(lparam));
      break;
    case WM_NCDESTROY:
      SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
      s->previous_proc = nullptr;
      release_surface(*s);
      forget_surface(hwnd);
      break;
    default: break;
  }
  return CallWindowProcA(previous, hwnd, message, wparam, lparam);
}

// The surface of hwnd, made on first use: a window's buffer covers at least the screen,
// so that growing the window loses nothing; a field's covers its client area.
Surface* surface_for(HWND hwnd, bool screen_sized) {
  if (Surface* known = find_surface(hwnd)) return known;
  auto made = std::make_unique<Surface>();
  made->hwnd = hwnd;
  RECT r{};
  GetClientRect(hwnd, &r);
  int width = r.right, height = r.bottom;
  if (screen_sized) {
    width = std::max(width, GetSystemMetrics(SM_CXVIRTUALSCREEN));
    height = std::max(height, GetSystemMetrics(SM_CYVIRTUALSCREEN));
  }
  if (!grow_buffer(*made, width, height)) return nullptr;
  made->previous_proc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(screen_proc)));
  screen().surfaces.push_back(std::move(made));
  return screen().surfaces.back().get();
}

void select_pen_and_brush() {
  Surface& s = *screen().current;
  const DrawingState& state = drawing();
  const Rgb rgb = colour_rgb(state.colour.current);
  LOGBRUSH stroke{BS_SOLID, colour_ref(rgb), 0};
  const int style = state.line.style >= 0 && state.line.style <= 7 ? state.line.style : 0;
  const DWORD join[3] = {PS_JOIN_MITER, PS_JOIN_ROUND, PS_JOIN_BEVEL};
  const DWORD cap[3] = {PS_ENDCAP_FLAT, PS_ENDCAP_ROUND, PS_ENDCAP_SQUARE};
  const int width = std::max(1, static_cast<int>(state.line.width * 96 / 720.0 + 0.5));
  const DWORD pen_style = PS_GEOMETRIC | (style == 0 ? PS_SOLID : PS_USERSTYLE) |
                          join[std::clamp(state.line.join, 0, 2)] | cap[std::clamp(state.line.cap, 0, 2)];
  const DashPattern& pattern = kDashPatterns[static_cast<std::size_t>(style)];
  DWORD dashes[6] = {};
  for (std::size_t i = 0; i < pattern.lengths.size(); ++i) dashes[i] = pattern.lengths[i];
  HPEN pen = ExtCreatePen(pen_style, static_cast<DWORD>(width), &stroke, static_cast<DWORD>(pattern.count),
                          style == 0 ? nullptr : dashes);
  HBRUSH brush = CreateSolidBrush(colour_ref(rgb));
  SelectObject(s.dc, pen);
  SelectObject(s.dc, brush);
  if (s.pen != nullptr) DeleteObject(s.pen);
  if (s.brush != nullptr) DeleteObject(s.brush);
  s.pen = pen;
  s.brush = brush;
}

// Makes hwnd's surface the current one, with the drawable taking its client size.
bool attach_surface(HWND hwnd, bool screen_sized) {
  if (hwnd == nullptr) return false;
  Surface* surface = surface_for(hwnd, screen_sized);
  if (surface == nullptr) return false;
  screen().current = surface;
  select_pen_and_brush();
  RECT r{};
  GetClientRect(hwnd, &r);
  set_drawable_size(r.right, r.bottom);
  HDC window_dc = GetDC(hwnd);
  drawing().drawable.true_colour = GetDeviceCaps(window_dc, BITSPIXEL) > 8;
  ReleaseDC(hwnd, window_dc);
  return true;
}

bool attach_window(int window) {
  const WindowTable& table = windows();
  if (!table.open || window < 0 || window >= kMaxWindows) return false;
  return attach_surface(table.windows[static_cast<std::size_t>(window)].client, true);
}

bool attach_current() {
  const Drawable& drawable = drawing().drawable;
  screen().current = nullptr;
  if (drawable.kind == DrawableKind::Field) {
    return attach_surface(first_answer(&WindowLayer::field_window, drawable.dialog, drawable.id), false);
  }
  return attach_window(drawable.id);
}

void load_points(int count) {
  const Primitive& p = drawing().primitive;
  std::vector<POINT>& points = screen().points;
  points.resize(static_cast<std::size_t>(count));
  for (std::size_t i = 0; i < points.size(); ++i) {
    points[i] = POINT{px(p.xs[i]), py(p.ys[i])};
  }
}

void draw_closed(GrOp op) {
  const DrawingState& state = drawing();
  const Primitive& p = state.primitive;
  if (p.int_param[1] == kClosingCall) return;
  HDC dc = current_dc();
  const bool solid = state.fill_style >= kFillSolidMixed;
  HGDIOBJ previous_brush =
      SelectObject(dc, solid ? static_cast<HGDIOBJ>(screen().current->brush) : GetStockObject(NULL_BRUSH));
  switch (op) {
    case GrOp::Ellipse:
      Ellipse(dc, px(p.cx - p.rx), py(p.cy + p.ry), px(p.cx + p.rx) + 1, py(p.cy - p.ry) + 1);
      break;
    case GrOp::Rectangle:
      Rectangle(dc, px(std::min(p.x1, p.x2)), py(std::max(p.y1, p.y2)), px(std::max(p.x1, p.x2)) + 1,
                py(std::min(p.y1, p.y2)) + 1);
      break;
    case GrOp::Sector:
      Pie(dc, px(p.cx - p.rx), py(p.cy + p.ry), px(p.cx + p.rx), py(p.cy - p.ry),
          px(p.cx + p.rx * std::cos(p.start_angle)), py(p.cy + p.ry * std::sin(p.start_angle)),
          px(p.cx + p.rx * std::cos(p.end_angle)), py(p.cy + p.ry * std::sin(p.end_angle)));
      break;
    default:
      if (p.count >= 3) {
        load_points(p.count);
        Polygon(dc, screen().points.data(), p.count);
      }
      break;
  }
  SelectObject(dc, previous_brush);
}

void draw_arc() {
  const Primitive& p = drawing().primitive;
  HDC dc = current_dc();
  const int x1 = px(p.cx + p.rx * std::cos(p.start_angle)), y1 = py(p.cy + p.ry * std::sin(p.start_angle));
  const int x2 = px(p.cx + p.rx * std::cos(p.end_angle)), y2 = py(p.cy + p.ry * std::sin(p.end_angle));
  if (p.int_param[0] == 1) {
    HGDIOBJ previous = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Pie(dc, px(p.cx - p.rx), py(p.cy + p.ry), px(p.cx + p.rx), py(p.cy - p.ry), x1, y1, x2, y2);
    SelectObject(dc, previous);
  } else {
    Arc(dc, px(p.cx - p.rx), py(p.cy + p.ry), px(p.cx + p.rx), py(p.cy - p.ry), x1, y1, x2, y2);
  }
}

void draw_text() {
  const TextAttributes& text = drawing().text;
  const int style = (text.style % 4 + 4) % 4;
  const double angle = std::isfinite(text.rotation) ? text.rotation : 0.0;
  LOGFONTA face{};
  face.lfHeight = -std::max(1, px(text.height * 1.4));
  face.lfEscapement = face.lfOrientation = static_cast<LONG>(angle * 10.0);
  face.lfWeight = (style & 1) != 0 ? FW_BOLD : FW_NORMAL;
  face.lfItalic = (style & 2) != 0 ? TRUE : FALSE;
  set_text_face(face, text.family);
  HFONT font = CreateFontIndirectA(&face);
  HDC dc = current_dc();
  HGDIOBJ previous = SelectObject(dc, font);
  const int justification = text.mode == 1 ? 0 : text.justification;
  SetTextAlign(dc, TA_BASELINE | (justification == 1 ? TA_CENTER : justification == 2 ? TA_RIGHT : TA_LEFT));
  SetTextColor(dc, colour_ref(colour_rgb(drawing().colour.current)));
  // The reference point is the start, middle or end of the text's extent; the position
  // is the middle of the characters' height, so the baseline lies below it.
  const double along = justification == 1 ? 0.5 : justification == 2 ? 1.0 : 0.0;
  const double x = text.x + along * (text.end_x - text.x) + 0.3 * text.height * std::sin(angle * kDegree);
  const double y = text.y + along * (text.end_y - text.y) - 0.3 * text.height * std::cos(angle * kDegree);
  TextOutA(dc, px(x), py(y), text.text.data(),
           static_cast<int>(std::min<std::size_t>(text.text.size(), 32767)));
  SelectObject(dc, previous);
  DeleteObject(font);
}

void draw_image() {
  const Primitive& p = drawing().primitive;
  const int w = p.image_width, h = p.image_height;
  std::vector<std::uint32_t> bgr(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
  for (std::size_t i = 0; i < bgr.size(); ++i) {
    const std::uint32_t c = p.pixels[i];
    bgr[i] = ((c & 0xFFU) << 16) | (c & 0xFF00U) | ((c >> 16) & 0xFFU);
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;  // rows from the top
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  StretchDIBits(current_dc(), px(p.x1), py(p.y2), px(p.x2) - px(p.x1), py(p.y1) - py(p.y2), 0, 0, w, h,
                bgr.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

void set_clip() {
  const Area& a = drawing().area;
  HRGN region = CreateRectRgn(px(a.x), py(a.y + a.height), px(a.x + a.width) + 1, py(a.y) + 1);
  SelectClipRgn(current_dc(), region);
  DeleteObject(region);
}

// The screen driver registered before this one, which serves the drawables that are not
// windows (memory bitmaps).
DriverFunction& next_screen_driver() {
  static DriverFunction next = nullptr;
  return next;
}

void screen_driver(GrOp op) {
  if (!is_screen_drawable(drawing().drawable.kind)) {
    if (next_screen_driver() != nullptr) next_screen_driver()(op);
    return;
  }
  if (op == GrOp::Initialise) {
    attach_current();
    return;
  }
  if (screen().current == nullptr) return;
  Surface& s = *screen().current;
  const std::vector<POINT>& points = screen().points;
  const Primitive& p = drawing().primitive;
  switch (op) {
    case GrOp::Line:
      MoveToEx(s.dc, px(p.x1), py(p.y1), nullptr);
      LineTo(s.dc, px(p.x2), py(p.y2));
      break;
    case GrOp::Point:
      SetPixel(s.dc, px(p.x1), py(p.y1), colour_ref(colour_rgb(drawing().colour.current)));
      break;
    case GrOp::Polyline:
      if (p.count >= 2) {
        load_points(p.count);
        Polyline(s.dc, points.data(), p.count);
      }
      break;
    case GrOp::Colour:
    case GrOp::ColourValue:
    case GrOp::LineStyle:
    case GrOp::LineWidth:
    case GrOp::LineJoin:
    case GrOp::LineCap: select_pen_and_brush(); return;
    case GrOp::Ellipse:
    case GrOp::Triangle:
    case GrOp::Rectangle:
    case GrOp::Parallelogram:
    case GrOp::Sector:
    case GrOp::Polygon: draw_closed(op); break;
    case GrOp::Arc: draw_arc(); break;
    case GrOp::Text: draw_text(); break;
    case GrOp::Image: draw_image(); break;
    case GrOp::Clip: set_clip(); return;
    case GrOp::Clear: PatBlt(s.dc, 0, 0, s.width, s.height, WHITENESS); break;
    default: return;
  }
  repaint();
}

}  // namespace

// Makes the root window the current drawable with its size and colour depth: for
// WindowOpen, once the root window's client area exists.
void graphics_window_opened() {
  ensure_builtin_drivers();
  Drawable& drawable = drawing().drawable;
  drawable.kind = DrawableKind::Window;
  drawable.id = 0;
  drawing().metafile_recorder = false;
  if (!attach_window(0)) {
    drawable = Drawable{};
  }
}

// Ends an active hardcopy and lets the windows go: for WindowShutdown.
void graphics_shutdown() {
  end_active_hardcopy();
  Screen& s = screen();
  for (const auto& surface : s.surfaces) release_surface(*surface);
  s.surfaces.clear();
  s.current = nullptr;
  drawing().drawable = Drawable{};
}

HDC screen_back_buffer() {
  if (!is_screen_drawable(drawing().drawable.kind) || screen().current == nullptr) return nullptr;
  return screen().current->dc;
}

void show_screen_back_buffer() { repaint(); }

bool window_is_open(int number) {
  const WindowTable& table = windows();
  return table.open && number >= 0 && number < kMaxWindows &&
         table.windows[static_cast<std::size_t>(number)].frame != nullptr;
}

bool graphics_field_exists(int dialog_handle, int field_id) {
  return first_answer(&WindowLayer::field_window, dialog_handle, field_id) != nullptr;
}

void register_driver_screen() {
  next_screen_driver() = register_screen_driver(screen_driver);
  register_layer(DrawableLayer{
      .name = "screen", .window_exists = window_is_open, .field_exists = graphics_field_exists});
}

}  // namespace quill
