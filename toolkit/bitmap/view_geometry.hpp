// The arithmetic of a bitmap view: scale, scroll range, steps, and which bitmap pixel a
// point of the window shows. Positions are bitmap pixels: the column and row shown at
// the view's top-left corner.
#pragma once

namespace quill {

enum class ViewMode : int { Actual = 1, Fit = 2, Zoom = 3 };
bool valid_view_mode(int mode);

inline constexpr double kMinZoom = 1.0 / 64.0;
inline constexpr double kMaxZoom = 64.0;

struct ViewGeometry {
  int bitmap_width = 1, bitmap_height = 1;
  int client_width = 0, client_height = 0;
  ViewMode mode = ViewMode::Actual;
  double zoom = 1.0;  // window pixels per bitmap pixel
  int x = 0, y = 0;   // scroll position

  // Bitmap pixels the window has room for, whole or in part.
  int visible_columns() const;
  int visible_rows() const;
  int max_x() const;
  int max_y() const;
  // Where bitmap column x (row y) of the position starts in the window: centred when the
  // whole bitmap fits, else 0.
  int margin_x() const;
  int margin_y() const;
  // Steps of the arrow keys and the wheel, and of the page keys, in bitmap pixels.
  int line_step() const;
  int page_step_x() const;
  int page_step_y() const;
};

// Lays the view out for a bitmap and client size: Fit takes the largest zoom at which
// the whole bitmap shows, Actual takes 1, Zoom the given factor (kept within kMinZoom ..
// kMaxZoom); the position is clamped to the new range.
void layout_view(ViewGeometry& view);
// Moves to (x, y) clamped to the range; true when the position changed.
bool scroll_view(ViewGeometry& view, int x, int y);

// The bitmap pixel at window pixel (cx, cy); false (and -1, -1) outside the bitmap.
bool window_to_bitmap(const ViewGeometry& view, int cx, int cy, int& bx, int& by);

// The part of the bitmap the window shows and where it goes: source columns and rows,
// destination rectangle in window pixels.
struct ViewBlit {
  int src_x = 0, src_y = 0, src_width = 0, src_height = 0;
  int dst_x = 0, dst_y = 0, dst_width = 0, dst_height = 0;
};
ViewBlit view_blit(const ViewGeometry& view);

}  // namespace quill
