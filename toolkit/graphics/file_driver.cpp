// From the drawing state's operations to a file driver's entries.
#include "graphics/file_driver.hpp"

#include <algorithm>

#include "quill/errors.hpp"

namespace quill {
namespace {

// One record per driver number: only one hardcopy driver is active at a time.
AttributesGiven& given_to(int number) {
  static std::array<AttributesGiven, kMaxDriverNumber + 1> records;
  return records[static_cast<std::size_t>(std::clamp(number, 0, kMaxDriverNumber))];
}

void give_colour(const FileDriver& driver, AttributesGiven& given) {
  const ColourState& colour = drawing().colour;
  given.colour = colour.current;
  if (driver.set_colour != nullptr) {
    driver.set_colour(colour);
  }
}

void give_line(const FileDriver& driver, AttributesGiven& given, LineAttribute which) {
  const LineAttributes& line = drawing().line;
  switch (which) {
    case LineAttribute::Width: given.line.width = line.width; break;
    case LineAttribute::Style: given.line.style = line.style; break;
    case LineAttribute::Join: given.line.join = line.join; break;
    case LineAttribute::Cap: given.line.cap = line.cap; break;
  }
  if (driver.set_line != nullptr) {
    driver.set_line(which, line);
  }
}

void give_font(const FileDriver& driver, AttributesGiven& given) {
  const TextAttributes& text = drawing().text;
  given.font_family = text.family;
  given.font_style = text.style;
  if (driver.select_font != nullptr) {
    driver.select_font(text);
  }
}

// Every attribute changes through an operation that reaches the driver at once, so this
// finds nothing to do unless some change bypassed the drivers: then the driver is given
// it before it draws rather than drawing in what it was told last.
void bring_up_to_date(const FileDriver& driver, AttributesGiven& given) {
  const DrawingState& state = drawing();
  const LineAttributes& line = state.line;
  if (line.width != given.line.width) give_line(driver, given, LineAttribute::Width);
  if (line.style != given.line.style) give_line(driver, given, LineAttribute::Style);
  if (line.join != given.line.join) give_line(driver, given, LineAttribute::Join);
  if (line.cap != given.line.cap) give_line(driver, given, LineAttribute::Cap);
  if (state.text.family != given.font_family || state.text.style != given.font_style) {
    give_font(driver, given);
  }
  if (state.colour.current != given.colour) give_colour(driver, given);
}

Shape fill_shape(GrOp op) {
  switch (op) {
    case GrOp::Ellipse: return Shape::Ellipse;
    case GrOp::Triangle: return Shape::Triangle;
    case GrOp::Rectangle: return Shape::Rectangle;
    case GrOp::Parallelogram: return Shape::Parallelogram;
    case GrOp::Sector: return Shape::Sector;
    default: return Shape::Polygon;
  }
}

// A preparation or an open that fails ends the hardcopy here, reported once.
void abandon_hardcopy(int code) {
  HardcopyState& hardcopy = drawing().hardcopy;
  hardcopy.active = false;
  hardcopy.active_driver = 0;
  IErrorReport(code, "IGrHardCopy");
}

void open_output(const FileDriver& driver) {
  if (driver.prepare != nullptr) {
    if (const int code = driver.prepare(); code != 0) {
      abandon_hardcopy(code);
      return;
    }
  }
  if (!begin_file_output()) {
    if (driver.release != nullptr) {
      driver.release();
    }
    return;
  }
  given_to(driver.number) = attributes_in_force();
  if (driver.header != nullptr) {
    driver.header();
  }
}

void close_output(const FileDriver& driver) {
  if (drawing().output.is_open() && driver.trailer != nullptr) {
    driver.trailer();
  }
  end_file_output();
  if (driver.release != nullptr) {
    driver.release();
  }
}

}  // namespace

PointArrays point_arrays(const Primitive& p) {
  const std::size_t n = std::min({static_cast<std::size_t>(std::max(p.count, 0)), p.xs.size(), p.ys.size()});
  return {std::span<const double>(p.xs.data(), n), std::span<const double>(p.ys.data(), n)};
}

AttributesGiven attributes_in_force() {
  const DrawingState& state = drawing();
  return {state.colour.current, state.line, state.text.family, state.text.style};
}

void run_entries(const FileDriver& driver, GrOp op, AttributesGiven& given) {
  DrawingState& state = drawing();
  const Primitive& p = state.primitive;
  switch (op) {
    case GrOp::Colour:
    case GrOp::ColourValue: give_colour(driver, given); return;
    case GrOp::LineWidth: give_line(driver, given, LineAttribute::Width); return;
    case GrOp::LineStyle: give_line(driver, given, LineAttribute::Style); return;
    case GrOp::LineJoin: give_line(driver, given, LineAttribute::Join); return;
    case GrOp::LineCap: give_line(driver, given, LineAttribute::Cap); return;
    case GrOp::SelectFont: give_font(driver, given); return;
    case GrOp::Clip:
      if (driver.clip != nullptr) driver.clip(state.area);
      return;
    case GrOp::NewPage:
      if (driver.new_page != nullptr) driver.new_page();
      return;
    case GrOp::Line:
    case GrOp::Point:
    case GrOp::Polyline:
    case GrOp::Arc:
    case GrOp::Ellipse:
    case GrOp::Triangle:
    case GrOp::Rectangle:
    case GrOp::Parallelogram:
    case GrOp::Sector:
    case GrOp::Polygon:
    case GrOp::Text:
    case GrOp::Image: bring_up_to_date(driver, given); break;
    default: return;  // screen operations
  }
  switch (op) {
    case GrOp::Line:
      if (driver.line != nullptr) driver.line(p.x1, p.y1, p.x2, p.y2);
      return;
    case GrOp::Point:
      if (driver.point != nullptr) driver.point(p.x1, p.y1);
      return;
    case GrOp::Polyline:
      if (driver.polyline != nullptr) driver.polyline(point_arrays(p));
      return;
    case GrOp::Arc:
      if (driver.arc != nullptr) driver.arc(p);
      return;
    case GrOp::Ellipse:
    case GrOp::Triangle:
    case GrOp::Rectangle:
    case GrOp::Parallelogram:
    case GrOp::Sector:
    case GrOp::Polygon:
      if (p.int_param[1] == kClosingCall) {
        if (driver.end_fill != nullptr) driver.end_fill(fill_shape(op));
      } else if (driver.fill != nullptr) {
        driver.fill(fill_shape(op), p);
      }
      return;
    case GrOp::Text:
      if (driver.text != nullptr) driver.text(state.text);
      return;
    case GrOp::Image:
      if (driver.image != nullptr) driver.image(p);
      return;
    default: return;
  }
}

void run_file_driver(const FileDriver& driver, GrOp op) {
  DrawingState& state = drawing();
  switch (op) {
    case GrOp::Initialise:
      if (state.device.answer == kProbeValue) {
        state.device.answer = driver.number;
      } else {
        driver.describe();
      }
      return;
    case GrOp::BeginOutput: open_output(driver); return;
    case GrOp::EndOutput: close_output(driver); return;
    default: break;
  }
  if (state.output.is_open()) {
    run_entries(driver, op, given_to(driver.number));
  }
}

}  // namespace quill
