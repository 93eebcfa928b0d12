// DXF colour indexes: the standard 255-entry colour table, the nearest-colour search in
// the hue-saturation-value cone, and the index chosen for the current colour by depth.
#include <array>
#include <cmath>

#include "graphics/dxf/dxf_driver.hpp"

namespace quill::dxf {
namespace {

struct Cone {
  double x = 0.0, y = 0.0, z = 0.0;
};

int rgb_value(int red, int green, int blue) { return (red << 16) | (green << 8) | blue; }

// Hue in degrees, saturation and value 0..1 to 0xRRGGBB.
int from_hsv(double hue, double saturation, double value) {
  const double c = value * saturation;
  const double h = std::fmod(hue, 360.0) / 60.0;
  const double x = c * (1.0 - std::fabs(std::fmod(h, 2.0) - 1.0));
  double r = 0.0, g = 0.0, b = 0.0;
  switch (static_cast<int>(h)) {
    case 0:
      r = c;
      g = x;
      break;
    case 1:
      r = x;
      g = c;
      break;
    case 2:
      g = c;
      b = x;
      break;
    case 3:
      g = x;
      b = c;
      break;
    case 4:
      r = x;
      b = c;
      break;
    default:
      r = c;
      b = x;
      break;
  }
  const double m = value - c;
  const auto byte = [m](double part) { return static_cast<int>(std::lround((part + m) * 255.0)); };
  return rgb_value(byte(r), byte(g), byte(b));
}

// The usual layout of DXF colour indexes: seven primaries and two greys, then 24 hues
// in steps of 15 degrees with five values at full and half saturation, then six greys.
std::array<int, 256> build_table() {
  std::array<int, 256> table{};
  constexpr int kFirst[10] = {0,        0xFF0000, 0xFFFF00, 0x00FF00, 0x00FFFF,
                              0x0000FF, 0xFF00FF, 0xFFFFFF, 0x808080, 0xC0C0C0};
  for (int i = 1; i < 10; ++i) {
    table[static_cast<std::size_t>(i)] = kFirst[i];
  }
  constexpr double kValues[5] = {1.0, 165.0 / 255.0, 127.0 / 255.0, 76.0 / 255.0, 38.0 / 255.0};
  for (int i = 10; i < 250; ++i) {
    const int step = (i - 10) % 10;
    const double saturation = step % 2 == 0 ? 1.0 : 0.5;
    table[static_cast<std::size_t>(i)] = from_hsv((i - 10) / 10 * 15.0, saturation, kValues[step / 2]);
  }
  constexpr int kGreys[6] = {51, 80, 105, 130, 190, 255};
  for (int i = 0; i < 6; ++i) {
    table[static_cast<std::size_t>(250 + i)] = rgb_value(kGreys[i], kGreys[i], kGreys[i]);
  }
  return table;
}

const std::array<int, 256>& table() {
  static const std::array<int, 256> instance = build_table();
  return instance;
}

bool is_grey(int rgb) {
  return ((rgb >> 16) & 0xFF) == ((rgb >> 8) & 0xFF) && ((rgb >> 8) & 0xFF) == (rgb & 0xFF);
}

// A colour without hue (grey) lies on the cone's axis, whatever its hue angle.
Cone to_cone(int rgb) {
  const double r = ((rgb >> 16) & 0xFF) / 255.0;
  const double g = ((rgb >> 8) & 0xFF) / 255.0;
  const double b = (rgb & 0xFF) / 255.0;
  const double high = std::fmax(r, std::fmax(g, b));
  const double low = std::fmin(r, std::fmin(g, b));
  const double delta = high - low;
  if (delta <= 0.0) {
    return Cone{0.0, 0.0, high};
  }
  double hue = 0.0;
  if (high == r) {
    hue = std::fmod((g - b) / delta, 6.0);
  } else if (high == g) {
    hue = (b - r) / delta + 2.0;
  } else {
    hue = (r - g) / delta + 4.0;
  }
  const double radians = hue * 60.0 * 0.017453292519943295;
  const double radius = delta;  // saturation (delta / high) times value (high)
  return Cone{radius * std::cos(radians), radius * std::sin(radians), high};
}

// Depth 4: one index per sixteenth of the palette (pale and full ramps, greys).
constexpr int kDepth4Indexes[16] = {11, 1, 51, 2, 91, 3, 131, 4, 171, 5, 211, 6, 9, 7, 8, 9};

}  // namespace

int standard_colour(int index) {
  return index >= 1 && index <= 255 ? table()[static_cast<std::size_t>(index)] : 0;
}

int nearest_colour_index(int red, int green, int blue) {
  const int wanted = rgb_value(red, green, blue);
  const Cone c = to_cone(wanted);
  const bool grey = red == green && green == blue;
  double best = 9999999.0;
  int index = 7;
  for (int i = 1; i <= 255; ++i) {
    const int candidate = table()[static_cast<std::size_t>(i)];
    if (candidate == wanted) {
      return i;
    }
    // A grey has no hue: it takes the nearest grey rather than a dark or pale hue.
    if (grey && !is_grey(candidate)) {
      continue;
    }
    const Cone t = to_cone(candidate);
    const double distance = (t.x - c.x) * (t.x - c.x) + (t.y - c.y) * (t.y - c.y) + (t.z - c.z) * (t.z - c.z);
    if (distance < best) {
      best = distance;
      index = i;
    }
  }
  return index;
}

void update_colour(const ColourState& colour) {
  DxfState& s = dxf();
  const int red = static_cast<int>(std::lround(colour.red * 255.0));
  const int green = static_cast<int>(std::lround(colour.green * 255.0));
  const int blue = static_cast<int>(std::lround(colour.blue * 255.0));
  const int rgb = rgb_value(red, green, blue);
  s.colour_value = rgb;
  switch (colour_depth()) {
    case 4: s.colour_index = kDepth4Indexes[(colour.current & 255) / 16]; return;
    case 8:
    case 24:
      if (rgb != s.cached_rgb) {
        s.cached_rgb = rgb;
        s.cached_index = nearest_colour_index(red, green, blue);
      }
      s.colour_index = s.cached_index;
      return;
    default: {
      const int index = static_cast<int>(((static_cast<unsigned>(colour.current) + 16U) & 255U) / 32U);
      s.colour_index = index == 0 ? 7 : index;
    }
  }
}

}  // namespace quill::dxf
