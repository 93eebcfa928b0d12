// Replay of recorded CGM elements: each element becomes drawing-state changes and the
// operation that draws it, sent to the current drawable and an active hardcopy.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "graphics/metafile/metafile_internal.hpp"

namespace quill {
namespace {

using Element = CgmElementView;

}  // namespace

bool next_cgm_element(std::string_view bytes, std::size_t& at, CgmElementView& e, std::string& joined) {
  const auto word = [&bytes](std::size_t offset) {
    return (static_cast<unsigned>(static_cast<unsigned char>(bytes[offset])) << 8) |
           static_cast<unsigned char>(bytes[offset + 1]);
  };
  if (at + 2 > bytes.size()) {
    return false;
  }
  const unsigned header = word(at);
  at += 2;
  e.element_class = static_cast<int>(header >> 12);
  e.id = static_cast<int>((header >> 5) & 0x7F);
  std::size_t length = header & 0x1F;
  if (length != 31) {
    if (at + length > bytes.size()) {
      return false;
    }
    e.params = bytes.substr(at, length);
    at += length + length % 2;
    return true;
  }
  joined.clear();
  bool more = true;
  while (more) {
    if (at + 2 > bytes.size()) {
      return false;
    }
    const unsigned part = word(at);
    at += 2;
    more = (part & 0x8000U) != 0;
    length = part & 0x7FFFU;
    if (at + length > bytes.size()) {
      return false;
    }
    joined.append(bytes.substr(at, length));
    at += length;
  }
  at += joined.size() % 2;
  e.params = joined;
  return true;
}

namespace {

int int_at(std::string_view p, std::size_t offset) {
  if (offset + 2 > p.size()) {
    return 0;
  }
  return static_cast<std::int16_t>((static_cast<unsigned>(static_cast<unsigned char>(p[offset])) << 8) |
                                   static_cast<unsigned char>(p[offset + 1]));
}

double real_at(std::string_view p, std::size_t offset) {
  const unsigned fraction = static_cast<unsigned>(int_at(p, offset + 2)) & 0xFFFFU;
  return int_at(p, offset) + fraction / 65536.0;
}

int colour_at(std::string_view p, std::size_t offset) {
  if (offset + 3 > p.size()) {
    return 0;
  }
  const auto byte = [&p, offset](std::size_t i) {
    return static_cast<int>(static_cast<unsigned char>(p[offset + i]));
  };
  return byte(0) | (byte(1) << 8) | (byte(2) << 16);
}

// Triangles and parallelograms are recorded as polygons; drivers that draw them in
// their own way (DXF solids) get them back by their shape.
GrOp polygon_kind(std::string_view p) {
  if (p.size() == 12) {
    return GrOp::Triangle;
  }
  if (p.size() == 16 && int_at(p, 0) + int_at(p, 8) == int_at(p, 4) + int_at(p, 12) &&
      int_at(p, 2) + int_at(p, 10) == int_at(p, 6) + int_at(p, 14)) {
    return GrOp::Parallelogram;
  }
  return GrOp::Polygon;
}

class Replay {
 public:
  void element(const Element& e);

 private:
  double x(int vdc) const { return vdc * kx_; }
  double y(int vdc) const { return vdc * ky_; }
  void colour(int value);
  void load_points(std::string_view p, std::size_t first);
  void fill(GrOp op, int colour_value, int style);
  void polyline(std::string_view p);
  void text(std::string_view p);
  void cells(std::string_view p);
  void attribute(const Element& e);

  double kx_ = 1.0, ky_ = 1.0;
  int line_colour_ = 0, fill_colour_ = 0, edge_colour_ = 0, text_colour_ = 0;
  int sent_colour_ = -1;
  int interior_ = 1;
  double expansion_ = 0.6;
  std::vector<std::uint32_t> pixels_;
};

void Replay::colour(int value) {
  if (value == sent_colour_) {
    return;
  }
  sent_colour_ = value;
  ColourState& c = drawing().colour;
  c.previous = c.current;
  c.current = value;
  update_colour_intensities();
  send_operation(GrOp::Colour);
}

void Replay::load_points(std::string_view p, std::size_t first) {
  Primitive& prim = drawing().primitive;
  prim.xs.clear();
  prim.ys.clear();
  for (std::size_t at = first; at + 4 <= p.size(); at += 4) {
    prim.xs.push_back(x(int_at(p, at)));
    prim.ys.push_back(y(int_at(p, at + 2)));
  }
  prim.count = static_cast<int>(prim.xs.size());
}

void Replay::fill(GrOp op, int colour_value, int style) {
  DrawingState& state = drawing();
  colour(colour_value);
  state.fill_style = style;
  Primitive& p = state.primitive;
  p.int_param[1] = 0;
  send_operation(op);
  p.int_param[1] = kClosingCall;
  send_operation(op);
  p.int_param[1] = 0;
}

void Replay::polyline(std::string_view p) {
  colour(line_colour_);
  load_points(p, 0);
  Primitive& prim = drawing().primitive;
  if (prim.count == 2) {
    prim.x1 = prim.xs[0];
    prim.y1 = prim.ys[0];
    prim.x2 = prim.xs[1];
    prim.y2 = prim.ys[1];
    send_operation(prim.x1 == prim.x2 && prim.y1 == prim.y2 ? GrOp::Point : GrOp::Line);
  } else if (prim.count > 2) {
    send_operation(GrOp::Polyline);
  }
}

// The recorder keeps the drawing state's text position; the end follows from the
// character width, as when the text was drawn.
void Replay::text(std::string_view p) {
  if (p.size() < 7) {
    return;
  }
  TextAttributes& t = drawing().text;
  colour(text_colour_);
  const std::size_t count = static_cast<unsigned char>(p[6]);
  const std::string_view chars = p.substr(7, std::min(count, p.size() - 7));
  t.x = x(int_at(p, 0));
  t.y = y(int_at(p, 2));
  t.width = t.height * expansion_;
  const double length = t.width * static_cast<double>(chars.size());
  t.end_x = t.x + length * std::cos(t.rotation * 0.017453292519943295);
  t.end_y = t.y + length * std::sin(t.rotation * 0.017453292519943295);
  t.text = chars;
  send_operation(GrOp::Text);
  t.text = {};
}

void Replay::cells(std::string_view p) {
  const int width = int_at(p, 12), height = int_at(p, 14);
  if (width < 1 || height < 1 || int_at(p, 18) != 0) {
    return;
  }
  pixels_.clear();
  std::size_t at = 20;
  for (int row = 0; row < height; ++row) {
    int filled = 0;
    while (filled < width && at + 5 <= p.size()) {
      const int run = std::min(int_at(p, at), width - filled);
      pixels_.insert(pixels_.end(), static_cast<std::size_t>(std::max(run, 0)),
                     static_cast<std::uint32_t>(colour_at(p, at + 2)));
      filled += std::max(run, 1);
      at += 5;
    }
    at += (at - 20) % 2;  // rows start on a word
  }
  if (pixels_.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
    return;
  }
  Primitive& prim = drawing().primitive;
  prim.x1 = x(int_at(p, 0));
  prim.y2 = y(int_at(p, 2));
  prim.x2 = x(int_at(p, 4));
  prim.y1 = y(int_at(p, 6));
  prim.pixels = pixels_;
  prim.image_width = width;
  prim.image_height = height;
  send_operation(GrOp::Image);
  prim.pixels = {};
}

void Replay::attribute(const Element& e) {
  DrawingState& state = drawing();
  const std::string_view p = e.params;
  switch (e.id) {
    case 2: {  // line type: private types carry the style itself
      constexpr int kStyles[6] = {0, 0, 2, 1, 3, 4};
      const int type = int_at(p, 0);
      state.line.style = type < 0 ? std::min(-type, 7) : kStyles[std::clamp(type, 0, 5)];
      send_operation(GrOp::LineStyle);
      return;
    }
    case 3:
      state.line.width = std::max(1, static_cast<int>(std::lround(int_at(p, 0) * 720.0 / cgm::kVdcPerInch)));
      send_operation(GrOp::LineWidth);
      return;
    case 38:
      state.line.join = std::clamp(int_at(p, 0) - 2, 0, 2);
      send_operation(GrOp::LineJoin);
      return;
    case 37:
      state.line.cap = std::clamp(int_at(p, 0) - 2, 0, 2);
      send_operation(GrOp::LineCap);
      return;
    case 4: line_colour_ = colour_at(p, 0); return;
    case 23: fill_colour_ = colour_at(p, 0); return;
    case 29: edge_colour_ = colour_at(p, 0); return;
    case 14: text_colour_ = colour_at(p, 0); return;
    case 22: interior_ = int_at(p, 0); return;
    case 12: expansion_ = real_at(p, 0); return;
    case 15: state.text.height = y(int_at(p, 0)); return;
    case 16: state.text.rotation = std::atan2(int_at(p, 6), int_at(p, 4)) * 57.29577951308232; return;
    case 18: state.text.justification = std::clamp(int_at(p, 0) - 1, 0, 2); return;
    case 10: {
      const int index = std::clamp(int_at(p, 0), 1, 16) - 1;
      state.text.family = index / 4 + 1;
      state.text.style = index % 4;
      send_operation(GrOp::SelectFont);
      return;
    }
    default: return;
  }
}

void Replay::element(const Element& e) {
  const std::string_view p = e.params;
  Primitive& prim = drawing().primitive;
  if (e.element_class == 2 && e.id == 6 && p.size() >= 8) {
    const Drawable& d = drawing().drawable;
    const int ex = int_at(p, 4), ey = int_at(p, 6);
    kx_ = ex > 0 ? d.max_x / ex : 1.0;
    ky_ = ey > 0 ? d.max_y / ey : 1.0;
  } else if (e.element_class == 5) {
    attribute(e);
  } else if (e.element_class == 4) {
    switch (e.id) {
      case 1: polyline(p); return;
      case 7:
        load_points(p, 0);
        fill(polygon_kind(p), fill_colour_, kFillSolid);
        return;
      case 11:
        prim.x1 = x(int_at(p, 0));
        prim.y1 = y(int_at(p, 2));
        prim.x2 = x(int_at(p, 4));
        prim.y2 = y(int_at(p, 6));
        fill(GrOp::Rectangle, fill_colour_, kFillSolid);
        return;
      case 17:
        prim.cx = x(int_at(p, 0));
        prim.cy = y(int_at(p, 2));
        prim.rx = std::fabs(x(int_at(p, 4)) - prim.cx);
        prim.ry = std::fabs(y(int_at(p, 10)) - prim.cy);
        if (std::abs(int_at(p, 4) - int_at(p, 0)) == std::abs(int_at(p, 10) - int_at(p, 2))) {
          prim.ry = prim.rx;  // a circle stays a circle
        }
        if (interior_ == 4) {
          fill(GrOp::Ellipse, edge_colour_, 0);
        } else {
          fill(GrOp::Ellipse, fill_colour_, kFillSolid);
        }
        return;
      case 4: text(p); return;
      case 9: cells(p); return;
      default: return;
    }
  }
}

}  // namespace

// The drawing state the replay changes is restored afterwards, and the drivers are
// given it again.
void replay_elements(std::string_view elements) {
  DrawingState& state = drawing();
  const ColourState colour = state.colour;
  const LineAttributes line = state.line;
  const TextAttributes text = state.text;
  const int fill_style = state.fill_style;
  const bool true_colour = state.drawable.true_colour;
  state.drawable.true_colour = true;  // recorded colours are values
  metafiles().replaying = true;
  Replay replay;
  std::size_t at = 0;
  Element e;
  std::string joined;
  while (next_cgm_element(elements, at, e, joined)) {
    replay.element(e);
  }
  metafiles().replaying = false;
  state.drawable.true_colour = true_colour;
  state.colour = colour;
  state.line = line;
  state.text = text;
  state.fill_style = fill_style;
  for (GrOp op :
       {GrOp::LineWidth, GrOp::LineStyle, GrOp::LineJoin, GrOp::LineCap, GrOp::SelectFont, GrOp::Colour}) {
    send_operation(op);
  }
}

}  // namespace quill
