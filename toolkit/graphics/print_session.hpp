// Printing a picture the toolkit composes itself (an image, a grid, a bitmap) through the
// selected hardcopy driver, without drawing on the current drawable.
#pragma once

#include <string_view>
#include <tuple>

#include "graphics/drawing_state.hpp"

namespace quill {

// Starts a hardcopy on the selected driver (file_name and title as IGrHardCopy takes them)
// with the hardcopy as the only output, user units in millimetres from the page's lower
// left corner (its shorter side taken as 210) and the whole page as the area. A hardcopy in progress ends first. The
// drawing state is restored when the session ends (end() or the destructor).
class PrintSession {
 public:
  PrintSession(std::string_view file_name, std::string_view title);
  PrintSession(const PrintSession&) = delete;
  PrintSession& operator=(const PrintSession&) = delete;
  ~PrintSession() { end(); }

  // False when the hardcopy could not start (already reported) or was abandoned.
  bool active() const;
  double page_width() const { return width_mm_; }
  double page_height() const { return height_mm_; }
  // Ends the hardcopy (printing or closing the file) and restores the drawing state.
  void end();
  // Ends it without printing: the printer driver drops the job, and a file kept for
  // printing is not handed on.
  void abandon();

 private:
  // The parts of the drawing state a session changes, saved and restored together.
  static auto saved_parts(DrawingState& state) {
    return std::tie(state.units, state.presentation, state.area, state.drawable, state.colour, state.line,
                    state.text, state.fill_style, state.metafile_recorder, state.pen_x, state.pen_y,
                    state.user_pen_x, state.user_pen_y);
  }
  using Saved = std::tuple<UserRange, PresentationRange, Area, Drawable, ColourState, LineAttributes,
                           TextAttributes, int, bool, double, double, double, double>;

  bool ended_ = false;
  double width_mm_ = 0.0, height_mm_ = 0.0;
  Saved saved_;
};

// Where an image of image_width x image_height pixels goes on a page: as large as fits
// inside the margin (same units as the page), keeping its proportions, centred.
struct PageBox {
  double left = 0.0, bottom = 0.0, right = 0.0, top = 0.0;
};
PageBox fit_on_page(double page_width, double page_height, double margin, int image_width, int image_height);

}  // namespace quill
