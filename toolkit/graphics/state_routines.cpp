// The public state routines: units, presentation range, area, colours, drawable choice.
#include <cctype>
#include <cmath>

#include "base/error_codes.hpp"
#include "graphics/drawing_state.hpp"
#include "graphics/routines.hpp"
#include "quill/errors.hpp"
#include "quill/graphics.hpp"

namespace quill {
namespace {

// lower < upper with both finite; NaN never passes.
bool valid_range(float lower, float upper) {
  return std::isfinite(lower) && std::isfinite(upper) && lower < upper;
}

bool valid_area_range(float lower, float upper) {
  return lower >= 0.0F && lower < 1.0F && upper > 0.0F && upper <= 1.0F && lower < upper;
}

void set_presentation_axis(PresentationAxis& axis, float lower, float upper) {
  axis.lower = lower;
  axis.upper = upper;
  axis.width = upper - lower;
  axis.min = std::fmin(lower, upper);
  axis.max = std::fmax(lower, upper);
}

struct NamedColour {
  int palette;
  int value;
};

constexpr NamedColour kNamedColours[8] = {
    {0, 0x000000},  {159, 0xFF0000}, {95, 0x00FF00}, {127, 0xFFFF00},
    {31, 0x0000FF}, {191, 0xFF00FF}, {63, 0x00FFFF}, {223, 0xFFFFFF},
};

// Index 0..7 of a colour name, or -1.
int colour_name_index(std::string_view name) {
  char upper[4] = {' ', ' ', ' ', ' '};
  for (std::size_t i = 0; i < name.size() && i < 4; ++i) {
    upper[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[i])));
  }
  std::string_view word(upper, 4);
  if (word[0] == 'B' && word[1] != 'L') {
    word.remove_prefix(1);
  }
  if (word.substr(0, 3) == "BLA") {
    return 0;
  }
  if (word.substr(0, 3) == "BLU") {
    return 1;
  }
  const std::size_t position = std::string_view("GCRMYW").find(word[0]);
  return position == std::string_view::npos ? -1 : static_cast<int>(position) + 2;
}

void apply_colour(int colour) {
  ColourState& state = drawing().colour;
  state.previous = state.current;
  state.current = colour;
  update_colour_intensities();
  send_operation(GrOp::Colour);
}

bool valid_drawable(int kind, int id) {
  const DrawingState& state = drawing();
  const DrawableLayer* windows = first_layer_with(&DrawableLayer::window_exists);
  const DrawableLayer* store = first_layer_with(&DrawableLayer::bitmap_exists);
  switch (kind) {
    case 1: return id >= 0 && id <= 50 && (windows == nullptr || windows->window_exists(id));
    case 2: return id >= 1 && id <= state.bitmap_count && (store == nullptr || store->bitmap_exists(id));
    case 4: return id >= 1 && id <= kMetafileSlots && state.metafile_used[static_cast<std::size_t>(id)];
    default: return false;
  }
}

// The new drawable receives operation 1; a metafile recorder also the current state.
void make_current(DrawableKind kind, int id, int dialog) {
  DrawingState& state = drawing();
  state.drawable.kind = kind;
  state.drawable.id = id;
  state.drawable.dialog = dialog;
  state.metafile_recorder = kind == DrawableKind::Metafile;
  send_operation_to_screen(GrOp::Initialise);
  if (state.metafile_recorder) {
    for (GrOp op : {GrOp::LineWidth, GrOp::LineStyle, GrOp::Colour, GrOp::Clip, GrOp::SelectFont}) {
      send_operation_to_screen(op);
    }
  }
}

}  // namespace

void apply_area(float left, float bottom, float right, float top, std::string_view routine) {
  Area& area = drawing().area;
  bool failed = false;
  if (valid_area_range(left, right)) {
    area.left = left;
    area.right = right;
  } else {
    area.left = 0.0F;
    area.right = 1.0F;
    failed = true;
  }
  if (valid_area_range(bottom, top)) {
    area.bottom = bottom;
    area.top = top;
  } else {
    area.bottom = 0.0F;
    area.top = 1.0F;
    failed = true;
  }
  update_area_units();
  if (failed) {
    IErrorReport(error::kAreaRange, routine);
  }
  if (drawing().hardcopy.active) {
    send_operation(GrOp::Clip);
  }
}

}  // namespace quill

using namespace quill;

void IGrUnits(float left, float bottom, float right, float top) {
  UserRange& units = drawing().units;
  for (int axis = 0; axis < 2; ++axis) {
    const float lower = axis == 0 ? left : bottom;
    const float upper = axis == 0 ? right : top;
    const bool ok = valid_range(lower, upper);
    float& low = axis == 0 ? units.left : units.bottom;
    float& high = axis == 0 ? units.right : units.top;
    float& width = axis == 0 ? units.width : units.height;
    low = ok ? lower : 0.0F;
    high = ok ? upper : 1.0F;
    width = high - low;
    if (!ok) {
      IErrorReport(error::kUnitRange, "IGrUnits");
    }
  }
}

void IPgArea(float x1, float y1, float x2, float y2) {
  PresentationRange& range = drawing().presentation;
  const bool x_ok = std::isfinite(x1) && std::isfinite(x2) && x1 != x2;
  const bool y_ok = std::isfinite(y1) && std::isfinite(y2) && y1 != y2;
  set_presentation_axis(range.x, x_ok ? x1 : 0.0F, x_ok ? x2 : 1.0F);
  set_presentation_axis(range.y, y_ok ? y1 : 0.0F, y_ok ? y2 : 1.0F);
  if (!x_ok || !y_ok) {
    IErrorReport(error::kUnitRange, "IPgArea");
  }
}

void IGrArea(float left, float bottom, float right, float top) {
  apply_area(left, bottom, right, top, "IGrArea");
}

void IGrColourN(int colour) {
  if (!drawing().drawable.true_colour && (colour < 0 || colour > 255)) {
    IErrorReport(error::kUnknownColour, "IGrColourN");
    return;
  }
  apply_colour(colour);
}

void IGrColour(std::string_view name) {
  const int index = colour_name_index(name);
  if (index < 0) {
    IErrorReport(error::kUnknownColour, "IGrColour");
    return;
  }
  const NamedColour& named = kNamedColours[index % 8];
  if (drawing().drawable.true_colour) {
    apply_colour(named.value);
    return;
  }
  // On palette drawables black and white exchange their numbers.
  const int number = index == 0 ? 223 : index == 7 ? 0 : named.palette;
  apply_colour(number);
}

void IGrSelect(int kind, std::optional<int> identifier) {
  ensure_builtin_drivers();
  DrawingState& state = drawing();
  int id = identifier.value_or(
      kind == 1 && state.drawable.kind == DrawableKind::Window ? state.drawable.id : (kind == 1 ? 0 : -1));
  if (!valid_drawable(kind, id)) {
    IErrorReport(error::kDrawingSurface, "IGrSelect");
    kind = 1;
    id = 1;
  }
  make_current(static_cast<DrawableKind>(kind), id, 0);
}

void IGrSelectField(int dialog_handle, int field_id) {
  ensure_builtin_drivers();
  if (!first_answer(&DrawableLayer::field_exists, dialog_handle, field_id)) {
    IErrorReport(error::kDrawingSurface, "IGrSelectField");
    return;
  }
  make_current(DrawableKind::Field, field_id, dialog_handle);
}

void WMetafileDestroy(int handle) {
  DrawingState& state = drawing();
  if (handle < 1 || handle > kMetafileSlots || !state.metafile_used[static_cast<std::size_t>(handle)]) {
    IErrorReport(error::kMetafileHandle, "WMetafileDestroy");
    return;
  }
  state.metafile_used[static_cast<std::size_t>(handle)] = false;
}
