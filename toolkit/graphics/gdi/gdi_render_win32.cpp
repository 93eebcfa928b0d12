#include "graphics/gdi/gdi_render_win32.hpp"

#include <cmath>
#include <string>
#include <vector>

#include "graphics/drawing_state.hpp"
#include "graphics/drawing_rules.hpp"
#include "graphics/gdi/text_face_win32.hpp"

namespace quill {
namespace {

constexpr double kPi = 3.14159265358979323846;

COLORREF to_colorref(Rgb c) { return RGB(c.red, c.green, c.blue); }

int pen_style(int line_style) {
  switch (line_style) {
    case 1: return PS_DASH;
    case 2: return PS_DOT;
    case 3: return PS_DASHDOT;
    case 4: return PS_DASHDOTDOT;
    default: return PS_SOLID;
  }
}

LONG round_long(double v) { return static_cast<LONG>(std::lround(v)); }

bool& images_refused() {
  static bool refused = false;
  return refused;
}

}  // namespace

void GdiRenderer::attach(HDC dc, double scale_x, double scale_y, double device_height,
                         double dots_per_point) {
  detach();
  dc_ = dc;
  sx_ = scale_x;
  sy_ = scale_y;
  height_ = device_height;
  dots_per_point_ = dots_per_point;
  SetBkMode(dc_, TRANSPARENT);
  colour_ = to_colorref(colour_rgb(drawing().colour.current));
  update_pen();
  update_brush(false);
  update_font();
}

void GdiRenderer::detach() {
  if (dc_ != nullptr) {
    if (original_pen_ != nullptr) SelectObject(dc_, original_pen_);
    if (original_brush_ != nullptr) SelectObject(dc_, original_brush_);
    if (original_font_ != nullptr) SelectObject(dc_, original_font_);
  }
  for (HGDIOBJ* object : {&pen_, &brush_, &font_}) {
    if (*object != nullptr) DeleteObject(*object);
    *object = nullptr;
  }
  original_pen_ = original_brush_ = original_font_ = nullptr;
  dc_ = nullptr;
}

// Selects object into the context in place of the one held in slot, which is freed.
void GdiRenderer::replace(HGDIOBJ& slot, HGDIOBJ object) {
  if (object == nullptr) return;
  HGDIOBJ previous = SelectObject(dc_, object);
  HGDIOBJ& original = &slot == &pen_ ? original_pen_ : &slot == &brush_ ? original_brush_ : original_font_;
  if (original == nullptr) original = previous;
  if (slot != nullptr) DeleteObject(slot);
  slot = object;
}

POINT GdiRenderer::to_device(double x, double y) const {
  return POINT{round_long(x * sx_), round_long(height_ - y * sy_)};
}

void GdiRenderer::update_pen() {
  const LineAttributes& line = drawing().line;
  const int width = std::max(1, static_cast<int>(std::lround(line.width / 10.0 * dots_per_point_)));
  LOGBRUSH brush{BS_SOLID, colour_, 0};
  const DWORD join = line.join == 1 ? PS_JOIN_ROUND : line.join == 2 ? PS_JOIN_BEVEL : PS_JOIN_MITER;
  const DWORD cap = line.cap == 1 ? PS_ENDCAP_ROUND : line.cap == 2 ? PS_ENDCAP_SQUARE : PS_ENDCAP_FLAT;
  replace(pen_, ExtCreatePen(PS_GEOMETRIC | static_cast<DWORD>(pen_style(line.style)) | join | cap,
                             static_cast<DWORD>(width), &brush, 0, nullptr));
}

void GdiRenderer::update_brush(bool mixed) {
  COLORREF colour = colour_;
  if (mixed) {
    const Rgb mean = mixed_fill_rgb();
    colour = RGB(mean.red, mean.green, mean.blue);
  }
  replace(brush_, CreateSolidBrush(colour));
}

void GdiRenderer::update_font() {
  const TextAttributes& text = drawing().text;
  LOGFONTA font{};
  font.lfHeight = -std::max(1L, round_long(text.height * sy_));
  font_rotation_ = text.rotation;
  font.lfEscapement = font.lfOrientation = round_long(text.rotation * 10.0);
  font.lfWeight = (text.style & 1) != 0 ? FW_BOLD : FW_NORMAL;
  font.lfItalic = (text.style & 2) != 0 ? TRUE : FALSE;
  // Wine's printer driver fails on the symbol font (a device font there, which crashes it):
  // printers get the symbols as Unicode characters of the serif face.
  symbols_as_unicode_ = text.family == 4 && GetDeviceCaps(dc_, TECHNOLOGY) == DT_RASPRINTER;
  set_text_face(font, symbols_as_unicode_ ? 3 : text.family);
  replace(font_, CreateFontIndirectA(&font));
}

void GdiRenderer::text() {
  const TextAttributes& t = drawing().text;
  // The rotation is set without telling the drivers: a font is made for it when it changed.
  if (t.rotation != font_rotation_) update_font();
  const UINT align = t.mode == 1 || t.justification == 0 ? TA_LEFT
                     : t.justification == 1              ? TA_CENTER
                                                         : TA_RIGHT;
  SetTextAlign(dc_, align | TA_BASELINE);
  SetTextColor(dc_, colour_);
  const POINT at = to_device(t.x, t.y);
  if (symbols_as_unicode_) {
    const std::wstring text = symbol_text_as_unicode(t.text);
    TextOutW(dc_, at.x, at.y, text.data(), static_cast<int>(text.size()));
  } else {
    TextOutA(dc_, at.x, at.y, t.text.data(), static_cast<int>(t.text.size()));
  }
}

void GdiRenderer::shape(GrOp op) {
  const DrawingState& state = drawing();
  const Primitive& p = state.primitive;
  if (p.int_param[1] == kClosingCall) return;
  const bool solid = state.fill_style >= kFillSolidMixed;
  update_brush(state.fill_style == kFillSolidMixed);
  HGDIOBJ previous_brush = solid ? nullptr : SelectObject(dc_, GetStockObject(NULL_BRUSH));
  if (op == GrOp::Ellipse) {
    const POINT a = to_device(p.cx - p.rx, p.cy + p.ry), b = to_device(p.cx + p.rx, p.cy - p.ry);
    Ellipse(dc_, a.x, a.y, b.x, b.y);
  } else if (op == GrOp::Sector) {
    arc(true, true);
  } else if (op == GrOp::Rectangle) {
    const POINT a = to_device(p.x1, p.y1), b = to_device(p.x2, p.y2);
    const POINT corners[4] = {a, {b.x, a.y}, b, {a.x, b.y}};
    Polygon(dc_, corners, 4);
  } else {
    std::vector<POINT> points;
    for (int i = 0; i < p.count && static_cast<std::size_t>(i) < p.xs.size(); ++i) {
      points.push_back(to_device(p.xs[static_cast<std::size_t>(i)], p.ys[static_cast<std::size_t>(i)]));
    }
    Polygon(dc_, points.data(), static_cast<int>(points.size()));
  }
  if (previous_brush != nullptr) SelectObject(dc_, previous_brush);
}

// An arc from start to end angle counter-clockwise; closed through the centre as a pie.
void GdiRenderer::arc(bool closed, bool filled) {
  const Primitive& p = drawing().primitive;
  const POINT a = to_device(p.cx - p.rx, p.cy + p.ry), b = to_device(p.cx + p.rx, p.cy - p.ry);
  const POINT s = to_device(p.cx + p.rx * std::cos(p.start_angle), p.cy + p.ry * std::sin(p.start_angle));
  const POINT e = to_device(p.cx + p.rx * std::cos(p.end_angle), p.cy + p.ry * std::sin(p.end_angle));
  SetArcDirection(dc_, AD_COUNTERCLOCKWISE);
  if (p.end_angle - p.start_angle >= 2.0 * kPi - 1e-9) {
    HGDIOBJ previous = filled ? nullptr : SelectObject(dc_, GetStockObject(NULL_BRUSH));
    Ellipse(dc_, a.x, a.y, b.x, b.y);
    if (previous != nullptr) SelectObject(dc_, previous);
  } else if (closed) {
    HGDIOBJ previous = filled ? nullptr : SelectObject(dc_, GetStockObject(NULL_BRUSH));
    Pie(dc_, a.x, a.y, b.x, b.y, s.x, s.y, e.x, e.y);
    if (previous != nullptr) SelectObject(dc_, previous);
  } else {
    Arc(dc_, a.x, a.y, b.x, b.y, s.x, s.y, e.x, e.y);
  }
}

void GdiRenderer::polyline() {
  const Primitive& p = drawing().primitive;
  std::vector<POINT> points;
  for (int i = 0; i < p.count && static_cast<std::size_t>(i) < p.xs.size(); ++i) {
    points.push_back(to_device(p.xs[static_cast<std::size_t>(i)], p.ys[static_cast<std::size_t>(i)]));
  }
  Polyline(dc_, points.data(), static_cast<int>(points.size()));
}

void GdiRenderer::image() {
  const Primitive& p = drawing().primitive;
  const std::size_t count =
      static_cast<std::size_t>(p.image_width) * static_cast<std::size_t>(p.image_height);
  if (p.image_width < 1 || p.image_height < 1 || p.pixels.size() < count) return;
  std::vector<std::uint32_t> bgrx(count);
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t c = p.pixels[i];
    bgrx[i] = ((c & 0xFFU) << 16) | (c & 0xFF00U) | ((c >> 16) & 0xFFU);
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = p.image_width;
  info.bmiHeader.biHeight = -p.image_height;  // rows from the top
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  const POINT top_left = to_device(p.x1, p.y2), bottom_right = to_device(p.x2, p.y1);
  const int lines = images_refused()
                        ? 0
                        : StretchDIBits(dc_, top_left.x, top_left.y, bottom_right.x - top_left.x,
                                        bottom_right.y - top_left.y, 0, 0, p.image_width, p.image_height,
                                        bgrx.data(), &info, DIB_RGB_COLORS, SRCCOPY);
  if (lines <= 0) drawing().primitive.transfer_failed = true;  // 0 or GDI_ERROR
}

void refuse_images_for_test(bool refuse) { images_refused() = refuse; }

void GdiRenderer::clip() {
  const Area& area = drawing().area;
  const POINT a = to_device(area.x, area.y + area.height), b = to_device(area.x + area.width, area.y);
  SelectClipRgn(dc_, nullptr);
  IntersectClipRect(dc_, a.x, a.y, b.x + 1, b.y + 1);
}

void GdiRenderer::draw(GrOp op) {
  if (dc_ == nullptr) return;
  const Primitive& p = drawing().primitive;
  switch (op) {
    case GrOp::Colour:
    case GrOp::ColourValue:
      colour_ = to_colorref(colour_rgb(drawing().colour.current));
      update_pen();
      break;
    case GrOp::LineWidth:
    case GrOp::LineStyle:
    case GrOp::LineJoin:
    case GrOp::LineCap: update_pen(); break;
    case GrOp::SelectFont: update_font(); break;
    case GrOp::Text: text(); break;
    case GrOp::Clip: clip(); break;
    case GrOp::Line: {
      const POINT a = to_device(p.x1, p.y1), b = to_device(p.x2, p.y2);
      MoveToEx(dc_, a.x, a.y, nullptr);
      LineTo(dc_, b.x, b.y);
      break;
    }
    case GrOp::Point: {
      const POINT a = to_device(p.x1, p.y1);
      SetPixel(dc_, a.x, a.y, colour_);
      break;
    }
    case GrOp::Polyline: polyline(); break;
    case GrOp::Ellipse:
    case GrOp::Rectangle:
    case GrOp::Triangle:
    case GrOp::Parallelogram:
    case GrOp::Polygon:
    case GrOp::Sector: shape(op); break;
    case GrOp::Arc: arc(p.int_param[0] == 1, false); break;
    case GrOp::Image: image(); break;
    default: break;
  }
}

}  // namespace quill
