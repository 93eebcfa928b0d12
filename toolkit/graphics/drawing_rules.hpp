// Drawing rules the drivers share. Where drivers differ, the difference is data they
// pass in, so each rule is written once.
#pragma once

#include <array>

#include "graphics/drawing_state.hpp"
#include "graphics/line_buffer.hpp"

namespace quill {

// Reverse mode (hardcopy option 6): mode 1 turns every colour into its complement, mode
// 2 only the near-black and near-white ones, whose three components (0..255) all lie
// below dark_below or all above light_above.
struct ReverseThresholds {
  int dark_below;
  int light_above;
};
inline constexpr ReverseThresholds kReverseThresholds{10, 245};
// PostScript compares intensities 0..1 with 0.04 and 0.96, which takes in one more step
// of 0..255 at each end.
inline constexpr ReverseThresholds kPostScriptReverseThresholds{11, 244};

// Whether the selected reverse mode turns rgb.
bool reverse_mode_turns(const Rgb& rgb, const ReverseThresholds& thresholds = kReverseThresholds);
// rgb, or its complement when the selected reverse mode turns it.
Rgb reverse_mode_colour(const Rgb& rgb, const ReverseThresholds& thresholds = kReverseThresholds);

// Fill style 3 fills in the mean of two colours, each component rounded down.
Rgb mixed_colour(const Rgb& a, const Rgb& b);
// The mean of the drawing state's previous and current colour.
Rgb mixed_fill_rgb();

// Line styles 0..7: the lengths of the marks and gaps of each dash pattern, in units of
// the line's width; style 0 is solid. PostScript starts each pattern at its offset.
struct DashPattern {
  std::array<unsigned, 6> lengths;
  int count;
  int postscript_offset;
};
inline constexpr std::array<DashPattern, 8> kDashPatterns = {{
    {{}, 0, 0},
    {{1, 5}, 2, 4},
    {{6, 6}, 2, 3},
    {{1, 3, 4, 4}, 4, 0},
    {{1, 2, 1, 2, 4, 2}, 6, 0},
    {{5, 2, 3, 2}, 4, 2},
    {{3, 3}, 2, 1},
    {{5, 2, 3, 2, 3, 2}, 6, 0},
}};
// Adds the pattern's lengths separated by single blanks (nothing for a solid line).
void add_dash_lengths(LineBuffer& line, const DashPattern& pattern);

}  // namespace quill
