// DXF driver: device description, the group writers, the header with its tables, and its
// entries.
#include <array>
#include <cmath>

#include "graphics/dxf/dxf_driver.hpp"

namespace quill::dxf {
namespace {

struct LineType {
  std::string_view name;
  std::string_view count;
  std::string_view total;
  std::array<std::string_view, 6> elements;
  std::string_view description;
};

constexpr LineType kLineTypes[] = {
    {"DOT", "2", "0.25", {"0", "-0.25"}, ".............................................."},
    {"DASHED", "2", "0.75", {"0.5", "-0.25"}, "__ __ __ __ __ __ __ __ __ __ __ __ __ __ __  "},
    {"DASHDOT", "4", "1", {"0.5", "-0.25", "0", "-0.25"}, "__ . __ . __ . __ . __ . __ . __ . __ . __ .  "},
    {"DIVIDE",
     "6",
     "1.25",
     {"0.5", "-0.25", "0", "-0.25", "0", "-0.25"},
     "__ . . __ . . __ . . __ . . __ . . __ . . __  "},
    {"CENTER",
     "4",
     "2",
     {"1.25", "-0.25", "0.25", "-0.25"},
     "____ _ ____ _ ____ _ ____ _ ____ _ ____ _ ____"},
    {"HIDDEN", "2", "0.25", {"0.12", "-0.12"}, "_ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ "},
    {"PHANTOM",
     "6",
     "2.5",
     {"1.25", "-0.25", "0.25", "-0.25", "0.25", "-0.25"},
     "____ _ _ ____ _ _ ____ _ _ ____ _ _ ____ _ _ _"},
};

void point_in_inches(int code, double x, double y) {
  group_real(code, x);
  group_real(code + 10, y);
}

void write_header_section() {
  const DeviceDescription& device = drawing().device;
  const double width = device.width() / 72.0;
  const double height = device.height() / 72.0;
  group(0, "SECTION");
  group(2, "HEADER");
  group(9, "$EXTMIN");
  group(10, "0.0");
  group(20, "0.0");
  group(9, "$EXTMAX");
  point_in_inches(10, width, height);
  group(9, "$CECOLOR");
  group(62, "7");
  group(9, "$CELTYPE");
  group(6, "DASHDOT");
  group(9, "$VIEWCTR");
  point_in_inches(10, width / 2.0, height / 2.0);
  group(9, "$LIMMIN");
  group(10, "0.0");
  group(20, "0.0");
  group(9, "$LIMMAX");
  point_in_inches(10, width, height);
  group(0, "ENDSEC");
}

void write_line_types() {
  group(0, "TABLE");
  group(2, "LTYPE");
  group(70, "9");
  for (const LineType& type : kLineTypes) {
    group(0, "LTYPE");
    group(2, type.name);
    group(70, "0");
    group(3, type.description);
    group(72, "65");
    group(73, type.count);
    group(40, type.total);
    for (std::string_view element : type.elements) {
      if (!element.empty()) {
        group(49, element);
      }
    }
  }
  group(0, "ENDTAB");
}

void write_style_and_layers() {
  for (auto [code, value] : std::initializer_list<std::pair<int, std::string_view>>{{0, "TABLE"},
                                                                                    {2, "STYLE"},
                                                                                    {70, "1"},
                                                                                    {0, "STYLE"},
                                                                                    {2, "STANDARD"},
                                                                                    {70, "0"},
                                                                                    {40, "0"},
                                                                                    {41, "1"},
                                                                                    {50, "0"},
                                                                                    {71, "0"},
                                                                                    {42, "0"},
                                                                                    {3, "txt"},
                                                                                    {0, "ENDTAB"},
                                                                                    {0, "TABLE"},
                                                                                    {2, "LAYER"},
                                                                                    {70, "9"}}) {
    group(code, value);
  }
  constexpr std::string_view kLayers = "123456789";
  for (std::size_t i = 0; i < kLayers.size(); ++i) {
    group(0, "LAYER");
    group(2, kLayers.substr(i, 1));
    group(70, "0");
    group(62, "7");
    group(6, "CONTINUOUS");
  }
  group(0, "ENDTAB");
}

int colours_for_depth(int depth) {
  if (depth == 4) {
    return 14;
  }
  return depth < 8 ? 7 : 255;
}

void describe_device() {
  if (!describe_device_from({kDriverNumber, 756, 540, 90.0, colours_for_depth(kDefaultColourDepth),
                             driver_info(kDriverNumber)->capabilities, "quilplot.dxf"})) {
    return;
  }
  DeviceDescription& device = drawing().device;
  device.set_option(GrOption::HatchDistance, 100);
  device.set_option(GrOption::ColourDepth, kDefaultColourDepth);
}

void write_trailer() {
  group(0, "ENDSEC");
  group(0, "EOF");
}

}  // namespace

DxfState& dxf() {
  static DxfState instance;
  return instance;
}

void group(int code, std::string_view value) {
  LineBuffer line;
  line.add_int(code);
  OutputStream& out = drawing().output;
  out.write_line(line.view());
  out.write_line(value);
}

std::string_view real_text(char* out, double value) {
  const std::size_t length = format_fixed(out, clamp_to_field(value, 15, 6), 6);
  return {out, trim_trailing_zeros(out, length, {0, false, true})};
}

void group_real(int code, double value) {
  char digits[40];
  group(code, real_text(digits, value));
}

void group_int(int code, long long value) {
  constexpr long long kHigh = 99999999;
  constexpr long long kLow = -9999999;
  LineBuffer text;
  text.add_int(value > kHigh ? kHigh : value < kLow ? kLow : value);
  group(code, text.view());
}

std::string_view line_type_name(int style) {
  constexpr int kCount = static_cast<int>(sizeof kLineTypes / sizeof kLineTypes[0]);
  return style >= 1 && style <= kCount ? kLineTypes[style - 1].name : std::string_view{};
}

int colour_depth() {
  const int depth = drawing().device.option(GrOption::ColourDepth);
  return depth == 0 ? kDefaultColourDepth : depth;
}

void write_header() {
  DrawingState& state = drawing();
  DxfState& s = dxf();
  s = DxfState{};
  s.sx = driver_scale(state.device.width(), state.drawable.width) / 72.0;
  s.sy = driver_scale(state.device.height(), state.drawable.height) / 72.0;
  state.device.colours = colours_for_depth(colour_depth());
  update_colour(state.colour);
  write_header_section();
  group(0, "SECTION");
  group(2, "TABLES");
  write_line_types();
  write_style_and_layers();
  group(0, "ENDSEC");
  group(0, "SECTION");
  group(2, "ENTITIES");
}

constexpr FileDriver kDriver{
    .number = kDriverNumber,
    .describe = describe_device,
    .header = write_header,
    .trailer = write_trailer,
    .set_colour = update_colour,
    .line = write_line,
    .point = write_point,
    .polyline = write_polyline,
    .arc = write_arc,
    .fill = write_fill,
    .text = write_text,
};

}  // namespace quill::dxf

namespace quill {

void register_driver_dxf() { register_driver(dxf::kDriverNumber, file_driver_function<dxf::kDriver>); }

}  // namespace quill
