// HP-GL command lines, scaled coordinates, pen moves and pens.
#include <cmath>

#include "graphics/drawing_rules.hpp"
#include "graphics/hpgl2/hpgl_driver.hpp"

namespace quill::hpgl {
namespace {

constexpr std::size_t kCommandWidth = 50;

bool is_text_command(std::string_view command) {
  return command.starts_with("LB") || command.starts_with("CO");
}

long clamp_scaled(double value) {
  const double limit = static_cast<double>(hpgl().limit);
  if (std::isnan(value)) {
    return 0;
  }
  return static_cast<long>(std::trunc(value < -limit ? -limit : value > limit ? limit : value));
}

// The eight pens of a plotter carousel hold black, red, green, blue, cyan, magenta,
// yellow and (on the last stall) black again; white needs no pen.
int plotter_pen(const Rgb& rgb) {
  struct Stall {
    int pen;
    Rgb rgb;
  };
  constexpr Stall kStalls[] = {{1, {0, 0, 0}},     {2, {255, 0, 0}},    {3, {0, 255, 0}},
                               {4, {0, 0, 255}},   {5, {0, 255, 255}},  {6, {255, 0, 255}},
                               {7, {255, 255, 0}}, {0, {255, 255, 255}}};
  int best = 1;
  long best_distance = -1;
  for (const Stall& stall : kStalls) {
    const long dr = rgb.red - stall.rgb.red, dg = rgb.green - stall.rgb.green, db = rgb.blue - stall.rgb.blue;
    const long distance = dr * dr + dg * dg + db * db;
    if (best_distance < 0 || distance < best_distance) {
      best_distance = distance;
      best = stall.pen;
    }
  }
  const int pens = hpgl().colours;
  return best == 0 || best <= pens ? best : (best - 1) % pens + 1;
}

// A true-colour value takes a pen of its own, 1..255 in order of first use; once every
// pen is taken the oldest is given the new colour.
int true_colour_pen(int colour) {
  HpglState& s = hpgl();
  for (int pen = 1; pen <= 255; ++pen) {
    if (s.defined[static_cast<std::size_t>(pen)] && s.pen_colour[static_cast<std::size_t>(pen)] == colour) {
      return pen;
    }
  }
  const int pen = s.next_pen;
  s.next_pen = pen == 255 ? 1 : pen + 1;
  s.defined[static_cast<std::size_t>(pen)] = false;
  s.pen_colour[static_cast<std::size_t>(pen)] = colour;
  return pen;
}

int background_colour() {
  const bool reverse = drawing().device.option(GrOption::ReverseMode) != 0;
  if (drawing().drawable.true_colour) {
    return reverse ? 0 : 0xFFFFFF;
  }
  return reverse ? 223 : 0;
}

int pen_for(int colour) {
  HpglState& s = hpgl();
  if (s.plain) {
    return plotter_pen(output_colour(colour));
  }
  if (s.colours <= 2) {
    return colour == background_colour() ? 0 : 1;
  }
  const int pen = drawing().drawable.true_colour ? true_colour_pen(colour) : (colour & 255);
  if (!s.defined[static_cast<std::size_t>(pen)]) {
    s.defined[static_cast<std::size_t>(pen)] = true;
    const Rgb rgb = output_colour(colour);
    LineBuffer line;
    line.add("PC").add_int(pen).add(' ').add_int(rgb.red).add(' ').add_int(rgb.green).add(' ').add_int(
        rgb.blue);
    emit(line);
  }
  return pen;
}

void select_pen(int pen) {
  HpglState& s = hpgl();
  if (pen == s.pen_number) {
    return;
  }
  s.pen_number = pen;
  LineBuffer line;
  line.add("PU;SP").add_int(pen);
  emit(line);
}

}  // namespace

HpglState& hpgl() {
  static HpglState instance;
  return instance;
}

HpglModels& hpgl_models() {
  static HpglModels instance;
  return instance;
}

void emit(std::string_view command) {
  OutputStream& out = drawing().output;
  if (is_text_command(command)) {
    out.write_line(command);
    return;
  }
  LineBuffer reduced;
  for (char c : command) {
    if (c == ' ' && (reduced.size() == 2 || reduced.back() == ' ')) {
      continue;
    }
    reduced.add(c);
  }
  while (reduced.back() == ' ') {
    reduced.drop_back(1);
  }
  out.write_line(reduced.view());
}

void emit(const LineBuffer& command) { emit(command.view()); }

void comment(std::string_view text) {
  if (hpgl().plain) {
    return;
  }
  LineBuffer line;
  line.add("CO\"").add(text).add("\";");
  emit(line);
}

Point scaled(double x, double y) {
  const HpglState& s = hpgl();
  return Point{clamp_scaled(x * s.sx), clamp_scaled(y * s.sy)};
}

long scaled_length_x(double length) { return clamp_scaled(length * hpgl().sx); }

void add_point(LineBuffer& line, Point p) { line.add_int(p.x).add(' ').add_int(p.y); }

void move_to(Point p) {
  HpglState& s = hpgl();
  if (s.pen_known && s.pen == p) {
    return;
  }
  LineBuffer line;
  line.add("PU");
  add_point(line, p);
  emit(line);
  s.pen = p;
  s.pen_known = true;
}

void draw_through(const Point* points, std::size_t count) {
  LineBuffer line;
  for (std::size_t i = 0; i < count; ++i) {
    LineBuffer pair;
    add_point(pair, points[i]);
    if (!line.empty() && line.size() + 1 + pair.size() > kCommandWidth) {
      emit(line);
      line.clear();
    }
    line.add(line.empty() ? "PD" : " ").add(pair.view());
  }
  if (!line.empty()) {
    emit(line);
  }
  if (count > 0) {
    hpgl().pen = points[count - 1];
    hpgl().pen_known = true;
  }
}

void forget_pen_position() { hpgl().pen_known = false; }

Rgb output_colour(int colour) { return reverse_mode_colour(colour_rgb(colour)); }

void select_colour(int colour) {
  select_pen(pen_for(colour));
  if (metafile_replay_in_progress()) {
    return;
  }
  const Rgb rgb = colour_rgb(colour);
  LineBuffer text;
  text.add("1 ").add_int(rgb.red * 65536L + rgb.green * 256L + rgb.blue);
  comment(text.view());
}

void reselect_pen() {
  HpglState& s = hpgl();
  const int pen = s.pen_number;
  s.pen_number = kNoPen;
  select_pen(pen == kNoPen ? pen_for(drawing().colour.current) : pen);
}

}  // namespace quill::hpgl
