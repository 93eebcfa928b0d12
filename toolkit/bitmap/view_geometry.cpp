#include "bitmap/view_geometry.hpp"

#include <algorithm>
#include <cmath>

namespace quill {
namespace {

int room(int client, double zoom) { return static_cast<int>(std::ceil(client / zoom - 1e-9)); }
int whole_room(int client, double zoom) { return static_cast<int>(std::floor(client / zoom + 1e-9)); }

int margin(int client, int bitmap, double zoom) {
  const int shown = static_cast<int>(std::lround(bitmap * zoom));
  return shown < client ? (client - shown) / 2 : 0;
}

}  // namespace

bool valid_view_mode(int mode) { return mode >= 1 && mode <= 3; }

int ViewGeometry::visible_columns() const { return std::min(bitmap_width - x, room(client_width, zoom)); }
int ViewGeometry::visible_rows() const { return std::min(bitmap_height - y, room(client_height, zoom)); }
int ViewGeometry::max_x() const { return std::max(0, bitmap_width - whole_room(client_width, zoom)); }
int ViewGeometry::max_y() const { return std::max(0, bitmap_height - whole_room(client_height, zoom)); }
int ViewGeometry::margin_x() const { return margin(client_width, bitmap_width, zoom); }
int ViewGeometry::margin_y() const { return margin(client_height, bitmap_height, zoom); }
int ViewGeometry::line_step() const { return std::max(1, static_cast<int>(std::lround(16.0 / zoom))); }
int ViewGeometry::page_step_x() const { return std::max(1, whole_room(client_width, zoom) - line_step()); }
int ViewGeometry::page_step_y() const { return std::max(1, whole_room(client_height, zoom) - line_step()); }

void layout_view(ViewGeometry& view) {
  view.bitmap_width = std::max(view.bitmap_width, 1);
  view.bitmap_height = std::max(view.bitmap_height, 1);
  switch (view.mode) {
    case ViewMode::Fit:
      view.zoom = std::min(static_cast<double>(std::max(view.client_width, 1)) / view.bitmap_width,
                           static_cast<double>(std::max(view.client_height, 1)) / view.bitmap_height);
      break;
    case ViewMode::Actual: view.zoom = 1.0; break;
    default: break;
  }
  if (!std::isfinite(view.zoom)) view.zoom = 1.0;
  view.zoom = std::clamp(view.zoom, kMinZoom, kMaxZoom);
  scroll_view(view, view.x, view.y);
}

bool scroll_view(ViewGeometry& view, int x, int y) {
  const int nx = std::clamp(x, 0, view.max_x()), ny = std::clamp(y, 0, view.max_y());
  const bool changed = nx != view.x || ny != view.y;
  view.x = nx;
  view.y = ny;
  return changed;
}

bool window_to_bitmap(const ViewGeometry& view, int cx, int cy, int& bx, int& by) {
  bx = view.x + static_cast<int>(std::floor((cx - view.margin_x()) / view.zoom));
  by = view.y + static_cast<int>(std::floor((cy - view.margin_y()) / view.zoom));
  if (cx < view.margin_x() || cy < view.margin_y() || bx >= view.bitmap_width || by >= view.bitmap_height) {
    bx = by = -1;
    return false;
  }
  return true;
}

ViewBlit view_blit(const ViewGeometry& view) {
  ViewBlit b;
  b.src_x = view.x;
  b.src_y = view.y;
  b.src_width = std::max(view.visible_columns(), 0);
  b.src_height = std::max(view.visible_rows(), 0);
  b.dst_x = view.margin_x();
  b.dst_y = view.margin_y();
  b.dst_width = static_cast<int>(std::lround(b.src_width * view.zoom));
  b.dst_height = static_cast<int>(std::lround(b.src_height * view.zoom));
  return b;
}

}  // namespace quill
