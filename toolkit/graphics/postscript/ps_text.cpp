// PostScript driver: text (font selection, escaped strings, placement) and images.
#include <cmath>

#include "graphics/postscript/ps_driver.hpp"

namespace quill::postscript {
namespace {

// Lines stay within 255 characters; a string longer than that continues on the next
// line after a backslash, which PostScript drops together with the line end.
constexpr std::size_t kMaxLine = 250;
constexpr double kWidthFactor[3] = {1.65, 1.33, 1.72};
constexpr double kHeightFactor[3] = {1.0, 0.82, 0.82};
constexpr std::string_view kFamilies[3] = {"/Courier-", "/Helvetica-", "/Times-"};
constexpr double kDegree = 0.017453292519943295;

double limited_size(double size) {
  if (!(size >= 1.0)) {
    return 1.0;
  }
  return size > 999.0 ? 999.0 : size;
}

void write_font(const TextAttributes& text) {
  const int mode = text.mode >= 0 && text.mode <= 2 ? text.mode : 0;
  LineBuffer line;
  if (text.family >= 1 && text.family <= 3) {
    line.add(kFamilies[text.family - 1]).add_int((text.style % 4 + 4) % 4 + 1);
  } else if (text.family == 4) {
    line.add("/Symbol");
  } else {
    return;
  }
  const double a = limited_size(text.width * ps().sx) * kWidthFactor[mode];
  const double b = limited_size(text.height * ps().sy) * kHeightFactor[mode];
  line.add(" ff [");
  add_field(line, a, 5, 1);
  line.add(" 0 0 ");
  add_field(line, b, 5, 1);
  line.add(" 0 0] ms");
  write_line(line);
}

void add_escaped(LineBuffer& line, unsigned char byte) {
  if (byte == '(' || byte == ')' || byte == '\\') {
    line.add('\\').add(static_cast<char>(byte));
  } else if (byte < 32 || byte == 127) {
    line.add('\\').add(static_cast<char>('0' + (byte >> 6))).add(static_cast<char>('0' + ((byte >> 3) & 7)));
    line.add(static_cast<char>('0' + (byte & 7)));
  } else {
    line.add(static_cast<char>(byte));
  }
}

void write_string(std::string_view text, std::string_view show) {
  LineBuffer line;
  line.add('(');
  for (char c : text) {
    if (line.size() >= kMaxLine) {
      line.add('\\');
      write_line(line);
      line.clear();
    }
    add_escaped(line, static_cast<unsigned char>(c));
  }
  line.add(") ").add(show);
  write_line(line);
}

void write_rotation(double degrees) {
  LineBuffer line;
  add_coordinate(line, degrees);
  line.add(" ro");
  write_line(line);
}

}  // namespace

void draw_text(const TextAttributes& text) {
  PsState& s = ps();
  if (s.segments > 0) {
    finish_path();
  } else {
    bring_colour_up_to_date();
  }
  if (s.font_pending) {
    write_font(text);
    s.font_pending = false;
  }
  // The text position is the middle of the characters' height: move down to the baseline.
  const double angle = std::isfinite(text.rotation) ? text.rotation : 0.0;
  const double up_x = text.height * std::sin(angle * kDegree);
  const double up_y = text.height * std::cos(angle * kDegree);
  const int justification = text.mode == 1 ? 0 : text.justification;
  double x = text.x + 0.27 * up_x;
  double y = text.y - 0.27 * up_y;
  const double end_x = text.end_x + 0.27 * up_x;
  const double end_y = text.end_y - 0.27 * up_y;
  if (justification == 1) {
    x = (x + end_x) / 2.0;
    y = (y + end_y) / 2.0;
  } else if (justification == 2) {
    x = end_x;
    y = end_y;
  }
  write_point(x, y, 'm');
  const double whole_degrees = std::trunc(angle);
  if (whole_degrees != 0.0) {
    write_rotation(angle);
  }
  write_string(text.text, justification == 1 ? "csh" : justification == 2 ? "rsh" : "lsh");
  if (whole_degrees != 0.0) {
    write_rotation(360.0 - angle);
  }
  s.pen_x = s.pen_y = kUnknownPosition;
  s.page_marked = true;
}

void draw_image(const Primitive& p) {
  static constexpr char kHex[] = "0123456789abcdef";
  constexpr std::size_t kPixelsPerLine = 40;  // 240 hexadecimal digits
  const std::size_t width = static_cast<std::size_t>(p.image_width);
  const std::size_t height = static_cast<std::size_t>(p.image_height);
  if (width == 0 || height == 0 || p.pixels.size() < width * height) {
    return;
  }
  finish_path();
  write_line("gsave");
  LineBuffer line;
  line.add("/picstr ").add_int(static_cast<long long>(width * 3)).add(" string def");
  write_line(line);
  line.clear();
  add_coordinate(line, p.x1 * ps().sx);
  line.add(' ');
  add_coordinate(line, p.y1 * ps().sy);
  line.add(" translate");
  write_line(line);
  line.clear();
  add_coordinate(line, (p.x2 - p.x1) * ps().sx);
  line.add(' ');
  add_coordinate(line, (p.y2 - p.y1) * ps().sy);
  line.add(" scale");
  write_line(line);
  line.clear();
  const long long w = static_cast<long long>(width), h = static_cast<long long>(height);
  line.add_int(w)
      .add(' ')
      .add_int(h)
      .add(" 8 [")
      .add_int(w)
      .add(" 0 0 ")
      .add_int(-h)
      .add(" 0 ")
      .add_int(h)
      .add(']');
  write_line(line);
  write_line("{currentfile picstr readhexstring pop}");
  write_line("false 3");
  write_line("colorimage");
  for (std::size_t row = 0; row < height; ++row) {
    for (std::size_t first = 0; first < width; first += kPixelsPerLine) {
      line.clear();
      const std::size_t last = first + kPixelsPerLine < width ? first + kPixelsPerLine : width;
      for (std::size_t i = first; i < last; ++i) {
        const std::uint32_t pixel = p.pixels[row * width + i];
        for (int shift : {0, 8, 16}) {
          const unsigned byte = (pixel >> shift) & 0xFFU;
          line.add(kHex[byte >> 4]).add(kHex[byte & 15]);
        }
      }
      write_line(line);
    }
  }
  write_line("grestore");
  ps().page_marked = true;
  ps().pen_x = ps().pen_y = kUnknownPosition;
}

}  // namespace quill::postscript
