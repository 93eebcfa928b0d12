// SVG driver: text groups, placement and escaping.
#include <cmath>

#include "graphics/svg/svg_driver.hpp"

namespace quill::svg {
namespace {

constexpr double kDegree = 0.017453292519943295;
constexpr double kSizeFactor[3] = {1.65, 1.33, 1.72};
constexpr std::string_view kFamilies[4] = {"'Courier New',Courier;", "Arial,Helvetica;",
                                           "'Times New Roman','Times Roman';", "Symbol;"};

// Code points of bytes 128..159 in the toolkit's single-byte code page (Windows-1252);
// the five unassigned bytes keep their own value.
constexpr unsigned short kHighControls[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                              0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                              0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                              0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void open_text_group(const TextAttributes& text) {
  const int mode = text.mode >= 0 && text.mode <= 2 ? text.mode : 0;
  const int family = text.family >= 1 && text.family <= 4 ? text.family : 2;
  LineBuffer line;
  line.add("<g style=\"fill:#");
  add_colour(line, stroke_rgb());
  line.add(";stroke:none;font-family:").add(kFamilies[family - 1]);
  if (family != 4) {
    const int style = (text.style % 4 + 4) % 4;
    if ((style & 1) != 0) {
      line.add("font-weight:bold;");
    }
    if ((style & 2) != 0) {
      line.add("font-style:italic;");
    }
  }
  if (mode != 1) {
    if (text.justification == 1) {
      line.add("text-anchor:middle;");
    } else if (text.justification == 2) {
      line.add("text-anchor:end;");
    }
  }
  line.add("font-size:");
  add_number(line, text.height * svg().sy * kSizeFactor[mode]);
  line.add("\">");
  open_group(line, Group::Text);
}

void add_escaped(LineBuffer& line, unsigned char byte) {
  if (byte == '&' || byte == '<' || byte == '>' || byte >= 128) {
    const int code = byte >= 128 && byte < 160 ? kHighControls[byte - 128] : byte;
    line.add("&#").add_int(code).add(';');
  } else if (byte >= 32 || byte == '\t') {
    line.add(static_cast<char>(byte));
  }
}

}  // namespace

void draw_text(const TextAttributes& text) {
  if ((text.flags & kTextGroupStart) != 0) {
    open_text_group(text);
  }
  const double angle = std::isfinite(text.rotation) ? text.rotation : 0.0;
  double x = text.x, y = text.y;
  if (text.mode != 1 && text.justification == 1) {
    x = (text.x + text.end_x) / 2.0;
    y = (text.y + text.end_y) / 2.0;
  } else if (text.mode != 1 && text.justification == 2) {
    x = text.end_x;
    y = text.end_y;
  }
  x += 0.2 * text.height * std::sin(angle * kDegree);
  y -= 0.2 * text.height * std::cos(angle * kDegree);
  LineBuffer line;
  line.add("<text transform=\"translate(");
  add_point(line, x, y);
  if (angle != 0.0) {
    line.add(") rotate(");
    add_number(line, -angle);
  }
  line.add(")\">");
  for (char c : text.text) {
    // The element stays one line however long the text: full pieces go out unended.
    if (line.room() < 16) {
      drawing().output.write(line.view());
      line.clear();
    }
    add_escaped(line, static_cast<unsigned char>(c));
  }
  line.add("</text>");
  write_line(line);
  if ((text.flags & kTextGroupEnd) != 0) {
    close_group(Group::Text);
  }
}

}  // namespace quill::svg
