// HP-GL labels: relative size, font, label origin, reference point and the label text
// translated from Latin-1 to the printer's Roman-8 set.
#include <cmath>

#include "graphics/hpgl2/hpgl_driver.hpp"

namespace quill::hpgl {
namespace {

constexpr double kDegree = 0.017453292519943295;

// Roman-8 codes of Latin-1 161..255; 0 where Roman-8 has no such character (the
// byte is then written unchanged).
constexpr unsigned char kRoman8[95] = {
    0xB8, 0xBF, 0xBB, 0xBA, 0xBC, 0,    0xBD, 0xAB, 0,    0xF9, 0xFB, 0,    0xF6, 0,    0xB0,
    0xB3,  // 161-176
    0xFE, 0,    0,    0xA8, 0xF3, 0xF4, 0xF2, 0,    0,    0xFA, 0xFD, 0xF7, 0xF8, 0xF5, 0xB9,
    0xA1,  // 177-192
    0xE0, 0xA2, 0xE1, 0xD8, 0xD0, 0xD3, 0xB4, 0xA3, 0xDC, 0xA4, 0xA5, 0xE6, 0xE5, 0xA6, 0xA7,
    0xE3,  // 193-208
    0xB6, 0xE8, 0xE7, 0xDF, 0xE9, 0xDA, 0,    0xD2, 0xAD, 0xED, 0xAE, 0xDB, 0xB1, 0xF0, 0xDE,
    0xC8,  // 209-224
    0xC4, 0xC0, 0xE2, 0xCC, 0xD4, 0xD7, 0xB5, 0xC9, 0xC5, 0xC1, 0xCD, 0xD9, 0xD5, 0xD1, 0xDD,
    0xE4,                                                                                      // 225-240
    0xB7, 0xCA, 0xC6, 0xC2, 0xEA, 0xCE, 0,    0xD6, 0xCB, 0xC7, 0xC3, 0xCF, 0xB2, 0xF1, 0xEF,  // 241-255
};

struct ModeFactors {
  double width, height, offset;
};
constexpr ModeFactors kModes[3] = {{1.0, 1.0, 0.22}, {0.932, 1.211, 0.3}, {1.06, 1.211, 0.3}};

void write_mode_comment(int mode) {
  HpglState& s = hpgl();
  if (mode == s.text_mode) {
    return;
  }
  s.text_mode = mode;
  LineBuffer text;
  text.add("10 ").add_int(mode);
  comment(text.view());
}

// Character size in percent of the distance between the scaling points.
void write_relative_size(const ModeFactors& factors) {
  const DrawingState& state = drawing();
  const double max_x = state.drawable.max_x > 0.0 ? state.drawable.max_x : 1.0;
  const double max_y = state.drawable.max_y > 0.0 ? state.drawable.max_y : 1.0;
  const double width = clamp_to_field(state.text.width * factors.width / max_x * 100.0, 10, 2);
  const double height = clamp_to_field(state.text.height * factors.height / max_y * 100.0, 10, 2);
  LineBuffer line;
  line.add("SR").add_fixed(width, 2).add(' ').add_fixed(height, 2);
  emit(line);
}

// Standard font: Roman-8 (277) or the math symbols (173), spacing, height, posture,
// weight and typeface, then selected.
void write_font(int family, int style) {
  if (hpgl().plain) {
    return;
  }
  const bool italic = style >= 2;
  const bool bold = style == 1 || style == 3;
  emit(italic ? "SL.2" : "SL0.");
  const int symbol_set = family == 4 ? 173 : 277;
  const int spacing = family == 1 ? 0 : 1;
  const int typeface = family == 1 ? 4099 : family == 2 ? 4148 : 4101;
  LineBuffer line;
  line.add("SD1,").add_int(symbol_set).add(",2,").add_int(spacing);
  if (spacing == 0) {
    line.add(",3,10");
  }
  line.add(",4,12,5,").add_int(italic ? 1 : 0).add(",6,").add_int(bold ? 3 : 0);
  line.add(",7,").add_int(typeface).add(";SS");
  emit(line);
}

void write_label_origin(int justification) {
  HpglState& s = hpgl();
  if (s.plain || justification == s.justification) {
    return;
  }
  s.justification = justification;
  constexpr int kOrigins[3] = {1, 4, 7};
  LineBuffer line;
  line.add("LO").add_int(kOrigins[justification]);
  emit(line);
}

// The label terminator would end the label early: it is dropped. Control bytes would
// act as label controls: they become blanks.
void write_label(std::string_view text) {
  const int terminator = drawing().device.option(GrOption::LabelTerminator);
  const char end = static_cast<char>(terminator >= 1 && terminator <= 127 ? terminator : 3);
  OutputStream& out = drawing().output;
  out.write("LB");
  for (char c : text) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (c == end) {
      continue;
    }
    if (byte < 32 || byte == 127) {
      out.put(' ');
    } else if (byte >= 161 && kRoman8[byte - 161] != 0) {
      out.put(static_cast<char>(kRoman8[byte - 161]));
    } else {
      out.put(c);
    }
  }
  out.put(end);
  out.write("\r\n");
}

}  // namespace

void write_direction(double degrees) {
  HpglState& s = hpgl();
  s.direction = degrees;
  LineBuffer line;
  line.add("DI").add_fixed(std::cos(degrees * kDegree), 3).add(' ').add_fixed(std::sin(degrees * kDegree), 3);
  emit(line);
}

void write_text(const TextAttributes& text) {
  HpglState& s = hpgl();
  const int mode = text.mode >= 0 && text.mode <= 2 ? text.mode : 0;
  const ModeFactors& factors = kModes[mode];
  if (!s.plain) {
    write_mode_comment(mode);
  }
  if (s.font_pending) {
    write_relative_size(factors);
    s.font_pending = false;
  }
  if (text.family != s.family || text.style != s.style) {
    s.family = text.family;
    s.style = text.style;
    write_font(text.family, text.style);
  }
  const int justification =
      mode == 1 || text.justification < 0 || text.justification > 2 ? 0 : text.justification;
  write_label_origin(justification);
  const double angle = std::isfinite(text.rotation) ? text.rotation : 0.0;
  if (angle != s.direction) {
    write_direction(angle);
  }
  // The text position is the middle of the characters: move down towards the baseline.
  const double down_x = factors.offset * text.height * std::sin(angle * kDegree);
  const double down_y = -factors.offset * text.height * std::cos(angle * kDegree);
  double x = text.x + down_x, y = text.y + down_y;
  if (!s.plain && justification == 1) {
    x = (x + text.end_x + down_x) / 2.0;
    y = (y + text.end_y + down_y) / 2.0;
  } else if (!s.plain && justification == 2) {
    x = text.end_x + down_x;
    y = text.end_y + down_y;
  }
  forget_pen_position();
  move_to(scaled(x, y));
  write_label(text.text);
  forget_pen_position();
}

}  // namespace quill::hpgl
