#include "graphics/drawing_rules.hpp"

namespace quill {

bool reverse_mode_turns(const Rgb& rgb, const ReverseThresholds& thresholds) {
  const int mode = drawing().device.option(GrOption::ReverseMode);
  const int dark = thresholds.dark_below, light = thresholds.light_above;
  const bool all_dark = rgb.red < dark && rgb.green < dark && rgb.blue < dark;
  const bool all_light = rgb.red > light && rgb.green > light && rgb.blue > light;
  return mode == 1 || (mode == 2 && (all_dark || all_light));
}

Rgb reverse_mode_colour(const Rgb& rgb, const ReverseThresholds& thresholds) {
  if (!reverse_mode_turns(rgb, thresholds)) return rgb;
  return Rgb{static_cast<std::uint8_t>(255 - rgb.red), static_cast<std::uint8_t>(255 - rgb.green),
             static_cast<std::uint8_t>(255 - rgb.blue)};
}

Rgb mixed_colour(const Rgb& a, const Rgb& b) {
  return Rgb{static_cast<std::uint8_t>((a.red + b.red) / 2),
             static_cast<std::uint8_t>((a.green + b.green) / 2),
             static_cast<std::uint8_t>((a.blue + b.blue) / 2)};
}

Rgb mixed_fill_rgb() {
  const ColourState& colour = drawing().colour;
  return mixed_colour(colour_rgb(colour.previous), colour_rgb(colour.current));
}

void add_dash_lengths(LineBuffer& line, const DashPattern& pattern) {
  for (int i = 0; i < pattern.count; ++i) {
    if (i > 0) line.add(' ');
    line.add_int(static_cast<long long>(pattern.lengths[static_cast<std::size_t>(i)]));
  }
}

}  // namespace quill
