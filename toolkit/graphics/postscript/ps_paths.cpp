// PostScript driver: its entries, number forms, paths, fills and attributes.
#include <cmath>
#include <cstdint>

#include "graphics/drawing_rules.hpp"
#include "graphics/file_driver.hpp"
#include "graphics/postscript/ps_driver.hpp"

namespace quill::postscript {
namespace {

constexpr double kRadiansPerDegree = 0.017453292;

double sx(double x) { return x * ps().sx; }
double sy(double y) { return y * ps().sy; }

void start_segment(double x1, double y1) {
  PsState& s = ps();
  if (s.segments >= drawing().device.path_limit() && s.segments > 0) {
    finish_path();
  }
  if (s.segments == 0 || x1 != s.pen_x || y1 != s.pen_y) {
    write_point(x1, y1, 'm');
  }
}

void add_segment(double x2, double y2) {
  PsState& s = ps();
  write_point(x2, y2, 'l');
  ++s.segments;
  s.filled_path = false;
  s.pen_x = x2;
  s.pen_y = y2;
  s.page_marked = true;
}

void draw_line(double x1, double y1, double x2, double y2) {
  start_segment(x1, y1);
  add_segment(x2, y2);
}

void draw_polyline(PointArrays p) {
  if (p.size() < 2) {
    return;
  }
  const int limit = drawing().device.path_limit() > 0 ? drawing().device.path_limit() : 255;
  start_segment(p.xs[0], p.ys[0]);
  for (std::size_t i = 1; i < p.size(); ++i) {
    if (ps().segments >= limit) {
      finish_path();
      write_point(p.xs[i - 1], p.ys[i - 1], 'm');
    }
    add_segment(p.xs[i], p.ys[i]);
  }
}

// The fill colour: fill style 3 takes the mean of the previous and the current colour.
Colour fill_colour() {
  const DrawingState& state = drawing();
  if (state.fill_style != kFillSolidMixed) {
    return current_colour();
  }
  return reversed_colour(mixed_fill_rgb());
}

// Writes the fill's colour when changed, then the closing operator; the stroke colour
// becomes pending again.
void close_fill(std::string_view closing, const Colour& colour) {
  PsState& s = ps();
  const Colour stroke = s.pending;
  s.pending = colour;
  bring_colour_up_to_date();
  write_line(closing);
  s.pending = stroke;
  s.page_marked = true;
  s.pen_x = s.pen_y = kUnknownPosition;
}

// The first count points (at most as many as there are).
void fill_points(PointArrays points, std::size_t count) {
  const Colour colour = fill_colour();
  finish_path();
  for (std::size_t i = 0; i < count && i < points.size(); ++i) {
    write_point(points.xs[i], points.ys[i], i == 0 ? 'm' : 'l');
  }
  close_fill("cf", colour);
}

void fill_rectangle(const Primitive& p) {
  const DrawingState& state = drawing();
  double x1 = p.x1, y1 = p.y1;
  double x2 = p.x2, y2 = p.y2;
  if (state.device.encapsulated()) {
    const Area& a = state.area;
    auto limit = [](double v, double lo, double hi) { return v < lo ? lo : v > hi ? hi : v; };
    x1 = limit(x1, a.x, a.x + a.width);
    x2 = limit(x2, a.x, a.x + a.width);
    y1 = limit(y1, a.y, a.y + a.height);
    y2 = limit(y2, a.y, a.y + a.height);
  }
  const double xs[] = {x1, x2, x2, x1};
  const double ys[] = {y1, y1, y2, y2};
  fill_points({xs, ys}, 4);
}

// Vertical over horizontal radius in device units; 0 when the shape is degenerate.
double ellipse_ratio(double rx, double ry) {
  const double k = (ry * ps().sy) / (rx * ps().sx);
  return std::isfinite(k) && k >= 0.0001 && k <= 999.0 ? k : 0.0;
}

// "gsave 1.0 k scale newpath" and the colour saved around it, since grestore restores
// the colour the graphics state had before.
void begin_scaled(double k) {
  LineBuffer line;
  line.add("gsave 1.0 ");
  add_field(line, k, 8, 4);
  line.add(" scale newpath");
  write_line(line);
}

void end_scaled(const Colour& before) {
  write_line("grestore");
  ps().written = before;
}

void draw_ellipse(const Primitive& p) {
  const DrawingState& state = drawing();
  const double k = ellipse_ratio(p.rx, p.ry);
  if (!(p.rx > 0.0) || k == 0.0) {
    return;  // a zero radius would make the scale singular
  }
  const bool solid = state.fill_style >= kFillSolidMixed;
  const Colour colour = solid ? fill_colour() : current_colour();
  finish_path();
  const Colour before = ps().written;
  begin_scaled(k);
  LineBuffer line;
  add_coordinate(line, sx(p.cx));
  line.add(' ');
  add_coordinate(line, sy(p.cy) / k);
  line.add(' ');
  add_coordinate(line, sx(p.rx));
  line.add(" 90. 450. arc");
  write_line(line);
  close_fill(solid ? "cf" : "s", colour);
  end_scaled(before);
}

void draw_arc(const Primitive& p, bool sector) {
  const DrawingState& state = drawing();
  const double k = ellipse_ratio(p.rx, p.ry);
  if (!(p.rx > 0.0) || k == 0.0) {
    return;
  }
  const bool closed = sector || p.int_param[0] == 1;
  const Colour colour = sector && state.fill_style >= kFillSolidMixed ? fill_colour() : current_colour();
  finish_path();
  const Colour before = ps().written;
  begin_scaled(k);
  LineBuffer line;
  if (closed) {
    line.clear();
    add_coordinate(line, sx(p.cx));
    line.add(' ');
    add_coordinate(line, sy(p.cy) / k);
    line.add(" m");
    write_line(line);
    line.clear();
  }
  add_coordinate(line, sx(p.cx));
  line.add(' ');
  add_coordinate(line, sy(p.cy) / k);
  line.add(' ');
  add_coordinate(line, sx(p.rx));
  line.add(' ');
  add_field(line, p.start_angle / kRadiansPerDegree, 8, 1);
  line.add(' ');
  add_field(line, p.end_angle / kRadiansPerDegree, 8, 1);
  line.add(" arc");
  write_line(line);
  const bool fill = sector && state.fill_style >= kFillSolidMixed;
  close_fill(fill ? "cf" : closed ? "cs" : "s", colour);
  end_scaled(before);
}

// The open path is stroked in the pending colour, which can differ from the last colour
// written: it is finished unless the new colour is both.
void set_colour(const ColourState& current) {
  PsState& s = ps();
  const Colour colour = reversed_colour(colour_rgb(current.current));
  if ((colour != s.written || colour != s.pending) && s.segments > 0) {
    finish_path();
  }
  s.pending = colour;
}

void set_line_style(int style) {
  PsState& s = ps();
  if (style == s.style || style < 0 || style > 7) {
    return;
  }
  finish_path();
  LineBuffer line;
  const DashPattern& pattern = kDashPatterns[static_cast<std::size_t>(style)];
  line.add('[');
  add_dash_lengths(line, pattern);
  line.add("] ").add_int(pattern.postscript_offset).add(" d");
  write_line(line);
  s.style = style;
}

void set_line_width(int width) {
  PsState& s = ps();
  if (width == s.width) {
    return;
  }
  finish_path();
  LineBuffer line;
  add_coordinate(line, width / 10.0);
  line.add(" w");
  write_line(line);
  s.width = width;
}

void set_line_join(int join) {
  finish_path();
  LineBuffer line;
  line.add_int(join < 0 || join > 2 ? 0 : join).add(" setlinejoin");
  write_line(line);
  if (join == 0) {
    write_line("5.0 setmiterlimit");
  }
}

void set_line_cap(int cap) {
  finish_path();
  LineBuffer line;
  line.add_int(cap < 0 || cap > 2 ? 0 : cap).add(" setlinecap");
  write_line(line);
}

void set_line(LineAttribute which, const LineAttributes& line) {
  switch (which) {
    case LineAttribute::Width: set_line_width(line.width); return;
    case LineAttribute::Style: set_line_style(line.style); return;
    case LineAttribute::Join: set_line_join(line.join); return;
    case LineAttribute::Cap: set_line_cap(line.cap); return;
  }
}

void set_clip(const Area& a) {
  if (drawing().device.encapsulated()) {
    return;
  }
  finish_path();
  write_line("initclip");
  const double x1 = std::trunc(sx(a.x));
  const double y1 = std::trunc(sy(a.y));
  const double x2 = std::trunc(sx(a.x + a.width) + 0.99);
  const double y2 = std::trunc(sy(a.y + a.height) + 0.99);
  LineBuffer line;
  auto corner = [&line](double x, double y, const char* op) {
    line.clear();
    add_coordinate(line, x);
    line.add(' ');
    add_coordinate(line, y);
    line.add(op);
    write_line(line);
  };
  corner(x1, y1, " m");
  corner(x2, y1, " l");
  corner(x2, y2, " l");
  corner(x1, y2, " l");
  write_line("clip");
  write_line("newpath");
}

// Outlines other than the ellipse's arrive as lines.
void draw_fill(Shape shape, const Primitive& p) {
  if (shape == Shape::Ellipse) {
    draw_ellipse(p);
    return;
  }
  if (drawing().fill_style < kFillSolidMixed) {
    return;
  }
  const PointArrays points = point_arrays(p);
  switch (shape) {
    case Shape::Rectangle: fill_rectangle(p); break;
    case Shape::Sector: draw_arc(p, true); break;
    case Shape::Triangle: fill_points(points, 3); break;
    case Shape::Parallelogram: fill_points(points, 4); break;
    default: fill_points(points, points.size()); break;
  }
}

constexpr FileDriver kDriver{
    .number = kDriverNumber,
    .describe = describe_device,
    .header = write_header,
    .trailer = write_trailer,
    .new_page = [] { end_page(false); },
    .set_colour = set_colour,
    .set_line = set_line,
    .select_font = [](const TextAttributes&) { ps().font_pending = true; },
    .clip = set_clip,
    .line = draw_line,
    .point = [](double x, double y) { draw_line(x, y, x, y); },
    .polyline = draw_polyline,
    .arc = [](const Primitive& p) { draw_arc(p, false); },
    .fill = draw_fill,
    .text = draw_text,
    .image = draw_image,
};

}  // namespace

PsState& ps() {
  static PsState state;
  return state;
}

void add_coordinate(LineBuffer& line, double value) {
  // "12.00" becomes "12.0"; "12.50" stays.
  line.add_fixed(clamp_to_field(value, 9, 2), 2, TrailingZeros{1, true, true});
}

void add_field(LineBuffer& line, double value, int width, int decimals) {
  line.add_fixed(clamp_to_field(value, width, decimals), decimals);
}

void write_point(double x, double y, char op) {
  LineBuffer line;
  add_coordinate(line, sx(x));
  line.add(' ');
  add_coordinate(line, sy(y));
  line.add(' ').add(op);
  write_line(line);
}

void write_line(const LineBuffer& line) { drawing().output.write_line(line.view()); }
void write_line(std::string_view text) { drawing().output.write_line(text); }

Colour current_colour() { return reversed_colour(colour_rgb(drawing().colour.current)); }

Colour reversed_colour(const Rgb& rgb) {
  Colour c{rgb.red / 255.0, rgb.green / 255.0, rgb.blue / 255.0};
  if (reverse_mode_turns(rgb, kPostScriptReverseThresholds)) {
    c = Colour{1.0 - c.red, 1.0 - c.green, 1.0 - c.blue};
  }
  return c;
}

void bring_colour_up_to_date() {
  PsState& s = ps();
  if (s.pending == s.written) {
    return;
  }
  LineBuffer line;
  add_coordinate(line, s.pending.red);
  line.add(' ');
  add_coordinate(line, s.pending.green);
  line.add(' ');
  add_coordinate(line, s.pending.blue);
  line.add(" g");
  write_line(line);
  s.written = s.pending;
}

void finish_path() {
  PsState& s = ps();
  if (s.segments == 0) {
    return;
  }
  bring_colour_up_to_date();
  write_line(s.filled_path ? "cf" : "s");
  s.segments = 0;
}

}  // namespace quill::postscript

namespace quill {
void register_driver_postscript() {
  register_driver(postscript::kDriverNumber, file_driver_function<postscript::kDriver>);
}
}  // namespace quill
